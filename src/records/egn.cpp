// The notation's text: written in one fixed shape, read field by field with
// every value checked before it is used.
#include "records/egn.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace euchre::records {

namespace {

const QString kFileType = QStringLiteral("Euchre Game Notation");
const QString kVersion = QStringLiteral("1.6");
const QString kBidding = QStringLiteral("EUCHRE_BIDDING");
const QString kTrickPlay = QStringLiteral("TRICK_PLAY");
const QString kPass = QStringLiteral("Pass");
const QString kOrder = QStringLiteral("Order");
const QString kLeftOfDealer = QStringLiteral("LEFT_OF_DEALER");
const QString kLeftOfLoner = QStringLiteral("LEFT_OF_LONER");

constexpr char kRankLetters[] = "9TJQKA"; // ranks 8 (nine) .. 13 (ace)
constexpr char kSuitLetters[] = "cdsh";   // suits 1 .. 4
constexpr int kMaxDeals = 100;
constexpr int kMaxNotes = 50;
constexpr int kMaxCalls = 8; // twice round the table
constexpr int kMaxPlays = 20;
constexpr int kMaxScore = 1000;

QString suitLetter(int suit) {
    return suit >= 1 && suit <= 4 ? QString(QLatin1Char(kSuitLetters[suit - 1])) : QString();
}

// --------------------------------------------------------------- writing

QJsonArray cardList(const DealtHand& hand) {
    QJsonArray list;
    for (const int card : hand) list.append(card ? cardText(card) : QStringLiteral("Xx"));
    return list;
}

QJsonObject notesObject(const Notes& notes) {
    QJsonObject out;
    for (const auto& [index, lines] : notes)
        out.insert(QString::number(index), QJsonArray::fromStringList(lines));
    return out;
}

QString callText(const Call& call) {
    switch (call.kind) {
    case Call::Pass:
        return kPass;
    case Call::Order:
        return kOrder;
    case Call::Name:
        return suitLetter(call.suit);
    }
    return kPass;
}

QJsonObject dealObject(const DealRecord& deal, int number) {
    QJsonObject initial;
    initial.insert(QStringLiteral("dealer"), deal.dealer - 1);
    initial.insert(QStringLiteral("upCard"), cardText(deal.upCard));
    if (deal.handsGiven) {
        QJsonArray hands;
        for (int seat = 1; seat <= kSeats; ++seat) hands.append(cardList(deal.hands[seat]));
        initial.insert(QStringLiteral("playerCards"), hands);
    }
    QJsonArray phases;
    if (deal.hasBidding) {
        QJsonObject bidding;
        bidding.insert(QStringLiteral("type"), kBidding);
        QJsonArray calls;
        for (const Call& call : deal.calls) calls.append(callText(call));
        bidding.insert(QStringLiteral("calls"), calls);
        bidding.insert(QStringLiteral("isAlone"), deal.alone);
        if (deal.discard) bidding.insert(QStringLiteral("discard"), cardText(deal.discard));
        if (!deal.callNotes.empty())
            bidding.insert(QStringLiteral("callAnnotations"), notesObject(deal.callNotes));
        phases.append(bidding);
    }
    if (deal.hasPlay) {
        QJsonObject play;
        play.insert(QStringLiteral("type"), kTrickPlay);
        QJsonArray tricks;
        for (const std::vector<int>& trick : deal.tricks) {
            QJsonArray cards;
            for (const int card : trick) cards.append(cardText(card));
            tricks.append(cards);
        }
        play.insert(QStringLiteral("tricks"), tricks);
        play.insert(QStringLiteral("isAlone"), deal.alone);
        if (!deal.playNotes.empty())
            play.insert(QStringLiteral("playAnnotations"), notesObject(deal.playNotes));
        phases.append(play);
    }
    QJsonObject out;
    out.insert(QStringLiteral("dealNumber"), number);
    out.insert(QStringLiteral("initialState"), initial);
    out.insert(QStringLiteral("phases"), phases);
    return out;
}

QJsonObject rulesetObject(const GameRecord& record) {
    QJsonObject rules;
    rules.insert(QStringLiteral("std"), record.rules.stickTheDealer);
    rules.insert(QStringLiteral("canadian"), record.rules.canadian);
    rules.insert(QStringLiteral("loner_lead"),
                 record.rules.lonerLead == rules::LonerLead::LeftOfLoner ? kLeftOfLoner
                                                                         : kLeftOfDealer);
    rules.insert(QStringLiteral("loner_march_score"), record.rules.lonerMarchScore);
    // The notation takes one way of ending a game.
    if (record.numDeals > 0)
        rules.insert(QStringLiteral("num_deals"), record.numDeals);
    else
        rules.insert(QStringLiteral("winning_score"), record.winningScore);
    return rules;
}

// --------------------------------------------------------------- reading

// Reads one record, keeping the first fault and where it was found.
class Reader {
public:
    QString error;

