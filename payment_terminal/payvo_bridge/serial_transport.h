// The bridge's serial line to the terminal: port name check and set-up, the drain before each
// exchange, and the acknowledged send and the frame receive with their NAK rules.
#pragma once

#include "serial_port.h"
#include "transport.h"

namespace payvo_bridge {

// A bare number 1..256 becomes "COM<n>" (logged as a warning); false, logged, for a name shorter
// than four characters or without "COM".
bool checkSerialPortName(std::string& name);

class SerialTransport : public Transport {
public:
    SerialTransport(std::string portName, std::string speed);
    bool open() override;
    void close() override;
    void clear() override;
    int send(std::string_view message, std::string& held, int seconds) override;
    int receive(std::string& answer, std::string& held, int seconds, std::atomic<bool>& cancel) override;

private:
    // Bytes read (at least 1), 0 when nothing waits, -2 when the read failed.
    long readSome(char* buffer, std::size_t count);
    bool write(std::string_view bytes);
    void reply(char byte);

    std::string portName_;
    std::string speed_;
    platform::SerialPort port_;
};

}  // namespace payvo_bridge
