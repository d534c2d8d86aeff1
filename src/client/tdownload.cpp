// The lobby download window. The installer is fetched over HTTP into the
// user's download folder, never into the program's own folder, and the game
// never starts it: it shows where the file is and opens that folder, and the
// user decides. A SHA-256 named in the settings file must match, or the file
// is refused. A stopped or failed download leaves nothing behind.
#include "client/tdownload.h"

#include "client/artwork.h"
#include "client/lobbysettings.h"
#include "client/windowbackground.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace euchre {

namespace {

// Texts the window shows.
const QString kLoading = QStringLiteral("Loading");
const QString kDownloading = QStringLiteral("Downloading: ");
const QString kBytes = QStringLiteral(" bytes");
const QString kReceived = QStringLiteral("Received ");
const QString kDownloadAborted = QStringLiteral("Download Aborted");
const QString kHasBeenAborted = QStringLiteral("Download has been aborted.");
const QString kNoLobby = QStringLiteral(
    "Please close the game and open the Brom77 Lobby using the icon on your desktop or using "
    "the your Window's start-up menu.");
const QString kSolo1 = QStringLiteral(
    "To proceed to the game without the ability to play against others click the button below.");
const QString kSolo2 =
    QStringLiteral("Note: Even if you are playing offline, you will need to configure your "
                   "FIREWALL to allow the game to access the internet components.");

const QByteArray kUserAgent = QByteArrayLiteral("Mozilla/3.0 (compatible)");
const QByteArray kAccept =
    QByteArrayLiteral("image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
// The name the installer is saved under when the address names none we trust.
const QString kFallbackName = QStringLiteral("Brom77LobbySetup.exe");
constexpr int kTextColumnWidth = 452;

// The installer's file name: the last part of the address, when it is a
// plain file name; anything that could reach outside the download folder or
// hide the file is replaced by a fixed name.
QString installerFileName(const QUrl& url) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._ ()+-]{0,99}$"));
    const QString name = url.fileName(QUrl::FullyDecoded);
    return plain.match(name).hasMatch() ? name : kFallbackName;
}

// A hand of Hearts with both bowers, fanned, under the logo.
QPixmap lobbyPicture(qreal dpr) {
    const QSize size(210, 190);
    QPixmap pix(size * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(27, 4, art::logo(dpr));
    const int hand[] = {50, 51, 52, 23, 49}; // queen, king, ace of Hearts, both bowers
    const QPointF pivot(105, 250);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(pivot);
        p.rotate(-20 + 10 * i);
        p.translate(-art::kCardWidth / 2.0, -205);
        p.drawPixmap(0, 0, art::card(hand[i], dpr));
        p.restore();
    }
    return pix;
}

QFrame* panel(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 250, 215));
    frame->setPalette(pal);
    return frame;
}

QLabel* text(const QString& words, QWidget* parent, int pixels = 12, bool bold = false) {
    auto* label = new QLabel(words, parent);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    label->setFont(f);
    label->setWordWrap(true);
    return label;
}

QString defaultDownloadFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder;
}

} // namespace

