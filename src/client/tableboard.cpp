// Paints the table board and places its labels where the table's handlers
// look for them by name.
#include "client/tableboard.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>

namespace euchre {

const QString TableBoard::kWaiting = QStringLiteral("<Waiting>");

namespace {

// The card table's cloth and rim, and the score card lying on its corner.
constexpr QRectF kFelt(7, 7, 481, 519);
constexpr QRectF kScoreCard(292, 3, 202, 160);

// Name labels at the four screen positions (bottom, left, top, right).
constexpr QPoint kNamePlaces[4] = {{88, 382}, {33, 170}, {148, 24}, {343, 213}};
constexpr QSize kNameSize(124, 18);

QPixmap dealerGlyph() {
    QPixmap pix(25, 25);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient fill(QPointF(9, 8), 14);
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, QColor(214, 208, 180));
    p.setBrush(fill);
    p.setPen(QPen(QColor(60, 50, 30), 1.2));
    p.drawEllipse(QRectF(1.5, 1.5, 22, 22));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(60, 50, 30));
    p.drawText(QRectF(1.5, 1.5, 22, 22), Qt::AlignCenter, QStringLiteral("D"));
    return pix;
}

// Where the turned card will lie: an outlined card place on the cloth.
QPixmap cardPlace() {
    QPixmap pix(71, 96);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.5, Qt::DashLine));
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawRoundedRect(QRectF(1.5, 1.5, 68, 93), 6, 6);
    return pix;
}

void paintSuit(QPainter& p, int suit, const QPointF& c, qreal s) {
    QPainterPath path;
    switch (suit) {
    case 0: // clubs
        path.addEllipse(c + QPointF(-s * 0.28, -s * 0.05), s * 0.24, s * 0.24);
        path.addEllipse(c + QPointF(s * 0.28, -s * 0.05), s * 0.24, s * 0.24);
        path.addEllipse(c + QPointF(0, -s * 0.33), s * 0.24, s * 0.24);
        path.addRect(QRectF(c.x() - s * 0.06, c.y() - s * 0.1, s * 0.12, s * 0.5));
        break;
    case 1: // diamonds
        path.moveTo(c + QPointF(0, -s * 0.5));
        path.lineTo(c + QPointF(s * 0.36, 0));
        path.lineTo(c + QPointF(0, s * 0.5));
        path.lineTo(c + QPointF(-s * 0.36, 0));
        path.closeSubpath();
        break;
    case 2: // spades
        path.moveTo(c + QPointF(0, -s * 0.5));
        path.cubicTo(c + QPointF(s * 0.1, -s * 0.3), c + QPointF(s * 0.55, -s * 0.05),
                     c + QPointF(s * 0.42, s * 0.18));
        path.cubicTo(c + QPointF(s * 0.3, s * 0.38), c + QPointF(s * 0.1, s * 0.3),
                     c + QPointF(0, s * 0.15));
        path.cubicTo(c + QPointF(-s * 0.1, s * 0.3), c + QPointF(-s * 0.3, s * 0.38),
                     c + QPointF(-s * 0.42, s * 0.18));
        path.cubicTo(c + QPointF(-s * 0.55, -s * 0.05), c + QPointF(-s * 0.1, -s * 0.3),
                     c + QPointF(0, -s * 0.5));
        path.addRect(QRectF(c.x() - s * 0.06, c.y() + s * 0.05, s * 0.12, s * 0.45));
        break;
    default: // hearts
        path.moveTo(c + QPointF(0, s * 0.45));
        path.cubicTo(c + QPointF(-s * 0.6, 0), c + QPointF(-s * 0.35, -s * 0.55),
                     c + QPointF(0, -s * 0.2));
        path.cubicTo(c + QPointF(s * 0.35, -s * 0.55), c + QPointF(s * 0.6, 0),
                     c + QPointF(0, s * 0.45));
        break;
    }
    path.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(suit == 1 || suit == 3 ? QColor(190, 30, 30) : QColor(30, 30, 30));
    p.drawPath(path);
}

void paintLogo(QPainter& p, const QRectF& r) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(26);
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    const QRectF textRect = r.adjusted(30, 0, 0, 0);
    p.setPen(QColor(255, 255, 255, 160));
    p.drawText(textRect.translated(1, 1), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Euchre"));
    p.setPen(QColor(28, 86, 48));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Euchre"));
    // Two bowers' suits fanned beside the word.
    paintSuit(p, 2, r.topLeft() + QPointF(11, 12), 14);
    paintSuit(p, 3, r.topLeft() + QPointF(20, 21), 14);
}

} // namespace

