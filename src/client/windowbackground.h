// The small windows' background: the table window's tiled picture.
#pragma once

class QWidget;

namespace euchre {

// Fills the window's background with the table's background tile, painted
// for the window's pixel ratio, and keeps its text black on that tile.
void useTableBackground(QWidget* window);

} // namespace euchre
