// The FTDI stand-in: where device n is found, its status codes, and reads bounded by a time-out.
#include "ftdi.h"
#include "test_environment.h"
#include "usb_fiscal_device.h"

#include <chrono>

namespace {

class Ftdi : public testsupport::TestEnvironment {};

TEST_F(Ftdi, DevicePathFromSettingsLinkOrKernelDriver)
{
    EXPECT_EQ(platform::ftdiDevicePath(1), "/dev/ttyUSB1");
    std::filesystem::create_symlink("/dev/null", portsDir() / "FTDI1");
    EXPECT_EQ(platform::ftdiDevicePath(1), "/dev/null");
    settings().writeText(platform::kFtdiSettingsKey, "Device1", "/dev/ttyUSB7");
    EXPECT_EQ(platform::ftdiDevicePath(1), "/dev/ttyUSB7");
}

TEST_F(Ftdi, StatusCodesAndTheirNames)
{
    platform::FT_HANDLE handle = nullptr;
    EXPECT_EQ(platform::FT_Open(5, &handle), platform::FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(platform::FT_Close(handle), platform::FT_INVALID_HANDLE);
    const char* names[] = {"FT_OK", "FT_INVALID_HANDLE", "FT_DEVICE_NOT_FOUND", "FT_DEVICE_NOT_OPENED",
                           "FT_IO_ERROR", "FT_INSUFFICIENT_RESOURCES", "FT_INVALID_PARAMETER", "FT_INVALID_BAUD_RATE"};
    for (unsigned long s = 0; s < 8; ++s)
        EXPECT_EQ(platform::ftStatusName(s), names[s]);
    EXPECT_EQ(platform::ftStatusName(8), "");
}

TEST_F(Ftdi, ReadFromASilentDeviceEndsAtTheTimeOut)
{
    sim::UsbFiscalDevice device;  // answers only whole request frames: stays silent here
    ASSERT_TRUE(device.start(portsDir(), "FTDI0"));
    platform::FT_HANDLE handle = nullptr;
    ASSERT_EQ(platform::FT_Open(0, &handle), platform::FT_OK);
    EXPECT_EQ(platform::FT_SetBaudRate(handle, 115200), platform::FT_OK);
    EXPECT_EQ(platform::FT_SetBaudRate(handle, 5'000'000), platform::FT_INVALID_BAUD_RATE);
    EXPECT_EQ(platform::FT_SetTimeouts(handle, 200, 200), platform::FT_OK);
    char byte = 0;
    unsigned long got = 99;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(platform::FT_Read(handle, &byte, 1, &got), platform::FT_OK);
    EXPECT_EQ(got, 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(platform::FT_Close(handle), platform::FT_OK);
    EXPECT_EQ(platform::FT_Read(handle, &byte, 1, &got), platform::FT_INVALID_HANDLE);
    device.stop();
}

}  // namespace
