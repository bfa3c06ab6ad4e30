#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <vector>

#include "PseudoTerminal.h"
#include "QtTestSupport.h"
#include "io/SerialLink.h"

namespace vekaton {
namespace {

using testing::PortPathLink;
using testing::ProcessEventsFor;
using testing::PseudoTerminal;
using testing::WaitUntil;

// The adapter is pulled mid-stream (its pseudo-terminal hangs up) and later plugged in again
// (a new terminal appears at the same path).
class SerialLostPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        link_.PointTo(terminal_->SlavePath());
        serial_.SetReceiveHandler([this](std::span<const std::uint8_t> bytes) {
            received_.insert(received_.end(), bytes.begin(), bytes.end());
        });
        QObject::connect(&serial_, &SerialLink::PortLost,
                         [this](const QString& message) { lostReports_.push_back(message); });
        QObject::connect(&serial_, &SerialLink::PortRestored,
                         [this](const QString& message) { restoredReports_.push_back(message); });
        const auto error = serial_.Open(QString::fromStdString(link_.Path()), 8192);
        ASSERT_FALSE(error.has_value()) << error->toStdString();
    }

    // Streams a little, then hangs up while bytes are still flowing.
    void PullMidStream() {
        terminal_->Send(std::vector<std::uint8_t>(100, 0x55));
        ASSERT_TRUE(WaitUntil([&] { return received_.size() >= 100; }));
        terminal_->Send(std::vector<std::uint8_t>(50, 0xAA));
        Unplug();
    }

    // Hangs up and, as when an adapter is pulled, the device path goes away with it; otherwise
    // another process could get the same terminal number and be reached through the old path.
    void Unplug() {
        link_.PointTo(QDir(dir_.path()).filePath("unplugged").toStdString());
        terminal_->Close();
    }

    void PlugInAgain() {
        terminal_ = std::make_unique<PseudoTerminal>();
        link_.PointTo(terminal_->SlavePath());
    }

    QTemporaryDir dir_;
    std::unique_ptr<PseudoTerminal> terminal_ = std::make_unique<PseudoTerminal>();
    PortPathLink link_{QDir(dir_.path()).filePath("ttyUSBX").toStdString()};
    SerialLink serial_;
    std::vector<std::uint8_t> received_;
    std::vector<QString> lostReports_;
    std::vector<QString> restoredReports_;
};

TEST_F(SerialLostPortTest, HangUpIsReportedOnceAndNeverSpins) {
    PullMidStream();
    ASSERT_TRUE(WaitUntil([&] { return !lostReports_.empty(); }));
    EXPECT_FALSE(serial_.IsOpen());
    EXPECT_TRUE(serial_.IsLost());
    EXPECT_FALSE(serial_.Write(std::vector<std::uint8_t>{1}));

    // Long enough for two retries against the dead path.
    ProcessEventsFor(2500);
    ASSERT_EQ(lostReports_.size(), 1u);
    EXPECT_TRUE(lostReports_[0].contains("port lost")) << lostReports_[0].toStdString();
    EXPECT_TRUE(lostReports_[0].contains(QString::fromStdString(link_.Path())));
    // Qt may raise a few errors before the port is closed, never a stream of them.
    EXPECT_GE(serial_.ErrorSignalCount(), 1);
    EXPECT_LE(serial_.ErrorSignalCount(), 10);
    EXPECT_TRUE(restoredReports_.empty());
    EXPECT_TRUE(serial_.IsLost());
}

TEST_F(SerialLostPortTest, ReopensWhenTheDeviceComesBackAndWorksAgain) {
    PullMidStream();
    ASSERT_TRUE(WaitUntil([&] { return !lostReports_.empty(); }));
    ProcessEventsFor(1200);  // at least one retry fails first
    PlugInAgain();
    ASSERT_TRUE(WaitUntil([&] { return !restoredReports_.empty(); }, 5000));
    EXPECT_TRUE(serial_.IsOpen());
    EXPECT_FALSE(serial_.IsLost());
    EXPECT_EQ(lostReports_.size(), 1u);
    EXPECT_EQ(restoredReports_.size(), 1u);
    // Same speed as before the loss.
    EXPECT_EQ(terminal_->SlaveOutputSpeed(), 8192);

    const std::vector<std::uint8_t> request{0xF4, 0x57, 0x01, 0x00, 0xB4};
    ASSERT_TRUE(serial_.Write(request));
    EXPECT_EQ(terminal_->Receive(request.size()), request);
    received_.clear();
    terminal_->Send(std::vector<std::uint8_t>{1, 2, 3});
    ASSERT_TRUE(WaitUntil([&] { return received_.size() >= 3; }));
    EXPECT_EQ(received_, (std::vector<std::uint8_t>{1, 2, 3}));

    // A second pull is a new loss, reported once again.
    Unplug();
    ASSERT_TRUE(WaitUntil([&] { return lostReports_.size() == 2; }));
    ProcessEventsFor(300);
    EXPECT_EQ(lostReports_.size(), 2u);
}

TEST_F(SerialLostPortTest, CloseStopsTheRetrying) {
    PullMidStream();
    ASSERT_TRUE(WaitUntil([&] { return !lostReports_.empty(); }));
    serial_.Close();
    EXPECT_FALSE(serial_.IsLost());
    PlugInAgain();
    ProcessEventsFor(1500);
    EXPECT_TRUE(restoredReports_.empty());
    EXPECT_FALSE(serial_.IsOpen());
}

}  // namespace
}  // namespace vekaton
