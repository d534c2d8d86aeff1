// The table's own handlers as a seated player or a spectator sees them: the
// turned seats, arrivals, departures and watchers, the name-label menu, the
// own hand (sorting, pressing, refusals, the gap, the pick-up, a loner's
// partner), the other hands' backs, catch-up on joining, the bubbles, the
// game-start window, and that nothing is sent out of turn.
#include "client/artitem.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "client/tgamestart.h"
#include "support/fakehost.h"
#include "support/testdoor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using euchre::ArtItem;
using euchre::TableBoard;
using euchre::Tchat;
using euchre::testing::cardAt;
using euchre::testing::FakeHost;
using euchre::testing::feed;

namespace {

bool logShows(const Tchat& t, const QString& line) {
    for (const auto& para : t.chat()->log()->paragraphs()) {
        QString text;
        for (const auto& item : para) text += item.text;
        if (text.trimmed() == line) return true;
    }
    return false;
}

int logSize(const Tchat& t) {
    return static_cast<int>(t.chat()->log()->paragraphs().size());
}

QList<int> handNumbers(const Tchat& t) {
    QList<int> cards;
    for (int place = 1; place <= 5; ++place)
        if (ArtItem* card = cardAt(t, place)) cards.append(card->number());
    return cards;
}

QList<int> handLefts(const Tchat& t) {
    QList<int> lefts;
    for (int place = 1; place <= 5; ++place)
        if (ArtItem* card = cardAt(t, place)) lefts.append(card->x());
    return lefts;
}

QList<int> bubbleCodes(const Tchat& t) {
    QList<int> codes;
    for (int n = 1; n <= TableBoard::kBubbles; ++n) codes.append(t.board()->bubble(n)->number());
    return codes;
}

const QString kDeal = QStringLiteral("CMD_placecard+%1+1+23+2+9+3+49+4+12+5+36");

// Every item of a board as a person would find it: place, showing, picture,
// number, text, and what a screen reader says of it.
QStringList boardItems(const TableBoard& b) {
    QStringList items;
    for (const QWidget* w : b.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The board's own items, not the chat column or the connection panel on it.
        if (!qobject_cast<const ArtItem*>(w) && !qobject_cast<const QLabel*>(w) &&
            !qobject_cast<const QPushButton*>(w))
            continue;
        QString line = w->objectName() + ' ' + QString::number(w->x()) + ',' +
                       QString::number(w->y()) + ' ' + QString::number(w->width()) + 'x' +
                       QString::number(w->height()) + (w->isVisibleTo(&b) ? " shown" : " hidden");
        if (const auto* item = qobject_cast<const ArtItem*>(w))
            line += QStringLiteral(" #%1%2").arg(item->number()).arg(item->hasArt() ? " art" : "");
        if (const auto* label = qobject_cast<const QLabel*>(w)) line += ' ' + label->text();
        items.append(line + " [" + w->accessibleName() + '|' + w->accessibleDescription() + ']');
    }
    items.sort();
    return items;
}

} // namespace

class TestTable : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpStateAndLayout();
    void seatsAreTurnedToTheOwnChair_data();
    void seatsAreTurnedToTheOwnChair();
    void arrivalsDeparturesAndWatchers();
    void nameLabelMenu_data();
    void nameLabelMenu();
    void ownHandSortPressRefuseAndGap();
    void pickUpLonerAndOtherHands();
    void trickRecordAndCatchUp();
    void bubbleLayouts_data();
    void bubbleLayouts();
    void nothingIsSentOutOfTurn();
    void houseRulesAtTheTable_data();
    void houseRulesAtTheTable();
    void gameStartWindow();
    void theRecordDrawsAlikeAtOnce_data();
    void theRecordDrawsAlikeAtOnce();

private:
    // A table logged in to the fake host in the given slot.
    Tchat& seated(int slot);

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<FakeHost> host;
    std::unique_ptr<Tchat> table;
};

void TestTable::init() {
    home = std::make_unique<QTemporaryDir>();
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
    host = std::make_unique<FakeHost>();
}

void TestTable::cleanup() {
    table.reset();
    host.reset();
    home.reset();
}

Tchat& TestTable::seated(int slot) {
    table = host->seat(slot);
    return *table;
}

// ---- seats ----

