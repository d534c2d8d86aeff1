// Playing the program's sounds from its resources, one at a time.
#include "sounds.h"

#include "chattersounds.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// Outside any namespace, as the resource system requires.
static void initSoundsQrc() {
    Q_INIT_RESOURCE(sounds);
}

namespace euchre {

void initSoundResources() {
    static const bool done = (initSoundsQrc(), true);
    Q_UNUSED(done);
}

QStringList soundNames() {
    QStringList names{
        QString::fromLatin1(sound::entered),     QString::fromLatin1(sound::getcard),
        QString::fromLatin1(sound::placecard),   QString::fromLatin1(sound::notvalid),
        QString::fromLatin1(sound::trickwinner), QString::fromLatin1(sound::turn),
        QString::fromLatin1(sound::turnnew),     QString::fromLatin1(sound::winner),
        QString::fromLatin1(sound::euchred),     QString::fromLatin1(sound::gotpoints),
        QString::fromLatin1(sound::marched),     QString::fromLatin1(sound::nopoints),
        QString::fromLatin1(sound::order)};
    for (const ChatterSound& chatter : chatterSounds) names.append(chatter.name);
    return names;
}

QString soundResourcePath(const QString& name) {
    const QString lower = name.toLower();
    static const QStringList names = soundNames();
    if (!names.contains(lower)) return {};
    return QStringLiteral(":/sounds/%1.wav").arg(lower);
}

QString scoreSound(int makingTeam, int team1Points, int team2Points, int mySlot) {
    enum Listener { Tan, Blue, Watcher };
    const Listener listener = (mySlot == 1 || mySlot == 3)   ? Tan
                              : (mySlot == 2 || mySlot == 4) ? Blue
                                                             : Watcher;
    // One row per result, first match wins: what Tan, Blue and a watcher hear.
    auto pick = [listener](const char* tan, const char* blue, const char* watcher) {
        return QString::fromLatin1(listener == Tan ? tan : listener == Blue ? blue : watcher);
    };
    if (makingTeam == 1 && team1Points == 0)
        return pick(sound::euchred, sound::gotpoints, sound::euchred);
    if (makingTeam == 2 && team2Points == 0)
        return pick(sound::gotpoints, sound::euchred, sound::euchred);
    if (team1Points == 2 || team1Points == 4)
        return pick(sound::marched, sound::nopoints, sound::nopoints);
    if (team2Points == 2 || team2Points == 4)
        return pick(sound::nopoints, sound::marched, sound::nopoints);
    if (team1Points > 0) return pick(sound::gotpoints, sound::nopoints, sound::gotpoints);
    if (team2Points > 0) return pick(sound::nopoints, sound::gotpoints, sound::gotpoints);
    return {};
}

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent), m_devices(new QMediaDevices(this)) {
    initSoundResources();
    // Asking the audio system before every sound is needless; it tells us
    // when outputs come and go.
    m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
    connect(m_devices, &QMediaDevices::audioOutputsChanged, this,
            [this] { m_hasOutput = !QMediaDevices::audioOutputs().isEmpty(); });
}

SoundPlayer::~SoundPlayer() = default;

QSoundEffect* SoundPlayer::effectFor(const QString& name) {
    if (QSoundEffect* cached = m_effects.value(name)) return cached;
    const QString path = soundResourcePath(name);
    if (path.isEmpty() || !QFile::exists(path)) return nullptr;
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl(QStringLiteral("qrc") + path));
    m_effects.insert(name, effect);
    return effect;
}

bool SoundPlayer::play(const QString& name) {
    const QString lower = name.toLower();
    if (!m_hasOutput) return false;
    QSoundEffect* effect = effectFor(lower);
    if (!effect) return false;
    if (QSoundEffect* playing = m_effects.value(m_current)) playing->stop();
    // play() on a sound still playing would not start it over.
    effect->stop();
    effect->play();
    m_current = lower;
    return true;
}

void SoundPlayer::stop() {
    if (QSoundEffect* playing = m_effects.value(m_current)) playing->stop();
    m_current.clear();
}

} // namespace euchre
