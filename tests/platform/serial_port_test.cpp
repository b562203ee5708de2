#include "serial_device.h"
#include "serial_port.h"
#include "test_environment.h"

#include <chrono>
#include <cstdlib>

namespace {

// Echoes every chunk back, so what the port wrote comes back to it.
class EchoDevice : public sim::SerialDevice {
public:
    ~EchoDevice() override { stop(); }

protected:
    void received(const sim::Bytes& bytes) override {
        trace().received(bytes);
        send(bytes);
    }
};

class SerialPortTest : public testsupport::TestEnvironment {};

TEST_F(SerialPortTest, ComNamesResolveThroughThePortsFolder) {
    EchoDevice device;
    ASSERT_TRUE(device.start(portsDir(), "COM3"));
    EXPECT_EQ(platform::resolvePortName("COM3"), device.slavePath());
    EXPECT_EQ(platform::resolvePortName("COM7"), "/dev/ttyS6");  // no link: the kernel's name
    EXPECT_EQ(platform::resolvePortName("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(platform::comPortName(12), "COM12");
}

TEST_F(SerialPortTest, WritesAndReadsThroughASimulatedDevice) {
    EchoDevice device;
    ASSERT_TRUE(device.start(portsDir(), "COM1"));
    platform::SerialPort port;
    ASSERT_TRUE(port.open("COM1"));
    ASSERT_TRUE(port.configure({.baud = 115200}));
    const std::uint8_t request[] = {0x02, 0x03, 0x01, 0x00, 0x04};
    ASSERT_EQ(port.write(request, sizeof request), 5);
    std::uint8_t reply[5] = {};
    ASSERT_EQ(port.readExact(reply, sizeof reply, 1000), 5);
    EXPECT_EQ(sim::Bytes(reply, reply + 5), sim::Bytes(request, request + 5));
    EXPECT_EQ(device.trace().lines().front(), "<- 02 03 01 00 04");
}

TEST_F(SerialPortTest, ASecondOpenOfTheSamePortIsRefused) {
    EchoDevice device;
    ASSERT_TRUE(device.start(portsDir(), "COM2"));
    platform::SerialPort first, second;
    ASSERT_TRUE(first.open("COM2"));
    EXPECT_FALSE(second.open("COM2"));
    first.close();
    EXPECT_TRUE(second.open("COM2"));
}

TEST_F(SerialPortTest, OpeningAMissingDeviceFails) {
    platform::SerialPort port;
    EXPECT_FALSE(port.open("COM99"));
    EXPECT_FALSE(port.isOpen());
    std::uint8_t b = 0;
    EXPECT_EQ(port.read(&b, 1, 10), -1);
    EXPECT_EQ(port.write(&b, 1), -1);
}

TEST_F(SerialPortTest, ReadTimesOutWithNothingWaiting) {
    EchoDevice device;
    ASSERT_TRUE(device.start(portsDir(), "COM4"));
    platform::SerialPort port;
    ASSERT_TRUE(port.open("COM4"));
    ASSERT_TRUE(port.configure({.baud = 9600}));
    std::uint8_t b = 0;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.read(&b, 1, 50), 0);
    // Only that it waited at all: the upper bound depends on the machine's load.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

TEST_F(SerialPortTest, PurgeDropsWhatArrivedBefore) {
    EchoDevice device;
    ASSERT_TRUE(device.start(portsDir(), "COM5"));
    platform::SerialPort port;
    ASSERT_TRUE(port.open("COM5"));
    ASSERT_TRUE(port.configure({.baud = 9600}));
    const std::uint8_t stale[] = {1, 2, 3};
    port.write(stale, 3);
    device.waitIdle(50);
    port.purgeInput();
    const std::uint8_t fresh[] = {9};
    port.write(fresh, 1);
    std::uint8_t b = 0;
    ASSERT_EQ(port.read(&b, 1, 1000), 1);
    EXPECT_EQ(b, 9);
}

TEST_F(SerialPortTest, FaultSwitchesShapeTheReply) {
    EchoDevice device;
    ASSERT_TRUE(device.start(portsDir(), "COM6"));
    platform::SerialPort port;
    ASSERT_TRUE(port.open("COM6"));
    ASSERT_TRUE(port.configure({.baud = 9600}));
    const std::uint8_t msg[] = {1, 2, 3, 4};
    std::uint8_t reply[4] = {};

    device.faults().arm("silent");
    port.write(msg, 4);
    EXPECT_EQ(port.readExact(reply, 4, 200), 0);

    device.faults().arm("drop");
    port.write(msg, 4);
    EXPECT_EQ(port.readExact(reply, 4, 200), 3);

    device.faults().arm("split");
    port.write(msg, 4);
    EXPECT_EQ(port.readExact(reply, 4, 2000), 4);  // the halves arrive apart but both arrive
    EXPECT_EQ(reply[3], 4);
}

}  // namespace
