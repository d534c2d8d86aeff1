// What the table tells of each deal: the bid tags beside the names (and the
// chat lines of the bids), the status line speaking to the own seat, the
// question before a running game is thrown away, the own hand with its
// trumps together, and the turn shown to a player joining a game.
#include "client/announcer.h"
#include "client/artitem.h"
#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/tchat.h"
#include "support/fakehost.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using euchre::ArtItem;
using euchre::Tchat;
using euchre::testing::cardAt;
using euchre::testing::FakeHost;
using euchre::testing::feed;
namespace art = euchre::art;

namespace {

QStringList logLines(const Tchat& t) {
    QStringList lines;
    for (const auto& para : t.chat()->log()->paragraphs()) {
        QString text;
        for (const auto& item : para) text += item.text;
        lines.append(text.trimmed());
    }
    return lines;
}

// The own hand left to right as a person sees it; {-1} when the places the
// keys count by do not follow the pictures.
QList<int> hand(const Tchat& t) {
    QList<ArtItem*> items;
    for (ArtItem* item : t.board()->findChildren<ArtItem*>(QRegularExpression("^card\\d$")))
        items.append(item);
    std::sort(items.begin(), items.end(),
              [](const ArtItem* a, const ArtItem* b) { return a->x() < b->x(); });
    QList<int> cards;
    for (const ArtItem* item : items) {
        if (cardAt(t, static_cast<int>(cards.size()) + 1) != item) return {-1};
        cards.append(item->number());
    }
    return cards;
}

QList<QByteArray> messages(const QByteArray& text) {
    return text.split(' ');
}

QList<int> tags(const Tchat& t) {
    QList<int> shown;
    for (int seat = 1; seat <= 4; ++seat) {
        const ArtItem* tag = t.board()->seat(seat)->bid;
        // A tag is on the table exactly while the seat has a bid.
        if (tag->isVisibleTo(t.board()) !=
                (t.shown().seats[static_cast<size_t>(seat)].bid != art::NoBid) ||
            tag->hasArt() != tag->isVisibleTo(t.board()))
            return {-1};
        shown.append(t.shown().seats[static_cast<size_t>(seat)].bid);
    }
    return shown;
}

QByteArray deal(const QList<int>& cards) {
    QByteArray m = "CMD_placecard+1";
    for (int i = 0; i < cards.size(); ++i)
        m += '+' + QByteArray::number(i + 1) + '+' + QByteArray::number(cards[i]);
    return m;
}

} // namespace

class TestDealStory : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void bidTagsThroughADeal_data();
    void bidTagsThroughADeal();
    void statusSpeaksToTheOwnSeat_data();
    void statusSpeaksToTheOwnSeat();
    void askBeforeThrowingAGameAway_data();
    void askBeforeThrowingAGameAway();
    void trumpsTogether_data();
    void trumpsTogether();
    void catchUpShowsTheTurn_data();
    void catchUpShowsTheTurn();
    void aScreenReaderReadsAndPlays();
    void newsIsAnnounced_data();
    void newsIsAnnounced();

private:
    Tchat& seated(int slot);

    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<FakeHost> host;
    std::unique_ptr<Tchat> table;
};

void TestDealStory::init() {
    home = std::make_unique<QTemporaryDir>();
    qputenv("EUCHRE_HOME", home->path().toLocal8Bit());
    host = std::make_unique<FakeHost>();
}

void TestDealStory::cleanup() {
    table.reset();
    host.reset();
    home.reset();
}

Tchat& TestDealStory::seated(int slot) {
    table = host->seat(slot);
    feed(*table, "CMD_existingplayers+1+Bob+0+2+Ann+0+3+Cy+0+4+Dee+0");
    host->take(); // the login's own words
    return *table;
}

// ---- the bids ----