void TestTable::startUpStateAndLayout() {
    Tchat t;
    const TableBoard* b = t.board();
    for (int seat = 1; seat <= 4; ++seat)
        QCOMPARE(b->nameLabel(seat)->text(), euchre::kWaitingSeat);
    QCOMPARE(b->label("label_score1")->text(), QStringLiteral("0"));
    QCOMPARE(b->label("label_score2")->text(), QStringLiteral("0"));
    QCOMPARE(b->label("label_current1")->text(), QString());
    QCOMPARE(b->statusLabel()->text(), QStringLiteral("Good Luck!!"));
    QCOMPARE(b->label("label_playtoscore")->text(), QStringLiteral("Play to Score: 10"));
    const std::pair<const char*, QRect> places[] = {
        {"button_dealer", {60, 366, 25, 25}},    {"image_trump", {17, 38, 71, 96}},
        {"image_winner", {119, 97, 27, 35}},     {"bubble1", {149, 358, 95, 25}},
        {"bubble4", {245, 331, 95, 25}},         {"button_start", {368, 347, 91, 28}},
        {"button_lasttrick", {538, 48, 91, 28}}, {"button_scorecard", {635, 48, 91, 28}},
        {"label_status", {24, 533, 393, 16}},    {"image_maker2", {299, 102, 11, 48}},
        {"Image6", {554, 9, 156, 32}},
    };
    for (const auto& [name, rect] : places) {
        const QWidget* item =
            b->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        QVERIFY2(item, name);
        QCOMPARE(item->geometry(), rect);
    }
    for (const char* hidden : {"button_start", "image_winner", "image_maker1", "label_discard"})
        QVERIFY2(b->findChild<QWidget*>(QLatin1String(hidden))->isHidden(), hidden);
}

void TestTable::seatsAreTurnedToTheOwnChair_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QList<int>>("seatAt"); // seats at bottom, left, top, right
    QTest::newRow("slot 1") << 1 << QList<int>{1, 2, 3, 4};
    QTest::newRow("slot 2") << 2 << QList<int>{2, 3, 4, 1};
    QTest::newRow("slot 3") << 3 << QList<int>{3, 4, 1, 2};
    QTest::newRow("slot 4") << 4 << QList<int>{4, 1, 2, 3};
    QTest::newRow("spectator") << 6 << QList<int>{1, 2, 3, 4};
}

void TestTable::seatsAreTurnedToTheOwnChair() {
    QFETCH(int, slot);
    QFETCH(QList<int>, seatAt);
    Tchat& t = seated(slot);
    const QPoint names[] = {{88, 382}, {33, 170}, {148, 24}, {343, 213}};
    const QPoint played[] = {{172, 235}, {132, 208}, {179, 162}, {220, 201}};
    const QPoint arrows[] = {{59, 413}, {4, 208}, {120, 61}, {313, 250}};
    for (int position = 1; position <= 4; ++position) {
        const int seat = seatAt[position - 1];
        const euchre::SeatItems* items = t.board()->seat(seat);
        QCOMPARE(items->name->objectName(), QStringLiteral("label_playername%1").arg(seat));
        QCOMPARE(items->name->pos(), names[position - 1]);
        QCOMPARE(items->played->pos(), played[position - 1]);
        QCOMPARE(items->turn->pos(), arrows[position - 1]);
        // Until someone takes a seat it waits; the seat keeps its team colour.
        QCOMPARE(items->name->text(), euchre::kWaitingSeat);
        QVERIFY(items->name->styleSheet().contains(euchre::teamColour(seat).name()));
    }
    QCOMPARE(euchre::teamColour(1), euchre::teamColour(3));
    QVERIFY(euchre::teamColour(1) != euchre::teamColour(2));
    // The dealer's button follows the dealer's name wherever it is drawn.
    feed(t, "CMD_dealer+" + QByteArray::number(seatAt[2]) + "+");
    QCOMPARE(t.board()->dealerButton()->pos(), names[2] - QPoint(28, 9));
}

