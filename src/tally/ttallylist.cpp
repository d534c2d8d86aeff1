// The tally window: following and dropping players, recording games, reset,
// and keeping the tally file current.
#include "tally/ttallylist.h"

#include "storage/savefile.h"
#include "tally/tallyfile.h"
#include "tally/tlzrw1.h"

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace euchre {

namespace {

using G = TallyGrid;

const QString kCaption = QStringLiteral("Euchre - Tally List");
const QString kDeleteQuestion =
    QStringLiteral("This will delete %1's Tally, Are you want to delete it?");
const QString kResetQuestion = QStringLiteral("Are you sure you want to reset the Tally?");
const QString kZero = QStringLiteral("0");
const QString kSetAside = QStringLiteral(
    "0+The tally file could not be read, so a new tally was started. The old file was kept as "
    "%2 (%1).");
const QString kNotSetAside = QStringLiteral(
    "0+The tally file could not be read (%1) nor moved aside, so this run's tally will not be "
    "saved over it.");
const QString kSaveFailed = QStringLiteral("0+The tally could not be saved: %1");

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, bool bold = false) {
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) label->setObjectName(name);
    if (bold) {
        QFont f = parent->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

QListWidget* makeList(QWidget* parent, const char* name, int height) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setFixedSize(150, height);
    return list;
}

// A name becomes a line of the tally file, so it may not break lines.
bool fitsTheFile(const QString& name) {
    return !name.contains(QLatin1Char('\n')) && !name.contains(QLatin1Char('\r'));
}

} // namespace

const QString Ttallylist::kAddToMine = QStringLiteral("addtomine");

Ttallylist::Ttallylist(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("tallylist"));
    setWindowTitle(kCaption);
    // The small windows around the table share its plain face.
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);

    ask = [this](const QString& text, std::function<void(bool)> answer) {
        auto* box = new QMessageBox(QMessageBox::Question, kCaption, text,
                                    QMessageBox::Yes | QMessageBox::No, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        connect(box, &QMessageBox::finished, this, [box, answer](int) {
            answer(box->clickedButton() == box->button(QMessageBox::Yes));
        });
        box->open();
    };

    auto* own = new QGridLayout;
    own->addWidget(makeLabel(this, {}, QStringLiteral("Your Total Tally"), true), 0, 0, 1, 2);
    const QString ownTexts[] = {{},
                                QStringLiteral("Total Games:"),
                                QStringLiteral("Your Wins"),
                                QStringLiteral("Marches:"),
                                QStringLiteral("Euchres:")};
    for (int i = 1; i <= 4; ++i) {
        own->addWidget(makeLabel(this, {}, ownTexts[i]), i, 0);
        m_mylabels[i] = makeLabel(this, QStringLiteral("mylabel_%1").arg(i), kZero, true);
        own->addWidget(m_mylabels[i], i, 1, Qt::AlignRight);
    }
    own->setRowStretch(5, 1);

    auto* lists = new QVBoxLayout;
    // Three other seats at most; the followed players scroll.
    m_checklist = makeList(this, "checklist", 64);
    m_listbox = makeList(this, "listbox_tally", 120);
    lists->addWidget(makeLabel(this, {}, QStringLiteral("Players In Current Game"), true));
    lists->addWidget(m_checklist);
    lists->addWidget(makeLabel(this, {}, QStringLiteral("Players Being Tallied"), true));
    lists->addWidget(m_listbox);

    auto* his = new QGridLayout;
    m_hisnametop =
        makeLabel(this, QStringLiteral("label_hisnametop"), QStringLiteral("Tally"), true);
    his->addWidget(m_hisnametop, 0, 0, 1, 3);
    his->addWidget(makeLabel(this, {}, QStringLiteral("Total"), true), 1, 1, Qt::AlignRight);
    his->addWidget(makeLabel(this, {}, QStringLiteral("Session"), true), 1, 2, Qt::AlignRight);
    m_hisname = makeLabel(this, QStringLiteral("label_hisname"), QStringLiteral("Wins:"));
    QLabel* rowTexts[] = {nullptr, makeLabel(this, {}, QStringLiteral("Number of Games")),
                          m_hisname, makeLabel(this, {}, QStringLiteral("Your Wins:")),
                          makeLabel(this, {}, QStringLiteral("Wins as Partners"))};
    for (int i = 1; i <= 4; ++i) {
        his->addWidget(rowTexts[i], i + 1, 0);
        for (const int column : {i, i + G::kSession}) {
            m_labels[column] = makeLabel(this, QStringLiteral("label_%1").arg(column), kZero, true);
            his->addWidget(m_labels[column], i + 1, column == i ? 1 : 2, Qt::AlignRight);
        }
    }
    his->setColumnMinimumWidth(1, 50);
    his->setColumnMinimumWidth(2, 60);
    his->setRowStretch(6, 1);

    m_reset = new QPushButton(QStringLiteral("Reset Tally"), this);
    m_reset->setObjectName(QStringLiteral("button_reset"));
    m_done = new QPushButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("FlatButton1"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_reset);
    buttons->addStretch(1);
    buttons->addWidget(m_done);

    auto* top = new QHBoxLayout;
    top->addLayout(own);
    top->addSpacing(12);
    top->addLayout(lists);
    top->addSpacing(12);
    top->addLayout(his);
    auto* whole = new QVBoxLayout(this);
    whole->setSizeConstraint(QLayout::SetFixedSize);
    whole->addLayout(top);
    whole->addLayout(buttons);

    connect(m_checklist, &QListWidget::itemChanged, this, &Ttallylist::checklistClickCheck);
    connect(m_listbox, &QListWidget::itemChanged, this, &Ttallylist::listbox_tallyClickCheck);
    connect(m_listbox, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { listbox_tallyClick(item); });
    connect(m_reset, &QPushButton::clicked, this, &Ttallylist::button_resetClick);
    connect(m_done, &QPushButton::clicked, this, &Ttallylist::FlatButton1Click);
}

