#include "cardeon.h"
#include "device_table.h"
#include "razevedu.h"
#include "scale.h"
#include "serial_port.h"
#include "test_environment.h"

#include <filesystem>

namespace {

class DeviceTableTest : public testsupport::TestEnvironment {
protected:
    devices::Options options() { return {portsDir(), dir(), false, {}}; }
};

TEST_F(DeviceTableTest, StartsWhatTheSetupKeyNamesOnItsPorts) {
    setupText("FMTips", "1");
    setupInteger("FMPort", 4);
    setupInteger("PrinteraPorts", 2);
    setupInteger("Printeris", 0);
    setupInteger("KlDisplejsPorts", 3);
    auto running = devices::startConfigured(settings(), options());
    ASSERT_EQ(running.size(), 3u);
    for (const char* port : {"COM4", "COM2", "COM3"}) EXPECT_TRUE(std::filesystem::is_symlink(portsDir() / port)) << port;

    platform::SerialPort printer;
    ASSERT_TRUE(printer.open("COM2"));
    ASSERT_TRUE(printer.configure({.baud = 9600}));
    const std::string line = "Maize 1.20\r\n";
    printer.write(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
    for (auto& d : running)
        if (d->port == "COM2") d->device->waitIdle();
    devices::saveViews(running);
    EXPECT_NE(testsupport::readFile(dir() / "paper-COM2.txt").find("Maize 1.20"), std::string::npos);
}

TEST_F(DeviceTableTest, ADisplayOnThePrintersPortCarriesThePrinter) {
    setupText("FMTips", "0");
    setupInteger("PrinteraPorts", 2);
    setupInteger("KlDisplejsPorts", 2);
    auto running = devices::startConfigured(settings(), options());
    ASSERT_EQ(running.size(), 1u);
    EXPECT_NE(running[0]->description.find("receipt printer behind it"), std::string::npos);
}

TEST_F(DeviceTableTest, TheUsbKindAnswersOnTheFirstFtdiLink) {
    settings().writeInteger(testsupport::kSetupKey, "FMTips", 3);
    auto running = devices::startConfigured(settings(), options());
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0]->port, "FTDI0");
    EXPECT_TRUE(std::filesystem::is_symlink(portsDir() / "FTDI0"));
}

TEST_F(DeviceTableTest, TheChipReaderStandsOnItsPortOnlyWithTerminalKindOne) {
    setupText("FMTips", "0");
    setupInteger("CHIPReader", 6);
    for (const char* kind : {"2", "3"}) {
        setupText("EFT", kind);
        for (const auto& d : devices::startConfigured(settings(), options())) EXPECT_NE(d->description, "chip-card reader") << kind;
    }
    setupText("EFT", "1");
    auto running = devices::startConfigured(settings(), options());
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0]->port, "COM6");
    EXPECT_EQ(iInitSerialPort(6), CARDEON_OK);
    running[0]->device->waitIdle();
    devices::saveViews(running);
    EXPECT_EQ(testsupport::readFile(dir() / "reader-COM6.txt"), "[   IEVIETOJIET        KARTI]\nno card\n");
}

TEST_F(DeviceTableTest, TheScaleStandsOnThePortTheCommandLineNames) {
    setupText("FMTips", "0");
    devices::Options withScale = options();
    withScale.scalePort = "COM7";
    auto running = devices::startConfigured(settings(), withScale);
    ASSERT_EQ(running.size(), 1u);
    scalvia::Scale scale;
    ASSERT_EQ(scale.Connect(7, 20), scalvia::kDone);
    EXPECT_EQ(scale.Update(), scalvia::kDone);
}

TEST_F(DeviceTableTest, NumbersAreReadAsIntegersOrAsText) {
    setupText("PrinteraPorts", "5");
    setupText("KlDisplejsPorts", "x5");
    EXPECT_EQ(devices::setupNumber(settings(), "PrinteraPorts"), 5);
    EXPECT_FALSE(devices::setupNumber(settings(), "KlDisplejsPorts"));
    EXPECT_FALSE(devices::setupNumber(settings(), "Missing"));
}

}  // namespace

TEST_F(DeviceTableTest, TheVoucherServiceListensOnTheServersPortWithServiceKindTwo) {
    setupText("FMTips", "0");
    std::uint16_t port = 0;
    {
        sim::VoucherServiceSim probe;  // a port free a moment ago
        ASSERT_TRUE(probe.start());
        port = probe.port();
    }
    const std::string server = "http://127.0.0.1:" + std::to_string(port);
    setupText("ZudezoServer", server);
    setupInteger("PrepaidServVeids", 1);
    EXPECT_TRUE(devices::startConfigured(settings(), options()).empty());

    setupInteger("PrepaidServVeids", 2);
    auto running = devices::startConfigured(settings(), options());
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0]->port, server);
    EXPECT_EQ(reserveVoucher(u"K", u"P", u"U", u"4750000000001"), u"R1");
    devices::saveViews(running);
    EXPECT_EQ(testsupport::readFile(dir() / "vouchers.txt"), "bought:\ncancelled:\n");
}
