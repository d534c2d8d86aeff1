// The Join dialog and its list of the tables that answer on this network.
#include "client/joindialog.h"

#include "client/hostdialog.h"
#include "client/startrequest.h"
#include "client/tablefinder.h"
#include "client/windowbackground.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace euchre {

namespace {

constexpr int kMaxNameLength = 20;
constexpr int kMaxAddressLength = 300;
constexpr int kMaxPasswordLength = 64;

enum Column { ColTable, ColPlayers, ColWatching, ColGame, ColAddress, ColumnCount };
constexpr int kPortRole = Qt::UserRole + 1;

const QString kFailureStyle = QStringLiteral("color: #a01010;");
const QString kProgressStyle = QStringLiteral("color: #1c5630;");

// A small padlock for private tables.
QIcon lockIcon() {
    const qreal dpr = 2;
    QPixmap pixmap(QSize(14, 14) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 80, 50), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(4, 7);
    shackle.lineTo(4, 4.5);
    shackle.arcTo(QRectF(4, 1.5, 6, 6), 180, -180);
    shackle.lineTo(10, 7);
    p.drawPath(shackle);
    p.setPen(QPen(QColor(90, 80, 50), 1));
    p.setBrush(QColor(214, 176, 64));
    p.drawRoundedRect(QRectF(2.5, 6.5, 9, 6.5), 1.5, 1.5);
    return QIcon(pixmap);
}

QLabel* wrappingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

JoinDialog::JoinDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("joindialog"));
    setWindowTitle(QStringLiteral("Euchre - Join a Game"));
    useTableBackground(this);
    auto* layout = new QVBoxLayout(this);

    auto* fields = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edit_joinname"));
    m_name->setMaxLength(kMaxNameLength);
    fields->addRow(QStringLiteral("Your &name:"), m_name);

    auto* where = new QHBoxLayout;
    m_address = new QComboBox(this);
    m_address->setObjectName(QStringLiteral("edit_joinaddress"));
    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setMinimumContentsLength(22);
    m_address->lineEdit()->setMaxLength(kMaxAddressLength);
    m_address->lineEdit()->setPlaceholderText(QStringLiteral("such as 192.168.1.20"));
    where->addWidget(m_address, 1);
    auto* portLabel = new QLabel(QStringLiteral("&Port:"), this);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("edit_joinport"));
    m_port->setRange(1, 65535);
    portLabel->setBuddy(m_port);
    where->addWidget(portLabel);
    where->addWidget(m_port);
    auto* addressLabel = new QLabel(QStringLiteral("Host &address:"), this);
    addressLabel->setBuddy(m_address);
    fields->addRow(addressLabel, where);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edit_joinpassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kMaxPasswordLength);
    m_password->setPlaceholderText(QStringLiteral("only for a private table"));
    fields->addRow(QStringLiteral("Pass&word:"), m_password);
    layout->addLayout(fields);

    auto* tablesLabel = new QLabel(QStringLiteral("&Tables on this network:"), this);
    QFont bold = tablesLabel->font();
    bold.setBold(true);
    tablesLabel->setFont(bold);
    layout->addWidget(tablesLabel);
    m_tables = new QTreeWidget(this);
    m_tables->setObjectName(QStringLiteral("list_tables"));
    tablesLabel->setBuddy(m_tables);
    m_tables->setColumnCount(ColumnCount);
    m_tables->setHeaderLabels({QStringLiteral("Hosted by"), QStringLiteral("Players"),
                               QStringLiteral("Watching"), QStringLiteral("Game"),
                               QStringLiteral("Address")});
    m_tables->setRootIsDecorated(false);
    m_tables->setUniformRowHeights(true);
    m_tables->setMinimumHeight(110);
    m_tables->header()->setStretchLastSection(true);
    m_tables->setColumnWidth(ColTable, 150);
    for (const int column : {ColPlayers, ColWatching, ColGame})
        m_tables->setColumnWidth(column, 62);
    layout->addWidget(m_tables, 1);
    layout->addWidget(wrappingLabel(
        QStringLiteral("Click a table to fill in its address; a padlock marks a private table."),
        this));

    m_status = wrappingLabel(QString(), this);
    m_status->setObjectName(QStringLiteral("label_joinstatus"));
    m_status->hide();
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_join = new QPushButton(QStringLiteral("&Join"), this);
    m_join->setObjectName(QStringLiteral("button_join"));
    m_join->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("button_joincancel"));
    buttons->addWidget(m_join);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_join, &QPushButton::clicked, this, &JoinDialog::joinClicked);
    connect(cancel, &QPushButton::clicked, this, &JoinDialog::reject);
    connect(m_tables, &QTreeWidget::itemClicked, this, &JoinDialog::tableChosen);
    connect(m_tables, &QTreeWidget::itemActivated, this, [this] {
        tableChosen();
        joinClicked();
    });
    connect(m_address, &QComboBox::activated, this, &JoinDialog::recentChosen);

    m_finder = new TableFinder(this);
    connect(m_finder, &TableFinder::tablesChanged, this, &JoinDialog::showTables);
    showTables();
    resize(560, 430);
}

