#include "ftdi.h"

#include "serial_port.h"
#include "settings_store.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>

namespace platform {

struct FtdiDevice {
    SerialPort port;
    int readTimeoutMs = kFtdiDefaultReadTimeoutMs;
    int writeTimeoutMs = kFtdiDefaultReadTimeoutMs;
};

namespace {

// Handles in use, so that a closed or made-up handle is refused instead of followed.
std::mutex devicesMutex;
std::set<FtdiDevice*> devices;

FtdiDevice* live(FT_HANDLE handle)
{
    std::lock_guard lock(devicesMutex);
    return handle && devices.count(handle) ? handle : nullptr;
}

int configuredReadTimeout()
{
    const auto ms = SettingsStore::current().readInteger(kFtdiSettingsKey, "ReadTimeoutMs");
    return ms && *ms > 0 ? *ms : kFtdiDefaultReadTimeoutMs;
}

}  // namespace

std::string ftStatusName(FT_STATUS status)
{
    static const char* const names[] = {
        "FT_OK", "FT_INVALID_HANDLE", "FT_DEVICE_NOT_FOUND", "FT_DEVICE_NOT_OPENED",
        "FT_IO_ERROR", "FT_INSUFFICIENT_RESOURCES", "FT_INVALID_PARAMETER", "FT_INVALID_BAUD_RATE",
    };
    return status < std::size(names) ? names[status] : std::string();
}

std::string ftdiDevicePath(int index)
{
    const std::string n = std::to_string(index);
    if (const auto named = SettingsStore::current().readText(kFtdiSettingsKey, "Device" + n); named && !named->empty())
        return resolvePortName(*named);
    const std::string link = "FTDI" + n;
    if (const std::string resolved = resolvePortName(link); resolved != link)
        return resolved;
    return "/dev/ttyUSB" + n;
}

FT_STATUS FT_Open(int index, FT_HANDLE* handle)
{
    if (!handle || index < 0)
        return FT_INVALID_PARAMETER;
    *handle = nullptr;
    const std::string path = ftdiDevicePath(index);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return FT_DEVICE_NOT_FOUND;
    auto device = std::make_unique<FtdiDevice>();
    // The driver opens a device at 9600 baud, 8 data bits, no parity, one stop bit.
    if (!device->port.open(path) || !device->port.configure(SerialSettings{}))
        return FT_DEVICE_NOT_OPENED;
    device->readTimeoutMs = configuredReadTimeout();
    std::lock_guard lock(devicesMutex);
    *handle = device.release();
    devices.insert(*handle);
    return FT_OK;
}

FT_STATUS FT_Close(FT_HANDLE handle)
{
    std::unique_ptr<FtdiDevice> device;
    {
        std::lock_guard lock(devicesMutex);
        if (!handle || !devices.erase(handle))
            return FT_INVALID_HANDLE;
        device.reset(handle);
    }
    device->port.close();
    return FT_OK;
}

FT_STATUS FT_SetBaudRate(FT_HANDLE handle, unsigned long baud)
{
    FtdiDevice* device = live(handle);
    if (!device)
        return FT_INVALID_HANDLE;
    // The FT232's divisors reach from 183 to 3,000,000 bits per second.
    if (baud < 183 || baud > 3'000'000)
        return FT_INVALID_BAUD_RATE;
    SerialSettings settings;
    settings.baud = long(baud);
    return device->port.configure(settings) ? FT_OK : FT_IO_ERROR;
}

FT_STATUS FT_SetTimeouts(FT_HANDLE handle, unsigned long readTimeoutMs, unsigned long writeTimeoutMs)
{
    FtdiDevice* device = live(handle);
    if (!device)
        return FT_INVALID_HANDLE;
    if (readTimeoutMs > 0)
        device->readTimeoutMs = int(readTimeoutMs);
    if (writeTimeoutMs > 0)
        device->writeTimeoutMs = int(writeTimeoutMs);
    return FT_OK;
}

FT_STATUS FT_Purge(FT_HANDLE handle, unsigned long mask)
{
    FtdiDevice* device = live(handle);
    if (!device)
        return FT_INVALID_HANDLE;
    if (mask & FT_PURGE_RX)
        device->port.purgeInput();
    if (mask & FT_PURGE_TX)
        device->port.purgeOutput();
    return FT_OK;
}

FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, unsigned long length, unsigned long* returned)
{
    FtdiDevice* device = live(handle);
    if (!device)
        return FT_INVALID_HANDLE;
    if (!returned || (!buffer && length > 0))
        return FT_INVALID_PARAMETER;
    *returned = 0;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(device->readTimeoutMs);
    while (*returned < length) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            break;
        const long n = device->port.read(bytes + *returned, length - *returned, int(left));
        if (n < 0)
            return FT_IO_ERROR;
        *returned += static_cast<unsigned long>(n);
    }
    return FT_OK;
}

FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, unsigned long length, unsigned long* written)
{
    FtdiDevice* device = live(handle);
    if (!device)
        return FT_INVALID_HANDLE;
    if (!written || (!buffer && length > 0))
        return FT_INVALID_PARAMETER;
    const long n = device->port.write(static_cast<const std::uint8_t*>(buffer), length, device->writeTimeoutMs);
    *written = n > 0 ? static_cast<unsigned long>(n) : 0;
    return n < 0 ? FT_IO_ERROR : FT_OK;
}

}  // namespace platform