void TestTable::arrivalsDeparturesAndWatchers() {
    Tchat& t = seated(3);
    feed(t, "CMD_existingplayers+1+Hana+0+2+Joe+1+6+Spy+0");
    for (const char* line :
         {"Hana is Connected.", "Joe is Connected.", "Spy is Connected.", "Spy is spying."})
        QVERIFY2(logShows(t, QLatin1String(line)), line);
    QCOMPARE(t.board()->nameLabel(2)->text(), QStringLiteral("Joe"));
    QVERIFY(t.board()->seat(2)->eyes->isVisibleTo(t.board()));
    QVERIFY(!t.board()->seat(1)->eyes->isVisibleTo(t.board()));
    QCOMPARE(t.shown().spylist, QStringList{QStringLiteral("6: Spy")});
    feed(t, "CMD_newplayerinfo+3+Bob+0");
    QVERIFY(logShows(t, QStringLiteral("You are Connected.")));
    QCOMPARE(t.board()->nameLabel(3)->text(), QStringLiteral("Bob"));

    // A name with "+" falls apart; what is left over touches no other seat.
    feed(t, "CMD_newplayerinfo+4+Al+ex+0");
    QCOMPARE(t.board()->nameLabel(4)->text(), QStringLiteral("Al"));
    QCOMPARE(t.board()->nameLabel(1)->text(), QStringLiteral("Hana"));

    // Seated players leave their seat to the computer under its own name.
    feed(t, "CMD_playerdisconnected+2+Joe");
    QVERIFY(logShows(t, QStringLiteral("Joe disconnected.")));
    QCOMPARE(t.board()->nameLabel(2)->text(), QStringLiteral("Klot"));
    QVERIFY(!t.board()->seat(2)->eyes->isVisibleTo(t.board()));
    feed(t, "CMD_playerdisconnected+4+Al");
    QCOMPARE(t.board()->nameLabel(4)->text(), QStringLiteral("Kling"));
    // Spectators leave the list; one never listed changes nothing.
    const int before = logSize(t);
    feed(t, "CMD_playerdisconnected+7+Ghost");
    QCOMPARE(logSize(t), before);
    feed(t, "CMD_playerdisconnected+6+Spy");
    QVERIFY(logShows(t, QStringLiteral("Spy has left.")));
    QVERIFY(t.shown().spylist.isEmpty());
    // A slot holds one spectator: another one there replaces the one listed.
    for (const char* line :
         {"CMD_newplayerinfo+8+Ann+0", "CMD_newplayerinfo+8+Ann+0", "CMD_newplayerinfo+8+Eve+0"})
        feed(t, line);
    QCOMPARE(t.shown().spylist, QStringList{QStringLiteral("8: Eve")});

    // Just watching: slots above 4 are ignored; the own seat's menu tick
    // follows the host, never the click.
    auto* justWatch = t.findChild<QAction*>(QStringLiteral("JustWatch1"));
    const int beforeWatch = logSize(t);
    feed(t, "CMD_justwatching+7+1");
    QCOMPARE(logSize(t), beforeWatch);
    justWatch->trigger();
    QCOMPARE(host->take(), QByteArray("CMD_justwatch+3+1\xFF"));
    QVERIFY(!justWatch->isChecked());
    feed(t, "CMD_justwatching+3+1");
    QVERIFY(justWatch->isChecked());
    QVERIFY(t.board()->seat(3)->eyes->isVisibleTo(t.board()));
    QVERIFY(logShows(t, QStringLiteral("You are just watching")));
    justWatch->trigger();
    QCOMPARE(host->take(), QByteArray("CMD_justwatch+3+2\xFF"));
    feed(t, "CMD_justwatching+3+2");
    QVERIFY(!justWatch->isChecked());
    QVERIFY(!t.board()->seat(3)->eyes->isVisibleTo(t.board()));
    QVERIFY(logShows(t, QStringLiteral("You are playing again")));
}

void TestTable::nameLabelMenu_data() {
    QTest::addColumn<bool>("hosting");
    QTest::addColumn<int>("seat");
    QTest::addColumn<QList<bool>>("enabled"); // remove, set, unset
    QTest::addColumn<QByteArray>("removeSends");
    QTest::addColumn<int>("key"); // opens the menu by keys; 0: a right click on the name
    QTest::newRow("host, player") << true << 2 << QList<bool>{true, true, true}
                                  << QByteArray("CMD_kickhim+1+2+\xFF") << 0;
    QTest::newRow("host, player, menu key")
        << true << 3 << QList<bool>{true, true, true} << QByteArray("CMD_kickhim+1+3+\xFF")
        << int(Qt::Key_Menu);
    QTest::newRow("host, waiting seat, Shift+F10")
        << true << 4 << QList<bool>{false, true, true} << QByteArray()
        << (Qt::ShiftModifier | Qt::Key_F10).toCombined();
    QTest::newRow("host, waiting seat")
        << true << 4 << QList<bool>{false, true, true} << QByteArray() << 0;
    QTest::newRow("not the host") << false << 2 << QList<bool>{false, false, false} << QByteArray()
                                  << 0;
}

