// Serial ports by their Windows names ("COM3") on Linux ttys: name resolution, line set-up,
// reads and writes with millisecond time-outs, purge and error clearing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

struct SerialSettings {
    long baud = 9600;
    char parity = 'n';          // 'n' none, 'e' even, 'o' odd
    int dataBits = 8;
    int stopBits = 1;
    bool ctsOutputFlow = false; // hold output while CTS is low
    bool dtr = true;            // DTR raised while the port is open
    bool rts = true;            // RTS raised (handshake and toggle modes both leave it up here)
};

// "COM3" resolves through the folder named by TILLORA_PORTS (a link or file named "COM3" there,
// followed to its target); without that folder or link COMn is /dev/ttyS(n-1). Any other name
// (an absolute path) is used as it is.
std::string resolvePortName(const std::string& name);
std::string comPortName(int number);  // "COM%d"

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    SerialPort(SerialPort&& other) noexcept;
    SerialPort& operator=(SerialPort&& other) noexcept;

    // Opens the port for exclusive use: a second open of the same device, from this or another
    // process, fails while this one holds it. Returns false and leaves the port closed on failure.
    bool open(const std::string& name);
    bool configure(const SerialSettings& settings);
    bool isOpen() const { return fd_ >= 0; }
    void close();

    // Waits up to timeoutMs for the first byte, then takes what is waiting, up to size bytes.
    // Returns the count read, 0 on time-out, -1 on failure.
    long read(std::uint8_t* buffer, std::size_t size, int timeoutMs);
    // Reads exactly size bytes unless timeoutMs passes between two bytes. Returns the count read
    // or -1 on failure.
    long readExact(std::uint8_t* buffer, std::size_t size, int timeoutMs);
    // Writes all bytes, waiting up to timeoutMs (negative: no limit) for room. Returns the count
    // written or -1 on failure.
    long write(const std::uint8_t* data, std::size_t size, int timeoutMs = -1);
    // Waits until everything written has left the port.
    void drain();
    void purgeInput();
    void purgeOutput();
    // Line errors on Linux are reported per call; this exists for the callers that clear the
    // error state after a failed read or write, and forgets any pending error.
    void clearErrors();

    const std::string& devicePath() const { return device_; }
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    std::string device_;
};

}  // namespace platform
