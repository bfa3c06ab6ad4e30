// "Trace to Comm.Log": the same trace whichever port is open, the simulated module included.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <vector>

#include "PseudoTerminal.h"
#include "QtTestSupport.h"
#include "io/PortController.h"

namespace vekaton {
namespace {

using testing::PortPathLink;
using testing::PseudoTerminal;
using testing::WaitUntil;

QString ReadTrace(const QString& folder) {
    QFile file(QDir(folder).filePath("Comm.Log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class PortControllerTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        port_.SetReceiveHandler([this](std::span<const std::uint8_t> bytes) {
            received_.insert(received_.end(), bytes.begin(), bytes.end());
        });
    }
    QTemporaryDir dir_;
    PortController port_;
    std::vector<std::uint8_t> received_;
};

TEST_F(PortControllerTraceTest, ASerialPortIsTracedBothWaysInHexWithItsLossAndReturn) {
    auto terminal = std::make_unique<PseudoTerminal>();
    PortPathLink link(QDir(dir_.path()).filePath("ttyADAPTER").toStdString());
    link.PointTo(terminal->SlavePath());
    LinkSettings settings;
    settings.portName = link.Path();
    ASSERT_FALSE(port_.StartTrace(dir_.path()).has_value());
    EXPECT_TRUE(port_.IsTracing());
    EXPECT_EQ(port_.TraceFilePath(), QDir(dir_.path()).filePath("Comm.Log"));
    ASSERT_FALSE(port_.Open(settings).has_value());

    ASSERT_TRUE(port_.Write(std::vector<std::uint8_t>{0xF4, 0x56, 0x01}));
    ASSERT_EQ(terminal->Receive(3).size(), 3u);
    terminal->Send(std::vector<std::uint8_t>{0x0A, 0xFF});
    ASSERT_TRUE(WaitUntil([&] { return received_.size() >= 2; }));

    bool lost = false;
    bool back = false;
    QObject::connect(&port_, &PortController::PortLost, [&] { lost = true; });
    QObject::connect(&port_, &PortController::PortRestored, [&] { back = true; });
    link.PointTo(QDir(dir_.path()).filePath("unplugged").toStdString());
    terminal->Close();
    ASSERT_TRUE(WaitUntil([&] { return lost; }));
    terminal = std::make_unique<PseudoTerminal>();
    link.PointTo(terminal->SlavePath());
    ASSERT_TRUE(WaitUntil([&] { return back; }, 5000));
    port_.StopTrace();
    EXPECT_FALSE(port_.IsTracing());

    const QString text = ReadTrace(dir_.path());
    EXPECT_TRUE(text.contains("TX F4 56 01\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("RX 0A FF\r\n")) << text.toStdString();
    EXPECT_LT(text.indexOf("TX"), text.indexOf("RX"));
    EXPECT_EQ(text.count("port lost"), 1) << text.toStdString();
    EXPECT_EQ(text.count("open again"), 1) << text.toStdString();
}

// The simulated module's traffic once left Comm.Log empty.
TEST_F(PortControllerTraceTest, TheSimulatedModuleIsTracedTheSameWay) {
    LinkSettings settings;
    settings.portName = kSimulatedPortName;
    settings.requestString = "$F4 $57 $01 $00 $B4";
    settings.responseBytes = 3;
    settings.dataBytes = 23;
    settings.useCheckSum = true;
    settings.requestEchoed = true;
    ASSERT_FALSE(port_.StartTrace(dir_.path()).has_value());
    ASSERT_FALSE(port_.Open(settings).has_value());
    ASSERT_TRUE(port_.IsSimulated());
    ASSERT_TRUE(port_.Write(std::vector<std::uint8_t>{0xF4, 0x57, 0x01, 0x00, 0xB4}));
    ASSERT_TRUE(WaitUntil([&] { return received_.size() >= 32; }));
    port_.StopTrace();
    const QString text = ReadTrace(dir_.path());
    EXPECT_TRUE(text.contains("TX F4 57 01 00 B4\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("RX F4 57 01 00 B4 F4 95 01")) << text.toStdString();
}

TEST_F(PortControllerTraceTest, ATraceThatCannotBeOpenedSaysWhere) {
    const auto error = port_.StartTrace(QDir(dir_.path()).filePath("no/such/folder"));
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains("Comm.Log")) << error->toStdString();
    EXPECT_FALSE(port_.IsTracing());
}

}  // namespace
}  // namespace vekaton
