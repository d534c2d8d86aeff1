// The chat column: what a typed line, a phrase button or a chatter sound sends,
// how received lines are shown (colour, speaker, smilies, links), the link
// table, the phrase gate and the chat's menus.
#include "chat/chatbox.h"
#include "settings/colourtext.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using euchre::ChatBox;
using euchre::ChatLog;

namespace {

class FakeOwner : public euchre::ChatOwner {
public:
    void sendToHost(const QByteArray& message) override { sent.append(message); }
    bool isLoggedIn() const override { return loggedIn; }
    int ownSlot() const override { return slot; }

    QList<QByteArray> sent;
    bool loggedIn = true;
    int slot = 3;
};

struct Shown {
    ChatLog::ItemKind kind;
    QString text;
    int picture;
};

QList<Shown> lastParagraph(const ChatBox& box) {
    QList<Shown> out;
    for (const ChatLog::Item& item : box.log()->paragraphs().last())
        out.append({item.kind, item.text, item.picture});
    return out;
}

QString textOf(const QList<Shown>& items) {
    QString out;
    for (const Shown& s : items)
        out +=
            s.kind == ChatLog::ItemKind::Picture ? QStringLiteral("[%1]").arg(s.picture) : s.text;
    return out;
}

} // namespace

class TestChatBox : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typedLinesAreSentAsChatOrAction_data();
    void typedLinesAreSentAsChatOrAction();
    void nothingIsSentBeforeLogin();
    void placeholderIsClearedByTheFirstKey();

    void receivedLineTakesItsColour_data();
    void receivedLineTakesItsColour();
    void speakerPartAndStyleOfALine();
    void linesWithBadNumbersAreDropped();
    void newColourOfASlotRecoloursItsEarlierLines();
    void smiliesBecomePictures_data();
    void smiliesBecomePictures();

    void linksAreShownInTheLinkStyle();
    void linkTableWrapsButClicksOpenTheirOwnText();
    void onlyWebAddressesAreOpened();

    void phraseButtonsAndTheirGate();
    void chatterSoundsFromTheSoundsPopup();
    void smileyPopupAppendsToTheInput();
    void pasteAppendsClipboardText();
    void textSizeAndColourEntries();
    void scrollChatOffIsOneSwitchInTwoMenus();

private:
    FakeOwner* owner = nullptr;
    ChatBox* box = nullptr;
    QStringList messages;
    QList<QUrl> opened;
};

void TestChatBox::init() {
    owner = new FakeOwner;
    box = new ChatBox(owner);
    messages.clear();
    opened.clear();
    box->message = [this](const QString& text) { messages.append(text); };
    box->openUrl = [this](const QUrl& url) {
        opened.append(url);
        return true;
    };
}

void TestChatBox::cleanup() {
    delete box;
    delete owner;
}

void TestChatBox::typedLinesAreSentAsChatOrAction_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("chat") << "hello all" << QByteArray("CMD_chat+3+hello all|clBlack\xFF");
    QTest::newRow("chat keeps + and :") << "a+b: c" << QByteArray("CMD_chat+3+a+b: c|clBlack\xFF");
    QTest::newRow("/me") << "/me waves" << QByteArray("CMD_action+3+waves|clBlack\xFF");
    QTest::newRow("/mewaves cuts four")
        << "/mewaves" << QByteArray("CMD_action+3+aves|clBlack\xFF");
    QTest::newRow("/who") << "/who" << QByteArray();
    QTest::newRow("/ME") << "/ME waves" << QByteArray();
    QTest::newRow("empty") << "" << QByteArray();
}

void TestChatBox::typedLinesAreSentAsChatOrAction() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    box->input()->setText(typed);
    box->sendit();
    QCOMPARE(owner->sent.size(), sent.isEmpty() ? 0 : 1);
    if (!sent.isEmpty()) QCOMPARE(owner->sent[0], sent);
    QCOMPARE(box->input()->text(), QString());
}

