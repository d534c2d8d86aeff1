// The table's voice for a screen reader: news as a name and an alert.
#include "client/announcer.h"

#include <QAccessibleWidget>

namespace euchre {

namespace {

// Readers speak a notification's name when it changes or alerts.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<Announcer*>(widget())->said()
                                      : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* announcerAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("euchre::Announcer") && object && object->isWidgetType())
        return new AnnouncerAccessible(static_cast<Announcer*>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(announcerAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
}

void Announcer::say(const QString& words) {
    m_said = words;
    // The name's change is what most readers speak; the alert is for those
    // that speak alerts. Both are sent even for the same words again.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace euchre