JoinDialog::~JoinDialog() = default;

void JoinDialog::openWith(const QString& name, const QString& address, quint16 port,
                          const QStringList& recent) {
    m_address->clear();
    m_address->addItems(recent);
    m_name->setText(name);
    m_address->setEditText(address);
    m_port->setValue(port);
    if (const std::optional<TableAddress> typed = parseTableAddress(address);
        typed && typed->port) {
        m_address->setEditText(typed->host);
        m_port->setValue(*typed->port);
    }
    m_password->clear();
    setStatus(QString(), false);
    m_join->setEnabled(!m_joining);
    show();
    raise();
    activateWindow();
    if (name.isEmpty())
        m_name->setFocus();
    else if (address.isEmpty())
        m_address->setFocus();
    else
        m_join->setFocus();
}

void JoinDialog::showFailure(const QString& text) {
    setStatus(text, true);
    m_join->setEnabled(true);
}

void JoinDialog::setStatus(const QString& text, bool failure) {
    m_status->setText(text);
    m_status->setStyleSheet(failure ? kFailureStyle : kProgressStyle);
    m_status->setVisible(!text.isEmpty());
}

void JoinDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_finder->start();
}

void JoinDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    m_finder->stop();
}

void JoinDialog::reject() {
    // Closing gives the try up; its answer, if one still comes, is ignored.
    ++m_try;
    if (m_joining && cancelJoin) cancelJoin();
    m_joining = false;
    m_join->setEnabled(true);
    QDialog::reject();
}

void JoinDialog::joinClicked() {
    if (m_joining) return;
    QString why;
    const QString name = cleanPlayerName(m_name->text(), &why);
    if (name.isEmpty()) {
        showFailure(why);
        m_name->setFocus();
        return;
    }
    const std::optional<TableAddress> address = parseTableAddress(m_address->currentText());
    if (!address) {
        showFailure(m_address->currentText().trimmed().isEmpty()
                        ? QStringLiteral("Enter the host's address: a name such as alice-pc, or "
                                         "numbers such as 192.168.1.20.")
                        : QStringLiteral("\"%1\" is not an address. Type a name such as "
                                         "alice-pc, or numbers such as 192.168.1.20.")
                              .arg(m_address->currentText().trimmed()));
        m_address->setFocus();
        return;
    }
    // "HOST:PORT" typed in the address field wins over the port field.
    if (address->port) {
        m_address->setEditText(address->host);
        m_port->setValue(*address->port);
    }
    if (!join) return;
    JoinTarget target{address->host, static_cast<quint16>(m_port->value()), name,
                      m_password->text()};
    m_joining = true;
    m_join->setEnabled(false);
    setStatus(QStringLiteral("Joining %1 port %2 ...").arg(target.host).arg(target.port), false);
    const int attempt = ++m_try;
    join(target, [this, attempt](const JoinOutcome& outcome) {
        if (attempt == m_try) finished(outcome);
    });
}

