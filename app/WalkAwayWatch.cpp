#include "app/WalkAwayWatch.h"

#include "services/TraceLog.h"

namespace keyholm {

namespace {

struct ScreenSaver {
    const char* service;
    const char* path;
    const char* interface;
};

// The freedesktop name most desktops answer to, and GNOME's own.
constexpr ScreenSaver ScreenSavers[] = {
    { "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver" },
    { "org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver" },
    { "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver" },
};

} // namespace

WalkAwayWatch::WalkAwayWatch(
    const QDBusConnection& system, const QDBusConnection& session, std::function<void()> away, QObject* parent)
    : QObject(parent)
    , away_(std::move(away))
{
    QDBusConnection systemBus = system;
    if (systemBus.isConnected()
        && systemBus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
            SLOT(PrepareForSleep(bool))))
        ++watched_;
    QDBusConnection sessionBus = session;
    if (sessionBus.isConnected()) {
        for (const ScreenSaver& saver : ScreenSavers) {
            if (sessionBus.connect(QLatin1String(saver.service), QLatin1String(saver.path),
                    QLatin1String(saver.interface), QStringLiteral("ActiveChanged"), this, SLOT(ActiveChanged(bool))))
                ++watched_;
        }
    }
    TraceLog(QStringLiteral("Walk-away signals watched"), QString::number(watched_));
}

void WalkAwayWatch::PrepareForSleep(bool starting)
{
    if (!starting)
        return;
    TraceLog(QStringLiteral("The machine is going to sleep"), QStringLiteral("..."));
    away_();
}

void WalkAwayWatch::ActiveChanged(bool active)
{
    if (!active)
        return;
    TraceLog(QStringLiteral("The session is locked"), QStringLiteral("..."));
    away_();
}

} // namespace keyholm
