// The shared ground of every device simulator: a pseudo-terminal linked as a COM port, a reader
// thread that hands the device each chunk the computer sent, replies paced at the baud rate,
// fault switches that tests set by name, and a readable trace of the exchange.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// Named faults, each armed for a number of uses. The generic ones act on the bytes a device sends:
//   "silent"  - the next reply is not sent at all;
//   "drop"    - the last byte of the next reply is not sent;
//   "corrupt" - one byte in the middle of the next reply is flipped;
//   "split"   - the next reply goes out in two parts 300 ms apart;
//   "dribble" - the next reply goes out one byte at a time, 20 ms apart;
//   "delay"   - the next reply waits 1500 ms before it goes out.
// Devices add their own names ("nak", "bad-check", "status=23", "power-lost"...) and consume them
// with take().
class FaultSwitches {
public:
    void arm(const std::string& name, int times = 1);
    void disarm(const std::string& name);
    void clear();
    // True (and one use spent) when the fault is armed.
    bool take(const std::string& name);
    bool armed(const std::string& name) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, int> armed_;
};

// What crossed the wire, one line per chunk: "<- 02 03 01 00 04  status request" for bytes from
// the computer, "-> ..." for bytes the device sent, "** ..." for notes.
class Trace {
public:
    void received(const Bytes& bytes, const std::string& note = {});
    void sent(const Bytes& bytes, const std::string& note = {});
    void note(const std::string& text);
    std::string text() const;
    std::vector<std::string> lines() const;
    void clear();

private:
    void add(const std::string& line);
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

std::string hex(const Bytes& bytes);

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return master_ >= 0; }
    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    // Makes portsDir/comName a symbolic link to the slave side (replacing an old link).
    bool linkAs(const std::filesystem::path& portsDir, const std::string& comName);
    // Bytes sent to the program that it has not read yet, and dropping them unread (what a port
    // nobody has open does with what a device sends).
    int pendingToProgram() const;
    void discardPendingToProgram();
    void closeMaster();

private:
    int master_ = -1;
    int slaveKeeper_ = -1;  // keeps the slave side alive between the program's opens
    std::string slavePath_;
    std::filesystem::path link_;
};

// Base of a simulated serial device. A subclass reacts to received() and answers with send(), and
// calls stop() in its destructor so the reader thread ends before the subclass's state does.
class SerialDevice {
public:
    virtual ~SerialDevice();

    // Opens a pseudo-terminal, links it as comName in portsDir (when portsDir is not empty) and
    // starts the reader thread. baud > 0 paces what the device sends at that rate (10 bits a byte).
    virtual bool start(const std::filesystem::path& portsDir, const std::string& comName, long baud = 0);
    void stop();
    // The device pulled off the line (a USB adapter unplugged): stops, and closes its side of the
    // pseudo-terminal, so the program's port reports a hang-up and its reads fail.
    void unplug();
    bool running() const { return running_; }
    const std::string& slavePath() const { return pty_.slavePath(); }

    FaultSwitches& faults() { return faults_; }
    Trace& trace() { return trace_; }

    // Waits until the device has gone quiet: no byte waiting or being handled, and nothing
    // received for quietMs (so it always waits at least that long). Tests use it before reading
    // the device's state.
    void waitIdle(int quietMs = 100, int limitMs = 5000);

protected:
    // Called on the reader thread with each chunk as it arrives.
    virtual void received(const Bytes& bytes) = 0;
    // Called before start(): the device is told, through inputFlushed() on the reader thread,
    // each time the program empties its input queue, as the port wrapper does when it opens the
    // port. Devices that talk without being asked start their frames from there.
    void watchInputFlushes() { watchFlushes_ = true; }
    virtual void inputFlushed() {}
    PseudoTerminal& terminal() { return pty_; }
    // Sends bytes to the computer through the generic faults and the pacing.
    void send(const Bytes& bytes, const std::string& note = {});
    // Sends without faults (a device's own deliberate garbage, for instance).
    void sendRaw(const Bytes& bytes);
    // Sends at the line's pace without faults or trace (a stream the device traces by frame).
    void writePaced(const Bytes& bytes);

    std::mutex stateMutex_;  // guards the subclass's device state against the test thread

private:
    void readLoop();

    PseudoTerminal pty_;
    std::thread reader_;
    std::atomic<bool> running_{false};
    std::atomic<long> lastActivityMs_{0};
    std::atomic<bool> handling_{false};
    long baud_ = 0;
    bool watchFlushes_ = false;
    FaultSwitches faults_;
    Trace trace_;
};

}  // namespace sim
