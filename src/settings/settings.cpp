// Reading and writing the user's preferences in the settings file.
#include "settings.h"

#include "colourtext.h"
#include "inifile.h"
#include "settingslocation.h"

#include <QDir>

namespace euchre {

namespace {

const QString section = QString::fromLatin1(settingsSection);

QString trueFalse(bool on) {
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

int botSpeedFromText(const QString& text) {
    if (text == u"750") return botSpeedSlow;
    if (text == u"200") return botSpeedFast;
    return botSpeedNormal;
}

int normalBotSpeed(int speed) {
    return speed == botSpeedSlow || speed == botSpeedFast ? speed : botSpeedNormal;
}

// A file edited by hand may hold any number. Sizes the chat cannot sensibly
// show and window bounds far off any screen fall back to the defaults
// instead of reaching the widgets.
int within(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}
constexpr int maxTextSize = 100;
constexpr int maxCoordinate = 30000;

QString writeError(const QString& path) {
    return QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path));
}

} // namespace

Settings startStateSettings() {
    Settings state;
    state.textSize = 10;
    state.chatterSounds = false;
    return state;
}

Settings readSettings(const IniFile& file) {
    const Settings defaults;
    Settings s;
    s.textSize = within(file.readInt(section, QStringLiteral("Textsize"), defaults.textSize), 1,
                        maxTextSize, defaults.textSize);
    s.textColour = colourFromText(file.readString(section, QStringLiteral("Textcolor"),
                                                  QStringLiteral("clblack")))
                       .value_or(0);
    for (int i = 0; i < phraseCount; ++i)
        s.phrases[i] = file.readString(section, QStringLiteral("Phrase%1").arg(i + 1));
    s.botSpeed = botSpeedFromText(file.readString(section, QStringLiteral("Botspeed")));
    s.scoreCardOnTop = file.readString(section, QStringLiteral("Scontop")) == u"true";
    s.lastTrickOnTop = file.readString(section, QStringLiteral("Ltontop")) == u"true";
    s.playSounds = file.readString(section, QStringLiteral("Playsounds")) != u"false";
    const QRect d = defaults.bounds;
    const int top = within(file.readInt(section, QStringLiteral("Top"), d.top()), -maxCoordinate,
                           maxCoordinate, d.top());
    const int left = within(file.readInt(section, QStringLiteral("Left"), d.left()), -maxCoordinate,
                            maxCoordinate, d.left());
    const int width = within(file.readInt(section, QStringLiteral("Width"), d.width()), 1,
                             maxCoordinate, d.width());
    const int height = within(file.readInt(section, QStringLiteral("Height"), d.height()), 1,
                              maxCoordinate, d.height());
    s.bounds = QRect(left, top, width, height);
    s.turnSound = file.readString(section, QStringLiteral("Turnsound")) == u"1" ? turnSoundNew
                                                                                : turnSoundClassic;
    s.chatterSounds = file.readString(section, QStringLiteral("ChatterSounds")) != u"false";
    s.computerPlayers = file.readString(section, QStringLiteral("ComputerPlayers")) == u"expert"
                            ? computerPlayersExpert
                            : computerPlayersStandard;
    s.bidsInChat = file.readString(section, QStringLiteral("ShowBidsInChat")) == u"true";
    s.sortTrumps = file.readString(section, QStringLiteral("SortTrumps")) != u"false";
    s.fourColourDeck = file.readString(section, QStringLiteral("FourColourDeck")) == u"true";
    s.scaleTable = file.readString(section, QStringLiteral("ScaleTable")) == u"true";
    // Read as it stands: the table window takes only a ruleset the game knows.
    s.houseRules = file.readString(section, QStringLiteral("HouseRules"));
    return s;
}

