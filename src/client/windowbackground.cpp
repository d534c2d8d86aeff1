// The small windows' background: the table window's tiled picture.
#include "client/windowbackground.h"

#include "client/artwork.h"
#include "client/tableboard.h"

#include <QBrush>
#include <QPalette>
#include <QWidget>

namespace euchre {

void useTableBackground(QWidget* window) {
    QPalette pal = window->palette();
    QBrush tile(kWindowColour);
    tile.setTexture(art::backgroundTile(window->devicePixelRatioF()));
    pal.setBrush(QPalette::Window, tile);
    pal.setColor(QPalette::WindowText, Qt::black);
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

} // namespace euchre