void JoinDialog::finished(const JoinOutcome& outcome) {
    m_joining = false;
    m_join->setEnabled(true);
    switch (outcome.result) {
    case JoinOutcome::Result::Joined:
        setStatus(QString(), false);
        accept();
        return;
    case JoinOutcome::Result::Declined:
        setStatus(QString(), false);
        return;
    case JoinOutcome::Result::Failed:
        break;
    }
    showFailure(outcome.text);
    using F = JoinAttempt::Failure;
    if (outcome.failure == F::PasswordNeeded || outcome.failure == F::PasswordWrong) {
        m_password->setFocus();
        m_password->selectAll();
    }
}

void JoinDialog::showTables() {
    // The row chosen stays chosen while the list is refreshed.
    QString chosenAddress;
    int chosenPort = 0;
    if (const QTreeWidgetItem* item = m_tables->currentItem()) {
        chosenAddress = item->data(ColAddress, Qt::UserRole).toString();
        chosenPort = item->data(ColAddress, kPortRole).toInt();
    }
    m_tables->clear();
    const QList<TableFinder::Table> tables = m_finder->tables();
    if (tables.isEmpty()) {
        auto* waiting = new QTreeWidgetItem(m_tables);
        waiting->setText(ColTable, QStringLiteral("Looking for tables..."));
        waiting->setFirstColumnSpanned(true);
        waiting->setFlags(Qt::NoItemFlags);
        return;
    }
    static const QIcon lock = lockIcon();
    // Names of open tables stand where those of private ones do.
    static const QIcon none = [] {
        QPixmap blank(14, 14);
        blank.fill(Qt::transparent);
        return QIcon(blank);
    }();
    for (const TableFinder::Table& t : tables) {
        auto* item = new QTreeWidgetItem(m_tables);
        // A stand-alone host lists its table before anyone has sat down.
        item->setText(ColTable,
                      t.info.name.isEmpty() ? QStringLiteral("(open table)") : t.info.name);
        item->setIcon(ColTable, t.info.password ? lock : none);
        if (t.info.password)
            item->setToolTip(ColTable, QStringLiteral("A private table: it needs a password"));
        item->setText(ColPlayers, QStringLiteral("%1 of 4").arg(t.info.seats));
        item->setText(ColWatching, QString::number(t.info.watchers));
        item->setText(ColGame, t.info.game ? QStringLiteral("playing") : QStringLiteral("waiting"));
        item->setText(ColAddress, QStringLiteral("%1 port %2").arg(t.address).arg(t.info.port));
        item->setData(ColAddress, Qt::UserRole, t.address);
        item->setData(ColAddress, kPortRole, t.info.port);
        item->setData(ColTable, Qt::UserRole, t.info.password);
        if (t.address == chosenAddress && t.info.port == chosenPort) m_tables->setCurrentItem(item);
    }
}

void JoinDialog::tableChosen() {
    const QTreeWidgetItem* item = m_tables->currentItem();
    if (!item || item->data(ColAddress, Qt::UserRole).toString().isEmpty()) return;
    m_address->setEditText(item->data(ColAddress, Qt::UserRole).toString());
    m_port->setValue(item->data(ColAddress, kPortRole).toInt());
    if (item->data(ColTable, Qt::UserRole).toBool() && m_password->text().isEmpty())
        m_password->setFocus();
}

void JoinDialog::recentChosen(int index) {
    const std::optional<TableAddress> recent = parseTableAddress(m_address->itemText(index));
    if (!recent) return;
    m_address->setEditText(recent->host);
    if (recent->port) m_port->setValue(*recent->port);
}

} // namespace euchre
