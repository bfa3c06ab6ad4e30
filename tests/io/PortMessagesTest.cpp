#include <gtest/gtest.h>

#include "io/PortMessages.h"
#include "io/SerialPortNames.h"

namespace vekaton {
namespace {

DeviceAccess OwnedBy(const std::string& group, DeviceAccess::Membership membership) {
    DeviceAccess access;
    access.ownerGroup = group;
    access.userName = "ana";
    access.membership = membership;
    return access;
}

TEST(PortMessagesTest, PermissionDeniedTellsHowToGetAccess) {
    const QString message =
        BuildOpenErrorMessage("/dev/ttyUSB0", QSerialPort::PermissionError, "Permission denied",
                              OwnedBy("dialout", DeviceAccess::Membership::NotMember));
    const QStringList lines = message.split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "Invalid Com#");
    EXPECT_EQ(lines[1], "/dev/ttyUSB0: Permission denied");
#if defined(Q_OS_LINUX)
    EXPECT_TRUE(message.contains("sudo usermod -aG dialout $USER")) << message.toStdString();
    EXPECT_TRUE(message.contains("log in again")) << message.toStdString();
#endif
}

#if defined(Q_OS_LINUX)
TEST(PortMessagesTest, PermissionHintNamesTheGroupThatOwnsTheDevice) {
    const QString message =
        BuildOpenErrorMessage("/dev/ttyACM0", QSerialPort::PermissionError, "Permission denied",
                              OwnedBy("uucp", DeviceAccess::Membership::NotMember));
    EXPECT_TRUE(message.contains("usermod -aG uucp $USER")) << message.toStdString();
    EXPECT_TRUE(message.contains("\"ana\" is not in it")) << message.toStdString();

    const QString notYet =
        BuildOpenErrorMessage("/dev/ttyACM0", QSerialPort::PermissionError, "Permission denied",
                              OwnedBy("uucp", DeviceAccess::Membership::MemberNotInLogin));
    EXPECT_TRUE(notYet.contains("this login began before")) << notYet.toStdString();
}

TEST(PortMessagesTest, OpenErrorReadsTheGroupFromTheDevice) {
    // /dev/null is readable by everyone, but it has an owning group to report.
    const QString message =
        OpenErrorMessage("/dev/null", QSerialPort::PermissionError, "Permission denied");
    EXPECT_TRUE(message.contains("the group \"root\"")) << message.toStdString();
}
#endif

TEST(PortMessagesTest, PortHeldByAnotherProgramIsNotAPermissionProblem) {
    const QString message = BuildOpenErrorMessage(
        "/dev/ttyUSB0", QSerialPort::PermissionError, "Permission error while locking the device",
        OwnedBy("dialout", DeviceAccess::Membership::NotMember));
    EXPECT_TRUE(message.startsWith("Invalid Com#\n"));
    EXPECT_TRUE(message.contains("in use by another program")) << message.toStdString();
    EXPECT_FALSE(message.contains("usermod"));
}

TEST(PortMessagesTest, MissingDeviceAndOtherErrorsKeepTheSystemsReason) {
    const QString missing = BuildOpenErrorMessage("/dev/ttyUSB3", QSerialPort::DeviceNotFoundError,
                                                  "No such file or directory");
    EXPECT_TRUE(missing.startsWith("Invalid Com#\n/dev/ttyUSB3: No such file or directory\n"));
    EXPECT_TRUE(missing.contains("plugged in"));

    const QString other =
        BuildOpenErrorMessage("COM7", QSerialPort::UnknownError, "Something odd happened");
    EXPECT_EQ(other, "Invalid Com#\nCOM7: Something odd happened");

    const QString noReason = BuildOpenErrorMessage("COM7", QSerialPort::UnknownError, "  ");
    EXPECT_EQ(noReason, "Invalid Com#\nCOM7: unknown error");
}

TEST(PortMessagesTest, LostAndBackMessages) {
    const QString lost =
        PortLostMessage("/dev/ttyUSB0", QSerialPort::ResourceError, "Input/output error");
    EXPECT_TRUE(lost.contains("/dev/ttyUSB0"));
    EXPECT_TRUE(lost.contains("port lost"));
    EXPECT_TRUE(lost.contains("unplugged"));
    EXPECT_TRUE(lost.contains("Input/output error"));
    // Qt's text for a hang-up says nothing; it is left out rather than shown.
    const QString hangUp = PortLostMessage("/dev/ttyUSB0", QSerialPort::ReadError, "Unknown error");
    EXPECT_TRUE(hangUp.contains("reading from the device failed")) << hangUp.toStdString();
    EXPECT_FALSE(hangUp.contains("Unknown error")) << hangUp.toStdString();
    EXPECT_TRUE(PortBackMessage("/dev/ttyUSB0").contains("/dev/ttyUSB0"));
}

TEST(SerialPortNamesTest, NumbersMapToDevicesAndBack) {
    EXPECT_EQ(ComPortDeviceName(0), "");
    EXPECT_EQ(ComPortDeviceName(-3), "");
#if defined(Q_OS_WIN)
    EXPECT_EQ(ComPortDeviceName(1), "COM1");
    EXPECT_EQ(ComPortDeviceName(12), "COM12");
    EXPECT_EQ(ComPortNumber("COM12"), 12);
    EXPECT_EQ(ComPortNumber("COM0"), 0);
#else
    EXPECT_EQ(ComPortDeviceName(1), "/dev/ttyS0");
    EXPECT_EQ(ComPortDeviceName(2), "/dev/ttyS1");
    EXPECT_EQ(ComPortNumber("/dev/ttyS0"), 1);
    EXPECT_EQ(ComPortNumber("/dev/ttyS11"), 12);
    EXPECT_EQ(ComPortNumber("/dev/ttyUSB0"), 0);
    EXPECT_EQ(ComPortNumber("/dev/ttyS"), 0);
    EXPECT_EQ(ComPortNumber("/dev/ttyS01"), 0);
    EXPECT_EQ(ComPortNumber("/dev/ttyS-1"), 0);
#endif
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(ComPortNumber(ComPortDeviceName(n)), n);
    }
}

TEST(SerialPortNamesTest, ListingGivesDeviceNamesInNumericOrder) {
    const auto ports = ListSerialPorts();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        EXPECT_FALSE(ports[i].deviceName.isEmpty());
    }
    for (std::size_t i = 1; i < ports.size(); ++i) {
        const QString& a = ports[i - 1].deviceName;
        const QString& b = ports[i].deviceName;
        if (a.startsWith("/dev/ttyS") && b.startsWith("/dev/ttyS")) {
            EXPECT_LT(ComPortNumber(a), ComPortNumber(b))
                << a.toStdString() << " " << b.toStdString();
        }
    }
}

}  // namespace
}  // namespace vekaton
