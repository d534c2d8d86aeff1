// The replay window: a painted board with the four hands and the trick, and
// the lines of text and buttons below it.
#include "client/treplay.h"

#include "client/artwork.h"
#include "client/tableboard.h"
#include "client/windowbackground.h"
#include "records/egn.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace euchre {

namespace {

constexpr int kBoardWidth = 640;
constexpr int kBoardHeight = 410;
constexpr int kFanStep = 24; // a face-up hand shows this much of each card but the last
constexpr QSize kCard(art::kCardWidth, art::kCardHeight);

// Where each seat's hand begins and its name stands: seat 1 at the bottom,
// then clockwise.
QPoint handAt(int seat) {
    const int width = art::kCardWidth + 4 * kFanStep;
    switch (seat) {
    case 1:
        return {(kBoardWidth - width) / 2, 286};
    case 2:
        return {12, 160};
    case 3:
        return {(kBoardWidth - width) / 2, 26};
    default:
        return {kBoardWidth - width - 12, 160};
    }
}

// The trick's card of each seat, toward its hand from the middle.
QPoint trickAt(int seat) {
    switch (seat) {
    case 1:
        return {285, 178};
    case 2:
        return {206, 150};
    case 3:
        return {285, 124};
    default:
        return {364, 150};
    }
}

QString suitSymbol(int suit) {
    static const QString symbols[] = {QString(), QStringLiteral("\u2663"), QStringLiteral("\u2666"),
                                      QStringLiteral("\u2660"), QStringLiteral("\u2665")};
    return suit >= 1 && suit <= 4 ? symbols[suit] : QString();
}

// A card as a player reads it: "Q\u2666", "10\u2660".
QString cardName(int card) {
    const QString text = records::cardText(card);
    if (text.isEmpty()) return QStringLiteral("?");
    const QString rank = text[0] == QLatin1Char('T') ? QStringLiteral("10") : text.left(1);
    return rank + suitSymbol(naturalSuit(card));
}

class ReplayBoard : public QWidget {
public:
    ReplayBoard(QWidget* parent, const ReplayView& view, std::function<QString(int)> names)
        : QWidget(parent), m_view(view), m_names(std::move(names)) {
        setObjectName(QStringLiteral("replayboard"));
        setFixedSize(kBoardWidth, kBoardHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(38, 104, 62));
        p.setPen(QPen(QColor(24, 72, 42), 2));
        p.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 10, 10);
        const qreal dpr = devicePixelRatioF();
        QFont nameFont(QStringLiteral("Arial"));
        nameFont.setPixelSize(12);
        nameFont.setBold(true);
        p.setFont(nameFont);
        for (int seat = 1; seat <= kSeats; ++seat) {
            const QPoint at = handAt(seat);
            const int width = art::kCardWidth + 4 * kFanStep;
            const QRect nameBox =
                seat == 1 ? QRect(at.x() - 40, at.y() + art::kCardHeight + 3, width + 80, 16)
                          : QRect(at.x() - 40, at.y() - 19, width + 80, 16);
            QString name = m_names(seat);
            if (seat == m_view.dealer) name += QStringLiteral("  \u00b7 dealer");
            if (seat == m_view.maker) name += QStringLiteral("  \u00b7 made trump");
            p.setPen(seat % 2 ? QColor(236, 214, 160) : QColor(190, 212, 250));
            p.drawText(nameBox, Qt::AlignCenter, name);
            if (m_view.sitsOut[seat]) {
                p.setPen(QColor(220, 230, 220));
                p.drawText(QRect(at, QSize(width, art::kCardHeight)), Qt::AlignCenter,
                           QStringLiteral("Sitting out"));
                continue;
            }
            const std::vector<int>& hand = m_view.hands[seat];
            const int shift = (5 - int(hand.size())) * kFanStep / 2;
            for (std::size_t i = 0; i < hand.size(); ++i)
                p.drawPixmap(QRect(at + QPoint(shift + int(i) * kFanStep, 0), kCard),
                             art::card(hand[i] ? hand[i] : art::kCardBack, dpr));
        }
        if (m_view.upCard) {
            const QPoint at(kBoardWidth / 2 - art::kCardWidth / 2, 150);
            p.drawPixmap(QRect(at, kCard), art::card(m_view.upCard, dpr));
        }
        // The trick's cards lie in the order played; the winner's is ringed.
        for (int seat = 1; seat <= kSeats; ++seat) {
            if (!m_view.trick[seat]) continue;
            const QRect box(trickAt(seat), kCard);
            p.drawPixmap(box, art::card(m_view.trick[seat], dpr));
            if (seat == m_view.trickWinner) {
                p.setPen(QPen(QColor(255, 206, 64), 3));
                p.setBrush(Qt::NoBrush);
                p.drawRoundedRect(box.adjusted(-2, -2, 2, 2), 6, 6);
            }
        }
    }

private:
    const ReplayView& m_view;
    std::function<QString(int)> m_names;
};

