#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdint>
#include <string>
#include <vector>

#include "PseudoTerminal.h"
#include "QtTestSupport.h"
#include "io/SerialLink.h"

namespace vekaton {
namespace {

using testing::PortPathLink;
using testing::PseudoTerminal;
using testing::WaitUntil;

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// A link opened at 8192 bit/s on a pseudo-terminal reached through a symbolic link.
class SerialLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        link_.PointTo(terminal_->SlavePath());
        serial_.SetReceiveHandler([this](std::span<const std::uint8_t> bytes) {
            received_.insert(received_.end(), bytes.begin(), bytes.end());
        });
    }

    void OpenOrFail() {
        const auto error = serial_.Open(QString::fromStdString(link_.Path()), 8192);
        ASSERT_FALSE(error.has_value()) << error->toStdString();
    }

    bool WaitForReceived(std::size_t count) {
        return WaitUntil([&] { return received_.size() >= count; });
    }

    QTemporaryDir dir_;
    std::unique_ptr<PseudoTerminal> terminal_ = std::make_unique<PseudoTerminal>();
    PortPathLink link_{QDir(dir_.path()).filePath("ttyADAPTER").toStdString()};
    SerialLink serial_;
    std::vector<std::uint8_t> received_;
};

TEST_F(SerialLinkTest, OpensAt8192AndTalksBothWays) {
    OpenOrFail();
    EXPECT_TRUE(serial_.IsOpen());
    EXPECT_EQ(serial_.BaudRate(), 8192);
    // The kernel holds the odd speed as it is, not rounded to a standard one.
    EXPECT_EQ(terminal_->SlaveOutputSpeed(), 8192);

    const std::vector<std::uint8_t> request{0xF4, 0x56, 0x01, 0x00, 0xB5};
    ASSERT_TRUE(serial_.Write(request));
    EXPECT_EQ(terminal_->Receive(request.size()), request);

    std::vector<std::uint8_t> frame;
    for (int i = 0; i < 256; ++i) {
        frame.push_back(static_cast<std::uint8_t>(i));
    }
    terminal_->Send(frame);
    ASSERT_TRUE(WaitForReceived(frame.size()));
    EXPECT_EQ(received_, frame);
}

TEST_F(SerialLinkTest, LongStreamArrivesWholeAndInOrder) {
    OpenOrFail();
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 20000; ++i) {
        stream.push_back(static_cast<std::uint8_t>((i * 7) & 0xFF));
    }
    // Sent in pieces while the event loop runs, so delivery comes in many chunks.
    for (std::size_t at = 0; at < stream.size(); at += 1000) {
        terminal_->Send(std::vector<std::uint8_t>(stream.begin() + static_cast<long>(at),
                                                  stream.begin() + static_cast<long>(at + 1000)));
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(WaitForReceived(stream.size()));
    EXPECT_EQ(received_, stream);
}

TEST_F(SerialLinkTest, ChangesSpeedOfAnOpenPort) {
    OpenOrFail();
    EXPECT_FALSE(serial_.SetBaudRate(9600).has_value());
    EXPECT_EQ(terminal_->SlaveOutputSpeed(), 9600);
    EXPECT_EQ(serial_.BaudRate(), 9600);
    EXPECT_TRUE(serial_.SetBaudRate(0).has_value());
    EXPECT_EQ(serial_.BaudRate(), 9600);
}

TEST_F(SerialLinkTest, FlushInputDropsBytesNotYetHandedOn) {
    OpenOrFail();
    terminal_->Send("stale");
    // Let the bytes reach the port's input queue without running the event loop.
    for (int i = 0; i < 500 && terminal_->PendingAtSlave() < 5; ++i) {
        QThread::msleep(10);
    }
    ASSERT_EQ(terminal_->PendingAtSlave(), 5);
    ASSERT_TRUE(received_.empty());
    serial_.FlushInput();
    terminal_->Send("fresh");
    ASSERT_TRUE(WaitForReceived(5));
    testing::ProcessEventsFor(50);
    EXPECT_EQ(received_, Bytes("fresh"));
}