Tdownload::Tdownload(QString settingsPath, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_settingsPath(std::move(settingsPath)),
      m_folder(defaultDownloadFolder()) {
    setObjectName(QStringLiteral("download"));
    setWindowTitle(QStringLiteral("Download The Brom77 Lobby"));
    useTableBackground(this);
    openFolder = [](const QString& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    };
    startProgram = [](const QString& program) { return QProcess::startDetached(program, {}); };
    message = [this](const QString& text) { QMessageBox::information(this, windowTitle(), text); };

    m_manager = new QNetworkAccessManager(this);
    // The installer comes straight from its server.
    m_manager->setProxy(QNetworkProxy::NoProxy);

    // The download panel.
    QFrame* top = panel(this);
    auto* picture = new QLabel(top);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(lobbyPicture(devicePixelRatioF()));

    auto* heading = text(QStringLiteral("Play Euchre with other people"), top, 20, true);
    auto* invitation =
        text(QStringLiteral(
                 "The free Brom77 Lobby is where players meet: see who is online, chat, "
                 "and open a table or join one. The lobby then starts the game for "
                 "everyone at the table. To play with people you know, File > Host... and Join... "
                 "work without it."),
             top, 13);
    auto* where = text(QStringLiteral("The installer is saved in your download folder, and the "
                                      "folder opens when it has arrived. Nothing is installed "
                                      "until you open the installer yourself."),
                       top, 12);
    where->setObjectName(QStringLiteral("label_where"));

    m_get = new QPushButton(QStringLiteral("Download And Install The Brom77 Lobby Now"), top);
    m_get->setObjectName(QStringLiteral("getbutton"));
    m_get->setMinimumHeight(30);
    m_get->setDefault(true);
    connect(m_get, &QPushButton::clicked, this, &Tdownload::getbuttonClick);
    m_abort = new QPushButton(QStringLiteral("Stop Download"), top);
    m_abort->setObjectName(QStringLiteral("abortbutton"));
    m_abort->setMinimumHeight(30);
    m_abort->setEnabled(false);
    connect(m_abort, &QPushButton::clicked, this, &Tdownload::abortbuttonClick);

    m_progress = new QProgressBar(top);
    m_progress->setObjectName(QStringLiteral("progressbar"));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(14);

    m_info = text({}, top, 13, true);
    m_info->setObjectName(QStringLiteral("infolabel"));
    m_info3 = text({}, top, 12);
    m_info3->setObjectName(QStringLiteral("infolabel3"));
    m_info3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_info2 = text({}, top, 12);
    m_info2->setObjectName(QStringLiteral("infolabel2"));
    m_info2->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_get);
    buttons->addWidget(m_abort);
    buttons->addStretch();

    // Wrapped lines get the height they need at the column's width, so the
    // fixed-size window never squeezes a sentence.
    for (QLabel* label : {heading, invitation, where})
        label->setMinimumHeight(label->heightForWidth(kTextColumnWidth));
    m_info3->setMinimumHeight(2 * m_info3->fontMetrics().lineSpacing());

    auto* words = new QVBoxLayout;
    words->setSpacing(6);
    words->addWidget(heading);
    words->addWidget(invitation);
    words->addWidget(where);
    words->addSpacing(4);
    words->addLayout(buttons);
    words->addWidget(m_progress);
    words->addWidget(m_info);
    words->addWidget(m_info3);
    words->addWidget(m_info2);
    words->addStretch();

    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(14, 12, 16, 12);
    topLayout->setSpacing(18);
    topLayout->addWidget(picture, 0, Qt::AlignTop);
    auto* column = new QWidget(top);
    column->setFixedWidth(kTextColumnWidth);
    column->setLayout(words);
    words->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(column);

    // The two ways into a game.
    QFrame* solo = panel(this);
    auto* button1 = new QPushButton(QStringLiteral("Play Solo Game"), solo);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setMinimumHeight(30);
    connect(button1, &QPushButton::clicked, this, &Tdownload::Button1Click);
    auto* soloLayout = new QVBoxLayout(solo);
    soloLayout->setContentsMargins(14, 8, 14, 10);
    soloLayout->setSpacing(4);
    soloLayout->addWidget(text(QStringLiteral("Solo"), solo, 15, true));
    soloLayout->addWidget(text(kSolo1, solo));
    soloLayout->addWidget(text(kSolo2, solo, 11));
    soloLayout->addStretch();
    soloLayout->addWidget(button1, 0, Qt::AlignHCenter);

    QFrame* others = panel(this);
    auto* button2 = new QPushButton(QStringLiteral("Play with Others"), others);
    button2->setObjectName(QStringLiteral("Button2"));
    button2->setMinimumHeight(30);
    connect(button2, &QPushButton::clicked, this, &Tdownload::Button2Click);
    auto* othersLayout = new QVBoxLayout(others);
    othersLayout->setContentsMargins(14, 8, 14, 10);
    othersLayout->setSpacing(4);
    othersLayout->addWidget(text(QStringLiteral("With others"), others, 15, true));
    othersLayout->addWidget(
        text(QStringLiteral("Already have the Brom77 Lobby? Click the button below to close the "
                            "solo game and open the lobby, where the other players are."),
             others));
    othersLayout->addStretch();
    othersLayout->addWidget(button2, 0, Qt::AlignHCenter);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(10);
    solo->setFixedHeight(164);
    others->setFixedHeight(164);
    lower->addWidget(solo, 1);
    lower->addWidget(others, 1);

    m_dontShow = new QCheckBox(QStringLiteral("Do not show this again"), this);
    m_dontShow->setObjectName(QStringLiteral("check_dontshow"));
    m_dontShow->setChecked(!offeredAtStart());
    connect(m_dontShow, &QCheckBox::toggled, this, [this](bool hide) {
        QString error;
        if (!writeHideLobbyDownload(m_settingsPath, hide, &error) && message) message(error);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 6);
    layout->setSpacing(8);
    layout->addWidget(top, 1);
    layout->addLayout(lower);
    layout->addWidget(m_dontShow);
    setFixedSize(724, 500);
}

Tdownload::~Tdownload() {
    // The transfer must not report its end to a window that is going away.
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
    }
}

