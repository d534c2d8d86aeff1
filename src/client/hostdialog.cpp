// The Host dialog: a small form, then the page that tells where others join.
#include "client/hostdialog.h"

#include "client/startrequest.h"
#include "client/windowbackground.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace euchre {

namespace {

// The host cuts names to this length.
constexpr int kMaxNameLength = 20;
constexpr int kMaxPasswordLength = 64;

const QString kFailureStyle = QStringLiteral("color: #a01010;");

bool isPrivateIPv4(const QHostAddress& a) {
    return a.isInSubnet(QHostAddress(QStringLiteral("10.0.0.0")), 8) ||
           a.isInSubnet(QHostAddress(QStringLiteral("172.16.0.0")), 12) ||
           a.isInSubnet(QHostAddress(QStringLiteral("192.168.0.0")), 16);
}

// Lower ranks come first: the addresses a friend at home most likely needs.
int rank(const QHostAddress& a) {
    if (a.protocol() == QAbstractSocket::IPv4Protocol) return isPrivateIPv4(a) ? 0 : 1;
    return 2;
}

QLabel* wrappingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString cleanPlayerName(const QString& typed, QString* why) {
    const QString name = typed.trimmed();
    QString problem;
    if (name.isEmpty()) problem = QStringLiteral("Enter the name the others see at the table.");
    for (const QChar c : name)
        if (c == u'+' || c == u'|' || c == u':' || c.category() == QChar::Other_Control)
            problem = QStringLiteral("A name cannot hold +, | or : - please leave them out.");
    if (name.size() > kMaxNameLength)
        problem = QStringLiteral("A name has at most %1 characters.").arg(kMaxNameLength);
    if (why) *why = problem;
    return problem.isEmpty() ? name : QString();
}

HostDialog::HostDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("hostdialog"));
    setWindowTitle(QStringLiteral("Euchre - Host a Game"));
    useTableBackground(this);
    m_pages = new QStackedWidget(this);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_pages);

    // The form.
    auto* form = new QWidget(m_pages);
    auto* formLayout = new QVBoxLayout(form);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addWidget(wrappingLabel(
        QStringLiteral("Open a table on this machine. Other players join it from their own "
                       "copy of Euchre; the computer plays every empty seat."),
        form));
    auto* fields = new QFormLayout;
    m_name = new QLineEdit(form);
    m_name->setObjectName(QStringLiteral("edit_hostname"));
    m_name->setMaxLength(kMaxNameLength);
    fields->addRow(QStringLiteral("Your &name:"), m_name);
    m_port = new QSpinBox(form);
    m_port->setObjectName(QStringLiteral("edit_hostport"));
    m_port->setRange(1, 65535);
    fields->addRow(QStringLiteral("&Port:"), m_port);
    m_password = new QLineEdit(form);
    m_password->setObjectName(QStringLiteral("edit_hostpassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kMaxPasswordLength);
    m_password->setPlaceholderText(QStringLiteral("none: anyone may join"));
    fields->addRow(QStringLiteral("Table pass&word:"), m_password);
    formLayout->addLayout(fields);
    formLayout->addWidget(wrappingLabel(
        QStringLiteral("With a password only those you tell it to can sit down or watch."), form));
    m_failure = wrappingLabel(QString(), form);
    m_failure->setObjectName(QStringLiteral("label_hostfailure"));
    m_failure->setStyleSheet(kFailureStyle);
    m_failure->hide();
    formLayout->addWidget(m_failure);
    formLayout->addStretch();
    auto* formButtons = new QHBoxLayout;
    formButtons->addStretch();
    m_host = new QPushButton(QStringLiteral("&Host"), form);
    m_host->setObjectName(QStringLiteral("button_host"));
    m_host->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), form);
    cancel->setObjectName(QStringLiteral("button_hostcancel"));
    formButtons->addWidget(m_host);
    formButtons->addWidget(cancel);
    formLayout->addLayout(formButtons);
    connect(m_host, &QPushButton::clicked, this, &HostDialog::hostClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_pages->addWidget(form);

    // The invitation.
    auto* invite = new QWidget(m_pages);
    auto* inviteLayout = new QVBoxLayout(invite);
    inviteLayout->setContentsMargins(0, 0, 0, 0);
    m_openLine = wrappingLabel(QString(), invite);
    QFont bold = m_openLine->font();
    bold.setBold(true);
    m_openLine->setFont(bold);
    inviteLayout->addWidget(m_openLine);
    inviteLayout->addWidget(wrappingLabel(QStringLiteral("Others join you at:"), invite));
    m_addresses = new QListWidget(invite);
    m_addresses->setObjectName(QStringLiteral("list_addresses"));
    m_addresses->setMaximumHeight(90);
    inviteLayout->addWidget(m_addresses);
    m_privateLine = wrappingLabel(QString(), invite);
    inviteLayout->addWidget(m_privateLine);
    inviteLayout->addWidget(wrappingLabel(
        QStringLiteral("Players on this network also find the table in File > Join... under "
                       "\"Tables on this network\". Copy puts an invitation with a link on the "
                       "clipboard: paste it into a mail or a chat."),
        invite));
    inviteLayout->addStretch();
    auto* inviteButtons = new QHBoxLayout;
    m_copied = new QLabel(invite);
    m_copied->setObjectName(QStringLiteral("label_copied"));
    inviteButtons->addWidget(m_copied);
    inviteButtons->addStretch();
    m_copy = new QPushButton(QStringLiteral("&Copy Invitation"), invite);
    m_copy->setObjectName(QStringLiteral("button_copyinvitation"));
    auto* done = new QPushButton(QStringLiteral("Done"), invite);
    done->setObjectName(QStringLiteral("button_hostdone"));
    done->setDefault(true);
    inviteButtons->addWidget(m_copy);
    inviteButtons->addWidget(done);
    inviteLayout->addLayout(inviteButtons);
    connect(m_copy, &QPushButton::clicked, this, &HostDialog::copyClicked);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_addresses, &QListWidget::currentRowChanged, m_copied, &QLabel::clear);
    m_pages->addWidget(invite);

    setMinimumWidth(380);
}