void TestTable::nameLabelMenu() {
    QFETCH(bool, hosting);
    QFETCH(int, seat);
    QFETCH(QList<bool>, enabled);
    QFETCH(QByteArray, removeSends);
    QFETCH(int, key);
    Tchat& t = seated(1);
    euchre::TchatTestDoor::setHosting(t, hosting);
    feed(t, "CMD_existingplayers+2+Joe+0+3+Cy+0");
    if (key != 0) {
        const QKeyCombination combination = QKeyCombination::fromCombined(key);
        QTest::keyClick(t.board(), combination.key(), combination.keyboardModifiers());
        auto* seats = t.findChild<QMenu*>(QStringLiteral("popup_seats"));
        QVERIFY(seats && seats->isVisible());
        seats->hide();
        QCOMPARE(seats->actions().value(seat - 1)->text(),
                 QStringLiteral("&%1 %2").arg(seat).arg(t.shown().seatName(seat)));
        seats->actions().value(seat - 1)->trigger();
    } else {
        emit t.board()->nameLabel(seat)->customContextMenuRequested(QPoint(5, 5));
    }
    auto* menu = t.findChild<QMenu*>(QStringLiteral("popup_kick"));
    QVERIFY(menu && menu->isVisible());
    menu->hide();
    const QList<QAction*> entries = menu->actions();
    QCOMPARE(entries.size(), 3);
    for (int i = 0; i < 3; ++i) QCOMPARE(entries[i]->isEnabled(), enabled[i]);
    entries[0]->trigger();
    QCOMPARE(host->take(), removeSends);
    if (enabled[1]) {
        entries[1]->trigger();
        QCOMPARE(host->take(), "CMD_justwatch+" + QByteArray::number(seat) + "+1\xFF");
    }
}

// ---- the own hand ----

void TestTable::ownHandSortPressRefuseAndGap() {
    Tchat& t = seated(3);
    feed(t, kDeal.arg(3).toLatin1());
    // Grouped by suit, nine to ace, trump or not.
    QCOMPARE(handNumbers(t), (QList<int>{9, 12, 23, 36, 49}));
    for (int place = 1; place <= 5; ++place) QCOMPARE(cardAt(t, place)->y(), 400);
    // Sorting puts the cards it moved 2 pixels left of the dealt places.
    QCOMPARE(handLefts(t), (QList<int>{88, 106, 124, 142, 160}));

    // A double press sends once and takes the card back down.
    feed(t, "CMD_nextplayer+3+");
    ArtItem* nine = cardAt(t, 1);
    QTest::mouseClick(nine, Qt::LeftButton);
    QCOMPARE(nine->y(), 395);
    QTest::mouseClick(nine, Qt::LeftButton);
    QCOMPARE(nine->y(), 400);
    QCOMPARE(host->take(), QByteArray("CMD_playcard+3+2+\xFF"));

    // A refused card stays raised; a press lowers it, the next sends again.
    ArtItem* jack = cardAt(t, 3);
    QTest::mouseClick(jack, Qt::LeftButton);
    QCOMPARE(host->take(), QByteArray("CMD_playcard+3+1+\xFF"));
    feed(t, "CMD_notvalid+3+2+1+");
    QCOMPARE(jack->y(), 395);
    QCOMPARE(t.board()->statusLabel()->text(), QStringLiteral("You must follow suit if able."));
    QTest::mouseClick(jack, Qt::LeftButton);
    QCOMPARE(jack->y(), 400);
    QTest::mouseClick(jack, Qt::LeftButton);
    QCOMPARE(host->take(), QByteArray("CMD_playcard+3+1+\xFF"));
    // The right button sorts and sends nothing.
    QTest::mouseClick(jack, Qt::RightButton);
    QCOMPARE(host->take(), QByteArray());

    // The card of place 2 is played: the later ones close up, all resting.
    feed(t, "CMD_playedcard+3+4+12+");
    QCOMPARE(handNumbers(t), (QList<int>{9, 23, 36, 49}));
    QCOMPARE(handLefts(t), (QList<int>{88, 108, 126, 144}));
    for (int place = 1; place <= 4; ++place) QCOMPARE(cardAt(t, place)->y(), 400);
    QVERIFY(!t.board()->handCard(4));
    // Another seat's position never touches the own hand.
    feed(t, "CMD_playedcard+1+2+10+");
    QCOMPARE(handNumbers(t), (QList<int>{9, 23, 36, 49}));
}

