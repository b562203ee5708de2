#include "serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace sim {
namespace {

long nowMs() {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

void sleepMs(long ms) {
    if (ms > 0) ::usleep(useconds_t(ms) * 1000);
}

}  // namespace

// ---- FaultSwitches ----

void FaultSwitches::arm(const std::string& name, int times) {
    std::lock_guard lock(mutex_);
    armed_[name] = times;
}

void FaultSwitches::disarm(const std::string& name) {
    std::lock_guard lock(mutex_);
    armed_.erase(name);
}

void FaultSwitches::clear() {
    std::lock_guard lock(mutex_);
    armed_.clear();
}

bool FaultSwitches::take(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto it = armed_.find(name);
    if (it == armed_.end() || it->second <= 0) return false;
    if (--it->second == 0) armed_.erase(it);
    return true;
}

bool FaultSwitches::armed(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto it = armed_.find(name);
    return it != armed_.end() && it->second > 0;
}

// ---- Trace ----

std::string hex(const Bytes& bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i]);
        out += buf;
    }
    return out;
}

void Trace::received(const Bytes& bytes, const std::string& note) { add("<- " + hex(bytes) + (note.empty() ? "" : "  " + note)); }
void Trace::sent(const Bytes& bytes, const std::string& note) { add("-> " + hex(bytes) + (note.empty() ? "" : "  " + note)); }
void Trace::note(const std::string& text) { add("** " + text); }

void Trace::add(const std::string& line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
}

std::string Trace::text() const {
    std::lock_guard lock(mutex_);
    std::string out;
    for (const auto& l : lines_) out += l + "\n";
    return out;
}

std::vector<std::string> Trace::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

void Trace::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

// ---- PseudoTerminal ----

PseudoTerminal::PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    slavePath_ = name;
    // Raw line discipline on the slave, so the program's bytes pass untouched whatever it sets.
    slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeeper_ >= 0) {
        termios tio{};
        ::tcgetattr(slaveKeeper_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slaveKeeper_, TCSANOW, &tio);
    }
    int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
    std::error_code ec;
    if (!link_.empty()) std::filesystem::remove(link_, ec);
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
    if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::linkAs(const std::filesystem::path& portsDir, const std::string& comName) {
    std::error_code ec;
    std::filesystem::create_directories(portsDir, ec);
    std::filesystem::path link = portsDir / comName;
    std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(slavePath_, link, ec);
    if (ec) return false;
    link_ = link;
    return true;
}

int PseudoTerminal::pendingToProgram() const {
    int pending = 0;
    if (slaveKeeper_ >= 0) ::ioctl(slaveKeeper_, FIONREAD, &pending);
    return pending;
}

void PseudoTerminal::discardPendingToProgram() {
    std::uint8_t buffer[512];
    // The program may take the same bytes meanwhile: a read that finds none must not wait.
    const int flags = ::fcntl(slaveKeeper_, F_GETFL);
    ::fcntl(slaveKeeper_, F_SETFL, flags | O_NONBLOCK);
    for (int pending = pendingToProgram(); pending > 0; pending = pendingToProgram()) {
        if (::read(slaveKeeper_, buffer, std::min<std::size_t>(sizeof buffer, std::size_t(pending))) <= 0) break;
    }
    ::fcntl(slaveKeeper_, F_SETFL, flags);
}

void PseudoTerminal::closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

// ---- SerialDevice ----

SerialDevice::~SerialDevice() { stop(); }

bool SerialDevice::start(const std::filesystem::path& portsDir, const std::string& comName, long baud) {
    if (!pty_.isOpen()) return false;
    if (!portsDir.empty() && !pty_.linkAs(portsDir, comName)) return false;
    baud_ = baud;
    if (watchFlushes_) {
        // Packet mode: every read of the master starts with a status byte, 0 before data.
        int on = 1;
        if (::ioctl(pty_.masterFd(), TIOCPKT, &on) != 0) return false;
    }
    running_ = true;
    lastActivityMs_ = nowMs();
    reader_ = std::thread([this] { readLoop(); });
    return true;
}

