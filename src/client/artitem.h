// Picture items of the table: a widget that paints one of the table's
// pictures at the screen's pixel ratio, and the picture buttons.
#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>

namespace euchre {

// One picture on the table (a card, the backs of a hand, a bubble, a mark).
// It paints from the artwork on every paint, at the pixel ratio of the
// screen it is on, so it is sharp at any scale and after moving screens.
// It also carries the number the table's handlers keep on it (a card
// number, a bubble code, a count).
class ArtItem : public QWidget {
    Q_OBJECT
public:
    using Art = std::function<QPixmap(qreal dpr)>;

    explicit ArtItem(QWidget* parent, const QString& name, QRect where, bool clickable = false);
    // A card or a bubble: a screen reader offers it as a button to press.
    bool clickable() const { return m_clickable; }

    // The picture to show; an empty one clears the item.
    void setArt(Art art);
    void clearArt() { setArt({}); }
    bool hasArt() const { return static_cast<bool>(m_art); }

    int number() const { return m_number; }
    void setNumber(int n) { m_number = n; }

    // A keyboard highlight drawn round the picture.
    void setHighlighted(bool on);
    bool highlighted() const { return m_highlighted; }

    // The table's scale: the picture is painted that much larger.
    void setScale(qreal scale);

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Art m_art;
    qreal m_scale = 1.0;
    bool m_clickable = false;
    int m_number = 0;
    bool m_highlighted = false;
};

// A picture button of the table ("Start Game", "Last Trick", "Score Card"):
// a push button, so it can be a window's default button, painted from the
// artwork.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QString& text, QWidget* parent);
    QSize sizeHint() const override { return m_size; }
    void setScale(qreal scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr QSize kSize{91, 28};
    QSize m_size = kSize;
    qreal m_scale = 1.0;
};

} // namespace euchre