void TestTable::pickUpLonerAndOtherHands() {
    Tchat& t = seated(3);
    feed(t, kDeal.arg(3).toLatin1());
    feed(t, "CMD_discarder+3+");
    QVERIFY(t.board()->discardLabel()->isVisibleTo(t.board()));
    // The picked-up card takes the discarded card's place, out of order.
    feed(t, "CMD_switch+3+5+10+");
    QCOMPARE(handNumbers(t), (QList<int>{9, 12, 23, 10, 49}));
    QCOMPARE(t.board()->handCard(5)->y(), 400);
    QCOMPARE(t.shown().turnseat, 0);
    // S sorts as the right button does.
    QTest::keyClick(t.board(), Qt::Key_S);
    QCOMPARE(handNumbers(t), (QList<int>{9, 10, 12, 23, 49}));

    // Other seats: five backs 91 wide, 86 after a card; never the own seat.
    for (int seat : {1, 2, 4})
        feed(t, "CMD_placecard+" + QByteArray::number(seat) + "+1+0+2+0+3+0+4+0+5+0");
    ArtItem* backs2 = t.board()->seat(2)->backs;
    QCOMPARE(backs2->width(), 91);
    QCOMPARE(backs2->number(), 5);
    feed(t, "CMD_playedcard+2+3+14+");
    QCOMPARE(backs2->width(), 86);
    QVERIFY(!t.board()->seat(3)->backs->hasArt());

    // With the partner, nothing changes; alone, the partner's hand goes.
    feed(t, "CMD_goingalone+1+8+");
    QCOMPARE(handNumbers(t).size(), 5);
    feed(t, "CMD_goingalone+2+7+");
    QVERIFY(!t.board()->seat(4)->backs->hasArt());
    QCOMPARE(handNumbers(t).size(), 5);
    feed(t, "CMD_goingalone+1+7+");
    QVERIFY(handNumbers(t).isEmpty());
    QVERIFY(t.board()->findChildren<ArtItem*>(QRegularExpression("^card")).isEmpty());
}

void TestTable::trickRecordAndCatchUp() {
    Tchat& t = seated(4);
    // A newcomer in the middle of a hand: makers, dealer, trump, the trick so far.
    feed(t, "CMD_loadcards+2+2+1+4+0+20+0+0+");
    feed(t, "CMD_loadstats+5+3+2+1+1+");
    feed(t, "CMD_placecard+4+1+40+3+45");
    feed(t, "CMD_loadtheircards+1+2+2+3+3+0");
    feed(t, "CMD_nextplayer+4+");
    const TableBoard* b = t.board();
    QVERIFY(b->teamMaker(2)->isVisibleTo(b));
    QVERIFY(!b->teamMaker(1)->isVisibleTo(b));
    QVERIFY(b->seat(2)->maker->isVisibleTo(b));
    QCOMPARE(b->dealerButton()->pos(), b->nameLabel(1)->pos() - QPoint(28, 9));
    QCOMPARE(b->trump()->number(), 56);
    QVERIFY(b->seat(2)->played->hasArt());
    QCOMPARE(b->seat(2)->played->number(), 0);
    for (int seat = 1; seat <= 3; ++seat)
        QCOMPARE(b->nameLabel(seat)->text(), t.shown().defaultnames[static_cast<size_t>(seat)]);
    QCOMPARE(b->label("label_playtoscore")->text(), QStringLiteral("Play to Score: 5"));
    QCOMPARE(b->label("label_current1")->text(), QStringLiteral("2"));
    QCOMPARE(handNumbers(t), (QList<int>{40, 45}));
    QCOMPARE(b->seat(1)->backs->width(), 76);
    QVERIFY(!b->seat(3)->backs->hasArt()); // count 0 leaves it as it was
    QCOMPARE(t.shown().turnseat, 4);

    // The trick completes: the record keeps it, the table keeps the cards.
    feed(t, "CMD_playedcard+4+1+40+");
    feed(t, "CMD_playedcard+1+1+10+");
    feed(t, "CMD_trickwinner+1+3+1+");
    QCOMPARE(t.shown().lasttrick.cards, (std::array<int, 5>{0, 10, 0, 0, 40}));
    QCOMPARE(t.shown().lasttrick.ledoff, QStringLiteral("Hearts"));
    QCOMPARE(t.shown().lasttrick.trumpEntry, 56);
    QCOMPARE(t.shown().lasttrick.winner, QStringLiteral("You Won the Trick!"));
    QCOMPARE(b->statusLabel()->text(), t.shown().lasttrick.winner);
    QCOMPARE(b->label("label_current1")->text(), QStringLiteral("3"));
    QCOMPARE(b->trickWinner()->pos(), b->seat(1)->turn->pos());
    QVERIFY(b->trickWinner()->isVisibleTo(b));
    QCOMPARE(b->seat(1)->played->number(), 0);
    QVERIFY(b->seat(1)->played->hasArt());
    QCOMPARE(t.shown().turnseat, 0);
    // The next trick starts with a clean table and a new led suit.
    feed(t, "CMD_clearcards+");
    QVERIFY(!b->seat(4)->played->hasArt());
    feed(t, "CMD_playedcard+1+2+11+");
    feed(t, "CMD_trickwinner+1+4+1+");
    QCOMPARE(t.shown().lasttrick.ledoff, QStringLiteral("Clubs"));
}