bool Tdownload::offeredAtStart() const {
    return !readLobbySettings(m_settingsPath).hideDownload;
}

Tdownload::State Tdownload::state() const {
    return m_state;
}

void Tdownload::setState(State state) {
    m_state = state;
}

void Tdownload::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_placed) return;
    m_placed = true;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Tdownload::getbuttonClick() {
    if (m_reply) return;
    const LobbySettings lobby = readLobbySettings(m_settingsPath);
    if (lobby.sha256Unreadable) {
        if (message)
            message(QStringLiteral("The settings file's %1 is not a SHA-256 checksum (64 "
                                   "hexadecimal digits), so the installer could not be checked. "
                                   "Nothing was downloaded.")
                        .arg(QLatin1String(kLobbySha256Key)));
        return;
    }

    setState(Running);
    m_fileName = installerFileName(lobby.downloadUrl);
    m_info2->setText(m_fileName);
    m_saved.clear();

    // Written beside its final name and put in place only when complete and
    // checked, so a stopped, failed or refused download leaves nothing.
    QDir().mkpath(m_folder);
    const QString path = QDir(m_folder).filePath(m_fileName);
    m_file = std::make_unique<SaveFile>(path);
    if (!m_file->open()) {
        const QString reason = m_file->errorString();
        m_file.reset();
        setState(Aborted);
        m_info->setText(kDownloadAborted);
        m_info3->setText(
            QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
        if (message)
            message(QStringLiteral("Unable to write to %1: %2")
                        .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    m_expectedSha256 = lobby.sha256;
    m_hash.reset();
    m_received = 0;
    m_bodyBegun = false;
    m_failure.clear();

    m_get->setEnabled(false);
    m_abort->setEnabled(true);
    m_info->setText(kLoading);
    m_info3->clear();
    m_progress->setRange(0, 0); // busy until the size is known

    QNetworkRequest request(lobby.downloadUrl);
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    request.setRawHeader("Accept", kAccept);
    request.setTransferTimeout(kStallTimeoutMs);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &Tdownload::headersArrived);
    connect(m_reply, &QNetworkReply::readyRead, this, &Tdownload::dataArrived);
    connect(m_reply, &QNetworkReply::finished, this, &Tdownload::transferEnded);
}

void Tdownload::abortbuttonClick() {
    if (!m_reply) return;
    setState(Aborted);
    m_reply->abort(); // ends the transfer at once: transferEnded runs now
    m_info->setText(kHasBeenAborted);
    m_info3->setText(kDownloadAborted);
}

void Tdownload::headersArrived() {
    // One dot for the status line and for each header line.
    m_info->setText(m_info->text() +
                    QString(m_reply->rawHeaderPairs().size() + 1, QLatin1Char('.')));
}

void Tdownload::dataArrived() {
    const QByteArray data = m_reply->readAll();
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // The page a server sends with an error is not the installer.
    if (status < 200 || status > 299 || !m_failure.isEmpty()) return;
    if (!m_bodyBegun) {
        m_bodyBegun = true;
        m_info3->setText(kDownloading + m_fileName);
    }
    if (m_received + data.size() > kMaxInstallerBytes) {
        failWhileRunning(QStringLiteral("The file is larger than any installer (over %1 bytes).")
                             .arg(kMaxInstallerBytes));
        return;
    }
    if (m_file->device().write(data) != data.size()) {
        failWhileRunning(QStringLiteral("Unable to write to %1: %2")
                             .arg(QDir::toNativeSeparators(m_file->path()), m_file->errorString()));
        return;
    }
    m_hash.addData(data);
    m_received += data.size();
    m_info->setText(QString::number(m_received) + kBytes);
    // The bar fills when the server said how much is coming; otherwise it
    // stays busy.
    const qint64 total = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (total > 0) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(static_cast<int>(qMin<qint64>(1000, m_received * 1000 / total)));
    }
}

void Tdownload::failWhileRunning(const QString& reason) {
    m_failure = reason;
    m_reply->abort();
}

void Tdownload::transferEnded() {
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    m_get->setEnabled(true);
    m_abort->setEnabled(false);
    m_progress->setRange(0, 1000);

    if (state() == Aborted) { // "Stop Download": its texts follow
        m_file->cancel();
        m_progress->setValue(0);
        endDownload();
        return;
    }

    QString failure = m_failure;
    if (failure.isEmpty() && reply->error() != QNetworkReply::NoError) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        failure = status >= 400
                      ? QStringLiteral("The server answered %1 %2.").arg(status).arg(phrase)
                      : reply->errorString();
    }
    bool refused = false;
    if (failure.isEmpty() && !m_expectedSha256.isEmpty() &&
        QString::fromLatin1(m_hash.result().toHex()) != m_expectedSha256) {
        failure = QStringLiteral("Refused: the file's SHA-256 differs from %1 in the settings "
                                 "file, so it was deleted.")
                      .arg(QLatin1String(kLobbySha256Key));
        refused = true;
    }
    if (failure.isEmpty() && !m_file->commit())
        failure = QStringLiteral("Unable to write to %1: %2")
                      .arg(QDir::toNativeSeparators(m_file->path()), m_file->errorString());

    if (!failure.isEmpty()) {
        m_file->cancel();
        setState(Aborted);
        m_progress->setValue(0);
        m_info->setText(kDownloadAborted);
        m_info3->setText(failure);
        endDownload();
        // A file that is not the installer it should be deserves more than a line.
        if (refused && message) message(failure);
        return;
    }

    m_saved = m_file->path();
    m_progress->setValue(1000);
    m_info->setText(kReceived + QString::number(QFileInfo(m_saved).size()) + kBytes);
    m_info3->setText(
        QStringLiteral("Saved in your download folder: %1").arg(QDir::toNativeSeparators(m_saved)));
    endDownload();
    if (openFolder) openFolder(m_folder);
}

void Tdownload::endDownload() {
    m_file.reset();
    emit downloadEnded();
}

void Tdownload::Button2Click() {
    const QString lobby = readLobbySettings(m_settingsPath).lobbyPath;
    if (!lobby.isEmpty() && QFileInfo(lobby).isFile() && startProgram && startProgram(lobby)) {
        emit exitRequested();
        return;
    }
    if (message) message(kNoLobby);
}

} // namespace euchre