TableBoard::TableBoard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kWidth, kHeight);
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);

    // The score card.
    addLabel("label_playtoscore", QStringLiteral("Play to Score: 10"), {296, 8, 169, 16}, 13, true,
             Qt::black, Qt::AlignCenter);
    QLabel* tan = addLabel("Label1", QStringLiteral("Tan Team"), {310, 31, 130, 19}, 16, true,
                           kTanColour, Qt::AlignCenter);
    QFont underlined = tan->font();
    underlined.setUnderline(true);
    tan->setFont(underlined);
    addLabel("Label4", QStringLiteral("Tricks"), {318, 52, 60, 17}, 16, true, kTanColour);
    addLabel("Label3", QStringLiteral("Score"), {388, 52, 50, 17}, 16, true, kTanColour);
    addLabel("label_current1", QString(), {318, 68, 44, 19}, 16, true, kTanColour, Qt::AlignCenter);
    addLabel("label_score1", QStringLiteral("0"), {388, 68, 44, 19}, 16, true, kTanColour,
             Qt::AlignCenter);
    addLabel("label_bonus1", QString(), {436, 38, 56, 44}, 37, true, kTanColour, Qt::AlignCenter);
    QLabel* blue = addLabel("Label2", QStringLiteral("Blue Team"), {313, 101, 128, 19}, 16, true,
                            kBlueColour, Qt::AlignCenter);
    blue->setFont(underlined);
    addLabel("Label5", QStringLiteral("Tricks"), {318, 120, 60, 17}, 16, true, kBlueColour);
    addLabel("Label6", QStringLiteral("Score"), {388, 120, 50, 17}, 16, true, kBlueColour);
    addLabel("label_current2", QString(), {318, 138, 44, 19}, 16, true, kBlueColour,
             Qt::AlignCenter);
    addLabel("label_score2", QStringLiteral("0"), {388, 138, 44, 19}, 16, true, kBlueColour,
             Qt::AlignCenter);
    addLabel("label_bonus2", QString(), {436, 113, 53, 44}, 37, true, kBlueColour, Qt::AlignCenter);

    // Trump.
    addLabel("Label7", QStringLiteral("Trump"), {17, 22, 71, 16}, 13, true, Qt::white,
             Qt::AlignCenter);
    QLabel* trump = addLabel("image_trump", QString(), {17, 38, 71, 96}, 11, false, Qt::white);
    trump->setPixmap(cardPlace());

    // The seats' names: seat s sits at screen position s until the table is
    // turned for the own seat.
    for (int seat = 1; seat <= 4; ++seat) {
        const QColor colour = seat % 2 == 1 ? kTanColour : kBlueColour;
        QLabel* name = addLabel("", kWaiting, QRect(kNamePlaces[seat - 1], kNameSize), 15, true,
                                colour, Qt::AlignCenter);
        name->setObjectName(QStringLiteral("label_playername%1").arg(seat));
        name->setStyleSheet(QStringLiteral("QLabel { background: rgba(255, 252, 232, 225);"
                                           " border-radius: 4px; color: %1; }")
                                .arg(colour.name()));
    }

    QLabel* dealer = addLabel("button_dealer", QString(), {60, 366, 25, 25}, 11, false, Qt::black);
    dealer->setPixmap(dealerGlyph());

    addLabel("label_status", QStringLiteral("Good Luck!!"), {24, 533, 393, 16}, 13, true, Qt::black,
             Qt::AlignCenter);

    m_start = new QPushButton(QStringLiteral("Start Game"), this);
    m_start->setObjectName(QStringLiteral("button_start"));
    m_start->setGeometry(368, 347, 91, 28);
    m_start->setCursor(Qt::PointingHandCursor);
    m_start->setStyleSheet(QStringLiteral(
        "QPushButton { font: bold 13px 'Arial'; color: #3b2a0a; border: 1px solid #6b5320;"
        " border-radius: 6px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #fff3c4, stop:1 #e0b850); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #fffbe6, stop:1 #ecc868); }"
        "QPushButton:pressed { background: #d4aa40; }"));
    m_start->hide();
}

QLabel* TableBoard::addLabel(const char* name, const QString& text, QRect where, int pixels,
                             bool bold, const QColor& colour, Qt::Alignment align) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    // Names come from other players: never read them as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setGeometry(where);
    label->setAlignment(align);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

QLabel* TableBoard::nameLabel(int seat) const {
    return findChild<QLabel*>(QStringLiteral("label_playername%1").arg(seat));
}

void TableBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // The table: a wooden rim around green cloth.
    QLinearGradient wood(kFelt.topLeft(), kFelt.bottomRight());
    wood.setColorAt(0, QColor(126, 78, 40));
    wood.setColorAt(0.5, QColor(96, 56, 26));
    wood.setColorAt(1, QColor(120, 74, 36));
    p.setPen(QPen(QColor(50, 30, 12), 1));
    p.setBrush(wood);
    p.drawRoundedRect(kFelt, 28, 28);
    const QRectF cloth = kFelt.adjusted(7, 7, -7, -7);
    QRadialGradient felt(cloth.center(), cloth.width() * 0.75);
    felt.setColorAt(0, QColor(48, 134, 74));
    felt.setColorAt(0.7, QColor(30, 108, 56));
    felt.setColorAt(1, QColor(20, 82, 42));
    p.setPen(QPen(QColor(16, 60, 30), 1.5));
    p.setBrush(felt);
    p.drawRoundedRect(cloth, 22, 22);

    // The score card on the table's corner.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(kScoreCard.translated(3, 3), 6, 6);
    p.setPen(QPen(QColor(120, 104, 70), 1));
    p.setBrush(QColor(253, 250, 232));
    p.drawRoundedRect(kScoreCard, 6, 6);
    p.setPen(QPen(QColor(200, 190, 160), 1));
    p.drawLine(QPointF(kScoreCard.left() + 10, 95.5), QPointF(kScoreCard.right() - 10, 95.5));

    // The logo.
    paintLogo(p, QRectF(554, 9, 156, 32));

    // The board's border and its corner ornaments.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
    paintSuit(p, 0, QPointF(9, 9), 12);
    paintSuit(p, 1, QPointF(762, 9), 12);
    paintSuit(p, 3, QPointF(9, 542), 12);
    paintSuit(p, 2, QPointF(761, 541), 12);
}

BoardHost::BoardHost(QWidget* parent) : QWidget(parent), m_board(new TableBoard(this)) {
    setObjectName(QStringLiteral("boardhost"));
    setMinimumSize(TableBoard::kWidth + kExtraWidth, TableBoard::kHeight + kExtraHeight);
}

void BoardHost::resizeEvent(QResizeEvent*) {
    m_board->move((width() - m_board->width()) / 2, (height() - m_board->height()) / 2);
}

void BoardHost::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kWindowColour);
}

} // namespace euchre
