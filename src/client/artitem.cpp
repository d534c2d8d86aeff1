// Picture items and picture buttons, painted from the artwork at the pixel
// ratio of the device they are drawn on.
#include "client/artitem.h"

#include "client/artwork.h"

#include <QMouseEvent>
#include <QPainter>

namespace euchre {

ArtItem::ArtItem(QWidget* parent, const QString& name, QRect where, bool clickable)
    : QWidget(parent) {
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

void ArtItem::paintEvent(QPaintEvent*) {
    if (!m_art && !m_highlighted) return;
    QPainter p(this);
    if (m_art) p.drawPixmap(0, 0, m_art(p.device()->devicePixelRatioF()));
    if (m_highlighted) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 200, 0), 3));
        p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    }
}

void ArtItem::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed(event->button());
}

PictureButton::PictureButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCursor(Qt::PointingHandCursor);
    setFixedSize(91, 28);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45);
    p.drawPixmap(0, 0, art::pictureButton(text(), isDown(), p.device()->devicePixelRatioF()));
    if (hasFocus() || isDefault()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 40, 40, hasFocus() ? 200 : 90), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 3, 3);
    }
}

} // namespace euchre
