// CCom: the one connection to the terminal in the process, with its port settings (first read
// from "payvo.ini"), the open state of one operation and the link's busy state and cancel flag.
#pragma once

#include "serial_link.h"

#include <cstdint>
#include <string>

namespace payvo {

class CCom {
public:
    CCom();
    virtual ~CCom();
    CCom(const CCom&) = delete;
    CCom& operator=(const CCom&) = delete;

    // The process's one CCom, created on first use.
    static CCom& instance();

    // Reads SERIAL and SERIALPORTSPEED from section "PayvoBridge" of payvo.ini in the current
    // folder; defaults "COM1" and "115200".
    void readSettings();

    // The stored port name and speed hold at most 9 characters. A longer text is refused: the
    // stored value is emptied, so the next Open fails rather than reach a port cut to 9 characters.
    void SetPortName(const std::string& name);
    void SetPortSpeed(const std::string& speed);
    const std::string& GetPortName() const { return portName_; }
    const std::string& GetPortSpeed() const { return portSpeed_; }
    // Only serial (0) is supported; whatever is given, 0 is stored.
    void SetConnectionType(std::int32_t) { connectionType_ = 0; }
    std::int32_t GetConnectionType() const { return connectionType_; }

    // 0, or -1 when the port cannot be opened or set up.
    int Open();
    int Close();
    int Clear();
    int Send(std::string_view frame, std::uint16_t ackTimeoutSeconds);
    int Receive(Frame& message, std::uint16_t answerTimeoutSeconds);

    void SetBusyState(std::int32_t state) { link_.busy = state; }
    std::int32_t GetBusyState() const { return link_.busy; }
    void SetCancel(std::int32_t value) { link_.cancel = value; }
    void SetConnectionState(std::int32_t state) { connectionState_ = state; }
    std::int32_t GetConnectionState() const { return connectionState_; }

private:
    std::int32_t connectionType_ = 0;
    std::int32_t open_ = 0;
    std::int32_t connectionState_ = 0;
    PortHandle handle_ = kInvalidPort;
    std::string portName_;
    std::string portSpeed_;
    CSerialLink link_;
};

}  // namespace payvo
