// The tally file on disk: read through a private scratch file, replaced
// whole or not at all.
#pragma once

#include "tally/tallygrid.h"

#include <QString>

namespace euchre {

inline constexpr char tallyFileName[] = "Euchretally.tld";

// What the player is told when a file unpacks but holds no tally grid.
QString notATallyText(const QString& fileName);

// Unpacks the file and reads its grid. Throws ELzrw1 with the coder's text,
// or with notATallyText when the unpacked text is no tally grid.
TallyGrid readTallyFile(const QString& fileName);

// Packs the grid into the file, replacing it only once the new one is
// complete. Throws ELzrw1 on failure; the old file is then untouched.
void writeTallyFile(const TallyGrid& grid, const QString& fileName);

} // namespace euchre
