// The table board: the fixed-size panel with the card table, the score board,
// the seat names, the logo and the place of the chat column.
#pragma once

#include <QColor>
#include <QWidget>

class QLabel;
class QPushButton;

namespace euchre {

// Team colours of the table (seats 1 and 3 are Tan, 2 and 4 Blue).
inline const QColor kTanColour(101, 83, 50);
inline const QColor kBlueColour(86, 107, 143);
// The colour of the window and the small windows around it.
inline const QColor kWindowColour(244, 245, 214);

class TableBoard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 771;
    static constexpr int kHeight = 551;
    // Where the chat column starts.
    static constexpr QPoint kChatColumn{495, 83};
    static constexpr QSize kChatColumnSize{271, 447};

    explicit TableBoard(QWidget* parent = nullptr);

    // The seat's name label ("label_playername1" to "label_playername4").
    QLabel* nameLabel(int seat) const;
    QPushButton* startButton() const { return m_start; }

    // Shown while a seat has no player yet.
    static const QString kWaiting;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QString& text, QRect where, int pixels, bool bold,
                     const QColor& colour, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

    QPushButton* m_start = nullptr;
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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TableBoard* m_board;
};

} // namespace euchre