void writeSettings(IniFile& file, const Settings& s, SettingKeys keys) {
    auto put = [&](SettingKey key, const char* name, const QString& value) {
        if (keys.testFlag(key)) file.writeString(section, QString::fromLatin1(name), value);
    };
    put(SettingKey::TextSize, "Textsize", QString::number(s.textSize));
    put(SettingKey::TextColour, "Textcolor", colourToText(s.textColour));
    put(SettingKey::ScoreCardOnTop, "Scontop", trueFalse(s.scoreCardOnTop));
    put(SettingKey::LastTrickOnTop, "Ltontop", trueFalse(s.lastTrickOnTop));
    put(SettingKey::BotSpeed, "Botspeed", QString::number(normalBotSpeed(s.botSpeed)));
    put(SettingKey::PlaySounds, "Playsounds", trueFalse(s.playSounds));
    put(SettingKey::Bounds, "Top", QString::number(s.bounds.top()));
    put(SettingKey::Bounds, "Left", QString::number(s.bounds.left()));
    put(SettingKey::Bounds, "Width", QString::number(s.bounds.width()));
    put(SettingKey::Bounds, "Height", QString::number(s.bounds.height()));
    put(SettingKey::TurnSound, "Turnsound",
        s.turnSound == turnSoundNew ? QStringLiteral("1") : QStringLiteral("0"));
    put(SettingKey::ChatterSounds, "ChatterSounds", trueFalse(s.chatterSounds));
    put(SettingKey::ComputerPlayers, "ComputerPlayers",
        s.computerPlayers == computerPlayersExpert ? QStringLiteral("expert")
                                                   : QStringLiteral("standard"));
    put(SettingKey::BidsInChat, "ShowBidsInChat", trueFalse(s.bidsInChat));
    put(SettingKey::SortTrumps, "SortTrumps", trueFalse(s.sortTrumps));
    put(SettingKey::FourColourDeck, "FourColourDeck", trueFalse(s.fourColourDeck));
    put(SettingKey::ScaleTable, "ScaleTable", trueFalse(s.scaleTable));
    put(SettingKey::HouseRules, "HouseRules", s.houseRules);
}

void writePhrases(IniFile& file, const std::array<QString, phraseCount>& phrases,
                  const std::array<bool, phraseCount>& which) {
    for (int i = 0; i < phraseCount; ++i)
        if (which[i]) file.writeString(section, QStringLiteral("Phrase%1").arg(i + 1), phrases[i]);
}

std::optional<QRect> boundsToSaveOnClose(const QRect& window, const QRect& lastBounds,
                                         const QRect& workArea) {
    if (window == lastBounds) return std::nullopt;
    QRect saved = window;
    if (saved.width() > workArea.width()) saved.setWidth(saved.width() - 15);
    if (saved.height() > workArea.height()) saved.setHeight(saved.height() - 15);
    return saved;
}

SettingsStore::SettingsStore(QString path) : m_path(std::move(path)) {}

Settings SettingsStore::load() {
    IniFile file(m_path);
    file.load(); // an unreadable file gives the defaults, like a missing one
    const Settings settings = readSettings(file);
    m_loaded = true;
    m_lastBounds = settings.bounds;
    return settings;
}

bool SettingsStore::save(const Settings& current, SettingKeys changed, QString* error) {
    return writeKeys(current, m_loaded ? allSettingKeys | changed : changed, error);
}

bool SettingsStore::saveOnClose(const Settings& current, const QRect& workArea, QString* error) {
    if (!m_lastBounds) return true;
    const auto bounds = boundsToSaveOnClose(current.bounds, *m_lastBounds, workArea);
    if (!bounds) return true;
    Settings closing = current;
    closing.bounds = *bounds;
    m_lastBounds = *bounds;
    return writeKeys(closing, allSettingKeys, error);
}

bool SettingsStore::savePhrases(const std::array<QString, phraseCount>& phrases,
                                const std::array<QString, phraseCount>& shown, QString* error) {
    std::array<bool, phraseCount> which{};
    bool any = false;
    for (int i = 0; i < phraseCount; ++i) {
        which[i] = m_loaded || phrases[i] != shown[i];
        any = any || which[i];
    }
    if (!any) return true;
    IniFile file(m_path);
    if (file.load()) {
        writePhrases(file, phrases, which);
        if (file.save()) return true;
    }
    if (error) *error = writeError(m_path);
    return false;
}

bool SettingsStore::writeKeys(const Settings& settings, SettingKeys keys, QString* error) {
    if (!keys) return true;
    // Read the file afresh so that keys this save does not write, and
    // anything else in it, are kept exactly as they are.
    IniFile file(m_path);
    if (file.load()) {
        writeSettings(file, settings, keys);
        if (file.save()) return true;
    }
    if (error) *error = writeError(m_path);
    return false;
}

} // namespace euchre
