#include "cominterface.h"

#include "serial_port.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

// Open ports by handle. A call takes its port out of the table under the lock and works on it
// outside, so a 50 ms read on one port never holds up a write on another.
struct PortTable {
    std::mutex mutex;
    std::map<ComHandle, std::shared_ptr<platform::SerialPort>> ports;
    ComHandle next = 1;
};

PortTable& table() {
    static PortTable t;
    return t;
}

std::shared_ptr<platform::SerialPort> find(ComHandle handle) {
    auto& t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.ports.find(handle);
    return it == t.ports.end() ? nullptr : it->second;
}

}  // namespace

ComHandle ComOpen(int port, long baud, const char* parity) {
    auto serial = std::make_shared<platform::SerialPort>();
    if (!serial->open(platform::comPortName(port))) return kComNotOpen;
    platform::SerialSettings settings;
    settings.baud = baud;
    settings.parity = (parity && *parity) ? *parity : 'n';
    settings.dataBits = 8;
    settings.stopBits = 1;
    settings.ctsOutputFlow = false;
    settings.dtr = true;
    settings.rts = true;  // toggle mode: raised while sending, which on Linux is simply up
    if (!serial->configure(settings)) return kComNotOpen;  // the port closes with the object
    // A port Windows opens starts with an empty input queue: what a device sent while nobody had
    // the port open is gone, and a scale that talks unasked is read from its next frame on.
    serial->purgeInput();
    auto& t = table();
    std::lock_guard lock(t.mutex);
    ComHandle handle = t.next++;
    t.ports.emplace(handle, std::move(serial));
    return handle;
}

int ComWrite(ComHandle handle, const void* bytes, std::size_t count) {
    if (count == 0) return kComWriteNothing;
    auto serial = find(handle);
    if (!serial) return kComWriteFailed;
    long written = serial->write(static_cast<const std::uint8_t*>(bytes), count);
    if (written < 0) {
        serial->clearErrors();
        return kComWriteFailed;
    }
    // A synchronous Windows write returns once the bytes are on their way; wait for the same.
    serial->drain();
    return std::size_t(written) < count ? kComWriteShort : kComWriteOk;
}

int ComWrite(ComHandle handle, const std::string& bytes) { return ComWrite(handle, bytes.data(), bytes.size()); }

std::string ComRead(ComHandle handle) {
    auto serial = find(handle);
    if (!serial) return {};
    std::uint8_t byte = 0;
    long n = serial->read(&byte, 1, kComReadTimeoutMs);
    if (n < 0) serial->clearErrors();
    if (n != 1) return {};
    return std::string(1, char(byte));
}

int ComClose(ComHandle handle) {
    // The port closes with its last user: at once, or when a read running on another thread ends.
    auto& t = table();
    std::lock_guard lock(t.mutex);
    t.ports.erase(handle);
    return 0;
}
