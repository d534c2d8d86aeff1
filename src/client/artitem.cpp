// Picture items and picture buttons, painted from the artwork at the pixel
// ratio of the device they are drawn on.
#include "client/artitem.h"

#include "client/artwork.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace euchre {

namespace {

// A picture as a screen reader sees it: a card or a bubble is a button its
// press action presses; a mark is a graphic. An empty item is not there.
class ArtItemAccessible : public QAccessibleWidget {
public:
    explicit ArtItemAccessible(ArtItem* item)
        : QAccessibleWidget(item, item->clickable() ? QAccessible::Button : QAccessible::Graphic) {}
    ArtItem* item() const { return static_cast<ArtItem*>(widget()); }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (!item()->hasArt()) s.invisible = true;
        return s;
    }
    QStringList actionNames() const override {
        return item()->clickable() && item()->hasArt() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && item()->clickable() && item()->hasArt())
            emit item()->pressed(Qt::LeftButton);
    }
};

QAccessibleInterface* artItemAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("euchre::ArtItem") && object && object->isWidgetType())
        return new ArtItemAccessible(static_cast<ArtItem*>(object));
    return nullptr;
}

} // namespace

ArtItem::ArtItem(QWidget* parent, const QString& name, QRect where, bool clickable)
    : QWidget(parent), m_clickable(clickable) {
    static const bool installed = [] {
        QAccessible::installFactory(artItemAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(name);
    setGeometry(where);
    // Marks and played cards let clicks through to the table below them.
    if (clickable) {
        setCursor(Qt::PointingHandCursor);
        // A click on a card or a bubble gives the table the keyboard.
        setFocusPolicy(Qt::ClickFocus);
        setFocusProxy(parent);
    } else
        setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ArtItem::setArt(Art art) {
    m_art = std::move(art);
    update();
}

void ArtItem::setHighlighted(bool on) {
    if (m_highlighted == on) return;
    m_highlighted = on;
    update();
}

void ArtItem::setScale(qreal scale) {
    if (m_scale == scale) return;
    m_scale = scale;
    update();
}

void ArtItem::paintEvent(QPaintEvent*) {
    if (!m_art && !m_highlighted) return;
    QPainter p(this);
    // Drawn in table pixels; the picture is painted for the scale, so one of
    // its pixels is one of the screen's.
    p.scale(m_scale, m_scale);
    if (m_art) p.drawPixmap(0, 0, m_art(p.device()->devicePixelRatioF() * m_scale));
    if (m_highlighted) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 200, 0), 3));
        const QRectF area(0, 0, width() / m_scale, height() / m_scale);
        p.drawRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    }
}

void ArtItem::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed(event->button());
}

PictureButton::PictureButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFixedSize(kSize);
}

void PictureButton::setScale(qreal scale) {
    m_scale = scale;
    m_size = QSize(qRound(kSize.width() * scale), qRound(kSize.height() * scale));
    setFixedSize(m_size);
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45);
    p.scale(m_scale, m_scale);
    p.drawPixmap(0, 0,
                 art::pictureButton(text(), isDown(), p.device()->devicePixelRatioF() * m_scale));
    if (hasFocus() || isDefault()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 40, 40, hasFocus() ? 200 : 90), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(QPointF(), QSizeF(kSize)).adjusted(3.5, 3.5, -3.5, -3.5), 3, 3);
    }
}

} // namespace euchre
