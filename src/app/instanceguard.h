// Keeps one copy of the program running per user: later copies hand over and end.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace euchre {

// The first copy listens on a local socket under the guard's name. A copy
// started later finds it there, asks it to come to the front and ends before
// it opens any window. A name left behind by a copy that crashed answers
// nobody; the next copy clears it and becomes the first.
class InstanceGuard : public QObject {
    Q_OBJECT
public:
    // The guard name: $EUCHRE_INSTANCE when set (so several copies can run
    // side by side for testing), otherwise "77morb" with the user's name.
    static QString defaultName();

    explicit InstanceGuard(QString name = defaultName(), QObject* parent = nullptr);
    ~InstanceGuard() override;

    const QString& name() const { return m_name; }

    // True when this copy is the first and should run. False when another
    // copy answered: it has been asked to come to the front and handed
    // `handOver` (the arguments of a start it should act on, such as a link
    // to join), and the caller should end now. When the guard cannot be set
    // up at all, the copy runs as if it were the first.
    bool tryBecomeFirst(const QStringList& handOver = {});

    // Whether this copy holds the name (tryBecomeFirst() set it up).
    bool isListening() const;

    // The request a later copy sends, after one "arg " line (the argument's
    // UTF-8 in Base64) for each argument it hands over.
    static constexpr char activateRequest[] = "activate\n";
    static constexpr char argumentPrefix[] = "arg ";
    // What a later copy may hand over: a few arguments of modest length.
    static constexpr int maxArguments = 8;
    static constexpr int maxArgumentBytes = 1024;

signals:
    // A later copy asked this one to come to the front (restore when
    // minimised, raise, activate).
    void activationRequested();
    // ... and handed these arguments to act on.
    void argumentsHandedOver(const QStringList& arguments);

private:
    enum class Probe { Answered, Stale, Nobody };
    Probe askRunningCopy(const QStringList& handOver);
    void acceptConnections();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace euchre
