// What a start of the program asks for: the lobby's words and the solo start
// as they always were, --host, --join and links, and the mistakes refused;
// the ways a table's address is written.
#include "client/startrequest.h"

#include <QTest>

using euchre::StartRequest;
using Kind = euchre::StartRequest::Kind;

Q_DECLARE_METATYPE(euchre::StartRequest::Kind)

class TestStartRequest : public QObject {
    Q_OBJECT
private slots:
    void arguments_data();
    void arguments();
    void addresses_data();
    void addresses();
};

void TestStartRequest::arguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port"); // -1: none given

    const auto row = [](const char* tag, QStringList args, bool ok, Kind kind = Kind::Solo,
                        QString name = {}, QString host = {}, int port = -1) {
        QTest::newRow(tag) << args << ok << kind << name << host << port;
    };
    row("nothing", {}, true, Kind::Solo);
    row("lobby host", {"Ann", "1.2.3.4", "true"}, true, Kind::Classic);
    row("lobby one word", {"Ann"}, true, Kind::Classic);
    row("host", {"--host"}, true, Kind::Host);
    row("host named on a port", {"--host", "--name", "Ann", "--port", "7800"}, true, Kind::Host,
        "Ann", {}, 7800);
    row("host, name with =", {"--name=Ann Lee", "--host"}, true, Kind::Host, "Ann Lee");
    row("host on any port", {"--host", "--port", "0"}, true, Kind::Host, {}, {}, 0);
    row("join alone", {"--join"}, true, Kind::JoinDialog);
    row("join a name", {"--join", "alice-pc", "--name", "Bob"}, true, Kind::Join, "Bob",
        "alice-pc");
    row("join with port", {"--join", "192.168.1.5:7800"}, true, Kind::Join, {}, "192.168.1.5",
        7800);
    row("join IPv6", {"--join", "[2001:db8::5]:7772"}, true, Kind::Join, {}, "2001:db8::5", 7772);
    row("join bare IPv6", {"--join", "fe80::1"}, true, Kind::Join, {}, "fe80::1");
    row("link", {"euchre://192.168.1.5:7772"}, true, Kind::Join, {}, "192.168.1.5", 7772);
    row("link, no port, slash", {"EUCHRE://table.example/"}, true, Kind::Join, {}, "table.example");
    row("link IPv6", {"euchre://[2001:db8::5]"}, true, Kind::Join, {}, "2001:db8::5");
    row("link with a name", {"--name", "Bob", "euchre://h:1"}, true, Kind::Join, "Bob", "h", 1);
    row("join a link", {"--join", "euchre://h:2"}, true, Kind::Join, {}, "h", 2);

    row("unknown option", {"--no-such-option"}, false);
    row("both", {"--host", "--join", "h"}, false);
    row("name only", {"--name", "Ann"}, false);
    row("name without a value", {"--host", "--name"}, false);
    row("blank name", {"--host", "--name", "  "}, false);
    row("port too big", {"--host", "--port", "70000"}, false);
    row("port not a number", {"--host", "--port", "77x"}, false);
    row("port of a join", {"--join", "h", "--port", "7772"}, false);
    row("stray word", {"--host", "extra"}, false);
    row("join port 0", {"--join", "h:0"}, false);
    row("join bad address", {"--join", "a b"}, false);
    row("link with a path", {"euchre://h/x"}, false);
    row("link with a user", {"euchre://me@h"}, false);
    row("link with a query", {"euchre://h?x=1"}, false);
    row("link without a host", {"euchre:"}, false);
}

void TestStartRequest::arguments() {
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QString error;
    const std::optional<StartRequest> r = euchre::parseStartArguments(args, &error);
    QCOMPARE(r.has_value(), ok);
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QFETCH(QString, host);
    QFETCH(int, port);
    QCOMPARE(r->kind, kind);
    QCOMPARE(r->name, name);
    if (kind == Kind::Classic) QCOMPARE(r->classic, args);
    QCOMPARE(r->handsOver(), kind == Kind::Host || kind == Kind::Join || kind == Kind::JoinDialog);
    if (kind == Kind::Join) {
        QCOMPARE(r->address.host, host);
        QCOMPARE(r->address.port ? int(*r->address.port) : -1, port);
    } else if (kind == Kind::Host) {
        QCOMPARE(r->port ? int(*r->port) : -1, port);
    }
}

// An address read back from the link made of it is the same address.
void TestStartRequest::addresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host"); // empty: refused
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "alice-pc"
                          << "alice-pc" << -1;
    QTest::newRow("IPv4 and port") << " 10.0.0.7:7772 "
                                   << "10.0.0.7" << 7772;
    QTest::newRow("IPv6 in brackets") << "[::1]:9"
                                      << "::1" << 9;
    QTest::newRow("IPv6 with a zone") << "fe80::1%eth0"
                                      << "fe80::1%eth0" << -1;
    QTest::newRow("empty") << ""
                           << "" << -1;
    QTest::newRow("only a port") << ":7772"
                                 << "" << -1;
    QTest::newRow("port too big") << "h:65536"
                                  << "" << -1;
    QTest::newRow("unclosed bracket") << "[::1"
                                      << "" << -1;
    QTest::newRow("brackets round IPv4") << "[1.2.3.4]"
                                         << "" << -1;
    QTest::newRow("not IPv6") << "a:b:c"
                              << "" << -1;
    QTest::newRow("markup") << "<b>x</b>"
                            << "" << -1;
    QTest::newRow("leading dash") << "-h"
                                  << "" << -1;
    QTest::newRow("too long") << QString(254, u'a') << "" << -1;
}

void TestStartRequest::addresses() {
    QFETCH(QString, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    const std::optional<euchre::TableAddress> a = euchre::parseTableAddress(text);
    QCOMPARE(a.has_value(), !host.isEmpty());
    if (!a) return;
    QCOMPARE(a->host, host);
    QCOMPARE(a->port ? int(*a->port) : -1, port);
    if (host.contains(u'%')) return; // a zone means nothing on another machine
    const std::optional<euchre::TableAddress> back =
        euchre::parseLink(euchre::tableLink(a->host, a->port.value_or(7772)));
    QVERIFY(back);
    QCOMPARE(back->host, host);
    QCOMPARE(int(back->port.value_or(0)), int(a->port.value_or(7772)));
}

QTEST_GUILESS_MAIN(TestStartRequest)
#include "tst_startrequest.moc"