// ---- bubbles and turns ----

void TestTable::bubbleLayouts_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<int>("arrow"); // the seat the arrow points at, 0 for none
    const QList<int> none{-1, -1, -1, -1};
    QTest::newRow("order up") << QByteArray("CMD_bidder+2+") << QList<int>{1, 2, -1, -1} << "turn"
                              << 2;
    QTest::newRow("name, spades down")
        << QByteArray("CMD_chooser+2+3+") << QList<int>{3, 4, 22, 6} << "turn" << 2;
    QTest::newRow("name, clubs down")
        << QByteArray("CMD_chooser+2+1+") << QList<int>{22, 4, 5, 6} << "turn" << 2;
    QTest::newRow("name, none down")
        << QByteArray("CMD_chooser+2+0+") << QList<int>{3, 4, 5, 6} << "turn" << 2;
    QTest::newRow("alone") << QByteArray("CMD_aloner+2+") << QList<int>{8, 7, -1, -1} << "" << 0;
    QTest::newRow("discard") << QByteArray("CMD_discarder+2+") << none << "turn" << 2;
    QTest::newRow("play") << QByteArray("CMD_nextplayer+2+") << none << "turn" << 2;
    QTest::newRow("another's order up") << QByteArray("CMD_bidder+1+") << none << "" << 1;
    QTest::newRow("another names") << QByteArray("CMD_chooser+4+2+") << none << "" << 4;
}

void TestTable::bubbleLayouts() {
    QFETCH(QByteArray, message);
    QFETCH(QList<int>, codes);
    QFETCH(QString, sound);
    QFETCH(int, arrow);
    Tchat& t = seated(2);
    t.sounds().stop();
    feed(t, message);
    QCOMPARE(bubbleCodes(t), codes);
    for (int n = 1; n <= 4; ++n) QCOMPARE(t.board()->bubble(n)->hasArt(), codes[n - 1] != -1);
    QCOMPARE(t.sounds().current(), sound);
    for (int seat = 1; seat <= 4; ++seat)
        QCOMPARE(t.board()->seat(seat)->turn->isVisibleTo(t.board()), seat == arrow);
    QCOMPARE(t.shown().turnseat, QByteArray(message).split('+').value(1).toInt());
}

void TestTable::nothingIsSentOutOfTurn() {
    Tchat& t = seated(2);
    feed(t, kDeal.arg(2).toLatin1());
    feed(t, "CMD_bidder+2+");
    // The own bidding question wants a bubble, not a card.
    QTest::mouseClick(cardAt(t, 1), Qt::LeftButton);
    QCOMPARE(cardAt(t, 1)->y(), 400);
    // The bubbles were offered, then the turn moved on.
    euchre::TchatTestDoor::moveTurn(t, 1);
    QTest::mouseClick(t.board()->bubble(1), Qt::LeftButton);
    QCOMPARE(bubbleCodes(t), (QList<int>{-1, -1, -1, -1}));
    feed(t, "CMD_nextplayer+1+");
    for (int place = 1; place <= 5; ++place) QTest::mouseClick(cardAt(t, place), Qt::LeftButton);
    for (Qt::Key key : {Qt::Key_1, Qt::Key_3, Qt::Key_5, Qt::Key_Space, Qt::Key_Return, Qt::Key_F5,
                        Qt::Key_F6, Qt::Key_F7, Qt::Key_F8})
        QTest::keyClick(t.board(), key);
    QCOMPARE(host->take(), QByteArray());
    for (int place = 1; place <= 5; ++place) QCOMPARE(cardAt(t, place)->y(), 400);

    // In turn, the same keys act: F6 passes, 4 plays the card at place 4,
    // Left and Enter the highlighted one.
    feed(t, "CMD_bidder+2+");
    QTest::keyClick(t.board(), Qt::Key_F6);
    QCOMPARE(host->take(), QByteArray("CMD_selectedbubble+2+2+\xFF"));
    feed(t, "CMD_nextplayer+2+");
    QTest::keyClick(t.board(), Qt::Key_4);
    QCOMPARE(host->take(), QByteArray("CMD_playcard+2+5+\xFF"));
    QCOMPARE(t.shown().keyPlace, 4);
    QTest::keyClick(t.board(), Qt::Key_Left);
    QTest::keyClick(t.board(), Qt::Key_Left);
    QTest::keyClick(t.board(), Qt::Key_Return);
    QCOMPARE(host->take(), QByteArray("CMD_playcard+2+4+\xFF"));
}

