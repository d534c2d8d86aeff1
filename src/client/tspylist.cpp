// The spectator list: one entry per spectator, slot ": " name, and the
// hosting player's "Remove From Game".
#include "client/tspylist.h"

#include "client/windowbackground.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace euchre {

namespace {

constexpr int kNoEntry = -1;

} // namespace

Tspylist::Tspylist(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("spylist"));
    setWindowTitle(QStringLiteral("Euchre - Spys"));
    useTableBackground(this);
    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);

    auto* caption = new QLabel(QStringLiteral("Spy List"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    QFont bold = caption->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    caption->setFont(bold);
    caption->setAlignment(Qt::AlignCenter);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("listbox_spys"));
    m_list->setMouseTracking(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QWidget::customContextMenuRequested, this, &Tspylist::openPopup);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("popup_kick"));
    m_kickhim = m_popup->addAction(QStringLiteral("Remove From Game"));
    m_kickhim->setObjectName(QStringLiteral("popup_kickhim"));
    m_kickhim->setEnabled(false);
    connect(m_kickhim, &QAction::triggered, this, &Tspylist::popup_kickhimClick);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Button1"));
    connect(done, &QPushButton::clicked, this, &Tspylist::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(5);
    layout->addWidget(caption);
    layout->addWidget(m_list, 1);
    layout->addWidget(done, 0, Qt::AlignHCenter);
    setFixedSize(162, 168);
}

void Tspylist::setEntries(const QStringList& entries) {
    if (entries == m_entries) return;
    m_entries = entries;
    m_list->clear();
    m_list->addItems(entries);
    // The remembered entry may now be someone else's: a removal needs the
    // pointer over the list again.
    m_hovered = kNoEntry;
}

void Tspylist::listbox_spysMouseMove(const QPoint& viewportPos) {
    const QModelIndex index = m_list->indexAt(viewportPos);
    m_hovered = index.isValid() ? index.row() : kNoEntry;
}

void Tspylist::popup_kickhimClick() {
    const int index = m_hovered;
    if (index == kNoEntry || index >= m_entries.size()) return;
    // The slot is the text before the first ":"; the name may hold more.
    const QString& text = m_entries[index];
    bool ok = false;
    const int slot = text.section(QLatin1Char(':'), 0, 0).toInt(&ok);
    if (ok && kick) kick(slot);
}

bool Tspylist::eventFilter(QObject* watched, QEvent* event) {
    // Only movement over the list changes the remembered entry: the pointer
    // leaves the list for the menu, and the entry it came from must stay.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseMove)
        listbox_spysMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    return QWidget::eventFilter(watched, event);
}

void Tspylist::openPopup(const QPoint& viewportPos) {
    listbox_spysMouseMove(viewportPos);
    m_kickhim->setEnabled(isHosting && isHosting());
    m_popup->popup(m_list->viewport()->mapToGlobal(viewportPos));
}

} // namespace euchre
