// TSockLink: forwards a TSock's events to the host's handlers and the host's
// sends and closes to the TSock.
#include "host/tsocklink.h"

#include "net/tsock.h"

#include <QLoggingCategory>
#include <exception>

Q_LOGGING_CATEGORY(lcLink, "euchre.host.link")

namespace euchre {

namespace {

// A handler's failure must not unwind through Qt's event loop.
template <typename F> void guarded(const char* where, F&& body) noexcept {
    try {
        body();
    } catch (const std::exception& e) {
        qCWarning(lcLink) << where << e.what();
    } catch (...) {
        qCWarning(lcLink) << where << "unknown exception";
    }
}

} // namespace

TSockLink::TSockLink(TSock* sock) : m_sock(sock) {
    if (!sock) return;
    QObject::connect(sock, &TSock::OnRead, &m_context, [this](TSock* sender, int) {
        guarded("onData", [&] {
            const QByteArray bytes = sender->Receive();
            if (onData && !bytes.isEmpty()) onData(bytes);
        });
    });
    QObject::connect(sock, &TSock::OnDisconnect, &m_context, [this](TSock*) {
        guarded("onDisconnect", [&] {
            if (onDisconnect) onDisconnect();
        });
    });
    QObject::connect(sock, &TSock::OnInfo, &m_context,
                     [this](TSock*, int code, const QString& text) {
                         guarded("onInfo", [&] {
                             if (onInfo) onInfo(code, text);
                         });
                     });
}

TSockLink::~TSockLink() {
    if (!m_sock) return;
    // The host is letting go of this connection: it hears nothing more.
    QObject::disconnect(m_sock, nullptr, &m_context, nullptr);
    guarded("close", [&] { m_sock->Close(); });
    m_sock->deleteLater();
}

void TSockLink::send(const QByteArray& bytes) {
    if (!m_sock) return;
    try {
        m_sock->Send(bytes);
    } catch (const ESockException&) {
        // The peer is gone; its close report frees the slot.
    }
}

void TSockLink::close() {
    if (!m_sock) return;
    guarded("close", [&] { m_sock->Close(); });
}

qint64 TSockLink::unsentBytes() const {
    return m_sock ? m_sock->unsentBytes() : 0;
}

QString TSockLink::peerAddress() const {
    // An accepted socket's host name is its peer's address, IPv4 written plainly.
    return m_sock ? m_sock->HostName() : QString();
}

} // namespace euchre
