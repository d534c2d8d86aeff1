// The words for the house rules, each written once.
#include "client/houserules.h"

#include <QStringList>

namespace euchre {

namespace {

// Each rule in force: its name on the score card and in the chat log's sentence.
struct Wording {
    QString line;
    QString notice;
};

QList<Wording> wordings(const rules::Ruleset& r) {
    QList<Wording> out;
    if (r.stickTheDealer)
        out.append({QStringLiteral("stick the dealer"), QStringLiteral("stick the dealer")});
    if (r.canadian)
        out.append({QStringLiteral("Canadian loner"),
                    QStringLiteral("the dealer's partner who orders it up plays alone")});
    if (r.lonerLead == rules::LonerLead::LeftOfLoner)
        out.append({QStringLiteral("loner's left leads"),
                    QStringLiteral("the player left of a loner leads")});
    if (r.lonerMarchScore != rules::Ruleset{}.lonerMarchScore)
        out.append({QStringLiteral("lone march %1").arg(r.lonerMarchScore),
                    QStringLiteral("a lone march scores %1").arg(r.lonerMarchScore)});
    return out;
}

} // namespace

QString houseRulesLine(const rules::Ruleset& rules) {
    QStringList parts;
    for (const Wording& w : wordings(rules)) parts.append(w.line);
    QString line = parts.join(QStringLiteral(", "));
    if (!line.isEmpty()) line[0] = line[0].toUpper();
    return line;
}

QString houseRulesNotice(const rules::Ruleset& rules) {
    QStringList parts;
    for (const Wording& w : wordings(rules)) parts.append(w.notice);
    if (parts.isEmpty()) return {};
    // No colon: the chat log would read the words before one as a speaker's name.
    return QStringLiteral("This game is played by house rules (") +
           parts.join(QStringLiteral("; ")) + QStringLiteral(").");
}

rules::Ruleset readRuleset(QByteArrayView text) {
    return rules::parseRuleset(std::string_view(text.data(), std::size_t(text.size())))
        .value_or(rules::Ruleset{});
}

} // namespace euchre
