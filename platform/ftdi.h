// The FTDI D2XX calls the fiscal-memory access relies on (open by index, baud rate, read, write,
// close and their status codes), on a tty: the kernel's FTDI serial driver or a pseudo-terminal.
#pragma once

#include <string>

namespace platform {

struct FtdiDevice;
using FT_HANDLE = FtdiDevice*;
using FT_STATUS = unsigned long;

// The driver's status codes, 0 to 7 in the driver's order.
enum : FT_STATUS {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_INVALID_BAUD_RATE = 7,
};

// "FT_OK" .. "FT_INVALID_BAUD_RATE"; empty for any other value.
std::string ftStatusName(FT_STATUS status);

// Settings key of the layer: text value "Device<n>" names the tty of device n (a path, or a port
// name that resolvePortName understands); integer value "ReadTimeoutMs" bounds every read.
inline constexpr const char* kFtdiSettingsKey = "Software\\TOVEL\\Tillora\\FTDI";
inline constexpr int kFtdiDefaultReadTimeoutMs = 2000;

// Where device n is: the settings value "Device<n>", else a link "FTDI<n>" in the folder that
// TILLORA_PORTS names, else /dev/ttyUSB<n>.
std::string ftdiDevicePath(int index);

FT_STATUS FT_Open(int index, FT_HANDLE* handle);
FT_STATUS FT_Close(FT_HANDLE handle);
FT_STATUS FT_SetBaudRate(FT_HANDLE handle, unsigned long baud);
// Read and write time-outs in milliseconds. 0 for the read time-out keeps the layer's bound:
// unlike the driver, a read here never waits without limit.
FT_STATUS FT_SetTimeouts(FT_HANDLE handle, unsigned long readTimeoutMs, unsigned long writeTimeoutMs);
// Drops what waits in the receive (FT_PURGE_RX) and transmit (FT_PURGE_TX) buffers.
inline constexpr unsigned long FT_PURGE_RX = 1;
inline constexpr unsigned long FT_PURGE_TX = 2;
FT_STATUS FT_Purge(FT_HANDLE handle, unsigned long mask);
// Waits until length bytes have come or the read time-out passes since the call; a time-out is
// FT_OK with fewer bytes in *returned, as with the driver.
FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, unsigned long length, unsigned long* returned);
FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, unsigned long length, unsigned long* written);

}  // namespace platform
