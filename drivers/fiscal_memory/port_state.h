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

// A transaction of the named-file store is one process's at a time: from its begin to its commit
// or rollback the process holds the store, and the other processes' store calls wait for it. So
// no program writes between another's read and write of a record in a transaction (the set-up
// program's save beside the till's sale). A process that ends lets go with it; its transaction is
// then rolled back by the next process that reads the store.
class StoreTurn {
public:
    StoreTurn() = default;
    ~StoreTurn();
    StoreTurn(const StoreTurn&) = delete;
    StoreTurn& operator=(const StoreTurn&) = delete;

    // Waits until no other process holds the store; one that begins a transaction also waits for
    // every other call on it to end. 0; 150 when another process kept its transaction beyond the
    // wait limit; 208 when the lock cannot be taken.
    int begin(bool beginsTransaction);
    // This process's transaction is open after the call: the hold stays until it ends.
    void keepForTransaction();

private:
    int fd_ = -1;  // the lock file, locked for this call; -1 when the process's held lock serves
};

// This process has no transaction of the store (any more): the hold it kept goes.
void endStoreTransaction();

}  // namespace memorix