void TestDealStory::bidTagsThroughADeal_data() {
    QTest::addColumn<QByteArray>("bidding"); // after "CMD_dealer+4+"
    QTest::addColumn<QList<int>>("tags");    // seats 1..4 when the bidding is over
    QTest::addColumn<bool>("inChat");
    QTest::addColumn<QStringList>("lines");
    const QByteArray passes = "CMD_hepassed+1+ CMD_hepassed+2+ CMD_hepassed+3+ CMD_hepassed+4+";
    QTest::newRow("ordered up")
        << QByteArray("CMD_hepassed+1+ CMD_hepassed+2+ CMD_heaccepted+3+ CMD_trumpchoosen+3+2+ "
                      "CMD_goingalone+3+8+")
        << QList<int>{art::BidPass, art::BidPass, art::BidOrderedUp, 0} << true
        << QStringList{"You passed.", "Ann passed.", "Cy ordered it up."};
    QTest::newRow("the dealer picks up, chat off")
        << QByteArray("CMD_hepassed+1+ CMD_hepassed+2+ CMD_hepassed+3+ CMD_heaccepted+4+")
        << QList<int>{art::BidPass, art::BidPass, art::BidPass, art::BidPickedUp} << false
        << QStringList{};
    QTest::newRow("named in the second round")
        << passes + " CMD_hepassed+1+ CMD_trumpchoosen+2+4+ CMD_goingalone+2+8+"
        << QList<int>{art::BidPass, art::BidHearts, art::BidPass, art::BidPass} << true
        << QStringList{"You passed.", "Ann passed.", "Cy passed.",
                       "Dee passed.", "You passed.", "Ann named Hearts."};
    QTest::newRow("alone") << QByteArray(
                                  "CMD_heaccepted+1+ CMD_trumpchoosen+1+3+ CMD_goingalone+1+7+")
                           << QList<int>{art::BidAlone, 0, 0, 0} << true
                           << QStringList{"You ordered it up.", "You are going alone."};
    QTest::newRow("thrown in") << passes + ' ' + passes + " CMD_dealer+1+" << QList<int>{0, 0, 0, 0}
                               << false << QStringList{};
}

void TestDealStory::bidTagsThroughADeal() {
    QFETCH(QByteArray, bidding);
    QFETCH(QList<int>, tags);
    QFETCH(bool, inChat);
    QFETCH(QStringList, lines);
    Tchat& t = seated(1);
    auto* chatOption = t.findChild<QAction*>(QStringLiteral("ShowBidsInChat1"));
    QVERIFY(!chatOption->isChecked());
    if (inChat) chatOption->trigger();
    feed(t, "CMD_dealer+4+");
    const int before = static_cast<int>(logLines(t).size());
    for (const QByteArray& m : messages(bidding)) feed(t, m);
    QCOMPARE(::tags(t), tags);
    QCOMPARE(logLines(t).mid(before), lines);
    // The tags stay through the pick-up and go with the first card led.
    feed(t, "CMD_clearcards+");
    QCOMPARE(::tags(t), tags);
    feed(t, "CMD_playedcard+2+1+14+");
    QCOMPARE(::tags(t), (QList<int>{0, 0, 0, 0}));
}

// ---- the status line ----

void TestDealStory::statusSpeaksToTheOwnSeat_data() {
    QTest::addColumn<QByteArray>("message"); // %1: the seat
    QTest::addColumn<QString>("own");        // seat 2 is the own seat
    QTest::addColumn<QString>("other");      // seat 3, Cy
    QTest::newRow("deal") << QByteArray("CMD_dealer+%1+") << "You are dealing."
                          << "Cy is dealing.";
    QTest::newRow("order up") << QByteArray("CMD_bidder+%1+") << "Your turn to accept or pass."
                              << "Cy's turn to accept or pass.";
    QTest::newRow("pass") << QByteArray("CMD_hepassed+%1+") << "You passed."
                          << "Cy passed.";
    QTest::newRow("accept") << QByteArray("CMD_heaccepted+%1+") << "You accepted."
                            << "Cy Accepted.";
    QTest::newRow("name") << QByteArray("CMD_chooser+%1+2+") << "Choose a trump."
                          << "Cy is choosing a trump.";
    QTest::newRow("named") << QByteArray("CMD_trumpchoosen+%1+4+") << "You chose Hearts for trump."
                           << "Cy choose Hearts for trump.";
    QTest::newRow("alone?") << QByteArray("CMD_aloner+%1+") << "Will you go alone?"
                            << "Will Cy go alone?";
    QTest::newRow("discard") << QByteArray("CMD_discarder+%1+") << "Discard a card."
                             << "Cy needs to discard.";
    QTest::newRow("play") << QByteArray("CMD_nextplayer+%1+") << "Your turn to play a card."
                          << "Cy's turn to play a card.";
    QTest::newRow("trick") << QByteArray("CMD_trickwinner+%1+1+0+") << "You won the trick!"
                           << "Cy Won the Trick!";
    // The chat log's notice of a seat left to the computer.
    QTest::newRow("watch") << QByteArray("CMD_justwatching+%1+1") << "You are just watching"
                           << "Cy is just watching";
}

