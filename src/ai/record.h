// What happened in the current deal, kept from the rules core's events, and
// the information view of one seat built from it and the table.
#pragma once

#include "ai/infoview.h"
#include "rules/game.h"
#include "rules/table.h"

namespace euchre::ai {

class DealRecord {
public:
    // Takes in one step: the table as it was before the step and the
    // events the step reported.
    void observe(const rules::Table& before, const rules::Events& events);

    // The view of one seat: the public record, that seat's own hand and,
    // for the dealer only, its own discard. Nothing of another hand.
    InfoView viewFor(const rules::Table& table, int seat) const;

private:
    InfoView m_public;
    int m_discard = 0; // the dealer's discard, shown only to the dealer
};

} // namespace euchre::ai
