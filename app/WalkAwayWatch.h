#pragma once
// Tells when the user walked away: the desktop session's screen locker came
// on (the screen saver's ActiveChanged on the session bus) or the machine is
// about to suspend (logind's PrepareForSleep on the system bus).

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace keyholm {

class WalkAwayWatch : public QObject {
    Q_OBJECT

public:
    // `away` runs once per lock or suspend. A bus that is not there is
    // simply not watched.
    WalkAwayWatch(const QDBusConnection& system, const QDBusConnection& session, std::function<void()> away,
        QObject* parent = nullptr);
    // How many of the signals are watched.
    int Watched() const { return watched_; }

private Q_SLOTS:
    void PrepareForSleep(bool starting);
    void ActiveChanged(bool active);

private:
    std::function<void()> away_;
    int watched_ = 0;
};

} // namespace keyholm
