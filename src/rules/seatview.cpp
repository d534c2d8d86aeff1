// The one way to a seat's view of a table.
#include "rules/seatview.h"

namespace euchre::rules {

int SeatView::loner() const {
    for (int s = 1; s <= kSeats; ++s)
        if (m_table->alone[s]) return s;
    return 0;
}

SeatView seatView(const Table& table, int seat) {
    return SeatView(table, isSeat(seat) ? seat : 0);
}

} // namespace euchre::rules
