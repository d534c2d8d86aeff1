// The table window and its tally: "View Tally" hands over the names shown for
// the other seats, and a recorded game takes them from the table again.
#include "client/tableboard.h"
#include "client/tchat.h"
#include "support/fakehost.h"
#include "support/testdoor.h"
#include "tally/ttallylist.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace euchre;
using euchre::testing::feed;

namespace {

QStringList entries(const QListWidget* list, Qt::CheckState state) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == state) out << list->item(i)->text();
    return out;
}

} // namespace

class TestTchatTally : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("EUCHRE_HOME", home.path().toLocal8Bit()); }
    void namesAtTheTable();

private:
    QTemporaryDir home;
};

void TestTchatTally::namesAtTheTable() {
    Tchat chat;
    Ttallylist tally;
    chat.setTally(&tally);
    euchre::TchatTestDoor::sit(chat, 2, false);
    feed(chat, "CMD_existingplayers+1+Alice+0+2+Me+0+4+Klot+0");
    tally.loadchecklist({"Klot"});
    tally.checklist()->item(0)->setCheckState(Qt::Checked);

    QAction* view = chat.findChild<QAction*>("ViewTally1");
    QVERIFY(view->isEnabled());
    view->trigger();
    QVERIFY(tally.isVisible());
    QCOMPARE(entries(tally.checklist(), Qt::Checked), QStringList{"Klot"});
    QCOMPARE(entries(tally.checklist(), Qt::Unchecked), QStringList{"Alice"});

    // A seat filled since: the game is recorded against the table as it is.
    feed(chat, "CMD_newplayerinfo+3+Kling+0");
    tally.addgame(Ttallylist::kAddToMine, "Kling");
    QCOMPARE(entries(tally.checklist(), Qt::Unchecked), QStringList({"Alice", "Kling"}));
    QCOMPARE(tally.grid().count(TallyGrid::kYourWins, 1), 1);
}

QTEST_MAIN(TestTchatTally)
#include "tst_tchattally.moc"
