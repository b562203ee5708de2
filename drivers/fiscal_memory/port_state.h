// Which port the library has open, shared by every process that loads it, and one export call's
// use of that port.
#pragma once

#include "serial_port.h"

namespace memorix {

// MEMORIX_OpenComPort: 0 when open (also when it already was, in this or another process),
// 207, 208. opened is true when this call opened the port itself.
int openSharedPort(int port, int speed, bool& opened);
// MEMORIX_CloseComPort: the port is not open for any process afterwards.
void closeSharedPort();

// Holds the port for one export call: other processes wait for it, and the device is open in
// this process until the object ends.
class PortUse {
public:
    PortUse() = default;
    ~PortUse();
    PortUse(const PortUse&) = delete;
    PortUse& operator=(const PortUse&) = delete;

    // 0, or 208 when the port is not open or the device cannot be opened and set up.
    int begin();
    platform::SerialPort& port() { return port_; }

private:
    int lockFd_ = -1;
    platform::SerialPort port_;
};

}  // namespace memorix