void TestDealStory::statusSpeaksToTheOwnSeat() {
    QFETCH(QByteArray, message);
    QFETCH(QString, own);
    QFETCH(QString, other);
    const bool inLog = message.startsWith("CMD_justwatching");
    Tchat& t = seated(2);
    const auto said = [&t, inLog] {
        return inLog ? logLines(t).constLast() : t.board()->statusLabel()->text();
    };
    feed(t, QString::fromLatin1(message).arg(2).toLatin1());
    QCOMPARE(said(), own);
    feed(t, QString::fromLatin1(message).arg(3).toLatin1());
    QCOMPARE(said(), other);
}

// ---- starting again during a game ----

void TestDealStory::askBeforeThrowingAGameAway_data() {
    QTest::addColumn<QString>("answer"); // a key, or the button clicked
    QTest::addColumn<bool>("restarts");
    QTest::newRow("Enter keeps the game") << "Enter" << false;
    QTest::newRow("Start New Game") << "Start New Game" << true;
}

void TestDealStory::askBeforeThrowingAGameAway() {
    QFETCH(QString, answer);
    QFETCH(bool, restarts);
    Tchat& t = seated(1);
    QWidget gamestart;
    euchre::TableWindows windows;
    windows.gamestart = &gamestart;
    t.setWindows(windows);
    const auto question = [&t] {
        for (QMessageBox* box : t.findChildren<QMessageBox*>())
            if (box->isVisible()) return box;
        return static_cast<QMessageBox*>(nullptr);
    };

    // A game that is won is no longer in progress: no question.
    feed(t, "CMD_startgame+Bob+10+");
    feed(t, "CMD_thewinner+1+");
    t.button_startClick();
    QVERIFY(gamestart.isVisible() && !question());
    gamestart.hide();

    feed(t, "CMD_startgame+Bob+10+");
    t.button_startClick();
    QMessageBox* box = question();
    QVERIFY(box && !gamestart.isVisible());
    QCOMPARE(box->text(), QStringLiteral("A game is in progress. Start a new one?"));
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("Keep Playing"));
    if (answer == QLatin1String("Enter"))
        QTest::keyClick(box, Qt::Key_Return);
    else
        for (QAbstractButton* b : box->buttons())
            if (b->text() == answer) b->click();
    QTRY_VERIFY(!question());
    QCOMPARE(gamestart.isVisible(), restarts);
    QCOMPARE(host->take(), QByteArray());
}

// ---- the own hand ----

void TestDealStory::trumpsTogether_data() {
    QTest::addColumn<int>("trump");
    QTest::addColumn<QList<int>>("dealt");
    QTest::addColumn<QList<int>>("together"); // left to right, trump fixed
    QTest::addColumn<int>("pickUp");          // the turned card the dealer takes for place 1
    QTest::addColumn<QList<int>>("afterPickUp");
    // Cards: Clubs 8..13 (nine..ace, jack 10), Diamonds 21..26, Spades 34..39,
    // Hearts 47..52.
    QTest::newRow("Clubs") << 1 << QList<int>{47, 36, 24, 10, 13} << QList<int>{24, 47, 13, 36, 10}
                           << 8 << QList<int>{47, 8, 13, 36, 10};
    QTest::newRow("Diamonds") << 2 << QList<int>{51, 23, 9, 49, 39} << QList<int>{9, 51, 39, 49, 23}
                              << 22 << QList<int>{51, 39, 22, 49, 23};
    QTest::newRow("Spades") << 3 << QList<int>{11, 36, 25, 10, 34} << QList<int>{11, 25, 34, 10, 36}
                            << 39 << QList<int>{25, 34, 39, 10, 36};
    QTest::newRow("Hearts") << 4 << QList<int>{49, 21, 23, 8, 34} << QList<int>{8, 21, 34, 23, 49}
                            << 52 << QList<int>{21, 34, 52, 23, 49};
}

