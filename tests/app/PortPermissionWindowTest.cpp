// The real window, run as an ordinary user on a set whose port that user may not open: the box
// offered at start-up says which group owns the device, whether the user is in it, and what to do.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "QtApp.h"
#include "app/InstanceChannel.h"
#include "support/UnprivilegedRun.h"

namespace vekaton {
namespace {

using testing::FindUnprivilegedUser;
using testing::GroupWithout;
using testing::RunAsCommand;

constexpr int kDialogWaitMs = 30000;

bool GiveTo(const QString& path, uid_t uid, gid_t gid) {
    return chown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

TEST(PortPermissionWindow, StartUpBoxNamesTheGroupTheMembershipAndTheCure) {
    const auto user = FindUnprivilegedUser();
    if (!user) {
        GTEST_SKIP() << "needs root and setpriv to run the window as an ordinary user";
    }
    const auto other = GroupWithout(*user);
    if (!other) {
        GTEST_SKIP() << "no group without the account";
    }
    testing::TestApp();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QDir dir(home.path());
    ASSERT_TRUE(dir.mkpath("set"));
    const QString device = dir.filePath("ttyVKwindow" + QString::number(getpid()));
    ASSERT_EQ(mkfifo(QFile::encodeName(device).constData(), 0660), 0);
    ASSERT_TRUE(GiveTo(device, 0, other->first));

    QFile settings(dir.filePath("set/Default.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(
        "ComPort=0\r\nBaudRate=8192\r\nSampleRate=200\r\nRequestString=$f4 $57 $01 $00 $b4\r\n"
        "ResponseBytes=3\r\n# Bytes of Data=23\r\nUse CheckSum=TRUE\r\nRequestEchoed=TRUE\r\n"
        "AutoRun=FALSE\r\nSyncMode=2\r\nSyncTime=500\r\nStartCommand=\r\nStopCommand=\r\n"
        "PortName=" +
        QFile::encodeName(device) + "\r\n");
    settings.close();
    // The account writes its lock, its data and the set; the device stays root's.
    for (const QString& path : {home.path(), dir.filePath("set"), settings.fileName()}) {
        ASSERT_TRUE(GiveTo(path, user->uid, user->primaryGid)) << path.toStdString();
    }

    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VEKATON_TEST_HOOKS", "1");
    env.insert("VEKATON_LOCK_DIR", home.path());
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", home.path());
    window.setProcessEnvironment(env);
    const auto command = RunAsCommand(*user, user->primaryGid, VEKATON_BINARY_DIR "/src/vekaton",
                                      {"--dir", dir.filePath("set").toStdString()});
    QStringList arguments;
    for (auto it = command.begin() + 1; it != command.end(); ++it) {
        arguments << QString::fromStdString(*it);
    }
    window.start(QString::fromStdString(command.front()), arguments);
    ASSERT_TRUE(window.waitForStarted(10000));

    QString text;
    const bool shown = testing::WaitUntil(
        [&] {
            text = AskRunningInstance(dir.filePath("Vekaton.socket"), "dialog-text", 2000)
                       .value_or(QString());
            return text.contains("usermod");
        },
        kDialogWaitMs);
    window.kill();
    window.waitForFinished(10000);
    ASSERT_TRUE(shown) << text.toStdString()
                       << QString::fromUtf8(window.readAllStandardError()).toStdString();
    const std::string said = text.toStdString();
    EXPECT_TRUE(text.contains("Invalid Com#")) << said;
    EXPECT_TRUE(text.contains(device + ": Permission denied")) << said;
    EXPECT_TRUE(text.contains(QString::fromStdString("belongs to the group \"" + other->second +
                                                     "\", and your user \"" + user->name +
                                                     "\" is not in it")))
        << said;
    EXPECT_TRUE(
        text.contains(QString::fromStdString("sudo usermod -aG " + other->second + " $USER")))
        << said;
    EXPECT_TRUE(text.contains("log out and log in again")) << said;
}

}  // namespace
}  // namespace vekaton
