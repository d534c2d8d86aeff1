// The logs window: "Tan Log" and "Blue Log" side by side and a "Done" button.
#include "client/tscorecard.h"

#include "client/tableboard.h"
#include "client/windowbackground.h"

#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <limits>

namespace euchre {

Tscorecard::Tscorecard(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("scorecard"));
    setWindowTitle(QStringLiteral("Euchre - Logs"));
    setFixedSize(494, 158);
    useTableBackground(this);
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);
    for (int team = 1; team <= 2; ++team) {
        const int left = team == 1 ? 4 : 249;
        auto* heading =
            new QLabel(team == 1 ? QStringLiteral("Tan Log") : QStringLiteral("Blue Log"), this);
        heading->setGeometry(left, 4, 241, 20);
        heading->setAlignment(Qt::AlignCenter);
        QFont bold = base;
        bold.setBold(true);
        bold.setPixelSize(13);
        heading->setFont(bold);
        heading->setStyleSheet(QStringLiteral("QLabel { background: %1; color: white;"
                                              " border-radius: 3px; }")
                                   .arg(teamColour(team).name()));
        auto* log = new QTextEdit(this);
        log->setObjectName(QStringLiteral("memo_score%1").arg(team));
        log->setReadOnly(true);
        log->setGeometry(left, 26, 241, 102);
        log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        log->setLineWrapMode(QTextEdit::NoWrap);
        log->document()->setMaximumBlockCount(kMaxLines);
        m_logs[static_cast<size_t>(team)] = log;
    }
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Button1"));
    done->setGeometry(209, 131, 75, 24);
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
}

QTextEdit* Tscorecard::log(int team) const {
    return team == 1 || team == 2 ? m_logs[static_cast<size_t>(team)] : nullptr;
}

int Tscorecard::lines(int team) const {
    return team == 1 || team == 2 ? m_lines[static_cast<size_t>(team)] : 0;
}

void Tscorecard::addlinetomemo(const QString& text, int team, const QColor& colour) {
    QTextEdit* memo = log(team);
    if (!memo) return;
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(10);
    // One edit: the line is laid out once, not once for its paragraph and
    // again for its text.
    cursor.beginEditBlock();
    // The first line goes into the empty document's own paragraph.
    int& lines = m_lines[static_cast<size_t>(team)];
    if (lines > 0) cursor.insertBlock();
    cursor.insertText(text, format);
    cursor.endEditBlock();
    // Rows go on being numbered after the oldest lines are dropped.
    if (lines < std::numeric_limits<int>::max()) ++lines;
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
}

} // namespace euchre