void TestDealStory::trumpsTogether() {
    QFETCH(int, trump);
    QFETCH(QList<int>, dealt);
    QFETCH(QList<int>, together);
    // The other order: by card number, the suits Clubs to Hearts, nine to ace.
    QList<int> bySuit = dealt;
    std::sort(bySuit.begin(), bySuit.end());
    QFETCH(int, pickUp);
    QFETCH(QList<int>, afterPickUp);
    Tchat& t = seated(1);
    auto* option = t.findChild<QAction*>(QStringLiteral("SortTrumps1"));
    QVERIFY(option->isChecked());
    feed(t, "CMD_dealer+1+");
    feed(t, deal(dealt));
    QCOMPARE(hand(t), bySuit); // trump is not fixed yet
    feed(t, "CMD_trumpchoosen+2+" + QByteArray::number(trump) + "+");
    QCOMPARE(hand(t), together);

    // The keys count the cards as they lie: 5 plays the right bower, by its
    // place in the host's hand.
    feed(t, "CMD_nextplayer+1+");
    QTest::keyClick(t.board(), Qt::Key_5);
    const QByteArray right = QByteArray::number(dealt.indexOf(together[4]) + 1);
    QCOMPARE(host->take(), "CMD_playcard+1+" + right + "+\xFF");
    QTest::keyClick(t.board(), Qt::Key_5); // takes it back

    // Switched off, the hand goes back to its suits.
    option->trigger();
    QCOMPARE(hand(t), bySuit);
    option->trigger();

    // The dealer's pick-up, for the card at the left, joins the trumps.
    const QByteArray left = QByteArray::number(dealt.indexOf(together[0]) + 1);
    feed(t, "CMD_discarder+1+");
    feed(t, "CMD_switch+1+" + left + "+" + QByteArray::number(pickUp) + "+");
    QCOMPARE(hand(t), afterPickUp);
    // A new deal sorts by suit until trump is fixed again.
    feed(t, "CMD_dealer+2+");
    feed(t, deal(dealt));
    QCOMPARE(hand(t), bySuit);
}

// ---- joining a game in progress ----

void TestDealStory::catchUpShowsTheTurn_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("catchUp");
    QTest::addColumn<int>("arrow"); // 0: none
    QTest::addColumn<QString>("status");
    const QByteArray trick3 = " CMD_loadstats+10+3+2+1+1+ "; // three tricks played
    QTest::newRow("another seat plays next")
        << 4
        << "CMD_loadcards+2+2+1+4+0+20+0+0+" + trick3 +
               "CMD_placecard+4+1+40+3+45 CMD_loadtheircards+1+2+2+1+3+2"
        << 3 << "Klick's turn to play a card.";
    QTest::newRow("a loner's trick, the partner out")
        << 1 << "CMD_loadcards+1+3+2+3+0+0+0+30+" + trick3 + "CMD_loadtheircards+2+2+3+2+4+1" << 2
        << "Klot's turn to play a card.";
    QTest::newRow("a spectator") << 6
                                 << "CMD_loadcards+2+2+1+4+7+20+0+0+" + trick3 +
                                        "CMD_loadtheircards+1+1+2+1+3+2+4+2"
                                 << 3 << "Klick's turn to play a card.";
    const QByteArray bidding = "CMD_loadcards+2+2+4+3+0+0+0+0+ CMD_loadstats+10+3+0+4+0+ "
                               "CMD_placecard+2+1+9+2+10+3+11+4+12+5+13 "
                               "CMD_loadtheircards+1+5+3+5+4+5";
    QTest::newRow("bidding: nobody known") << 2 << bidding << 0 << "Waiting for the next move.";
    QTest::newRow("the own going-alone question")
        << 2 << bidding + " CMD_aloner+2+" << 2 << "Will you go alone?";
}

void TestDealStory::catchUpShowsTheTurn() {
    QFETCH(int, slot);
    QFETCH(QByteArray, catchUp);
    QFETCH(int, arrow);
    QFETCH(QString, status);
    table = host->seat(slot);
    Tchat& t = *table;
    for (const QByteArray& m : messages(catchUp)) feed(t, m);
    for (int seat = 1; seat <= 4; ++seat)
        QCOMPARE(t.board()->seat(seat)->turn->isVisibleTo(t.board()), seat == arrow);
    QCOMPARE(t.board()->statusLabel()->text(), status);
    QCOMPARE(t.shown().turnseat, arrow);
    // The first move after it goes on as usual.
    feed(t, "CMD_nextplayer+1+");
    QVERIFY(t.board()->seat(1)->turn->isVisibleTo(t.board()));
}

