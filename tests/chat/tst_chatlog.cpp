// The chat log view: items and styles, restyling at the next layout, link
// numbers and clicks, pictures, and plain-text copies.
#include "chat/chatlog.h"
#include "chat/smilies.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using euchre::ChatLog;

namespace {

// Colour of the document text at `text`'s first occurrence.
QColor colourAt(const ChatLog& log, const QString& text) {
    const QTextCursor found = log.document()->find(text);
    if (found.isNull()) return QColor();
    QTextCursor at(log.document());
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat().foreground().color();
}

QPoint pointOf(const ChatLog& log, const QString& text) {
    const QTextCursor found = log.document()->find(text);
    QTextCursor at(log.document());
    at.setPosition(found.selectionStart() + 1);
    return log.cursorRect(at).center();
}

} // namespace

class TestChatLog : public QObject {
    Q_OBJECT
private slots:
    void itemsWaitForLayout();
    void restylingRecoloursAtNextLayout();
    void linksAreNumberedAndReportClicks();
    void linkNumbersRestartAfterClear();
    void oldestParagraphsGoBeyondTheLimit();
    void longLinesAndManyLinksKeepTheLogSmall();
    void picturesAreDrawnInline();
    void copyIsPlainTextWithPictureCodes();
};

void TestChatLog::itemsWaitForLayout() {
    ChatLog log;
    log.addParagraph(QStringLiteral("Ann: "), 6);
    log.addText(QStringLiteral("hello "), 6);
    QCOMPARE(log.document()->toPlainText(), QString());
    log.format();
    QCOMPARE(log.document()->toPlainText(), QStringLiteral("Ann: hello "));

    log.addParagraph(QStringLiteral("second"), 7);
    log.addText(QStringLiteral(" line"), 7);
    log.format();
    // A second layout with nothing new changes nothing.
    log.format();
    QCOMPARE(log.document()->toPlainText(), QStringLiteral("Ann: hello \nsecond line"));
    QCOMPARE(log.document()->blockCount(), 2);
    QCOMPARE(log.paragraphs().size(), 2);
    QCOMPARE(log.paragraphs()[1].size(), 2);
}

void TestChatLog::restylingRecoloursAtNextLayout() {
    ChatLog log;
    log.setStyleColour(8, Qt::red);
    log.setStyleColour(9, Qt::darkGreen);
    log.addParagraph(QStringLiteral("first"), 8);
    log.addParagraph(QStringLiteral("other"), 9);
    log.format();
    QCOMPARE(colourAt(log, QStringLiteral("first")), QColor(Qt::red));

    log.setStyleColour(8, Qt::blue);
    log.setStyleBold(8, true);
    // Not before the next layout ...
    QCOMPARE(colourAt(log, QStringLiteral("first")), QColor(Qt::red));
    log.addParagraph(QStringLiteral("second"), 8);
    log.format();
    // ... then every item of the style, old and new; other styles keep theirs.
    QCOMPARE(colourAt(log, QStringLiteral("first")), QColor(Qt::blue));
    QCOMPARE(colourAt(log, QStringLiteral("second")), QColor(Qt::blue));
    QCOMPARE(colourAt(log, QStringLiteral("other")), QColor(Qt::darkGreen));
    QTextCursor at(log.document());
    at.setPosition(2);
    QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));

    log.setStyleSize(8, 14);
    log.format();
    QCOMPARE(at.charFormat().fontPointSize(), 14.0);
}

void TestChatLog::linksAreNumberedAndReportClicks() {
    ChatLog log;
    log.resize(300, 200);
    log.show();
    log.addParagraph(QStringLiteral("see "), 6);
    QCOMPARE(log.addLink(QStringLiteral("www.one.example ")), 0);
    log.addText(QStringLiteral("and "), 6);
    QCOMPARE(log.addLink(QStringLiteral("www.two.example ")), 1);
    log.format();
    QCOMPARE(log.linkCount(), 2);
    QCOMPARE(log.linkText(1), QStringLiteral("www.two.example "));
    QCOMPARE(log.linkText(2), QString());
    QCOMPARE(log.linkText(-1), QString());

    QSignalSpy jumps(&log, &ChatLog::jump);
    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, pointOf(log, QStringLiteral("two")));
    QCOMPARE(jumps.size(), 1);
    QCOMPARE(jumps[0][0].toInt(), 1);

    // A click on plain text reports nothing.
    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, pointOf(log, QStringLiteral("see")));
    QCOMPARE(jumps.size(), 1);
}

void TestChatLog::linkNumbersRestartAfterClear() {
    ChatLog log;
    log.addParagraph(QString(), 6);
    log.addLink(QStringLiteral("www.a.example "));
    log.addLink(QStringLiteral("www.b.example "));
    log.format();
    log.clearLog();
    QCOMPARE(log.document()->toPlainText(), QString());
    QCOMPARE(log.linkCount(), 0);
    log.addParagraph(QString(), 6);
    QCOMPARE(log.addLink(QStringLiteral("www.c.example ")), 0);
    log.format();
    QCOMPARE(log.linkText(0), QStringLiteral("www.c.example "));
    QCOMPARE(log.document()->toPlainText(), QStringLiteral("www.c.example "));
}

