// The statistics window: a table of counts by group and three charts.
#include "client/tstatistics.h"

#include "client/windowbackground.h"
#include "stats/statsfile.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace euchre {

namespace {

const QString kCaption = QStringLiteral("Euchre - Statistics");
const QString kResetQuestion =
    QStringLiteral("This will forget every game in your statistics. Reset the statistics?");
const QStringList kColumns = {QStringLiteral("Games"),
                              QStringLiteral("Won"),
                              QStringLiteral("Win Rate"),
                              QStringLiteral("Hands"),
                              QStringLiteral("Points/Hand"),
                              QStringLiteral("Trumps Made"),
                              QStringLiteral("Euchred"),
                              QStringLiteral("Marches"),
                              QStringLiteral("Lone Calls"),
                              QStringLiteral("Lone Won"),
                              QStringLiteral("Euchres Suffered"),
                              QStringLiteral("Longest Run")};
const QColor kOurs(55, 70, 140);
const QColor kTheirs(255, 128, 0);
const QColor kNobody(128, 128, 128);
const QColor kLine(20, 120, 60);

QString percent(double rate) {
    return QString::number(rate * 100.0, 'f', 0) + QLatin1Char('%');
}

QStringList cells(const StatsTotals& t) {
    return {QString::number(t.games),
            QString::number(t.won),
            percent(t.winRate()),
            QString::number(t.hands),
            QString::number(t.pointsPerHand(), 'f', 2),
            QString::number(t.trumpsMade),
            QString::number(t.euchred),
            QString::number(t.marches),
            QString::number(t.loneCalls),
            QString::number(t.loneWon),
            QString::number(t.suffered),
            QString::number(t.longestRun)};
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart();
    chart->setTitle(title);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(4);
    chart->legend()->setVisible(false);
    QFont font = chart->titleFont();
    font.setBold(true);
    font.setPixelSize(12);
    chart->setTitleFont(font);
    return chart;
}

QChartView* newView(QWidget* parent, const QString& name) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(280, 230);
    return view;
}

// Game numbers along the bottom: the first to the last of the shown games.
QValueAxis* gameAxis(int first, int last) {
    auto* axis = new QValueAxis();
    axis->setRange(first - 0.5, last + 0.5);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTickCount(std::min(last - first + 1, 6) + 1);
    axis->setTitleText(QStringLiteral("Game"));
    return axis;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

} // namespace

Tstatistics::Tstatistics(StatsBook& book, QWidget* parent)
    : QWidget(parent, Qt::Window), m_book(book) {
    setObjectName(QStringLiteral("statistics"));
    setWindowTitle(kCaption);
    useTableBackground(this);
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);

    m_table = new QTableWidget(0, static_cast<int>(kColumns.size()), this);
    m_table->setObjectName(QStringLiteral("statsTable"));
    m_table->setHorizontalHeaderLabels(kColumns);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setMinimumHeight(170);

    m_winRate = newView(this, QStringLiteral("chartWinRate"));
    m_pointsPerHand = newView(this, QStringLiteral("chartPointsPerHand"));
    m_endings = newView(this, QStringLiteral("chartHandEndings"));
    auto* charts = new QHBoxLayout();
    charts->addWidget(m_winRate);
    charts->addWidget(m_pointsPerHand);
    charts->addWidget(m_endings);

    auto* reset = new QPushButton(QStringLiteral("Reset"), this);
    reset->setObjectName(QStringLiteral("buttonReset"));
    connect(reset, &QPushButton::clicked, this, &Tstatistics::resetClick);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("buttonClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(reset);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_table, 2);
    layout->addLayout(charts, 3);
    layout->addLayout(buttons);
    resize(980, 620);

    ask = [this](const QString& question, std::function<void(bool)> answer) {
        auto* box = new QMessageBox(QMessageBox::Question, kCaption, question,
                                    QMessageBox::Yes | QMessageBox::No, this);
        box->setDefaultButton(QMessageBox::No);
        box->setAttribute(Qt::WA_DeleteOnClose);
        connect(box, &QMessageBox::finished, box,
                [box, answer] { answer(box->clickedButton() == box->button(QMessageBox::Yes)); });
        box->open();
    };
    tell = [this](const QString& text) { QMessageBox::warning(this, kCaption, text); };
}

void Tstatistics::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void Tstatistics::resetClick() {
    ask(kResetQuestion, [this](bool yes) {
        if (!yes) return;
        QString error;
        if (!m_book.reset(&error) && tell) tell(error);
        refresh();
    });
}

