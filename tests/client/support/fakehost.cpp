// The fake host: one connection, everything it receives kept.
#include "fakehost.h"

#include "client/tableboard.h"

#include <QTest>

namespace euchre::testing {

FakeHost::FakeHost() {
    server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [this] { received += peer->readAll(); });
    });
}

void FakeHost::send(const QByteArray& bytes) {
    peer->write(bytes);
    peer->flush();
}

QByteArray FakeHost::take() {
    QTest::qWait(30);
    return std::exchange(received, {});
}

std::unique_ptr<Tchat> FakeHost::seat(int slot) {
    auto table = std::make_unique<Tchat>();
    table->message = [](const QString& text, std::function<void()>) {
        qFatal("unexpected message: %s", qPrintable(text));
    };
    table->sounds().setAudioOutputForTesting(true);
    table->setGamePort(server.serverPort());
    table->processparams(
        {QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("no")});
    if (!QTest::qWaitFor([&] { return peer != nullptr; })) qFatal("no connection");
    send("CMD_sendlogininfo+" + QByteArray::number(slot) + '\xFF');
    if (!QTest::qWaitFor([&] { return received.contains("CMD_logininfo"); })) qFatal("no login");
    received.clear();
    return table;
}

void feed(Tchat& t, const QByteArray& line) {
    t.queueLine(line);
    while (t.queuedCount() > 0) t.processsocktimer();
}

ArtItem* cardAt(const Tchat& t, int place) {
    if (place < 1 || place > 5) return nullptr;
    const HandSlot& slot = t.shown().handslots[static_cast<size_t>(place)];
    return slot.occupied ? t.board()->handCard(slot.position) : nullptr;
}

} // namespace euchre::testing
