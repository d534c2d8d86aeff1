// The written form of the house rules: read strictly, written in one order.
#include "rules/ruleset.h"

namespace euchre::rules {

namespace {

enum class Key { Stick, Canadian, LonerLead, LonerMarch };

struct KeyName {
    Key key;
    std::string_view name;
};

// Also the order rulesetText writes them in.
constexpr KeyName kKeys[] = {{Key::Stick, "std"},
                             {Key::Canadian, "canadian"},
                             {Key::LonerLead, "loner_lead"},
                             {Key::LonerMarch, "loner_march_score"}};

constexpr std::string_view kLeftOfDealer = "LEFT_OF_DEALER";
constexpr std::string_view kLeftOfLoner = "LEFT_OF_LONER";

std::optional<bool> readFlag(std::string_view value) {
    if (value == "1" || value == "true") return true;
    if (value == "0" || value == "false") return false;
    return std::nullopt;
}

// Sets one key from its value text; false when the value is not one it takes.
bool apply(Key key, std::string_view value, Ruleset& rules) {
    switch (key) {
    case Key::Stick:
    case Key::Canadian: {
        const std::optional<bool> flag = readFlag(value);
        if (!flag) return false;
        (key == Key::Stick ? rules.stickTheDealer : rules.canadian) = *flag;
        return true;
    }
    case Key::LonerLead:
        if (value == kLeftOfDealer)
            rules.lonerLead = LonerLead::LeftOfDealer;
        else if (value == kLeftOfLoner)
            rules.lonerLead = LonerLead::LeftOfLoner;
        else
            return false;
        return true;
    case Key::LonerMarch:
        if (value.size() != 1 || value[0] < '3' || value[0] > '5') return false;
        rules.lonerMarchScore = value[0] - '0';
        return true;
    }
    return false;
}

} // namespace

std::optional<Ruleset> parseRuleset(std::string_view text, std::string_view* bad) {
    auto refuse = [&](std::string_view item) -> std::optional<Ruleset> {
        if (bad) *bad = item;
        return std::nullopt;
    };
    Ruleset rules;
    if (text.empty()) return rules;
    if (text.size() > kMaxRulesetText) return refuse(text);
    unsigned seen = 0;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = text.substr(from, comma - from);
        from = comma + 1;
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos) return refuse(item);
        const std::string_view name = item.substr(0, eq);
        const std::string_view value = item.substr(eq + 1);
        const KeyName* known = nullptr;
        for (const KeyName& k : kKeys)
            if (k.name == name) known = &k;
        const unsigned bit = known ? 1u << unsigned(known->key) : 0;
        if (!known || (seen & bit) || !apply(known->key, value, rules)) return refuse(item);
        seen |= bit;
    }
    return rules;
}

std::string rulesetText(const Ruleset& rules) {
    const Ruleset plain;
    std::string text;
    auto add = [&](std::string_view name, std::string_view value) {
        if (!text.empty()) text += ',';
        text.append(name).append("=").append(value);
    };
    if (rules.stickTheDealer != plain.stickTheDealer) add(kKeys[0].name, "1");
    if (rules.canadian != plain.canadian) add(kKeys[1].name, "1");
    if (rules.lonerLead != plain.lonerLead) add(kKeys[2].name, kLeftOfLoner);
    if (rules.lonerMarchScore != plain.lonerMarchScore)
        add(kKeys[3].name, std::string(1, char('0' + rules.lonerMarchScore)));
    return text;
}

} // namespace euchre::rules