QLabel* line(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    l->setFont(f);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFocusPolicy(Qt::NoFocus); // the arrow keys stay with the window
    return b;
}

} // namespace

Treplay::Treplay(QWidget* parent, bool embedded)
    : QWidget(parent, embedded ? Qt::Widget : Qt::Window) {
    setObjectName(QStringLiteral("replay"));
    setWindowTitle(QStringLiteral("Game Replay"));
    useTableBackground(this);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(4);
    m_title = line(this, "label_title");
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPixelSize(14);
    m_title->setFont(bold);
    layout->addWidget(m_title);
    // A part of another window goes under that window's title.
    m_title->setVisible(!embedded);
    m_board = new ReplayBoard(this, m_view, [this](int seat) { return seatName(seat); });
    layout->addWidget(m_board, 0, Qt::AlignHCenter);
    m_dealLine = line(this, "label_deal");
    m_calls = line(this, "label_calls");
    m_stepLine = line(this, "label_step");
    m_score = line(this, "label_score");
    m_fault = line(this, "label_fault");
    QPalette red = m_fault->palette();
    red.setColor(QPalette::WindowText, QColor(170, 20, 20));
    m_fault->setPalette(red);
    for (QLabel* l : {m_dealLine, m_calls, m_stepLine, m_score, m_fault}) {
        // Room for the longest lines (the calls and a fault wrap to two), so
        // that nothing slides over the board.
        const bool twoLines = l == m_calls || l == m_fault;
        l->setMinimumHeight(l->fontMetrics().lineSpacing() * (twoLines ? 2 : 1) + 2);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout->addWidget(l);
    }
    auto* buttons = new QHBoxLayout;
    m_previousDeal = button(this, "button_previousdeal", QStringLiteral("\u00ab Previous Deal"));
    m_back = button(this, "button_back", QStringLiteral("\u25c0 Back"));
    m_next = button(this, "button_next", QStringLiteral("Next \u25b6"));
    m_nextDeal = button(this, "button_nextdeal", QStringLiteral("Next Deal \u00bb"));
    for (QPushButton* b : {m_previousDeal, m_back, m_next, m_nextDeal}) buttons->addWidget(b);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_previousDeal, &QPushButton::clicked, this, [this] { moveDeal(-1); });
    connect(m_back, &QPushButton::clicked, this, [this] { step(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { step(1); });
    connect(m_nextDeal, &QPushButton::clicked, this, [this] { moveDeal(1); });
    refresh();
}

bool Treplay::openFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    if (file.size() > records::kMaxRecordBytes) {
        if (error) *error = QStringLiteral("the file is too long");
        return false;
    }
    const std::optional<records::GameRecord> record = records::readRecord(file.readAll(), error);
    if (!record) return false;
    showRecord(*record, QFileInfo(path).fileName());
    return true;
}

void Treplay::showRecord(const records::GameRecord& record, const QString& name) {
    m_record = record;
    m_replay = records::replayRecord(record);
    m_deal = 0;
    m_step = 0;
    const QString title = record.title.isEmpty() ? name : record.title;
    m_title->setText(title);
    setWindowTitle(QStringLiteral("Game Replay - ") + title);
    refresh();
}

QString Treplay::seatName(int seat) const {
    const QString name =
        seat >= 1 && seat <= m_record.players.size() ? m_record.players[seat - 1] : QString();
    return name.isEmpty() ? QStringLiteral("Seat %1").arg(seat) : name;
}

int Treplay::steps() const {
    if (m_deal < 0 || m_deal >= int(m_replay.deals.size())) return 0;
    return 1 + int(m_replay.deals[std::size_t(m_deal)].tricks.size());
}

void Treplay::step(int delta) {
    if (m_replay.deals.empty()) return;
    int deal = m_deal, at = m_step + delta;
    if (at >= steps() && deal + 1 < int(m_replay.deals.size())) {
        ++deal;
        at = 0;
    } else if (at < 0 && deal > 0) {
        --deal;
        at = int(m_replay.deals[std::size_t(deal)].tricks.size());
    }
    m_deal = deal;
    m_step = std::clamp(at, 0, steps() - 1);
    refresh();
}

void Treplay::moveDeal(int delta) {
    if (m_replay.deals.empty()) return;
    m_deal = std::clamp(m_deal + delta, 0, int(m_replay.deals.size()) - 1);
    m_step = 0;
    refresh();
}