Ttallylist::~Ttallylist() {
    m_toldSaveFailure = true; // nobody is left to tell
    save();
}

void Ttallylist::openFile(const QString& fileName) {
    m_fileName = fileName;
    m_mayWrite = true;
    m_grid = TallyGrid();
    if (QFile::exists(fileName)) {
        try {
            m_grid = readTallyFile(fileName);
        } catch (const ELzrw1& e) {
            const QString aside = setAside(fileName);
            m_mayWrite = !aside.isEmpty();
            emit tellPlayer(m_mayWrite ? kSetAside.arg(e.text(), aside)
                                       : kNotSetAside.arg(e.text()));
        }
    }
    loadtally();
}

void Ttallylist::loadtally() {
    for (int row = 1; row < m_grid.rowCount(); ++row)
        for (int column = 1; column <= 4; ++column)
            m_grid.setCell(column + G::kSession, row, kZero);
    showOwnTotals();
    fillLists();
    clearPlayer();
}

void Ttallylist::showOwnTotals() {
    for (int column = 1; column <= 4; ++column)
        m_mylabels[column]->setText(QString::number(m_grid.count(column, 0)));
}

void Ttallylist::fillLists() {
    m_settingTicks = true;
    m_listbox->clear();
    for (int row = 1; row < m_grid.rowCount(); ++row) addEntry(m_grid.cell(0, row));
    m_settingTicks = false;
    refreshTicks();
}

void Ttallylist::addEntry(const QString& name) {
    m_settingTicks = true;
    auto* item = new QListWidgetItem(name, m_listbox);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    m_settingTicks = false;
}

void Ttallylist::refreshTicks() {
    m_settingTicks = true;
    for (int i = 0; i < m_checklist->count(); ++i) {
        QListWidgetItem* item = m_checklist->item(i);
        item->setCheckState(m_grid.rowOf(item->text()) > 0 ? Qt::Checked : Qt::Unchecked);
    }
    m_settingTicks = false;
}

void Ttallylist::setTick(QListWidgetItem* item, bool ticked) {
    m_settingTicks = true;
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    m_settingTicks = false;
}

void Ttallylist::loadchecklist(const QStringList& names) {
    m_settingTicks = true;
    m_checklist->clear();
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, m_checklist);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(m_grid.rowOf(name) > 0 ? Qt::Checked : Qt::Unchecked);
    }
    m_settingTicks = false;
}