    bool fail(const QString& where, const QString& why) {
        if (error.isEmpty()) error = where.isEmpty() ? why : where + QStringLiteral(": ") + why;
        return false;
    }

    // Refuses any key the object may not hold.
    bool onlyKeys(const QJsonObject& object, std::initializer_list<const char*> allowed,
                  const QString& where) {
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool known = false;
            for (const char* key : allowed) known = known || it.key() == QLatin1String(key);
            if (!known)
                return fail(where, QStringLiteral("unknown field \"%1\"").arg(it.key().left(40)));
        }
        return true;
    }

    std::optional<int> integer(const QJsonValue& value, int low, int high, const QString& where) {
        if (!value.isDouble()) return fail(where, QStringLiteral("not a number")), std::nullopt;
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::floor(d) != d)
            return fail(where, QStringLiteral("not a whole number")), std::nullopt;
        if (d < low || d > high)
            return fail(where, QStringLiteral("%1 is outside %2 to %3").arg(d).arg(low).arg(high)),
                   std::nullopt;
        return int(d);
    }

    std::optional<bool> boolean(const QJsonValue& value, const QString& where) {
        if (!value.isBool()) return fail(where, QStringLiteral("not true or false")), std::nullopt;
        return value.toBool();
    }

    std::optional<QString> text(const QJsonValue& value, int maxLength, const QString& where) {
        if (!value.isString()) return fail(where, QStringLiteral("not a text")), std::nullopt;
        const QString s = value.toString();
        if (s.size() > maxLength)
            return fail(where, QStringLiteral("longer than %1 characters").arg(maxLength)),
                   std::nullopt;
        return s;
    }

    std::optional<QJsonArray> array(const QJsonValue& value, int maxItems, const QString& where) {
        if (!value.isArray()) return fail(where, QStringLiteral("not a list")), std::nullopt;
        const QJsonArray a = value.toArray();
        if (a.size() > maxItems)
            return fail(where, QStringLiteral("more than %1 entries").arg(maxItems)), std::nullopt;
        return a;
    }

    // A card of the 24 dealt; "R" and "L" are the bowers once trump is known.
    // An unknown card ("Xx") is 0 where `unknownAllowed`.
    std::optional<int> card(const QJsonValue& value, int trump, bool unknownAllowed,
                            const QString& where) {
        if (!value.isString()) return fail(where, QStringLiteral("not a card")), std::nullopt;
        const QString s = value.toString();
        if (s == QLatin1String("R") || s == QLatin1String("L")) {
            if (!trump)
                return fail(where, QStringLiteral("a bower before trump is made")), std::nullopt;
            return s == QLatin1String("R") ? rightBower(trump) : leftBowerOf(trump);
        }
        if (s == QLatin1String("Xx") && unknownAllowed) return 0;
        if (s.size() != 2)
            return fail(where, QStringLiteral("\"%1\" is not a card").arg(s.left(8))), std::nullopt;
        const char rankChar = s[0].toLatin1() == 'N' ? '9' : s[0].toLatin1();
        const char suitChar = s[1].toLower().toLatin1();
        const char* rank = rankChar ? std::strchr(kRankLetters, rankChar) : nullptr;
        const char* suit = suitChar ? std::strchr(kSuitLetters, suitChar) : nullptr;
        if (!rank || !suit) {
            // The notation's other cards name decks and suits this game does not use.
            return fail(where, QStringLiteral("\"%1\" is not a card of the 24 played here").arg(s)),
                   std::nullopt;
        }
        return makeCard(int(suit - kSuitLetters) + 1, int(rank - kRankLetters) + 8);
    }

    std::optional<Notes> notes(const QJsonValue& value, int count, const QString& where) {
        if (!value.isObject()) return fail(where, QStringLiteral("not an object")), std::nullopt;
        const QJsonObject object = value.toObject();
        Notes out;
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool ok = false;
            const QString key = it.key();
            const int index = key.size() <= 3 ? key.toInt(&ok) : -1;
            const bool digits = !key.isEmpty() && std::all_of(key.begin(), key.end(), [](QChar c) {
                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
            });
            if (!ok || !digits || index < 0 || index >= count)
                return fail(where, QStringLiteral("no move \"%1\" to remark on").arg(key.left(8))),
                       std::nullopt;
            const QString at = where + QStringLiteral(" ") + key;
            const std::optional<QJsonArray> lines = array(it.value(), kMaxNotes, at);
            if (!lines) return std::nullopt;
            QStringList list;
            for (const QJsonValue& line : *lines) {
                const std::optional<QString> s = text(line, 1024, at);
                if (!s) return std::nullopt;
                list.append(*s);
            }
            out[index] = list;
        }
        return out;
    }

    bool ruleset(const QJsonValue& value, GameRecord& record) {
        const QString where = QStringLiteral("ruleset");
        if (!value.isObject()) return fail(where, QStringLiteral("not an object"));
        const QJsonObject o = value.toObject();
        if (!onlyKeys(o,
                      {"std", "min_rank", "winning_score", "num_deals", "canadian", "loner_lead",
                       "loner_march_score", "loner_euchred_score", "defend_alone", "farmers",
                       "partners_best", "go_under", "joker", "num_players", "allow_no_trump",
                       "fast_break", "four_trick_tokens"},
                      where))
            return false;
        // The notation's defaults where a key is left out.
        record.rules = rules::Ruleset{};
        record.rules.stickTheDealer = true;
        const auto flag = [&](const char* key, bool& into) {
            if (!o.contains(QLatin1String(key))) return true;
            const std::optional<bool> b =
                boolean(o.value(QLatin1String(key)), where + QLatin1Char(' ') + QLatin1String(key));
            if (b) into = *b;
            return b.has_value();
        };
        if (!flag("std", record.rules.stickTheDealer) || !flag("canadian", record.rules.canadian))
            return false;
        // Rules this game does not play may only be named with the value that leaves them out.
        for (const char* key : {"defend_alone", "farmers", "partners_best", "go_under", "joker",
                                "allow_no_trump", "fast_break", "four_trick_tokens"}) {
            bool on = false;
            if (!flag(key, on)) return false;
            if (on)
                return fail(where, QStringLiteral("%1 is not played here").arg(QLatin1String(key)));
        }
        const auto number = [&](const char* key, int low, int high,
                                int fallback) -> std::optional<int> {
            if (!o.contains(QLatin1String(key))) return fallback;
            return integer(o.value(QLatin1String(key)), low, high,
                           where + QLatin1Char(' ') + QLatin1String(key));
        };
        const std::optional<int> minRank = number("min_rank", 9, 9, 9);
        const std::optional<int> players = number("num_players", 4, 4, 4);
        const std::optional<int> lonerEuchred = number("loner_euchred_score", 2, 2, 2);
        const std::optional<int> march = number("loner_march_score", 3, 5, 4);
        const std::optional<int> winning = number("winning_score", 0, kMaxScore, 10);
        const std::optional<int> deals = number("num_deals", 0, kMaxDeals, 0);
        if (!minRank || !players || !lonerEuchred || !march || !winning || !deals) return false;
        record.rules.lonerMarchScore = *march;
        const bool bothGiven =
            o.contains(QLatin1String("winning_score")) && o.contains(QLatin1String("num_deals"));
        if (bothGiven) return fail(where, QStringLiteral("both winning_score and num_deals"));
        if (*deals > 0) {
            record.numDeals = *deals;
            record.winningScore = 0;
        } else if (*winning == 0) {
            return fail(where, QStringLiteral("no winning score and no number of deals"));
        } else {
            record.winningScore = *winning;
            record.numDeals = 0;
        }
        if (o.contains(QLatin1String("loner_lead"))) {
            const std::optional<QString> lead = text(o.value(QLatin1String("loner_lead")), 20,
                                                     where + QStringLiteral(" loner_lead"));
            if (!lead) return false;
            if (*lead == kLeftOfLoner)
                record.rules.lonerLead = rules::LonerLead::LeftOfLoner;
            else if (*lead != kLeftOfDealer)
                return fail(where, QStringLiteral("loner_lead \"%1\" is unknown").arg(*lead));
        }
        return true;
    }

    bool metadata(const QJsonValue& value, GameRecord& record) {
        const QString where = QStringLiteral("metadata");
        if (!value.isObject()) return fail(where, QStringLiteral("not an object"));
        const QJsonObject o = value.toObject();
        if (!onlyKeys(o,
                      {"gameId", "title", "description", "players", "teamNames", "initialScore",
                       "finalScore", "date", "ruleset"},
                      where))
            return false;
        const auto optionalText = [&](const char* key, int max, QString& into) {
            if (!o.contains(QLatin1String(key))) return true;
            const std::optional<QString> s =
                text(o.value(QLatin1String(key)), max, QLatin1String(key));
            if (s) into = *s;
            return s.has_value();
        };
        if (!optionalText("gameId", 64, record.gameId) ||
            !optionalText("title", 128, record.title) ||
            !optionalText("description", 1024, record.description) ||
            !optionalText("date", 64, record.date))
            return false;
        if (!o.contains(QLatin1String("players"))) return fail(where, QStringLiteral("no players"));
        const std::optional<QJsonArray> players =
            array(o.value(QLatin1String("players")), kSeats, QStringLiteral("players"));
        if (!players) return false;
        for (const QJsonValue& p : *players) {
            const QString at = QStringLiteral("player %1").arg(record.players.size());
            if (p.isObject()) {
                const QJsonObject po = p.toObject();
                if (!onlyKeys(po, {"id", "name", "playerIds"}, at)) return false;
                if (po.contains(QLatin1String("id")) &&
                    !text(po.value(QLatin1String("id")), 64, at))
                    return false;
                if (po.contains(QLatin1String("playerIds")) &&
                    !array(po.value(QLatin1String("playerIds")), 10, at))
                    return false;
                const std::optional<QString> name = text(po.value(QLatin1String("name")), 64, at);
                if (!name) return false;
                record.players.append(*name);
            } else {
                const std::optional<QString> name = text(p, 64, at);
                if (!name) return false;
                record.players.append(*name);
            }
        }
        if (o.contains(QLatin1String("teamNames"))) {
            const std::optional<QJsonArray> teams =
                array(o.value(QLatin1String("teamNames")), 2, QStringLiteral("teamNames"));
            if (!teams) return false;
            for (const QJsonValue& t : *teams)
                if (!text(t, 64, QStringLiteral("teamNames"))) return false;
        }
        const auto score = [&](const char* key, std::array<int, 2>& into) {
            const std::optional<QJsonArray> pair =
                array(o.value(QLatin1String(key)), 2, QLatin1String(key));
            if (!pair) return false;
            if (pair->size() != 2)
                return fail(QLatin1String(key), QStringLiteral("not two scores"));
            for (int team = 0; team < 2; ++team) {
                const std::optional<int> s =
                    integer(pair->at(team), 0, kMaxScore, QLatin1String(key));
                if (!s) return false;
                into[team] = *s;
            }
            return true;
        };
        if (!o.contains(QLatin1String("initialScore")))
            return fail(where, QStringLiteral("no initialScore"));
        if (!score("initialScore", record.initialScore)) return false;
        if (o.contains(QLatin1String("finalScore"))) {
            if (!score("finalScore", record.finalScore)) return false;
            record.hasFinalScore = true;
        }
        record.rules = rules::Ruleset{};
        record.rules.stickTheDealer = true; // the notation's default
        if (o.contains(QLatin1String("ruleset")))
            return ruleset(o.value(QLatin1String("ruleset")), record);
        return true;
    }

    // The trump a deal's calls make, 0 while none.
    static int trumpOf(const DealRecord& deal) {
        if (deal.calls.empty()) return 0;
        const Call& last = deal.calls.back();
        if (last.kind == Call::Order) return naturalSuit(deal.upCard);
        return last.kind == Call::Name ? last.suit : 0;
    }

    bool bidding(const QJsonObject& o, DealRecord& deal, const QString& where) {
        if (!onlyKeys(o,
                      {"phaseNumber", "type", "calls", "isAlone", "aloneDefender", "discard",
                       "cardExchanges", "callAnnotations"},
                      where))
            return false;
        if (o.contains(QLatin1String("phaseNumber")) &&
            !integer(o.value(QLatin1String("phaseNumber")), 0, 1, where))
            return false;
        if (o.contains(QLatin1String("cardExchanges")))
            return fail(where, QStringLiteral("exchanged cards are not played here"));
        if (o.contains(QLatin1String("aloneDefender"))) {
            const std::optional<int> d =
                integer(o.value(QLatin1String("aloneDefender")), -1, 9, where);
            if (!d) return false;
            if (*d != -1) return fail(where, QStringLiteral("defending alone is not played here"));
        }
        const std::optional<QJsonArray> calls =
            array(o.value(QLatin1String("calls")), kMaxCalls, where + QStringLiteral(" calls"));
        if (!calls) return false;
        deal.hasBidding = true;
        for (const QJsonValue& v : *calls) {
            const QString at = QStringLiteral("%1 call %2").arg(where).arg(deal.calls.size() + 1);
            const std::optional<QString> s = text(v, 8, at);
            if (!s) return false;
            Call call;
            if (*s == kPass) {
                call.kind = Call::Pass;
            } else if (*s == kOrder) {
                call.kind = Call::Order;
            } else if (s->size() == 1 && std::strchr(kSuitLetters, s->at(0).toLatin1()) &&
                       s->at(0).toLatin1()) {
                call.kind = Call::Name;
                call.suit = int(std::strchr(kSuitLetters, s->at(0).toLatin1()) - kSuitLetters) + 1;
            } else {
                return fail(at, QStringLiteral("\"%1\" is not a call played here").arg(*s));
            }
            deal.calls.push_back(call);
        }
        if (o.contains(QLatin1String("isAlone"))) {
            const std::optional<bool> alone =
                boolean(o.value(QLatin1String("isAlone")), where + QStringLiteral(" isAlone"));
            if (!alone) return false;
            deal.alone = *alone;
        }
        if (o.contains(QLatin1String("discard"))) {
            const std::optional<int> card =
                this->card(o.value(QLatin1String("discard")), trumpOf(deal), true,
                           where + QStringLiteral(" discard"));
            if (!card) return false;
            deal.discard = *card;
        }
        if (o.contains(QLatin1String("callAnnotations"))) {
            const std::optional<Notes> n =
                notes(o.value(QLatin1String("callAnnotations")), int(deal.calls.size()),
                      where + QStringLiteral(" callAnnotations"));
            if (!n) return false;
            deal.callNotes = *n;
        }
        return true;
    }

    bool play(const QJsonObject& o, DealRecord& deal, const QString& where) {
        if (!onlyKeys(o, {"phaseNumber", "type", "tricks", "isAlone", "playAnnotations"}, where))
            return false;
        if (o.contains(QLatin1String("phaseNumber")) &&
            !integer(o.value(QLatin1String("phaseNumber")), 0, 1, where))
            return false;
        if (!deal.hasBidding) return fail(where, QStringLiteral("cards played before any bidding"));
        const int trump = trumpOf(deal);
        if (!trump) return fail(where, QStringLiteral("cards played but no trump made"));
        if (o.contains(QLatin1String("isAlone"))) {
            const std::optional<bool> alone =
                boolean(o.value(QLatin1String("isAlone")), where + QStringLiteral(" isAlone"));
            if (!alone) return false;
            if (*alone != deal.alone)
                return fail(where, QStringLiteral("isAlone differs from the bidding's"));
        }
        const std::optional<QJsonArray> tricks =
            array(o.value(QLatin1String("tricks")), kHandSize, where + QStringLiteral(" tricks"));
        if (!tricks) return false;
        deal.hasPlay = true;
        int plays = 0;
        for (const QJsonValue& t : *tricks) {
            const QString at = QStringLiteral("%1 trick %2").arg(where).arg(deal.tricks.size() + 1);
            const std::optional<QJsonArray> cards = array(t, kSeats, at);
            if (!cards) return false;
            std::vector<int> trick;
            for (const QJsonValue& c : *cards) {
                const std::optional<int> card = this->card(
                    c, trump, false, QStringLiteral("%1 card %2").arg(at).arg(trick.size() + 1));
                if (!card) return false;
                trick.push_back(*card);
                ++plays;
            }
            deal.tricks.push_back(std::move(trick));
        }
        if (o.contains(QLatin1String("playAnnotations"))) {
            const std::optional<Notes> n =
                notes(o.value(QLatin1String("playAnnotations")), std::max(plays, kMaxPlays),
                      where + QStringLiteral(" playAnnotations"));
            if (!n) return false;
            deal.playNotes = *n;
        }
        return true;
    }

    bool dealEntry(const QJsonValue& value, int index, GameRecord& record) {
        const QString where = QStringLiteral("deal %1").arg(index + 1);
        if (value.isString())
            return fail(where, QStringLiteral("deals in the binary form are not read"));
        if (!value.isObject()) return fail(where, QStringLiteral("not an object"));
        const QJsonObject o = value.toObject();
        if (!onlyKeys(o, {"dealNumber", "initialState", "phases", "alternativeLines"}, where))
            return false;
        if (!integer(o.value(QLatin1String("dealNumber")), 0, 1000000,
                     where + QStringLiteral(" dealNumber")))
            return false;
        // Lines of analysis beside the deal are read over: the replay follows the game itself.
        if (o.contains(QLatin1String("alternativeLines")) &&
            !array(o.value(QLatin1String("alternativeLines")), 50,
                   where + QStringLiteral(" alternativeLines")))
            return false;
        DealRecord deal;
        const QJsonValue initialValue = o.value(QLatin1String("initialState"));
        if (!initialValue.isObject()) return fail(where, QStringLiteral("no initialState"));
        const QJsonObject initial = initialValue.toObject();
        if (!onlyKeys(initial, {"dealer", "upCard", "playerCards"}, where)) return false;
        const std::optional<int> dealer = integer(initial.value(QLatin1String("dealer")), 0,
                                                  kSeats - 1, where + QStringLiteral(" dealer"));
        if (!dealer) return false;
        deal.dealer = *dealer + 1;
        const std::optional<int> up = card(initial.value(QLatin1String("upCard")), 0, false,
                                           where + QStringLiteral(" upCard"));
        if (!up) return false;
        deal.upCard = *up;
        if (initial.contains(QLatin1String("playerCards"))) {
            const std::optional<QJsonArray> hands =
                array(initial.value(QLatin1String("playerCards")), kSeats,
                      where + QStringLiteral(" playerCards"));
            if (!hands) return false;
            if (!hands->isEmpty()) {
                if (hands->size() != kSeats)
                    return fail(where, QStringLiteral("playerCards does not hold four hands"));
                deal.handsGiven = true;
                for (int seat = 1; seat <= kSeats; ++seat) {
                    const QString at =
                        QStringLiteral("%1 hand of seat %2").arg(where).arg(seat - 1);
                    const std::optional<QJsonArray> cards =
                        array(hands->at(seat - 1), kHandSize, at);
                    if (!cards) return false;
                    if (!cards->isEmpty() && cards->size() != kHandSize)
                        return fail(at, QStringLiteral("not five cards"));
                    for (int i = 0; i < cards->size(); ++i) {
                        const std::optional<int> c = card(cards->at(i), 0, true, at);
                        if (!c) return false;
                        deal.hands[seat][i] = *c;
                    }
                }
            }
        }
        const std::optional<QJsonArray> phases =
            array(o.value(QLatin1String("phases")), 2, where + QStringLiteral(" phases"));
        if (!phases) return false;
        for (const QJsonValue& p : *phases) {
            if (!p.isObject()) return fail(where, QStringLiteral("a phase is not an object"));
            const QJsonObject phase = p.toObject();
            const QJsonValue type = phase.value(QLatin1String("type"));
            if (type == kBidding && !deal.hasBidding && !deal.hasPlay) {
                if (!bidding(phase, deal, where)) return false;
            } else if (type == kTrickPlay && !deal.hasPlay) {
                if (!play(phase, deal, where)) return false;
            } else {
                return fail(where, QStringLiteral("a phase of unknown type, or out of order"));
            }
        }
        record.deals.push_back(std::move(deal));
        return true;
    }

    std::optional<GameRecord> game(QByteArrayView text) {
        if (text.size() > kMaxRecordBytes)
            return fail({}, QStringLiteral("the file is too long")), std::nullopt;
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(text.toByteArray(), &parseError);
        if (parseError.error != QJsonParseError::NoError)
            return fail({}, QStringLiteral("not JSON (%1 at byte %2)")
                                .arg(parseError.errorString())
                                .arg(parseError.offset)),
                   std::nullopt;
        if (!doc.isObject()) return fail({}, QStringLiteral("not a game record")), std::nullopt;
        const QJsonObject o = doc.object();
        if (!onlyKeys(o, {"fileType", "version", "metadata", "deals"}, QString()))
            return std::nullopt;
        if (o.value(QLatin1String("fileType")) != kFileType)
            return fail({}, QStringLiteral("not a game record (fileType)")), std::nullopt;
        const std::optional<QString> version = text_(o.value(QLatin1String("version")));
        if (!version) return std::nullopt;
        GameRecord record;
        if (!metadata(o.value(QLatin1String("metadata")), record)) return std::nullopt;
        const std::optional<QJsonArray> deals =
            array(o.value(QLatin1String("deals")), kMaxDeals, QStringLiteral("deals"));
        if (!deals) return std::nullopt;
        for (int i = 0; i < deals->size(); ++i)
            if (!dealEntry(deals->at(i), i, record)) return std::nullopt;
        return record;
    }