// Seat 2 at a table playing by house rules: what the window offers, says and
// shows. "press Fn" presses a bubble by its key.
void TestTable::houseRulesAtTheTable_data() {
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("status"); // "" for any
    QTest::addColumn<QString>("rules");  // under the play-to score
    QTest::addColumn<QString>("notice"); // a line of the chat log; "" for none new
    const QList<int> none{-1, -1, -1, -1};
    const QByteArray stick = "CMD_startgame+Bob+10+std=1+";
    QTest::newRow("rules at the start")
        << QByteArrayList{"CMD_startgame+Bob+10+std=1,loner_march_score=5+"} << none << ""
        << "Stick the dealer, lone march 5"
        << "This game is played by house rules (stick the dealer; a lone march scores 5).";
    QTest::newRow("plain rules say nothing")
        << QByteArrayList{"CMD_startgame+Bob+10+"} << none << ""
        << ""
        << "";
    QTest::newRow("rules the window does not know: plain")
        << QByteArrayList{"CMD_startgame+Bob+10+farmers=1+"} << none << ""
        << ""
        << "";
    QTest::newRow("stuck dealer: no pass")
        << QByteArrayList{stick, "CMD_dealer+2+", "CMD_chooser+2+3+"} << QList<int>{3, 4, -1, 6}
        << "Choose a trump."
        << "Stick the dealer"
        << "";
    QTest::newRow("another dealer: pass")
        << QByteArrayList{stick, "CMD_dealer+1+", "CMD_chooser+2+3+"} << QList<int>{3, 4, 22, 6}
        << "Choose a trump."
        << "Stick the dealer"
        << "";
    // A window that missed the rules offers Pass; the host's refusal keeps the question open.
    QTest::newRow("pass refused") << QByteArrayList{"CMD_dealer+2+", "CMD_chooser+2+3+", "press F7",
                                                    "CMD_notvalid+2+4+0+"}
                                  << QList<int>{3, 4, 22, 6} << "The dealer must name a suit."
                                  << ""
                                  << "";
    QTest::newRow("turned-down suit refused")
        << QByteArrayList{"CMD_dealer+1+", "CMD_chooser+2+3+", "press F5", "CMD_notvalid+2+3+0+"}
        << QList<int>{3, 4, 22, 6} << "Cannot selected that suit as trump."
        << ""
        << "";
    QTest::newRow("Canadian partner is not asked")
        << QByteArrayList{"CMD_startgame+Bob+10+canadian=1+", "CMD_dealer+4+", "CMD_heaccepted+2+",
                          "CMD_trumpchoosen+2+1+", "CMD_goingalone+2+7+"}
        << none << "You chose Clubs for trump."
        << "Canadian loner"
        << "This game is played by house rules (the dealer's partner who orders it up plays "
           "alone).";
    QTest::newRow("joining a game by house rules")
        << QByteArrayList{"CMD_loadrules+loner_lead=LEFT_OF_LONER+"} << none << ""
        << "Loner's left leads"
        << "This game is played by house rules (the player left of a loner leads).";
    QTest::newRow("rules refused at the start")
        << QByteArrayList{"CMD_badrules+farmers=1+"} << none << ""
        << ""
        << "The game did not start, as the host does not play the house rule \"farmers=1\".";
}

void TestTable::houseRulesAtTheTable() {
    QFETCH(QByteArrayList, lines);
    QFETCH(QList<int>, codes);
    QFETCH(QString, status);
    QFETCH(QString, rules);
    QFETCH(QString, notice);
    Tchat& t = seated(2);
    const int logged = logSize(t);
    for (const QByteArray& line : lines) {
        if (line.startsWith("press F"))
            QTest::keyClick(t.board(), Qt::Key(Qt::Key_F1 + line.mid(7).toInt() - 1));
        else
            feed(t, line);
    }
    QCOMPARE(bubbleCodes(t), codes);
    if (!status.isEmpty()) QCOMPARE(t.board()->label("label_status")->text(), status);
    QCOMPARE(t.board()->label("label_houserules")->text(), rules);
    QCOMPARE(notice.isEmpty() || logShows(t, notice), true);
    // Nothing about house rules is said at a game without them.
    const auto paragraphs = t.chat()->log()->paragraphs();
    for (qsizetype i = rules.isEmpty() && notice.isEmpty() ? logged : paragraphs.size();
         i < paragraphs.size(); ++i)
        for (const auto& item : paragraphs[i]) QVERIFY(!item.text.contains(QLatin1String("house")));
}

