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
const char kTag[] = "tag"; // the list's property holding the entry under the pointer

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
    m_list->setProperty(kTag, kNoEntry);
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
    if (entries == this->entries()) return;
    m_list->clear();
    m_list->addItems(entries);
    // The remembered entry may now be someone else's: a removal needs the
    // pointer over the list again.
    m_list->setProperty(kTag, kNoEntry);
}

QStringList Tspylist::entries() const {
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i) out.append(m_list->item(i)->text());
    return out;
}

int Tspylist::hoveredIndex() const {
    return m_list->property(kTag).toInt();
}

void Tspylist::listbox_spysMouseMove(const QPoint& viewportPos) {
    const QModelIndex index = m_list->indexAt(viewportPos);
    m_list->setProperty(kTag, index.isValid() ? index.row() : kNoEntry);
}

void Tspylist::popup_kickhimClick() {
    const int index = hoveredIndex();
    if (index == kNoEntry || index >= m_list->count()) return;
    // The slot is the text before the first ":"; the name may hold more.
    const QString text = m_list->item(index)->text();
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