bool HostDialog::showsInvitation() const {
    return m_pages->currentIndex() == 1;
}

void HostDialog::openForm(const QString& name, quint16 port) {
    m_pages->setCurrentIndex(0);
    m_name->setText(name);
    m_port->setValue(port);
    m_password->clear();
    m_failure->hide();
    m_host->setEnabled(true);
    (name.isEmpty() ? m_name : static_cast<QWidget*>(m_host))->setFocus();
    adjustSize();
    show();
    raise();
    activateWindow();
}

void HostDialog::showFailure(const QString& text) {
    m_pages->setCurrentIndex(0);
    m_failure->setText(text);
    m_failure->setVisible(!text.isEmpty());
    m_host->setEnabled(true);
    adjustSize();
    show();
    raise();
}

void HostDialog::hostClicked() {
    QString why;
    const QString name = cleanPlayerName(m_name->text(), &why);
    if (name.isEmpty()) {
        showFailure(why);
        m_name->setFocus();
        return;
    }
    if (!host) return;
    m_failure->hide();
    m_host->setEnabled(false);
    HostRequest request{name, static_cast<quint16>(m_port->value()), m_password->text()};
    host(request, [this](bool hosted, const QString& failure) {
        if (hosted) return;
        // Asked first and answered No leaves no failure: the form stays as it was.
        if (failure.isEmpty()) {
            m_host->setEnabled(true);
            return;
        }
        // What fails is the port: it is the field to change.
        showFailure(failure);
        m_port->setFocus();
        m_port->selectAll();
    });
}

void HostDialog::showInvitation(quint16 port, bool isPrivate) {
    m_hostedPort = port;
    m_private = isPrivate;
    m_openLine->setText(QStringLiteral("Your table is open on port %1.").arg(port));
    m_addresses->clear();
    for (const QString& address : joinAddresses())
        m_addresses->addItem(QStringLiteral("%1   port %2").arg(address).arg(port));
    for (int row = 0; row < m_addresses->count(); ++row)
        m_addresses->item(row)->setData(Qt::UserRole, joinAddresses().value(row));
    if (m_addresses->count() == 0) {
        m_addresses->addItem(QStringLiteral("(no network: only this machine can join)"));
        m_addresses->item(0)->setFlags(Qt::NoItemFlags);
    }
    m_addresses->setCurrentRow(0);
    m_copy->setEnabled(m_addresses->item(0)->flags() != Qt::NoItemFlags);
    m_privateLine->setText(isPrivate ? QStringLiteral("The table is private: tell the players "
                                                      "its password yourself.")
                                     : QStringLiteral("Anyone who has the address may join."));
    m_copied->clear();
    m_pages->setCurrentIndex(1);
    adjustSize();
    show();
    raise();
    activateWindow();
}

void HostDialog::copyClicked() {
    const QListWidgetItem* item = m_addresses->currentItem();
    if (!item || item->data(Qt::UserRole).toString().isEmpty()) return;
    QGuiApplication::clipboard()->setText(
        invitationText(item->data(Qt::UserRole).toString(), m_hostedPort, m_private));
    m_copied->setText(QStringLiteral("Copied to the clipboard."));
}

QStringList HostDialog::joinAddresses() {
    QList<QHostAddress> found;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (!(flags & QNetworkInterface::IsUp) || (flags & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            QHostAddress a = entry.ip();
            // A link-local IPv6 address needs the other machine's interface
            // name to be used: no help in an invitation.
            if (a.isLoopback() || a.isLinkLocal() || a.isNull()) continue;
            a.setScopeId(QString());
            if (!found.contains(a)) found.append(a);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const QHostAddress& x, const QHostAddress& y) {
        return rank(x) < rank(y);
    });
    QStringList out;
    for (const QHostAddress& a : found) out.append(a.toString());
    return out;
}

QString HostDialog::invitationText(const QString& host, quint16 port, bool isPrivate) {
    QString text = QStringLiteral("Come and play Euchre at my table: %1\n"
                                  "Or in Euchre choose File > Join... and enter the address %2 "
                                  "and the port %3.\n")
                       .arg(tableLink(host, port), host)
                       .arg(port);
    if (isPrivate) text += QStringLiteral("The table is private: I will tell you its password.\n");
    return text;
}

} // namespace euchre