void TestTable::gameStartWindow() {
    Tchat& t = seated(1);
    euchre::Tgamestart start(t);
    auto* spin = start.findChild<QSpinBox*>(QStringLiteral("edit_playtoscore"));
    QCOMPARE(spin->value(), 10);
    // Escape closes without starting.
    start.show();
    QTest::keyClick(&start, Qt::Key_Escape);
    QVERIFY(!start.isVisible());
    QCOMPARE(host->take(), QByteArray());
    // 5 to 10, no wrapping either way.
    start.show();
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), 10);
    for (int i = 0; i < 6; ++i) QTest::keyClick(spin, Qt::Key_Down);
    QCOMPARE(spin->value(), 5);
    QTest::keyClick(spin, Qt::Key_Return);
    QVERIFY(!start.isVisible());
    QCOMPARE(host->take(), QByteArray("CMD_startgame+Bob+5+\xFF"));

    // The host's answer: who started, the score to reach, computer names.
    feed(t, "CMD_newplayerinfo+1+Bob+0");
    feed(t, "CMD_existingplayers+3+Cy+0");
    feed(t, "CMD_startgame+Bob+5+");
    QVERIFY(logShows(t, QStringLiteral("You have started a game.")));
    QCOMPARE(t.board()->label("label_playtoscore")->text(), QStringLiteral("Play to Score: 5"));
    QCOMPARE(t.board()->nameLabel(2)->text(), QStringLiteral("Klot"));
    QCOMPARE(t.board()->nameLabel(3)->text(), QStringLiteral("Cy"));
    QCOMPARE(t.board()->nameLabel(4)->text(), QStringLiteral("Kling"));
    feed(t, "CMD_startgame+Cy+7+");
    QVERIFY(logShows(t, QStringLiteral("Cy has started a game.")));

    // House rules go as a fourth field, and the window offers them again next time.
    host->take();
    start.show();
    QTest::mouseClick(start.findChild<QCheckBox*>(QStringLiteral("check_stickdealer")),
                      Qt::LeftButton, {}, QPoint(8, 10));
    start.findChild<QComboBox*>(QStringLiteral("combo_lonerlead"))->setCurrentIndex(1);
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(host->take(), QByteArray("CMD_startgame+Bob+5+std=1,loner_lead=LEFT_OF_LONER+\xFF"));
    euchre::Tgamestart again(t);
    again.show();
    QCOMPARE(again.houseRules(), start.houseRules());
    QVERIFY(again.houseRules().stickTheDealer);
    QCOMPARE(t.houseRules(), QStringLiteral("std=1,loner_lead=LEFT_OF_LONER"));
}

// The board draws what changed since its last drawing: whatever a table went
// through, its record drawn at once on a fresh board looks the same.
void TestTable::theRecordDrawsAlikeAtOnce_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("story"); // messages, one per space
    const QByteArray deal = kDeal.arg(2).toLatin1();
    QTest::newRow("bidding") << 2
                             << "CMD_existingplayers+1+Ann+0+3+Cy+1+6+Spy+0 CMD_dealer+1+ " + deal +
                                    " CMD_placecard+3+1+0+2+0+3+0+4+0+5+0 CMD_settrump+20+ "
                                    "CMD_bidder+2+ CMD_hepassed+2+ CMD_heaccepted+3+ "
                                    "CMD_discarder+1+";
    QTest::newRow("a trick") << 3
                             << "CMD_dealer+4+ " + kDeal.arg(3).toLatin1() +
                                    " CMD_trumpchoosen+4+2+ CMD_goingalone+4+7+ "
                                    "CMD_nextplayer+3+ CMD_playedcard+1+1+14+ "
                                    "CMD_playedcard+3+4+12+ CMD_notvalid+3+2+2+ "
                                    "CMD_trickwinner+3+1+0+ CMD_score+1+2+1+0+0+";
    QTest::newRow("caught up, then the end") << 4
                                             << QByteArray("CMD_loadcards+2+2+1+4+0+20+0+0+ "
                                                           "CMD_loadstats+5+3+2+1+1+ "
                                                           "CMD_placecard+4+1+40+3+45 "
                                                           "CMD_loadtheircards+1+2+2+3+3+0 "
                                                           "CMD_thewinner+2+");
}

void TestTable::theRecordDrawsAlikeAtOnce() {
    QFETCH(int, slot);
    QFETCH(QByteArray, story);
    Tchat& t = seated(slot);
    for (const QByteArray& message : story.split(' ')) {
        feed(t, message);
        TableBoard fresh;
        fresh.draw(t.shown());
        QCOMPARE(boardItems(fresh), boardItems(*t.board()));
    }
}

QTEST_MAIN(TestTable)
#include "tst_table.moc"
