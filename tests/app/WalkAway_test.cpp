// Walking away from the desktop closes the database: the signals of the
// screen locker and of logind, sent by the test on a private bus of its own.

#include "database/DatabaseFileFixture.h"

#include "app/WalkAwayWatch.h"
#include "services/main/OptionPage.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>

namespace keyholm::test {
namespace {

// A bus daemon for the test alone, with one connection that sends as logind
// and the screen saver, and one for the watch.
class PrivateBus {
public:
    PrivateBus()
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
            { "--session", "--nofork", "--print-address=1", "--address=unix:tmpdir=" + folder_.path() });
        if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead(10000))
            return;
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        sender_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, "walkaway-sender"));
        for (const char* name : { "org.freedesktop.login1", "org.freedesktop.ScreenSaver" })
            sender_->registerService(name);
    }
    ~PrivateBus()
    {
        sender_.reset();
        QDBusConnection::disconnectFromBus("walkaway-sender");
        QDBusConnection::disconnectFromBus("walkaway-watch");
        daemon_.kill();
        daemon_.waitForFinished();
    }
    bool Ready() const { return sender_ && sender_->isConnected(); }
    QDBusConnection Watch() const { return QDBusConnection::connectToBus(address_, "walkaway-watch"); }

    void Sleep(bool starting) const
    {
        Send("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", starting);
    }
    void Lock(bool active) const
    {
        Send("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", active);
    }

private:
    void Send(const char* path, const char* interface, const char* name, bool value) const
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal << value;
        EXPECT_TRUE(sender_->send(signal));
    }

    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
    std::unique_ptr<QDBusConnection> sender_;
};

class WalkAwayTest : public DatabaseFileFixture {
protected:
    void SetUp() override
    {
        DatabaseFileFixture::SetUp();
        ASSERT_TRUE(bus_.Ready()) << "no dbus-daemon";
        watch_ = std::make_unique<WalkAwayWatch>(bus_.Watch(), bus_.Watch(), [this] {
            ++calls_;
            Window().File().CloseOnWalkAway();
        });
        ASSERT_EQ(watch_->Watched(), 4);
    }
    void TearDown() override
    {
        watch_.reset();
        DatabaseFileFixture::TearDown();
    }

    PrivateBus bus_;
    std::unique_ptr<WalkAwayWatch> watch_;
    int calls_ = 0;
};

TEST_F(WalkAwayTest, OnlyALockOrTheStartOfASleepCounts)
{
    // Signals of one sender arrive in order: the last one tells that the
    // others have been handled.
    bus_.Lock(false);
    bus_.Sleep(false);
    bus_.Lock(true);
    bus_.Sleep(true);
    QTRY_COMPARE_WITH_TIMEOUT(calls_, 2, 30000);
}

TEST_F(WalkAwayTest, ALockSavesTheChangesAndClosesTheDatabase)
{
    EXPECT_TRUE(Ui().Option->CheckWalkAway->isChecked()) << "on by default";
    const QString path = PathOf("away.khm");
    for (const bool sleep : { false, true }) {
        WriteDatabase(path, QStringLiteral("mot"));
        ASSERT_TRUE(Open(path, [](ModalHelper& modal) { Answer(modal, QStringLiteral("mot")); }).open);
        ChangeRoot(QStringLiteral("Changée"));
        if (sleep)
            bus_.Sleep(true);
        else
            bus_.Lock(true);
        QTRY_VERIFY_WITH_TIMEOUT(State().Tag().isEmpty(), 30000);
        EXPECT_EQ(RootText(path, QStringLiteral("mot")), QStringLiteral("Changée")) << "sleep " << sleep;
        EXPECT_TRUE(Tree().IsEmpty());
    }
}

TEST_F(WalkAwayTest, UncheckedTheOptionKeepsTheDatabaseOpen)
{
    const QString path = PathOf("stay.khm");
    WriteDatabase(path, {});
    ASSERT_TRUE(Open(path).open);
    Ui().Option->CheckWalkAway->click();
    ASSERT_FALSE(State().Options().closeOnWalkAway);
    bus_.Lock(true);
    QTRY_COMPARE_WITH_TIMEOUT(calls_, 1, 30000);
    EXPECT_EQ(State().Tag(), path);
}

} // namespace
} // namespace keyholm::test