void TestChatBox::nothingIsSentBeforeLogin() {
    owner->loggedIn = false;
    box->input()->setText(QStringLiteral("hello"));
    QTest::keyClick(box->input(), Qt::Key_Return);
    QVERIFY(owner->sent.isEmpty());
    QCOMPARE(box->input()->text(), QStringLiteral("hello"));
    box->b_phrase1Click(1);
    box->wave20Click(3);
    QVERIFY(owner->sent.isEmpty());
    QVERIFY(box->phraseGateOpen());
}

void TestChatBox::placeholderIsClearedByTheFirstKey() {
    QCOMPARE(box->input()->text(), ChatBox::kPlaceholder);
    // Enter on the placeholder: the key going down empties the box first.
    QTest::keyClick(box->input(), Qt::Key_Return);
    QVERIFY(owner->sent.isEmpty());
    QCOMPARE(box->input()->text(), QString());

    box->input()->setText(ChatBox::kPlaceholder);
    QTest::keyClicks(box->input(), QStringLiteral("hi"));
    QCOMPARE(box->input()->text(), QStringLiteral("hi"));
    QTest::keyClick(box->input(), Qt::Key_Enter);
    QCOMPARE(owner->sent, QList<QByteArray>{QByteArray("CMD_chat+3+hi|clBlack\xFF")});

    // The chat colour travels as its text.
    box->setChatColour(0x00123456);
    box->input()->setText(QStringLiteral("x"));
    box->sendit();
    QCOMPARE(owner->sent.last(), QByteArray("CMD_chat+3+x|$00123456\xFF"));
}

void TestChatBox::receivedLineTakesItsColour_data() {
    QTest::addColumn<QByteArray>("args");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("shown");
    QTest::newRow("named") << QByteArray("3+Ann chats: hi|clGreen") << QColor(0, 128, 0)
                           << "Ann chats:  hi ";
    QTest::newRow("hex") << QByteArray("3+Ann chats: hi|$00FF0000") << QColor(0, 0, 255)
                         << "Ann chats:  hi ";
    QTest::newRow("decimal") << QByteArray("3+Ann chats: hi|65280") << QColor(0, 255, 0)
                             << "Ann chats:  hi ";
    QTest::newRow("no colour") << QByteArray("3+Ann chats: hi") << QColor(255, 0, 0)
                               << "Ann chats:  hi ";
    QTest::newRow("bar in text") << QByteArray("3+Ann chats: a|b|clBlue") << QColor(255, 0, 0)
                                 << "Ann chats:  a ";
}

void TestChatBox::receivedLineTakesItsColour() {
    QFETCH(QByteArray, args);
    QFETCH(QColor, colour);
    QFETCH(QString, shown);
    box->chatrecieved(args);
    QCOMPARE(textOf(lastParagraph(*box)), shown);
    QCOMPARE(box->log()->style(8).colour, colour);
    QVERIFY(box->log()->style(8).bold);
    QCOMPARE(box->log()->document()->toPlainText(), shown);
}

void TestChatBox::speakerPartAndStyleOfALine() {
    box->chatrecieved("5+Bob waves at: you :)|clNavy");
    const ChatLog::Paragraph& p = box->log()->paragraphs().last();
    QCOMPARE(p[0].text, QStringLiteral("Bob waves at: "));
    QCOMPARE(p[0].style, 10);
    QCOMPARE(p[1].text, QStringLiteral(" "));
    QCOMPARE(p[2].text, QStringLiteral("you "));
    QCOMPARE(p[3].text, QStringLiteral(":) "));

    // A notice has no speaker: a blank, then its words, bold blue in style 0.
    box->addlinetochat(QStringLiteral("0+You are Connected."), euchre::systemColour);
    const ChatLog::Paragraph& n = box->log()->paragraphs().last();
    QCOMPARE(n[0].text, QStringLiteral(" "));
    QCOMPARE(n[0].style, 0);
    QCOMPARE(n[1].text, QStringLiteral("You "));
    QCOMPARE(n[2].text, QStringLiteral("are "));
    QCOMPARE(n[3].text, QStringLiteral("Connected. "));
    QCOMPARE(box->log()->style(0).colour, QColor(0, 0, 255));
    QVERIFY(box->log()->style(0).bold);
}

