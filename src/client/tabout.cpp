// The about window: the program's name and version, credits, the year, a
// picture of the two bowers and the link to the maker's web site.
#include "client/tabout.h"

#include "client/artwork.h"
#include "client/windowbackground.h"
#include "net/commands.h"

#include <QDate>
#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace euchre {

namespace {

// The version's last part, shown after the version the game sends at login.
const char kBuild[] = ".3";
constexpr int kRightBowerOfHearts = 49;
constexpr int kLeftBowerOfHearts = 23;

// The logo above the two bowers of Hearts, fanned.
QPixmap aboutPicture(qreal dpr) {
    const QSize size(160, 150);
    QPixmap pix(size * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPixmap(2, 0, art::logo(dpr));
    const QPixmap left = art::card(kLeftBowerOfHearts, dpr);
    const QPixmap right = art::card(kRightBowerOfHearts, dpr);
    p.save();
    p.translate(22, 58);
    p.rotate(-12);
    p.drawPixmap(0, 0, left);
    p.restore();
    p.save();
    p.translate(76, 44);
    p.rotate(10);
    p.drawPixmap(0, 0, right);
    p.restore();
    return pix;
}

QLabel* line(const QString& text, QWidget* parent, int pixels = 11, bool bold = false) {
    auto* label = new QLabel(text, parent);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

} // namespace

QUrl makerWebSite() {
    return QUrl(QStringLiteral("http://www.brom77.com/"));
}

Tabout::Tabout(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("Euchre - About"));
    useTableBackground(this);
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(aboutPicture(devicePixelRatioF()));
    m_image->setCursor(Qt::PointingHandCursor);
    m_image->setToolTip(QStringLiteral("Click to close"));
    m_image->installEventFilter(this);

    auto* title = line(QStringLiteral("Euchre"), this, 22, true);
    title->setObjectName(QStringLiteral("Label1"));

    auto* versionRow = new QHBoxLayout;
    versionRow->setSpacing(0);
    auto* versionWord = line(QStringLiteral("Version "), this, 12);
    auto* version = line(QLatin1String(kGameVersion), this, 12, true);
    version->setObjectName(QStringLiteral("version"));
    auto* build = line(QLatin1String(kBuild), this, 12, true);
    build->setObjectName(QStringLiteral("Label2"));
    versionRow->addWidget(versionWord);
    versionRow->addWidget(version);
    versionRow->addWidget(build);
    versionRow->addStretch();

    auto* credits = line(QStringLiteral("The partnership card game for four, with right and left "
                                        "bowers, ordering up and going alone.\n\n"
                                        "Table, computer players, artwork and sounds\n"
                                        "by the Euchre developers."),
                         this);
    credits->setObjectName(QStringLiteral("Label3"));
    credits->setWordWrap(true);

    auto* yearRow = new QHBoxLayout;
    yearRow->setSpacing(0);
    auto* copyright = line(QStringLiteral("Copyright \u00A9 "), this);
    auto* year = line(QString::number(QDate::currentDate().year()), this);
    year->setObjectName(QStringLiteral("label_year"));
    yearRow->addWidget(copyright);
    yearRow->addWidget(year);
    yearRow->addWidget(line(QStringLiteral(" the Euchre developers"), this));
    yearRow->addStretch();

    auto* link = line(QStringLiteral("<a href=\"%1\">%2</a>")
                          .arg(makerWebSite().toString(), makerWebSite().host()),
                      this, 12);
    link->setObjectName(QStringLiteral("Label7"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &QLabel::linkActivated, this, [this] { Label7Click(); });

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Button1"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Tabout::Button1Click);

    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(title);
    text->addLayout(versionRow);
    text->addSpacing(8);
    text->addWidget(credits);
    text->addSpacing(8);
    text->addLayout(yearRow);
    text->addWidget(link);
    text->addStretch();
    text->addWidget(done, 0, Qt::AlignRight);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(14);
    layout->addWidget(m_image, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    credits->setMinimumHeight(credits->heightForWidth(230));
    setFixedSize(430, 250);
}

void Tabout::Label7Click() {
    if (openUrl) openUrl(makerWebSite());
}

bool Tabout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_image && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Image1Click();
    return QWidget::eventFilter(watched, event);
}

} // namespace euchre