// What a screen reader finds: the own cards by name, the bubbles as buttons
// with their words, the seats, the played cards, the score and the status
// line; pressing through the accessible actions plays as a click does.
void TestDealStory::aScreenReaderReadsAndPlays() {
    Tchat& t = seated(1);
    QAccessible::setActive(true);
    const auto named = [&t](const char* object) {
        QAccessibleInterface* item =
            QAccessible::queryAccessibleInterface(t.board()->findChild<QWidget*>(object));
        return item ? item->text(QAccessible::Name) : QStringLiteral("<none>");
    };
    const auto press = [&t](const char* object) {
        QAccessibleInterface* item =
            QAccessible::queryAccessibleInterface(t.board()->findChild<QWidget*>(object));
        QVERIFY(item && item->role() == QAccessible::Button);
        QVERIFY(item->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    feed(t, "CMD_dealer+4+");
    feed(t, deal({8, 22, 35, 51, 13}));
    feed(t, "CMD_settrump+39+");
    feed(t, "CMD_bidder+1+");
    QCOMPARE(named("bubble1"), QString("Order It Up"));
    QCOMPARE(named("bubble2"), QString("Pass"));
    QVERIFY(QAccessible::queryAccessibleInterface(t.board()->bubble(3))->state().invisible);
    QCOMPARE(named("image_trump"), QString("Trump: ace of spades"));
    QCOMPARE(named("label_playername4"), QString("Dee, right, Blue team, 0 cards, dealer"));
    QByteArray sent;
    press("bubble2");
    QTRY_VERIFY2((sent += host->take()).contains("CMD_selectedbubble+1+"), sent.constData());

    feed(t, "CMD_trumpchoosen+2+4+");
    feed(t, "CMD_playedcard+2+1+14+");
    QCOMPARE(named("image_played2"), QString("Ann played two of diamonds"));
    feed(t, "CMD_nextplayer+1+");
    QCOMPARE(named("label_status"), QString("Status: Your turn to play a card."));
    QVERIFY(named("label_playtoscore").startsWith("Score: Tan team 0, 0 tricks"));
    QStringList cards;
    for (int place = 1; place <= 5; ++place) {
        QAccessibleInterface* card = QAccessible::queryAccessibleInterface(cardAt(t, place));
        cards << card->text(QAccessible::Name);
        QCOMPARE(card->text(QAccessible::Description), QString("can be played"));
    }
    QCOMPARE(cards.filter(", 1 of 5").size(), 1);
    QCOMPARE(cards.filter(QRegularExpression("^nine of clubs, [1-5] of 5$")).size(), 1);
    QCOMPARE(cards.filter(QRegularExpression("^ace of clubs, [1-5] of 5$")).size(), 1);
    const QString first = cardAt(t, 1)->objectName();
    press(first.toLatin1().constData());
    QTRY_VERIFY2((sent += host->take()).contains("CMD_playcard+1+"), sent.constData());
    QAccessible::setActive(false);
}

// The news a screen reader speaks without the player moving to it: each
// turn, bid, played card, trick and hand result, as the name of the
// table's notification.
void TestDealStory::newsIsAnnounced_data() {
    QTest::addColumn<QByteArray>("news"); // after a deal by seat 4 with Ann's hearts as trump
    QTest::addColumn<QStringList>("said");
    QTest::newRow("turns and cards")
        << QByteArray("CMD_nextplayer+1+ CMD_playedcard+1+1+8+ CMD_nextplayer+2+ "
                      "CMD_playedcard+2+1+14+ CMD_nextplayer+2+")
        << QStringList{"Your turn to play a card.", "You played nine of clubs",
                       "Ann's turn to play a card.", "Ann played two of diamonds",
                       "Ann's turn to play a card."};
    QTest::newRow("trick and hand")
        << QByteArray("CMD_trickwinner+3+1+0+ CMD_score+1+2+2+0+0+ CMD_thewinner+2+")
        << QStringList{"Cy Won the Trick! Tricks: Tan team 1, Blue team 0.",
                       "The Tan Team Marched! Score: Tan team 2, Blue team 0.",
                       "The Blue Team Won!!"};
}

void TestDealStory::newsIsAnnounced() {
    QFETCH(QByteArray, news);
    QFETCH(QStringList, said);
    Tchat& t = seated(1);
    feed(t, "CMD_dealer+4+");
    feed(t, deal({8, 22, 35, 51, 13}));
    feed(t, "CMD_trumpchoosen+2+4+");
    QAccessibleInterface* voice = QAccessible::queryAccessibleInterface(t.board()->announcer());
    QVERIFY(voice && voice->role() == QAccessible::Notification);
    QStringList heard;
    for (const QByteArray& line : messages(news)) {
        feed(t, line);
        heard << voice->text(QAccessible::Name);
    }
    QCOMPARE(heard, said);
}

QTEST_MAIN(TestDealStory)
#include "tst_dealstory.moc"
