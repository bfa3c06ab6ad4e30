// Keeping the screen awake while acquiring: the desktop's screen saver is asked over D-Bus, here
// a fake one on a private bus of the test's own, which records every call.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QObject>
#include <QProcess>

#include <memory>
#include <string>
#include <vector>

#include "QtApp.h"
#include "app/car/ScreenSaverInhibit.h"

namespace vekaton {
namespace {

// The freedesktop screen saver as a desktop offers it, recording what it is asked.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
  public:
    std::vector<std::string> calls;

  public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        calls.push_back("Inhibit " + application.toStdString() + ": " + reason.toStdString());
        return ++cookie_ + 100;
    }
    void UnInhibit(uint cookie) { calls.push_back("UnInhibit " + std::to_string(cookie)); }

  private:
    uint cookie_ = 0;
};

// A session bus of the test's own, ended with it.
class PrivateBus {
  public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForStarted(5000) &&
            testing::WaitUntil([this] { return daemon_.canReadLine(); })) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    const QString& Address() const { return address_; }

  private:
    QProcess daemon_;
    QString address_;
};

TEST(ScreenSaverInhibit, AskedWhileAcquiringAndReleasedWhenStopped) {
    testing::TestApp();
    PrivateBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon (scripts/install-deps.sh) did not start";
    QDBusConnection service =
        QDBusConnection::connectToBus(bus.Address(), QStringLiteral("service"));
    QDBusConnection client = QDBusConnection::connectToBus(bus.Address(), QStringLiteral("client"));
    ASSERT_TRUE(service.isConnected() && client.isConnected());
    FakeScreenSaver fake;
    ASSERT_TRUE(service.registerService(DBusScreenSaver::kService));
    ASSERT_TRUE(
        service.registerObject(DBusScreenSaver::kPath, &fake, QDBusConnection::ExportAllSlots));

    auto* saver = new DBusScreenSaver(client);
    std::vector<bool> answers;
    QObject::connect(saver, &DBusScreenSaver::InhibitAnswered,
                     [&answers](bool held) { answers.push_back(held); });
    {
        AcquisitionScreenGuard guard{std::unique_ptr<ScreenSaverInterface>(saver)};
        guard.SetAcquiring(true);
        guard.SetAcquiring(true);  // once is enough
        ASSERT_TRUE(testing::WaitUntil([&] { return saver->Held(); }));
        EXPECT_TRUE(guard.Inhibiting());
        ASSERT_EQ(fake.calls.size(), 1u);
        EXPECT_NE(fake.calls[0].find("Inhibit "), std::string::npos);
        EXPECT_NE(fake.calls[0].find("Showing live engine data"), std::string::npos);

        guard.SetAcquiring(false);
        EXPECT_FALSE(saver->Held());
        ASSERT_TRUE(testing::WaitUntil([&] { return fake.calls.size() == 2; }));
        EXPECT_EQ(fake.calls[1], "UnInhibit 101");

        // Run and stop in quick succession: the release waits for the cookie, then goes out.
        guard.SetAcquiring(true);
        guard.SetAcquiring(false);
        ASSERT_TRUE(testing::WaitUntil([&] { return fake.calls.size() == 4; }));
        EXPECT_EQ(fake.calls[3], "UnInhibit 102");
        EXPECT_FALSE(saver->Held());

        // Quitting while acquiring releases too.
        guard.SetAcquiring(true);
        ASSERT_TRUE(testing::WaitUntil([&] { return saver->Held(); }));
    }
    ASSERT_TRUE(testing::WaitUntil([&] { return fake.calls.size() == 6; }));
    EXPECT_EQ(fake.calls[5], "UnInhibit 103");
    EXPECT_EQ(answers, (std::vector<bool>{true, false, true}));
}

TEST(ScreenSaverInhibit, NoDesktopServiceLeavesTheProgramRunning) {
    testing::TestApp();
    PrivateBus bus;
    ASSERT_FALSE(bus.Address().isEmpty());
    QDBusConnection client = QDBusConnection::connectToBus(bus.Address(), QStringLiteral("client"));
    DBusScreenSaver saver(client);
    bool answered = false;
    bool held = true;
    QObject::connect(&saver, &DBusScreenSaver::InhibitAnswered, [&](bool h) {
        answered = true;
        held = h;
    });
    saver.Inhibit("Vekaton", "test");
    ASSERT_TRUE(testing::WaitUntil([&] { return answered; }));
    EXPECT_FALSE(held);
    EXPECT_FALSE(saver.Held());
    saver.UnInhibit();

    // No bus at all.
    DBusScreenSaver nowhere(QDBusConnection(QStringLiteral("no such bus")));
    answered = false;
    QObject::connect(&nowhere, &DBusScreenSaver::InhibitAnswered, [&](bool) { answered = true; });
    nowhere.Inhibit("Vekaton", "test");
    EXPECT_TRUE(answered);
    EXPECT_FALSE(nowhere.Held());
}

}  // namespace
}  // namespace vekaton

#include "ScreenSaverInhibitTest.moc"
