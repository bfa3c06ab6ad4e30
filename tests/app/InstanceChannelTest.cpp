// The running window's local socket: what a second start and a test may ask of it, and how it
// copes with a client that sends nonsense or never ends its request.
#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QWidget>
#include <future>

#include "QtApp.h"
#include "app/InstanceChannel.h"

namespace vekaton {
namespace {

using testing::WaitUntil;

// Asks on another thread while this one runs the server's event loop.
std::optional<QString> Ask(const QString& name, const QByteArray& request, int timeoutMs = 5000) {
    auto answer = std::async(std::launch::async,
                             [&] { return AskRunningInstance(name, request, timeoutMs); });
    WaitUntil(
        [&] { return answer.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; },
        10000);
    return answer.get();
}

TEST(InstanceChannel, AnswersStateAndRaisesTheWindowItWasGiven) {
    testing::TestApp();
    QTemporaryDir dir;
    const QString name = dir.filePath("Vekaton.socket");
    InstanceServer server(name);
    QString error;
    ASSERT_TRUE(server.Listen(&error)) << error.toStdString();

    // No window yet: the server says it is starting, and the asker keeps asking until its time
    // is up.
    EXPECT_FALSE(Ask(name, "state", 500));

    QWidget window;
    server.SetWindow(&window);
    EXPECT_EQ(Ask(name, "state"), QString("hidden normal inactive"));
    EXPECT_EQ(Ask(name, "minimize"), QString("unknown request"));  // a test hook only
    const auto raised = Ask(name, "raise");
    ASSERT_TRUE(raised);
    EXPECT_TRUE(raised->startsWith("raised visible normal")) << raised->toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(server.RaiseCount(), 1);
    EXPECT_EQ(Ask(name, "nonsense"), QString("unknown request"));
}

TEST(InstanceChannel, AnEndlessRequestIsCutOffAndTheServerGoesOn) {
    testing::TestApp();
    QTemporaryDir dir;
    const QString name = dir.filePath("Vekaton.socket");
    InstanceServer server(name);
    QString error;
    ASSERT_TRUE(server.Listen(&error)) << error.toStdString();
    QWidget window;
    server.SetWindow(&window);

    QLocalSocket flood;
    flood.connectToServer(name);
    ASSERT_TRUE(flood.waitForConnected(5000));
    flood.write(QByteArray(1 << 20, 'x'));  // a megabyte and no line end
    EXPECT_TRUE(WaitUntil([&] { return flood.state() == QLocalSocket::UnconnectedState; }, 10000));
    EXPECT_EQ(Ask(name, "state"), QString("hidden normal inactive"));
    EXPECT_EQ(server.RaiseCount(), 0);
}

TEST(InstanceChannel, NoServerMeansNoAnswer) {
    testing::TestApp();
    QTemporaryDir dir;
    EXPECT_FALSE(AskRunningInstance(dir.filePath("nobody.socket"), "raise", 300));
}

}  // namespace
}  // namespace vekaton