void TestChatBox::linesWithBadNumbersAreDropped() {
    for (const char* bad :
         {"x+Ann chats: hi|clRed", "11+Ann chats: hi|clRed", "-1+Ann chats: hi|clRed",
          "+Ann chats: hi|clRed", "no plus at all", "", "99999999999+a"}) {
        box->chatrecieved(bad);
    }
    QVERIFY(box->log()->paragraphs().isEmpty());
    box->chatrecieved("10+Ann chats: hi|clRed");
    QCOMPARE(box->log()->paragraphs().last()[0].style, 15);
}

void TestChatBox::newColourOfASlotRecoloursItsEarlierLines() {
    box->chatrecieved("3+Ann chats: first|clRed");
    box->chatrecieved("4+Bob chats: other|clGreen");
    QCOMPARE(box->log()->style(8).colour, QColor(255, 0, 0));
    box->chatrecieved("3+Ann chats: second|clBlue");
    const QTextCursor first = box->log()->document()->find(QStringLiteral("first"));
    QTextCursor at(box->log()->document());
    at.setPosition(first.selectionStart() + 1);
    QCOMPARE(at.charFormat().foreground().color(), QColor(0, 0, 255));
    const QTextCursor other = box->log()->document()->find(QStringLiteral("other"));
    at.setPosition(other.selectionStart() + 1);
    QCOMPARE(at.charFormat().foreground().color(), QColor(0, 128, 0));
}

void TestChatBox::smiliesBecomePictures_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("shown");
    // The speaker part ends at the first ":", so these lines carry one.
    QTest::newRow("valid") << "3+Ann chats: hi :)#12 there"
                           << "Ann chats:  hi  [2] there ";
    QTest::newRow("first and last") << "3+Ann chats: :)#10:)#27"
                                    << "Ann chats:   [0] [17]";
    QTest::newRow("99") << "3+Ann chats: a:)#99b"
                        << "Ann chats:  a [0]b ";
    QTest::newRow("5x consumed") << "3+Ann chats: a:)#5xb"
                                 << "Ann chats:  a [0]b ";
    QTest::newRow("09") << "3+Ann chats: :)#09"
                        << "Ann chats:   [0]";
    QTest::newRow("short at end") << "3+Ann chats: a:)#1"
                                  << "Ann chats:  a [0]";
    QTest::newRow("plus in code") << "3+Ann chats: a:)#1+b"
                                  << "Ann chats:  a [0]b ";
}

void TestChatBox::smiliesBecomePictures() {
    QFETCH(QString, line);
    QFETCH(QString, shown);
    box->addlinetochat(line, 0);
    QCOMPARE(textOf(lastParagraph(*box)), shown);
}

void TestChatBox::linksAreShownInTheLinkStyle() {
    box->chatrecieved("3+Ann chats: go www.example.com now|clRed");
    const ChatLog::Paragraph& p = box->log()->paragraphs().last();
    QCOMPARE(p.size(), 5);
    QCOMPARE(p[2].text, QStringLiteral("go "));
    QCOMPARE(p[2].style, 8);
    QCOMPARE(p[3].kind, ChatLog::ItemKind::Link);
    QCOMPARE(p[3].text, QStringLiteral("www.example.com "));
    QCOMPARE(p[3].style, ChatLog::kLinkStyle);
    QCOMPARE(p[4].text, QStringLiteral("now "));
    QCOMPARE(p[4].style, 8);
    QCOMPARE(box->linkTable().counter(), 0);
    QCOMPARE(box->linkTable().entry(0), QStringLiteral("www.example.com "));

    box->mainchatJump(p[3].link);
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://www.example.com"))});
    QVERIFY(messages.isEmpty());

    QVERIFY(euchre::islink(QStringLiteral("HTTP://x ")));
    QVERIFY(euchre::islink(QStringLiteral("(www.x)")));
    QVERIFY(!euchre::islink(QStringLiteral("https://x")));
    QVERIFY(!euchre::islink(QString()));
}