TEST_F(SerialLinkTest, DeliverReceivedHandsOnWaitingBytesWithoutTheEventLoop) {
    OpenOrFail();
    terminal_->Send("answer");
    for (int i = 0; i < 500 && terminal_->PendingAtSlave() < 6; ++i) {
        QThread::msleep(10);
    }
    ASSERT_EQ(terminal_->PendingAtSlave(), 6);
    ASSERT_TRUE(received_.empty());
    serial_.DeliverReceived();
    EXPECT_EQ(received_, Bytes("answer"));
    // Nothing is handed on twice when the event loop runs afterwards.
    testing::ProcessEventsFor(50);
    EXPECT_EQ(received_, Bytes("answer"));
}

TEST_F(SerialLinkTest, HandlerRunningAnEventLoopGetsLaterBytesAfterwardsInOrder) {
    OpenOrFail();
    std::vector<std::vector<std::uint8_t>> chunks;
    int depth = 0;
    int deepest = 0;
    serial_.SetReceiveHandler([&](std::span<const std::uint8_t> bytes) {
        ++depth;
        deepest = std::max(deepest, depth);
        chunks.emplace_back(bytes.begin(), bytes.end());
        if (chunks.size() == 1) {
            // Like a message box: more bytes arrive while this handler waits in an event loop.
            terminal_->Send("BC");
            testing::ProcessEventsFor(200);
        }
        --depth;
    });
    terminal_->Send("A");
    ASSERT_TRUE(WaitUntil([&] { return chunks.size() >= 2; }));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(chunks[0], Bytes("A"));
    EXPECT_EQ(chunks[1], Bytes("BC"));
}

TEST_F(SerialLinkTest, FlushInsideHandlerDropsWhatArrivedMeanwhile) {
    OpenOrFail();
    std::vector<std::uint8_t> all;
    serial_.SetReceiveHandler([&](std::span<const std::uint8_t> bytes) {
        const bool first = all.empty();
        all.insert(all.end(), bytes.begin(), bytes.end());
        if (first) {
            terminal_->Send("junk");
            testing::ProcessEventsFor(200);  // "junk" now waits in the port
            serial_.FlushInput();
        }
    });
    terminal_->Send("X");
    ASSERT_TRUE(WaitUntil([&] { return !all.empty(); }));
    terminal_->Send("Y");
    ASSERT_TRUE(WaitUntil([&] { return all.size() >= 2; }));
    testing::ProcessEventsFor(50);
    EXPECT_EQ(all, Bytes("XY"));
}

TEST_F(SerialLinkTest, ClosedLinkRefusesWrites) {
    EXPECT_FALSE(serial_.IsOpen());
    EXPECT_FALSE(serial_.Write(Bytes("x")));
    serial_.FlushInput();  // harmless when closed
    OpenOrFail();
    serial_.Close();
    EXPECT_FALSE(serial_.IsOpen());
    EXPECT_FALSE(serial_.Write(Bytes("x")));
}

TEST_F(SerialLinkTest, OpenFailureSaysInvalidComWithTheReason) {
    const QString missing = QDir(dir_.path()).filePath("ttyNOTHERE");
    const auto error = serial_.Open(missing, 8192);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->startsWith("Invalid Com#")) << error->toStdString();
    EXPECT_TRUE(error->contains(missing)) << error->toStdString();
    EXPECT_GT(error->split('\n').size(), 1);
    EXPECT_FALSE(serial_.IsOpen());
    EXPECT_FALSE(serial_.IsLost());

    const auto noName = serial_.Open(QString(), 8192);
    ASSERT_TRUE(noName.has_value());
    EXPECT_TRUE(noName->startsWith("Invalid Com#"));
}

}  // namespace
}  // namespace vekaton
