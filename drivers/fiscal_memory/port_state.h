// Which port the library has open, shared by every process that loads it, and one export call's
// use of that port.
#pragma once

#include "serial_port.h"

#include <cstdint>

namespace memorix {

// MEMORIX_OpenComPort: 0 when open (also when it already was, in this or another process),
// 207, 208. opened is true when this call opened the port itself.
int openSharedPort(int port, int speed, bool& opened);
// MEMORIX_CloseComPort: the port is not open for any process afterwards. When this process opened
// it, the line settings and time-outs found then are put back.
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
    // The count of changes to the totals memory, as this call found it: a process whose caches
    // were filled at another count must read the module again.
    std::uint64_t totalsGeneration() const { return generation_; }
    // Tells every process that this call changed the totals memory; the new count.
    std::uint64_t noteTotalsChanged();

private:
    int lockFd_ = -1;
    std::uint64_t generation_ = 0;
    platform::SerialPort port_;
};

}  // namespace memorix
