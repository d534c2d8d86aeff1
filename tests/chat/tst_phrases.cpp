// The phrase editor: it opens with the buttons' phrases, "Done" hands the
// edits to the buttons and the settings file, and a failed write keeps it open.
#include "chat/chatbox.h"
#include "chat/phrases.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using euchre::ChatBox;
using euchre::Tphrases;

namespace {

class LoggedIn : public euchre::ChatOwner {
public:
    void sendToHost(const QByteArray& message) override { sent.append(message); }
    bool isLoggedIn() const override { return true; }
    int ownSlot() const override { return 1; }
    QList<QByteArray> sent;
};

QLineEdit* field(Tphrases* editor, int n) {
    return editor->findChild<QLineEdit*>(QStringLiteral("phrase%1").arg(n));
}

} // namespace

class TestPhrases : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheButtonsPhrases();
    void doneStoresAndCloses();
    void failedWriteKeepsTheEditorOpen();
    void closingOtherwiseDiscardsEdits();
};

void TestPhrases::opensWithTheButtonsPhrases() {
    LoggedIn owner;
    ChatBox box(&owner);
    box.setPhrase(4, QStringLiteral("Superb!"));
    box.PrhaseList1Click();
    Tphrases* editor = box.phraseEditor();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Euchre - Phrase Buttons"));
    QCOMPARE(field(editor, 1)->text(), QStringLiteral("Way To Go!"));
    QCOMPARE(field(editor, 4)->text(), QStringLiteral("Superb!"));
    QCOMPARE(field(editor, 9)->text(), QStringLiteral("Chatter Sounds"));
    QCOMPARE(field(editor, 1)->maxLength(), 50);
    editor->close();
}

void TestPhrases::doneStoresAndCloses() {
    LoggedIn owner;
    ChatBox box(&owner);
    Tphrases::Phrases stored, shown;
    box.storePhrases = [&](const Tphrases::Phrases& p, const Tphrases::Phrases& s, QString*) {
        stored = p;
        shown = s;
        return true;
    };
    box.PrhaseList1Click();
    Tphrases* editor = box.phraseEditor();
    field(editor, 2)->setText(QStringLiteral("/me bows"));
    field(editor, 7)->setText(QStringLiteral("Cheers!"));
    editor->SelButton8Click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(stored[1], QStringLiteral("/me bows"));
    QCOMPARE(stored[6], QStringLiteral("Cheers!"));
    QCOMPARE(shown[1], QStringLiteral("Good One!"));
    QCOMPARE(shown[6], QStringLiteral("Thanks!"));
    QCOMPARE(box.phrase(2), QStringLiteral("/me bows"));
    QCOMPARE(box.phrase(7), QStringLiteral("Cheers!"));
    // A screen reader hears the new words too.
    QCOMPARE(box.findChild<QToolButton*>(QStringLiteral("b_phrase2"))->accessibleName(),
             QStringLiteral("Say: /me bows"));
    box.b_phrase1Click(2);
    QCOMPARE(owner.sent, QList<QByteArray>{QByteArray("CMD_action+1+bows|clBlack\xFF")});
}

void TestPhrases::failedWriteKeepsTheEditorOpen() {
    LoggedIn owner;
    ChatBox box(&owner);
    QStringList shown;
    box.message = [&](const QString& text) { shown.append(text); };
    box.storePhrases = [](const Tphrases::Phrases&, const Tphrases::Phrases&, QString* error) {
        *error = QStringLiteral("Unable to write to /nowhere/bromlobby.ini");
        return false;
    };
    box.PrhaseList1Click();
    Tphrases* editor = box.phraseEditor();
    field(editor, 3)->setText(QStringLiteral("Close one!"));
    editor->SelButton8Click();
    QVERIFY(editor->isVisible());
    QCOMPARE(shown, QStringList{QStringLiteral("Unable to write to /nowhere/bromlobby.ini")});
    // The buttons already hold the new phrases.
    QCOMPARE(box.phrase(3), QStringLiteral("Close one!"));
    editor->close();
}

void TestPhrases::closingOtherwiseDiscardsEdits() {
    LoggedIn owner;
    ChatBox box(&owner);
    box.PrhaseList1Click();
    Tphrases* editor = box.phraseEditor();
    field(editor, 1)->setText(QStringLiteral("changed"));
    editor->close();
    QCOMPARE(box.phrase(1), QStringLiteral("Way To Go!"));
    // Opening again starts from the buttons, not from the discarded edits.
    box.PrhaseList1Click();
    QCOMPARE(field(editor, 1)->text(), QStringLiteral("Way To Go!"));
    editor->close();
}

QTEST_MAIN(TestPhrases)
#include "tst_phrases.moc"