void SerialDevice::stop() {
    if (!running_.exchange(false)) return;
    if (reader_.joinable()) reader_.join();
}

void SerialDevice::unplug() {
    stop();
    trace_.note("unplugged");
    pty_.closeMaster();
}

void SerialDevice::waitIdle(int quietMs, int limitMs) {
    // Quiet means: nothing waiting on the line, nothing being handled, and nothing new for quietMs
    // counted from the call at the earliest: bytes the program has just written can still be on
    // their way through the pseudo-terminal and not yet countable.
    const long start = nowMs();
    while (nowMs() - start < limitMs) {
        int pending = 0;
        ::ioctl(pty_.masterFd(), FIONREAD, &pending);
        if (pending == 0 && !handling_ && nowMs() - std::max(start, lastActivityMs_.load()) >= quietMs) return;
        sleepMs(5);
    }
}

void SerialDevice::readLoop() {
    std::uint8_t buffer[4096];
    while (running_) {
        pollfd p{pty_.masterFd(), POLLIN, 0};
        int r = ::poll(&p, 1, 50);
        if (r <= 0) continue;
        ssize_t n = ::read(pty_.masterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            sleepMs(5);
            continue;
        }
        std::uint8_t* data = buffer;
        if (watchFlushes_) {
            if (buffer[0] != TIOCPKT_DATA) {
                if (buffer[0] & TIOCPKT_FLUSHREAD) inputFlushed();
                continue;
            }
            ++data;
            if (--n == 0) continue;
        }
        handling_ = true;
        lastActivityMs_ = nowMs();
        Bytes chunk(data, data + n);
        received(chunk);
        lastActivityMs_ = nowMs();
        handling_ = false;
    }
}

void SerialDevice::send(const Bytes& bytes, const std::string& note) {
    if (faults_.take("silent")) {
        trace_.note("silent: reply not sent (" + hex(bytes) + ")");
        return;
    }
    Bytes out = bytes;
    if (faults_.take("delay")) {
        trace_.note("delay: reply held 1500 ms");
        sleepMs(1500);
    }
    if (!out.empty() && faults_.take("drop")) {
        out.pop_back();
        trace_.note("drop: last byte not sent");
    }
    if (!out.empty() && faults_.take("corrupt")) {
        out[out.size() / 2] ^= 0x5A;
        trace_.note("corrupt: byte " + std::to_string(out.size() / 2) + " flipped");
    }
    trace_.sent(out, note);
    if (out.size() > 1 && faults_.take("split")) {
        Bytes first(out.begin(), out.begin() + long(out.size() / 2));
        Bytes second(out.begin() + long(out.size() / 2), out.end());
        writePaced(first);
        sleepMs(300);
        writePaced(second);
        return;
    }
    if (faults_.take("dribble")) {
        for (std::uint8_t b : out) {
            writePaced(Bytes{b});
            sleepMs(20);
        }
        return;
    }
    writePaced(out);
}

void SerialDevice::sendRaw(const Bytes& bytes) {
    trace_.sent(bytes, "raw");
    writePaced(bytes);
}

void SerialDevice::writePaced(const Bytes& bytes) {
    // At a set baud rate each byte takes ten bit times on the wire (start, 8 data, stop); the
    // bytes go out in small slices so the reader sees them arrive as from a real line.
    const std::size_t slice = baud_ > 0 ? std::max<std::size_t>(1, std::size_t(baud_ / 10 / 1000)) : bytes.size();
    auto start = std::chrono::steady_clock::now();
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t n = std::min(slice, bytes.size() - done);
        std::size_t written = 0;
        while (written < n) {
            ssize_t w = ::write(pty_.masterFd(), bytes.data() + done + written, n - written);
            if (w > 0) {
                written += std::size_t(w);
            } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
                return;
            } else {
                sleepMs(1);
            }
        }
        done += n;
        if (baud_ > 0) {
            auto due = start + std::chrono::microseconds(long(done) * 10'000'000L / baud_);
            std::this_thread::sleep_until(due);
        }
    }
    lastActivityMs_ = nowMs();
}

}  // namespace sim
