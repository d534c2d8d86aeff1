// The help window: a side panel of topic buttons with About and Done, and a
// page per topic under a heading, read from the pages the program carries.
#include "client/thelp.h"

#include "client/windowbackground.h"
#include "net/commands.h"

#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

// Outside any namespace, as the resource system requires.
static void initHelpQrc() {
    Q_INIT_RESOURCE(help);
}

namespace euchre {

namespace {

// Links between pages and to the download window.
const QString kTopicScheme = QStringLiteral("topic");
const QString kDownloadLink = QStringLiteral("euchre:download");

// One look for every page.
const QString kPageStyle =
    QStringLiteral("h2 { color: #1c5630; font-size: 12pt; margin-top: 2px; margin-bottom: 6px; }"
                   "h3 { color: #655332; font-size: 9pt; margin-top: 10px; margin-bottom: 3px; }"
                   "p, li { margin-top: 2px; margin-bottom: 3px; }"
                   "pre { background-color: #f2f2e6; }"
                   "th { background-color: #f4f5d6; }"
                   "a { color: #2b4f8f; }");

QString readPage(const char* path) {
    QFile file{QString::fromLatin1(path)};
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

void initHelpResources() {
    static const bool done = (initHelpQrc(), true);
    Q_UNUSED(done);
}

const Thelp::Topic Thelp::kTopics[7] = {
    {1, "Overview", ":/help/overview.html"},
    {2, "Connecting", ":/help/connecting.html"},
    {3, "Game Play", ":/help/gameplay.html"},
    {4, "Scoring", ":/help/scoring.html"},
    {5, "Documentation", ":/help/documentation.html"},
    {6, "License", ":/help/license.html"},
    {11, "Lobby", ":/help/lobby.html"},
};

Thelp::Thelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    initHelpResources();
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QStringLiteral("Euchre - Help File"));
    useTableBackground(this);
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    QFont base(QStringLiteral("Arial"));
    base.setPixelSize(11);
    setFont(base);

    // The side panel.
    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    auto* topics = new QLabel(QStringLiteral("Topics"), this);
    QFont bold = base;
    bold.setBold(true);
    bold.setPixelSize(13);
    topics->setFont(bold);
    side->addWidget(topics);
    for (const Topic& t : kTopics) {
        auto* button = new QPushButton(QLatin1String(t.caption), this);
        button->setObjectName(QStringLiteral("SelButton%1").arg(t.tag));
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumHeight(24);
        // The button of the page on top stays pressed.
        button->setCheckable(true);
        button->setAutoExclusive(true);
        connect(button, &QPushButton::clicked, this, [this, tag = t.tag] { SelButton1Click(tag); });
        side->addWidget(button);
    }
    side->addSpacing(10);
    auto* about = new QPushButton(QStringLiteral("About"), this);
    about->setObjectName(QStringLiteral("button_about"));
    connect(about, &QPushButton::clicked, this, &Thelp::button_aboutClick);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("button_done"));
    connect(done, &QPushButton::clicked, this, &Thelp::button_doneClick);
    side->addWidget(about);
    side->addWidget(done);
    side->addStretch();
    auto* credits = new QLabel(
        QStringLiteral("Euchre %1\nby the Euchre\ndevelopers").arg(QLatin1String(kGameVersion)),
        this);
    credits->setObjectName(QStringLiteral("Label1"));
    credits->setAlignment(Qt::AlignCenter);
    side->addWidget(credits);
    auto* year = new QLabel(QString::number(QDate::currentDate().year()), this);
    year->setObjectName(QStringLiteral("label_year"));
    year->setAlignment(Qt::AlignCenter);
    side->addWidget(year);

    // The main panel: the heading over the pages, all in one place.
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("label_caption"));
    QFont heading = base;
    heading.setBold(true);
    heading.setPixelSize(16);
    m_caption->setFont(heading);

    m_pages = new QStackedWidget(this);
    QFont pageFont(QStringLiteral("Arial"));
    pageFont.setPointSize(8);
    for (const Topic& t : kTopics) {
        auto* memo = new QTextBrowser(m_pages);
        memo->setObjectName(QStringLiteral("memo%1").arg(t.tag));
        memo->setFont(pageFont);
        QPalette pal = memo->palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        memo->setPalette(pal);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setOpenLinks(false);
        memo->document()->setDefaultStyleSheet(kPageStyle);
        memo->document()->setDocumentMargin(8);
        memo->setHtml(readPage(t.page));
        connect(memo, &QTextBrowser::anchorClicked, this, &Thelp::followLink);
        m_pages->addWidget(memo);
    }

    auto* main = new QVBoxLayout;
    main->setSpacing(4);
    main->addWidget(m_caption);
    main->addWidget(m_pages, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addLayout(side);
    layout->addLayout(main, 1);
    setFixedSize(510, 443);

    showTopic(kTopics[0].tag);
}

void Thelp::SelButton1Click(int tag) {
    const auto topic = std::find_if(std::begin(kTopics), std::end(kTopics),
                                    [tag](const Topic& t) { return t.tag == tag; });
    auto* button = findChild<QPushButton*>(QStringLiteral("SelButton%1").arg(tag));
    QTextBrowser* memo = page(tag);
    if (topic == std::end(kTopics) || !button || !memo) return;
    m_topic = tag;
    m_pages->setCurrentWidget(memo);
    m_caption->setText(QLatin1String(topic->caption));
    button->setChecked(true);
}

QTextBrowser* Thelp::page(int tag) const {
    return m_pages->findChild<QTextBrowser*>(QStringLiteral("memo%1").arg(tag));
}

void Thelp::followLink(const QUrl& url) {
    if (url.scheme() == kTopicScheme)
        showTopic(url.path().toInt());
    else if (url.toString() == kDownloadLink)
        emit lobbyDownloadRequested();
    else if (openUrl)
        openUrl(url);
}

} // namespace euchre
