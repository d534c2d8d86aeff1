// The Hand Review window: the hand chooser, the grid of decisions with their
// marks, and the hand itself in an embedded replay.
#include "client/thandreview.h"

#include "client/treplay.h"
#include "client/windowbackground.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace euchre {

namespace {

const QStringList kColumns = {QStringLiteral("Asked"),           QStringLiteral("You"),
                              QStringLiteral("Expert"),          QStringLiteral("Your points"),
                              QStringLiteral("Expert's points"), QStringLiteral("Mark")};

QColor markColour(ReviewMark mark) {
    switch (mark) {
    case ReviewMark::Good:
        return QColor(30, 120, 40);
    case ReviewMark::Inaccuracy:
        return QColor(170, 110, 0);
    case ReviewMark::Mistake:
        return QColor(180, 20, 20);
    }
    return Qt::black;
}

QString points(double value) {
    return QString::asprintf("%+.2f", value);
}

} // namespace

ThandReview::ThandReview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("handreview"));
    setWindowTitle(QStringLiteral("Hand Review"));
    useTableBackground(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    m_deals = new QComboBox(this);
    m_deals->setObjectName(QStringLiteral("combo_deal"));
    layout->addWidget(m_deals);
    m_grid = new QTableWidget(0, int(kColumns.size()), this);
    m_grid->setObjectName(QStringLiteral("grid_decisions"));
    m_grid->setHorizontalHeaderLabels(kColumns);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setMinimumHeight(230); // a hand's decisions seldom need more rows
    layout->addWidget(m_grid);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("label_summary"));
    layout->addWidget(m_summary);
    m_hand = new Treplay(this, true);
    layout->addWidget(m_hand);
    connect(m_deals, &QComboBox::activated, this,
            [this](int index) { showDeal(m_deals->itemData(index).toInt()); });
}

void ThandReview::showGame(const records::GameRecord& record, int seat) {
    m_record = record;
    m_seat = seat;
    m_deals->clear();
    int last = -1;
    for (int i = 0; i < int(record.deals.size()); ++i) {
        const records::DealRecord& d = record.deals[std::size_t(i)];
        const bool played = d.hasPlay && !d.tricks.empty();
        m_deals->addItem(QStringLiteral("Hand %1%2")
                             .arg(i + 1)
                             .arg(played ? QString() : QStringLiteral(" (no cards played)")),
                         i);
        if (played && d.tricks.size() == std::size_t(kHandSize)) last = i;
    }
    m_hand->showRecord(record, QString());
    showDeal(last >= 0 ? last : int(record.deals.size()) - 1);
}

void ThandReview::showDeal(int deal) {
    m_deal = deal;
    m_decisions = reviewDeal(m_record, deal, m_seat);
    const int index = m_deals->findData(deal);
    if (index >= 0) m_deals->setCurrentIndex(index);
    m_grid->setRowCount(int(m_decisions.size()));
    int counts[3] = {};
    for (int row = 0; row < int(m_decisions.size()); ++row) {
        const ReviewedDecision& d = m_decisions[std::size_t(row)];
        ++counts[int(d.mark)];
        const QStringList cells = {d.asked,
                                   d.chosenText,
                                   d.expertText,
                                   points(d.chosenPoints),
                                   points(d.expertPoints),
                                   markName(d.mark)};
        for (int column = 0; column < int(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == int(cells.size()) - 1) {
                item->setForeground(markColour(d.mark));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            m_grid->setItem(row, column, item);
        }
    }
    m_summary->setText(
        m_decisions.empty()
            ? QStringLiteral("You made no decision in this hand.")
            : QStringLiteral("%1 decisions: %2 good, %3 inaccuracies, %4 mistakes. Points are the "
                             "hand's for your team less the others', as you saw the game then.")
                  .arg(m_decisions.size())
                  .arg(counts[0])
                  .arg(counts[1])
                  .arg(counts[2]));
    if (deal >= 0) m_hand->moveDeal(deal - m_hand->deal());
    emit reviewed(deal, m_decisions);
}

} // namespace euchre