void Tstatistics::refresh() {
    const std::vector<GameEntry>& games = m_book.games();

    // The rows: all games, each level of the opponents, each partner.
    QStringList levels, partners;
    for (const GameEntry& g : games) {
        if (!levels.contains(g.level)) levels << g.level;
        if (!partners.contains(g.partner)) partners << g.partner;
    }
    std::sort(levels.begin(), levels.end());
    std::sort(partners.begin(), partners.end());
    struct Row {
        QString label;
        StatsTotals totals;
    };
    std::vector<Row> rows{{QStringLiteral("All games"), totalsOf(games)}};
    for (const QString& level : levels)
        rows.push_back(
            {QStringLiteral("Opponents: ") + level,
             totalsOf(games, [&level](const GameEntry& g) { return g.level == level; })});
    for (const QString& partner : partners)
        rows.push_back(
            {QStringLiteral("Partner: ") + partner,
             totalsOf(games, [&partner](const GameEntry& g) { return g.partner == partner; })});
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        m_table->setVerticalHeaderItem(r, new QTableWidgetItem(rows[static_cast<size_t>(r)].label));
        const QStringList texts = cells(rows[static_cast<size_t>(r)].totals);
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(r, c, item);
        }
    }

    // The latest games, numbered as played.
    const int total = static_cast<int>(games.size());
    const int first = std::max(0, total - kChartGames);

    QChart* rate = newChart(QStringLiteral("Win rate, %1 games running").arg(kWinRateGames));
    auto* rateLine = new QLineSeries();
    rateLine->setPen(QPen(kLine, 2));
    auto* rateDots = new QScatterSeries();
    rateDots->setMarkerSize(6);
    rateDots->setColor(kLine);
    rateDots->setBorderColor(kLine);
    for (int i = first; i < total; ++i) {
        int won = 0, counted = 0;
        for (int k = std::max(0, i - kWinRateGames + 1); k <= i; ++k, ++counted)
            won += games[static_cast<size_t>(k)].won;
        const double value = 100.0 * won / counted;
        rateLine->append(i + 1, value);
        rateDots->append(i + 1, value);
    }
    auto* rateAxis = new QValueAxis();
    rateAxis->setRange(0, 100);
    rateAxis->setLabelFormat(QStringLiteral("%d%%"));
    rateAxis->setTickCount(6);
    attach(rate, rateLine, gameAxis(first + 1, std::max(total, first + 1)), rateAxis);
    rate->addSeries(rateDots);
    rateDots->attachAxis(rate->axes(Qt::Horizontal).front());
    rateDots->attachAxis(rateAxis);
    QChart* old = m_winRate->chart();
    m_winRate->setChart(rate);
    delete old;

    QChart* pph = newChart(QStringLiteral("Points per hand by game"));
    auto* pphLine = new QLineSeries();
    pphLine->setPen(QPen(kOurs, 2));
    auto* pphDots = new QScatterSeries();
    pphDots->setMarkerSize(6);
    pphDots->setColor(kOurs);
    pphDots->setBorderColor(kOurs);
    double highest = 1.0;
    for (int i = first; i < total; ++i) {
        const GameEntry& g = games[static_cast<size_t>(i)];
        const double value = g.hands ? double(g.points) / g.hands : 0.0;
        highest = std::max(highest, value);
        pphLine->append(i + 1, value);
        pphDots->append(i + 1, value);
    }
    auto* pphAxis = new QValueAxis();
    pphAxis->setRange(0, std::ceil(highest * 2) / 2);
    pphAxis->setLabelFormat(QStringLiteral("%.1f"));
    pphAxis->setTickCount(6);
    attach(pph, pphLine, gameAxis(first + 1, std::max(total, first + 1)), pphAxis);
    pph->addSeries(pphDots);
    pphDots->attachAxis(pph->axes(Qt::Horizontal).front());
    pphDots->attachAxis(pphAxis);
    old = m_pointsPerHand->chart();
    m_pointsPerHand->setChart(pph);
    delete old;

    // How every hand ended, by who had called trump.
    GameEntry sum;
    for (const GameEntry& g : games) {
        sum.made += g.made;
        sum.marched += g.marched;
        sum.suffered += g.suffered;
        sum.theirMade += g.theirMade;
        sum.theirMarched += g.theirMarched;
        sum.euchred += g.euchred;
        sum.thrownIn += g.thrownIn;
    }
    QChart* endings = newChart(QStringLiteral("How hands ended"));
    auto* ours = new QBarSet(QStringLiteral("We called"));
    *ours << sum.made << sum.marched << sum.suffered << 0;
    ours->setColor(kOurs);
    auto* theirs = new QBarSet(QStringLiteral("They called"));
    *theirs << sum.theirMade << sum.theirMarched << sum.euchred << 0;
    theirs->setColor(kTheirs);
    auto* nobody = new QBarSet(QStringLiteral("Nobody"));
    *nobody << 0 << 0 << 0 << sum.thrownIn;
    nobody->setColor(kNobody);
    auto* bars = new QStackedBarSeries();
    bars->append({ours, theirs, nobody});
    auto* kinds = new QBarCategoryAxis();
    kinds->append({QStringLiteral("Made"), QStringLiteral("Marched"), QStringLiteral("Euchred"),
                   QStringLiteral("Thrown in")});
    const int most = std::max({sum.made + sum.theirMade, sum.marched + sum.theirMarched,
                               sum.suffered + sum.euchred, sum.thrownIn, 1});
    auto* handsAxis = new QValueAxis();
    handsAxis->setRange(0, most);
    handsAxis->setLabelFormat(QStringLiteral("%d"));
    handsAxis->applyNiceNumbers();
    attach(endings, bars, kinds, handsAxis);
    endings->legend()->setVisible(true);
    endings->legend()->setAlignment(Qt::AlignBottom);
    QFont small = endings->legend()->font();
    small.setPixelSize(10);
    endings->legend()->setFont(small);
    kinds->setLabelsFont(small);
    kinds->setTruncateLabels(false);
    old = m_endings->chart();
    m_endings->setChart(endings);
    delete old;
}

} // namespace euchre