void TestChatBox::linkTableWrapsButClicksOpenTheirOwnText() {
    for (int i = 0; i < 102; ++i)
        box->addlinetochat(QStringLiteral("0+www.site%1.example").arg(i), euchre::systemColour);
    QCOMPARE(box->linkTable().counter(), 1);
    QCOMPARE(box->linkTable().entry(1), QStringLiteral("www.site101.example "));
    QCOMPARE(box->linkTable().entry(0), QStringLiteral("www.site0.example "));
    QCOMPARE(box->linkTable().entry(2), QStringLiteral("www.site2.example "));
    QCOMPARE(box->linkTable().entry(101), QString());

    // The log's numbering goes on past the table; each click opens its own link.
    box->mainchatJump(101);
    box->mainchatJump(1);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].host(), QStringLiteral("www.site101.example"));
    QCOMPARE(opened[1].host(), QStringLiteral("www.site1.example"));

    // Clearing restarts the log's numbering but not the table's counter.
    box->ClearChat1Click();
    box->addlinetochat(QStringLiteral("0+www.after.example"), euchre::systemColour);
    QCOMPARE(box->linkTable().counter(), 2);
    box->mainchatJump(0);
    QCOMPARE(opened.last().host(), QStringLiteral("www.after.example"));

    // A number the log never gave opens nothing.
    box->mainchatJump(7);
    QCOMPARE(opened.size(), 3);
    QCOMPARE(messages, QStringList{QStringLiteral("Cannot open Webpage")});
}

void TestChatBox::onlyWebAddressesAreOpened() {
    box->chatrecieved("3+Ann chats: file:///etc/passwd#www.x|clRed");
    box->chatrecieved("3+Ann chats: javascript:alert('http://x')|clRed");
    box->chatrecieved("3+Ann chats: http://fine.example/page|clRed");
    box->mainchatJump(0);
    box->mainchatJump(1);
    QVERIFY(opened.isEmpty());
    QCOMPARE(messages.size(), 2);
    box->mainchatJump(2);
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://fine.example/page"))});

    // The browser refusing is reported too.
    box->openUrl = [](const QUrl&) { return false; };
    box->mainchatJump(2);
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages.last(), QStringLiteral("Cannot open Webpage"));
}

void TestChatBox::phraseButtonsAndTheirGate() {
    QSignalSpy closed(box, &ChatBox::phraseGateClosed);
    box->b_phrase1Click(1);
    box->b_phrase1Click(2); // too soon: dropped
    QCOMPARE(owner->sent,
             QList<QByteArray>{QByteArray("CMD_action+3+says: Way To Go!|clBlack\xFF")});
    QCOMPARE(closed.size(), 1);
    QVERIFY(!box->phraseGateOpen());

    for (int i = 0; i < ChatBox::kPhraseGateTicks; ++i) box->advancePhraseGate();
    QVERIFY(!box->phraseGateOpen());
    box->advancePhraseGate();
    QVERIFY(box->phraseGateOpen());
    QCOMPARE(box->phraseGateTicks(), 0);

    // A phrase beginning "/me " is sent as an action of its own.
    box->setPhrase(2, QStringLiteral("/me cheers"));
    box->b_phrase1Click(2);
    QCOMPARE(owner->sent.last(), QByteArray("CMD_action+3+cheers|clBlack\xFF"));

    // The phrase is the button's hint; the buttons are found by name.
    auto* button = box->findChild<QToolButton*>(QStringLiteral("b_phrase2"));
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("/me cheers"));
    QCOMPARE(box->phrase(9), QStringLiteral("Chatter Sounds"));
}

void TestChatBox::chatterSoundsFromTheSoundsPopup() {
    QAction* ohNo = box->soundsMenu()->findChild<QAction*>(QStringLiteral("wave12"));
    QVERIFY(ohNo);
    QCOMPARE(ohNo->text(), QStringLiteral("Oh No"));
    ohNo->trigger();
    QCOMPARE(owner->sent, QList<QByteArray>{QByteArray("CMD_playasound+3+wave12+\xFF")});

    box->wave20Click(0); // "<Cancel>"
    owner->slot = 6;     // a spectator
    box->wave20Click(12);
    QCOMPARE(owner->sent.size(), 1);
    QCOMPARE(box->soundsMenu()->actions().size(), 21);
}

