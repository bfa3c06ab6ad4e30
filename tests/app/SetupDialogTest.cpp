// The setup panel's port choice reaches the settings file's "ComPort=" line.
#include <gtest/gtest.h>

#include <QComboBox>

#include "QtApp.h"
#include "app/SetupDialog.h"

namespace vekaton {
namespace {

TEST(SetupDialogPort, ComPortFollowsTheChosenDevice) {
    testing::TestApp();
    LinkSettings settings;
    settings.comPort = 9;  // stale: the device below is the fifth port
    settings.portName = "/dev/ttyS4";
    const QList<PortChoice> ports{{"/dev/ttyS1", "ttyS1"}, {"/dev/ttyUSB0", "USB adapter"}};
    SetupDialog dialog(settings, ports);
    auto* port = dialog.findChild<QComboBox*>("SpinEdit2");
    ASSERT_NE(port, nullptr);

    EXPECT_EQ(dialog.Settings().comPort, 5);  // follows the device, not the stale number
    port->setCurrentIndex(0);
    EXPECT_EQ(dialog.Settings().portName, "/dev/ttyS1");
    EXPECT_EQ(dialog.Settings().comPort, 2);
    port->setCurrentIndex(1);
    EXPECT_EQ(dialog.Settings().portName, "/dev/ttyUSB0");
    EXPECT_EQ(dialog.Settings().comPort, 0);
    port->setEditText("COM3");
    EXPECT_EQ(dialog.Settings().comPort, 3);
}

}  // namespace
}  // namespace vekaton