// A long session keeps the newest lines only. Links that stay keep their
// numbers, texts and clicks, and the mouse still lights up the right text.
void TestChatLog::oldestParagraphsGoBeyondTheLimit() {
    ChatLog log;
    log.resize(300, 200);
    log.show();
    log.addParagraph(QStringLiteral("old "), 6);
    QCOMPARE(log.addLink(QStringLiteral("www.old.example ")), 0);
    log.format();
    // Lines of three items, laid out one by one as the chat does.
    for (int i = 0; i < ChatLog::kMaxItems / 4 + 10; ++i) {
        log.addParagraph(QStringLiteral("p%1: ").arg(i), 7);
        log.addText(QStringLiteral("some "), 7);
        log.addText(QStringLiteral("words"), 7);
        log.format();
    }
    log.addParagraph(QStringLiteral("new "), 8);
    QCOMPARE(log.addLink(QStringLiteral("www.new.example ")), 1);
    log.addText(QStringLiteral("tail"), 8);
    log.format();

    QVERIFY(log.itemCount() <= ChatLog::kMaxItems);
    QVERIFY(log.itemCount() > ChatLog::kMaxItems - 8);
    // The model and the document still hold the same paragraphs.
    QCOMPARE(log.document()->blockCount(), log.paragraphs().size());
    for (const int n : {0, 1, int(log.paragraphs().size()) - 1}) {
        QString text;
        for (const ChatLog::Item& item : log.paragraphs()[n]) text += item.text;
        QCOMPARE(log.document()->findBlockByNumber(n).text(), text);
    }
    QVERIFY(log.paragraphs()[0][0].text != QStringLiteral("p0: "));
    QCOMPARE(log.document()->lastBlock().text(), QStringLiteral("new www.new.example tail"));
    QVERIFY(log.document()->find(QStringLiteral("www.old.example")).isNull());
    QCOMPARE(log.linkCount(), 2);
    QCOMPARE(log.linkText(0), QString());
    QCOMPARE(log.linkText(1), QStringLiteral("www.new.example "));

    log.scrollToEnd();
    QSignalSpy jumps(&log, &ChatLog::jump);
    const QPoint link = pointOf(log, QStringLiteral("www.new.example"));
    QTest::mouseMove(log.viewport(), link);
    QTRY_COMPARE(log.hoveredLink(), 1);
    QTextCursor at(log.document());
    const QTextCursor found = log.document()->find(QStringLiteral("www.new.example"));
    at.setPosition(found.selectionStart() + 1);
    QCOMPARE(at.charFormat().background().color(), QColor(255, 255, 0));
    at.setPosition(found.selectionStart() - 1);
    QCOMPARE(at.charFormat().background().style(), Qt::NoBrush);
    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, link);
    QCOMPARE(jumps.size(), 1);
    QCOMPARE(jumps[0][0].toInt(), 1);
}

// Long lines are held to a character budget and links to a count of their
// own; the newest links still report their own numbers on a click.
void TestChatLog::longLinesAndManyLinksKeepTheLogSmall() {
    ChatLog log;
    log.resize(300, 200);
    log.show();
    const int lines = ChatLog::kMaxLinks / 8 + 300;
    for (int i = 0; i < lines; ++i) {
        log.addParagraph(QString(1000, QLatin1Char('x')), 6);
        for (int k = 0; k < 8; ++k)
            log.addLink(QStringLiteral("www.l%1-%2.example ").arg(i).arg(k));
        log.format();
    }
    QVERIFY(log.textChars() <= ChatLog::kMaxTextChars);
    QVERIFY(log.textChars() > ChatLog::kMaxTextChars - 1200);
    QCOMPARE(log.document()->blockCount(), log.paragraphs().size());
    QCOMPARE(log.linkCount(), lines * 8);
    QVERIFY(log.linkText(lines * 8 - ChatLog::kMaxLinks - 1).isEmpty());

    log.scrollToEnd();
    QSignalSpy jumps(&log, &ChatLog::jump);
    const QString last = QStringLiteral("www.l%1-6.example").arg(lines - 1);
    QTest::mouseMove(log.viewport(), pointOf(log, last));
    QTRY_COMPARE(log.hoveredLink(), lines * 8 - 2);
    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, pointOf(log, last));
    QCOMPARE(jumps.size(), 1);
    QCOMPARE(jumps[0][0].toInt(), lines * 8 - 2);
    QCOMPARE(log.linkText(lines * 8 - 2), last + QLatin1Char(' '));
}

void TestChatLog::picturesAreDrawnInline() {
    ChatLog log;
    log.setPictures(euchre::smileyImages());
    log.addParagraph(QStringLiteral("a "), 0);
    log.addPicture(2);
    log.addText(QStringLiteral(" b"), 0);
    log.format();
    const QTextBlock block = log.document()->firstBlock();
    int pictures = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        if (!f.isImageFormat()) continue;
        ++pictures;
        QCOMPARE(f.toImageFormat().width(), double(euchre::kSmileyWidth));
        const QVariant image =
            log.document()->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
        QCOMPARE(image.value<QImage>(), euchre::smileyImage(2));
    }
    QCOMPARE(pictures, 1);
    QCOMPARE(euchre::smileyImage(2).size(), QSize(17, 16));
    // Each picture is its own drawing.
    QVERIFY(euchre::smileyImage(2) != euchre::smileyImage(3));
    QCOMPARE(euchre::smileyImage(99), euchre::smileyImage(0));
}

void TestChatLog::copyIsPlainTextWithPictureCodes() {
    ChatLog log;
    log.setPictures(euchre::smileyImages());
    QStringList codes;
    for (int i = 0; i < euchre::kSmileyCount; ++i) codes.append(euchre::smileyCode(i));
    log.setPictureTexts(codes);
    log.addParagraph(QStringLiteral("hi "), 6);
    log.addPicture(2);
    log.addParagraph(QStringLiteral("next"), 6);
    log.format();
    log.selectAll();
    log.copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), QStringLiteral("hi :)#12\nnext"));
    QVERIFY(!data->hasHtml());
}

QTEST_MAIN(TestChatLog)
#include "tst_chatlog.moc"
