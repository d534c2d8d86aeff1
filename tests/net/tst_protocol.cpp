// Framing: building messages, cutting a byte stream into lines, reading fields.
#include "net/commands.h"
#include "net/protocol.h"

#include <QtTest>

using namespace euchre;

class ProtocolTest : public QObject {
    Q_OBJECT
private slots:
    void buildsWithAndWithoutTrailingPlus() {
        QCOMPARE(MessageBuilder(cmd::dealer).field(3).done(true), QByteArray("CMD_dealer+3+\xFF"));
        QCOMPARE(MessageBuilder(cmd::sendlogininfo).field(1).done(false),
                 QByteArray("CMD_sendlogininfo+1\xFF"));
        QCOMPARE(bareMessage(cmd::full), QByteArray("CMD_full+\xFF"));
        QCOMPARE(MessageBuilder(cmd::chat)
                     .field(2)
                     .field("Bo")
                     .raw(" chats: ")
                     .raw("a+b|clRed")
                     .done(false),
                 QByteArray("CMD_chat+2+Bo chats: a+b|clRed\xFF"));
    }

    void cutsSeveralMessagesInOneRead() {
        LineCutter cutter;
        QList<QByteArray> lines;
        QVERIFY(cutter.feed("CMD_a+1+\xFF"
                            "CMD_b+2+\xFF\xFF"
                            "CMD_c+",
                            lines));
        QCOMPARE(lines, (QList<QByteArray>{"CMD_a+1+", "CMD_b+2+", ""}));
        QCOMPARE(cutter.pendingSize(), 6);
        lines.clear();
        // The rest of a split message arrives with the next read.
        QVERIFY(cutter.feed("3+\xFF", lines));
        QCOMPARE(lines, QList<QByteArray>{"CMD_c+3+"});
        QCOMPARE(cutter.pendingSize(), 0);
    }

    void splitAcrossManyReads() {
        LineCutter cutter;
        QList<QByteArray> lines;
        const QByteArray whole("CMD_logininfo+2+1.0.6+Jo+Jo\xFF");
        for (char c : whole) QVERIFY(cutter.feed(QByteArrayView(&c, 1), lines));
        QCOMPARE(lines, QList<QByteArray>{"CMD_logininfo+2+1.0.6+Jo+Jo"});
    }

    void unfinishedTextHasALimit() {
        LineCutter cutter;
        QList<QByteArray> lines;
        QVERIFY(cutter.feed(QByteArray(LineCutter::kMaxPending, 'x'), lines));
        QVERIFY(!cutter.feed("y", lines));
        QVERIFY(lines.isEmpty());
    }

    void commandWordNeedsAPlus() {
        QByteArrayView word, args;
        QVERIFY(!splitCommand("CMD_full", word, args));
        QVERIFY(splitCommand("CMD_full+", word, args));
        QCOMPARE(word, QByteArrayView("CMD_full"));
        QVERIFY(args.isEmpty());
        QVERIFY(splitCommand("CMD_chat+1+hi+there", word, args));
        QCOMPARE(args, QByteArrayView("1+hi+there"));
    }

    void decimalsAreStrict() {
        QCOMPARE(parseDecimal("42"), std::optional<int>(42));
        QCOMPARE(parseDecimal("-3"), std::optional<int>(-3));
        QCOMPARE(parseDecimal("007"), std::optional<int>(7));
        for (const char* bad : {"", "-", "4x", " 4", "4 ", "+4", "0x10", "1234567890", "९"})
            QVERIFY2(!parseDecimal(bad), bad);
    }

    void fieldsInRange() {
        FieldReader r("3+22+wave20+tail+more");
        QCOMPARE(r.number(1, 4), std::optional<int>(3));
        QCOMPARE(r.number(1, 8), std::nullopt); // 22 is out of this range
        QCOMPARE(r.text(), QByteArrayView("wave20"));
        QCOMPARE(r.rest(), QByteArrayView("tail+more"));
        FieldReader last("5");
        QCOMPARE(last.number(1, 9), std::optional<int>(5));
        QVERIFY(last.atEnd());
        QCOMPARE(last.number(1, 9), std::nullopt); // nothing left
    }
};

QTEST_GUILESS_MAIN(ProtocolTest)
#include "tst_protocol.moc"