void Treplay::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Right:
        step(1);
        return;
    case Qt::Key_Left:
        step(-1);
        return;
    case Qt::Key_PageDown:
        moveDeal(1);
        return;
    case Qt::Key_PageUp:
        moveDeal(-1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Treplay::refresh() {
    m_view = ReplayView{};
    const int dealCount = int(m_replay.deals.size());
    const bool any = m_deal >= 0 && m_deal < dealCount;
    m_previousDeal->setEnabled(any && m_deal > 0);
    m_back->setEnabled(any && (m_deal > 0 || m_step > 0));
    m_next->setEnabled(any && (m_deal + 1 < dealCount || m_step + 1 < steps()));
    m_nextDeal->setEnabled(any && m_deal + 1 < dealCount);
    if (!any) {
        m_dealLine->setText(m_record.deals.empty() ? QStringLiteral("The record holds no deal.")
                                                   : QString());
        m_calls->clear();
        m_stepLine->clear();
        m_score->clear();
        m_fault->setText(m_replay.fault());
        m_board->update();
        return;
    }
    const records::ReplayDeal& d = m_replay.deals[std::size_t(m_deal)];
    m_view.dealer = d.dealer;
    m_view.maker = d.maker;
    for (int seat = 1; seat <= kSeats; ++seat) {
        m_view.sitsOut[seat] = d.loner && seat == partnerOf(d.loner);
        m_view.hands[seat] = m_step == 0
                                 ? std::vector<int>(d.hands[seat].begin(), d.hands[seat].end())
                                 : d.held(seat, m_step);
    }
    if (m_step == 0) {
        m_view.upCard = d.upCard;
    } else {
        const records::ReplayTrick& trick = d.tricks[std::size_t(m_step - 1)];
        for (std::size_t i = 0; i < trick.seats.size(); ++i)
            m_view.trick[trick.seats[i]] = trick.cards[i];
        m_view.trickWinner = trick.winner;
    }

    QString dealText = QStringLiteral("Deal %1 of %2  \u00b7  dealer: %3  \u00b7  turned up: %4")
                           .arg(m_deal + 1)
                           .arg(dealCount)
                           .arg(seatName(d.dealer), cardName(d.upCard));
    if (d.trump)
        dealText += QStringLiteral("  \u00b7  trump: %1 by %2%3")
                        .arg(QLatin1String(suitName(d.trump)), seatName(d.maker),
                             d.loner ? QStringLiteral(", alone") : QString());
    m_dealLine->setText(dealText);

    QStringList calls;
    for (const auto& [seat, call] : d.calls) {
        const QString said = call.kind == records::Call::Pass ? QStringLiteral("pass")
                             : call.kind == records::Call::Order
                                 ? QStringLiteral("order up")
                                 : QLatin1String(suitName(call.suit));
        calls << seatName(seat) + QStringLiteral(": ") + said;
    }
    if (d.discard) calls << seatName(d.dealer) + QStringLiteral(" discards ") + cardName(d.discard);
    m_calls->setText(QStringLiteral("Bidding: ") +
                     (calls.isEmpty() ? QStringLiteral("none") : calls.join(QStringLiteral(", "))) +
                     (d.thrownIn ? QStringLiteral(" - thrown in") : QString()));

    if (m_step == 0) {
        m_stepLine->setText(d.tricks.empty() ? QStringLiteral("No cards played.")
                                             : QStringLiteral("As dealt. Next: trick 1."));
    } else {
        const records::ReplayTrick& trick = d.tricks[std::size_t(m_step - 1)];
        m_stepLine->setText(trick.winner ? QStringLiteral("Trick %1 of %2, won by %3.")
                                               .arg(m_step)
                                               .arg(d.tricks.size())
                                               .arg(seatName(trick.winner))
                                         : QStringLiteral("Trick %1, unfinished.").arg(m_step));
    }
    const bool last = m_step + 1 == steps();
    QString score = QStringLiteral("Score: %1 %2, %3 %4")
                        .arg(QLatin1String(teamName(1)))
                        .arg(d.scoreBefore[1])
                        .arg(QLatin1String(teamName(2)))
                        .arg(d.scoreBefore[2]);
    if (last && d.scored) {
        score = QStringLiteral("Tricks: %1 %2, %3 %4.  Score: %1 %5 (+%6), %3 %7 (+%8)")
                    .arg(QLatin1String(teamName(1)))
                    .arg(d.tricksWon[1])
                    .arg(QLatin1String(teamName(2)))
                    .arg(d.tricksWon[2])
                    .arg(d.scoreAfter[1])
                    .arg(d.points[1])
                    .arg(d.scoreAfter[2])
                    .arg(d.points[2]);
        if (m_deal + 1 == dealCount && m_replay.winner)
            score += QStringLiteral(".  %1 wins the game.")
                         .arg(QLatin1String(teamName(m_replay.winner)));
    }
    m_score->setText(score);
    const bool faultHere = !m_replay.legal && m_replay.faultDeal == m_deal + 1;
    m_fault->setText(faultHere && last ? QStringLiteral("Not legal: ") + m_replay.fault()
                                       : QString());
    m_board->update();
}

} // namespace euchre