private:
    // The versions whose shape this reader knows: 1.2 to 1.6.
    std::optional<QString> text_(const QJsonValue& value) {
        const std::optional<QString> v = text(value, 16, QStringLiteral("version"));
        if (!v) return std::nullopt;
        const QStringList parts = v->split(QLatin1Char('.'));
        bool ok = parts.size() >= 2 && parts.size() <= 3 && parts[0] == QLatin1String("1") &&
                  parts[1].size() == 1 && parts[1][0] >= QLatin1Char('2') &&
                  parts[1][0] <= QLatin1Char('6');
        if (ok && parts.size() == 3) {
            ok = !parts[2].isEmpty() &&
                 std::all_of(parts[2].begin(), parts[2].end(), [](QChar c) { return c.isDigit(); });
        }
        if (!ok)
            return fail(QStringLiteral("version"), QStringLiteral("\"%1\" is not read").arg(*v)),
                   std::nullopt;
        return v;
    }
};

} // namespace

QString cardText(int card) {
    if (!isCard(card)) return {};
    const int rank = rankInSuit(card);
    if (rank < 8) return {};
    return QString(QLatin1Char(kRankLetters[rank - 8])) + suitLetter(naturalSuit(card));
}

QByteArray writeRecord(const GameRecord& record) {
    QJsonObject meta;
    if (!record.gameId.isEmpty()) meta.insert(QStringLiteral("gameId"), record.gameId);
    if (!record.title.isEmpty()) meta.insert(QStringLiteral("title"), record.title);
    if (!record.description.isEmpty())
        meta.insert(QStringLiteral("description"), record.description);
    if (!record.date.isEmpty()) meta.insert(QStringLiteral("date"), record.date);
    meta.insert(QStringLiteral("players"), QJsonArray::fromStringList(record.players));
    meta.insert(QStringLiteral("initialScore"),
                QJsonArray{record.initialScore[0], record.initialScore[1]});
    if (record.hasFinalScore)
        meta.insert(QStringLiteral("finalScore"),
                    QJsonArray{record.finalScore[0], record.finalScore[1]});
    meta.insert(QStringLiteral("ruleset"), rulesetObject(record));

    QJsonArray deals;
    for (std::size_t i = 0; i < record.deals.size(); ++i)
        deals.append(dealObject(record.deals[i], int(i)));

    QJsonObject root;
    root.insert(QStringLiteral("fileType"), kFileType);
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("metadata"), meta);
    root.insert(QStringLiteral("deals"), deals);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<GameRecord> readRecord(QByteArrayView text, QString* error) {
    Reader reader;
    std::optional<GameRecord> record = reader.game(text);
    if (!record && error) *error = reader.error;
    return record;
}

} // namespace euchre::records