void Ttallylist::checklistClickCheck(QListWidgetItem* item) {
    if (m_settingTicks || !item) return;
    const QString name = item->text();
    // A followed player stays followed here; dropping is done in the other list.
    if (m_grid.rowOf(name) > 0 || !fitsTheFile(name)) {
        setTick(item, m_grid.rowOf(name) > 0);
        return;
    }
    follow(name);
    save();
}

void Ttallylist::follow(const QString& name) {
    m_grid.addRow(name);
    addEntry(name);
    refreshTicks();
}

void Ttallylist::listbox_tallyClickCheck(QListWidgetItem* item) {
    if (m_settingTicks || !item || item->checkState() == Qt::Checked) return;
    const QString name = item->text();
    // The entry is found again on the answer (the unticked one of that
    // name), as games may be recorded while the question is open.
    ask(kDeleteQuestion.arg(name), [this, name](bool yes) {
        int entry = 0;
        while (entry < m_listbox->count() && (m_listbox->item(entry)->text() != name ||
                                              m_listbox->item(entry)->checkState() == Qt::Checked))
            ++entry;
        if (entry == m_listbox->count()) return;
        if (!yes) {
            setTick(m_listbox->item(entry), true);
            return;
        }
        moverow(entry + 1);
        delete m_listbox->takeItem(entry);
        refreshTicks();
        if (QListWidgetItem* current = m_listbox->currentItem())
            listbox_tallyClick(current);
        else
            clearPlayer();
        save();
    });
}

void Ttallylist::listbox_tallyClick(QListWidgetItem* item) {
    const int entry = item ? m_listbox->row(item) : -1;
    if (entry < 0) return;
    showPlayer(entry + 1);
}

void Ttallylist::showPlayer(int row) {
    if (row < 1 || row >= m_grid.rowCount()) return;
    for (int column = 1; column < G::kColumns; ++column)
        m_labels[column]->setText(QString::number(m_grid.count(column, row)));
    const QString name = m_grid.cell(0, row);
    m_hisname->setText(name + QStringLiteral(" Wins:"));
    m_hisnametop->setText(name + QStringLiteral("'s Tally"));
}

void Ttallylist::clearPlayer() {
    for (int column = 1; column < G::kColumns; ++column) m_labels[column]->setText(kZero);
    m_hisname->setText(QStringLiteral("Wins:"));
    m_hisnametop->setText(QStringLiteral("Tally"));
}

void Ttallylist::moverow(int row) {
    m_grid.moverow(row);
}

void Ttallylist::button_resetClick() {
    ask(kResetQuestion, [this](bool yes) {
        if (!yes) return;
        m_grid = TallyGrid();
        showOwnTotals();
        fillLists();
        clearPlayer();
        save();
    });
}

void Ttallylist::FlatButton1Click() {
    hide();
}

qint64 Ttallylist::addit(int column, int row) {
    return m_grid.addit(column, row);
}

void Ttallylist::addtomineincrease(int column) {
    if (column < G::kGames || column > G::kEuchres) return;
    m_mylabels[column]->setText(QString::number(addit(column, 0)));
    save();
}

void Ttallylist::addgame(const QString& first, const QString& second) {
    if (tableNames) loadchecklist(tableNames());
    const bool won = first == kAddToMine;
    m_mylabels[G::kGames]->setText(QString::number(addit(G::kGames, 0)));
    if (won) m_mylabels[G::kWins]->setText(QString::number(addit(G::kWins, 0)));
    for (int i = 0; i < m_checklist->count(); ++i) {
        const QString x = m_checklist->item(i)->text();
        const int row = m_grid.rowOf(x);
        if (row < 1) continue;
        const auto both = [&](int column) {
            addit(column, row);
            addit(column + G::kSession, row);
        };
        both(G::kTogether);
        if (won && x == second)
            both(G::kPartnerWins);
        else if (x == first || x == second)
            both(G::kHisWins);
        else if (won)
            both(G::kYourWins);
    }
    if (QListWidgetItem* current = m_listbox->currentItem()) listbox_tallyClick(current);
    save();
}

bool Ttallylist::save() {
    if (m_fileName.isEmpty() || !m_mayWrite) return false;
    try {
        writeTallyFile(m_grid, m_fileName);
        return true;
    } catch (const ELzrw1& e) {
        if (!m_toldSaveFailure) emit tellPlayer(kSaveFailed.arg(e.text()));
        m_toldSaveFailure = true;
        return false;
    }
}

} // namespace euchre
