// The fake host: one connection, everything it receives kept.
#include "fakehost.h"

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

} // namespace euchre::testing
