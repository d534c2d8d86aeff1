// The table board: the fixed-size panel with the card table, the seats' items
// at their screen positions, the bubbles, the score board, the logo and the
// place of the chat column.
#pragma once

#include "client/tablerecord.h"

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <map>

class QLabel;
class QPushButton;

namespace euchre {

class Announcer;
class ArtItem;

// Team colours of the table (seats 1 and 3 are Tan, 2 and 4 Blue).
inline const QColor kTanColour(101, 83, 50);
inline const QColor kBlueColour(86, 107, 143);
// The colour of the window and the small windows around it.
inline const QColor kWindowColour(244, 245, 214);

inline const QColor& teamColour(int seat) {
    return seat % 2 == 1 ? kTanColour : kBlueColour;
}

// The items one seat owns on the table, named by kind and seat digit.
struct SeatItems {
    QLabel* name = nullptr;    // label_playername
    ArtItem* backs = nullptr;  // image_cards: the face-down hand, number = count
    ArtItem* played = nullptr; // image_played: number = the card counted to the trick
    ArtItem* maker = nullptr;  // image_themaker
    ArtItem* banner = nullptr; // image_winner: the WINNERS banner
    ArtItem* eyes = nullptr;   // image_eyes
    ArtItem* turn = nullptr;   // image_turn
    ArtItem* bid = nullptr;    // image_bid: the seat's latest bid of the deal, number = its tag
};

class TableBoard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 771;
    static constexpr int kHeight = 551;
    // Where the chat column starts.
    static constexpr QPoint kChatColumn{495, 83};
    static constexpr QSize kChatColumnSize{271, 447};
    static constexpr int kBubbles = 4;

    explicit TableBoard(QWidget* parent = nullptr);

    // Puts every item back as it is when the table first opens: four
    // "<Waiting>" seats, no cards, no marks, scores 0, "Good Luck!!"; the
    // record of a table just opened draws as exactly that.
    void reset();
    // Draws what the record shows: every item whose part of the record
    // changed since the last drawing.
    void draw(const TableRecord& record);

    // Screen position (1 bottom, 2 left, 3 top, 4 right) of a seat's items.
    static int screenPosition(int seat, int ownSlot);
    // Puts every seat's items at the position that turns the own seat to the
    // bottom; slots above 4 (spectators) see seat 1 at the bottom.
    void placeSeats(int ownSlot);
    // Where a name label sits at a screen position.
    static QPoint namePlace(int position);
    // Where the dealer's button lies for a dealer (0: before the first deal).
    static QPoint dealerPlace(int dealer, int ownSlot);
    // A seat's bid tag lies left of its name at the top and at the right
    // (it then ends at the name), else right of it.
    static bool bidLeftOfName(int position) { return position == 3 || position == 4; }

    // The seat's items; nullptr outside seats 1..4.
    const SeatItems* seat(int seat) const;
    QLabel* nameLabel(int seat) const;
    ArtItem* bubble(int n) const;
    ArtItem* trump() const { return m_trump; }
    ArtItem* trickWinner() const { return m_trickWinner; }
    ArtItem* dealerButton() const { return m_dealer; }
    // The maker's logo; a click on it opens the maker's web site.
    ArtItem* logo() const { return m_logo; }
    ArtItem* teamMaker(int team) const;
    QLabel* discardLabel() const { return m_discard; }
    QLabel* statusLabel() const { return m_status; }
    // Speaks the record's news to a screen reader.
    Announcer* announcer() const { return m_announcer; }
    QLabel* label(const char* name) const;
    QPushButton* startButton() const { return m_start; }
    QPushButton* lastTrickButton() const { return m_lastTrick; }
    QPushButton* scoreCardButton() const { return m_scoreCard; }
    QPushButton* handReviewButton() const { return m_handReview; }
    QPushButton* hintButton() const { return m_hint; }
    // The own card item of a position of the host's hand, nullptr when none.
    ArtItem* handCard(int position) const;

    // The board drawn larger: every item at its place times the scale, its
    // text and pictures painted at that size (1 is the table's own size).
    static constexpr qreal kLargestScale = 4.0;
    void setScale(qreal scale);
    qreal scale() const { return m_scale; }
    // A card as a screen reader says it ("nine of clubs"); a suit symbol's
    // entry gives the suit.
    static QString spokenCard(int card);
    // An item's place in table pixels, whatever the scale.
    QRect logicalRect(const QWidget* item) const;

    // Keys pressed while the table has the focus; true when used.
    std::function<bool(int key)> onKey;
    // A press on the own card of a position of the host's hand.
    std::function<void(int position, Qt::MouseButton button)> onCardPressed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& text, QRect where, int pixels, bool bold,
                     const QColor& colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    void drawSeat(int seat, const TableRecord& record);
    void drawTrick(const TrickRecord& trick);
    void drawHand(const TableRecord& record);
    void drawHighlight();
    void drawScores(const ScoreRecord& scores);
    // What the names a screen reader reads are made of, and nothing else:
    // they are made again only when it changes.
    struct Spoken {
        int myslot = 0;
        std::array<HandSlot, 6> handslots{};
        int turnseat = 0;
        bool cardAsked = false;
        std::array<BubbleRecord, 5> bubbles{};
        std::optional<int> trump;
        std::array<SeatRecord, 5> seats{};
        int dealer = 0;
        std::array<std::optional<int>, 5> played{};
        ScoreRecord scores;
        QString status;
        bool operator==(const Spoken&) const = default;
    };
    // Names the items as a screen reader reads them: those whose names
    // differ from `was`, or every one without it.
    void describe(const Spoken& table, const Spoken* was);
    // Places an item in table pixels, at the board's scale.
    void place(QWidget* item, const QRect& logical);
    void putAt(QWidget* item, QPoint where);
    void putAt(QWidget* item, int x, int y) { putAt(item, QPoint(x, y)); }
    void sizeTo(QWidget* item, int w, int h);

    TableRecord m_drawn;                // what the items show now
    std::optional<Spoken> m_spoken;     // what their names say; none before the first
    std::array<ArtItem*, 6> m_cards{};  // the own cards by position 1..5
    std::array<SeatItems, 5> m_seats{}; // 1..4
    std::array<ArtItem*, kBubbles + 1> m_bubbles{};
    std::array<ArtItem*, 3> m_teamMakers{};
    ArtItem* m_trump = nullptr;
    ArtItem* m_trickWinner = nullptr;
    ArtItem* m_dealer = nullptr;
    ArtItem* m_logo = nullptr;
    QLabel* m_discard = nullptr;
    QLabel* m_status = nullptr;
    Announcer* m_announcer = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_lastTrick = nullptr;
    QPushButton* m_handReview = nullptr;
    QPushButton* m_hint = nullptr;
    QPushButton* m_scoreCard = nullptr;
    qreal m_scale = 1.0;
    std::map<const QWidget*, QRect> m_logical; // items placed at a scale, in table pixels
    static constexpr char kBasePixels[] = "tablePixels";
};

// The window's client area: the board, centred, on the window colour. The
// board keeps its size; the area never gets smaller than the board plus a
// margin.
class BoardHost : public QWidget {
    Q_OBJECT
public:
    static constexpr int kExtraWidth = 15;
    static constexpr int kExtraHeight = 12;

    explicit BoardHost(QWidget* parent = nullptr);
    TableBoard* board() const { return m_board; }
    // "Scale Table to Window": the board grows with the window instead of
    // keeping its size in the middle of it.
    void setScaling(bool on);
    bool scaling() const { return m_scaling; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();

    TableBoard* m_board;
    bool m_scaling = false;
};

} // namespace euchre