void TestChatBox::smileyPopupAppendsToTheInput() {
    QAction* entry = box->smiliesMenu()->findChild<QAction*>(QStringLiteral("smiley15"));
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral(":)#15"));
    entry->trigger();
    QCOMPARE(box->input()->text(), QStringLiteral(":)#15"));
    box->N271Click(27);
    QCOMPARE(box->input()->text(), QStringLiteral(":)#15:)#27"));
    QCOMPARE(box->input()->cursorPosition(), 10);
    QCOMPARE(box->smiliesMenu()->actions().size(), 18);
}

void TestChatBox::pasteAppendsClipboardText() {
    QGuiApplication::clipboard()->setText(QStringLiteral(" pasted"));
    box->Paste1Click();
    QCOMPARE(box->input()->text(), ChatBox::kPlaceholder + QStringLiteral(" pasted"));
    box->input()->setText(QStringLiteral("abc"));
    box->input()->setCursorPosition(1);
    QTest::keyClick(box->input(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->input()->text(), QStringLiteral("abc pasted"));
    QCOMPARE(box->input()->cursorPosition(), 10);
}

void TestChatBox::textSizeAndColourEntries() {
    QSignalSpy changed(box, &ChatBox::preferenceChanged);
    const auto& sizes = box->textSizeActions();
    sizes[2]->trigger(); // "12"
    QCOMPARE(box->textSize(), 12);
    QCOMPARE(box->log()->style(14).size, 12);
    QCOMPARE(box->log()->style(15).size, 10);
    QVERIFY(sizes[2]->isChecked());
    QVERIFY(!sizes[0]->isChecked() && !sizes[1]->isChecked() && !sizes[3]->isChecked());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].value<euchre::SettingKey>(), euchre::SettingKey::TextSize);

    // A size without an entry: applied, nothing ticked.
    box->setTextSize(9);
    QCOMPARE(box->textSize(), 9);
    for (QAction* a : sizes) QVERIFY(!a->isChecked());

    box->chooseColour = [](const QColor&) -> std::optional<QColor> { return std::nullopt; };
    box->textColourAction()->trigger();
    QCOMPARE(changed.size(), 1);
    box->chooseColour = [](const QColor&) -> std::optional<QColor> { return QColor(0, 0, 128); };
    box->textColourAction()->trigger();
    QCOMPARE(changed.size(), 2);
    QCOMPARE(box->chatColour(), 0x00800000u);
    QCOMPARE(box->input()->palette().color(QPalette::Text), QColor(0, 0, 128));
    box->input()->setText(QStringLiteral("x"));
    box->sendit();
    QCOMPARE(owner->sent.last(), QByteArray("CMD_chat+3+x|clNavy\xFF"));
}

void TestChatBox::scrollChatOffIsOneSwitchInTwoMenus() {
    QAction* inLog = box->findChild<QAction*>(QStringLiteral("ScrollChatOff1"));
    QAction* inMenu = box->scrollChatOffMenuAction();
    QVERIFY(inLog && inMenu);
    inMenu->trigger();
    QVERIFY(box->scrollChatOff());
    QVERIFY(inLog->isChecked() && inMenu->isChecked());
    inLog->trigger();
    QVERIFY(!box->scrollChatOff());
    QVERIFY(!inLog->isChecked() && !inMenu->isChecked());

    // With scrolling off, a new line leaves the view where it was.
    box->resize(271, 447);
    box->show();
    for (int i = 0; i < 60; ++i)
        box->addlinetochat(QStringLiteral("0+line %1").arg(i), euchre::systemColour);
    QScrollBar* bar = box->log()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    inMenu->trigger();
    bar->setValue(0);
    box->addlinetochat(QStringLiteral("0+one more"), euchre::systemColour);
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestChatBox)
#include "tst_chatbox.moc"
