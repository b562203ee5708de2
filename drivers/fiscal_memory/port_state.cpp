#include "port_state.h"

#include "memorix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// The open state is shared by every program that loads the library (the till, the set-up program
// and the initialisation tool run one after another or together and all talk to one module).
// On Linux there is no data section shared between processes, so the state lives in a small
// file: the port number, the speed, a count of the changes made to the totals memory and the ids
// of the processes that use the port. The port is
// open while any process listed there is alive; an open call that finds it so returns 0 and only
// adds its own id, whatever port and speed it names. A close call, from any process, empties the
// file. No process keeps the device open between calls: each export call takes an exclusive
// lock on the state file (so two programs' commands never interleave on the wire), opens the
// device named in the file, runs its commands and closes it again. The file is in the folder
// named by TILLORA_PORTS (beside the COM links it concerns), otherwise in the temporary folder.
namespace memorix {
namespace {

constexpr std::array<int, 7> kSpeeds{4800, 9600, 14400, 19200, 38400, 57600, 115200};

struct SharedState {
    int port = -1;
    int speed = 0;
    // Counts the changes made to the totals memory by any process; it outlives the open state, so
    // a process that saw one value never takes a later, different state for the one it knew.
    std::uint64_t generation = 0;
    std::vector<pid_t> users{};
};

std::filesystem::path stateFile() {
    const char* dir = std::getenv("TILLORA_PORTS");
    std::filesystem::path folder = dir && *dir ? std::filesystem::path(dir) : std::filesystem::temp_directory_path();
    return folder / ".memorix-port";
}

bool alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// Opens and locks the state file; -1 when that is impossible.
int lockState() {
    int fd = ::open(stateFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

void unlockState(int fd) {
    ::flock(fd, LOCK_UN);
    ::close(fd);
}

// The state with the processes that are gone left out.
SharedState readState(int fd) {
    std::string text;
    char buffer[512];
    ssize_t n;
    ::lseek(fd, 0, SEEK_SET);
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(n));
    SharedState state;
    std::istringstream in(text);
    if (!(in >> state.port >> state.speed >> state.generation)) return {};
    long pid;
    while (in >> pid)
        if (alive(pid_t(pid))) state.users.push_back(pid_t(pid));
    if (state.users.empty()) return SharedState{.generation = state.generation, .users = {}};
    return state;
}

bool writeState(int fd, const SharedState& state) {
    std::string text = std::to_string(state.port) + " " + std::to_string(state.speed) + " " + std::to_string(state.generation);
    for (pid_t pid : state.users) text += " " + std::to_string(pid);
    text += "\n";
    if (::ftruncate(fd, 0) != 0) return false;
    return ::pwrite(fd, text.data(), text.size(), 0) == ssize_t(text.size());
}

// 8 data bits, no parity, one stop bit, output held by CTS, DTR and RTS up, no software flow.
bool configureLine(platform::SerialPort& port, int speed) {
    platform::SerialSettings settings;
    settings.baud = speed;
    settings.ctsOutputFlow = true;
    return port.configure(settings);
}

// What the line was set to when this process's open call opened it (speed, framing, flow
// control, and the read time-outs VMIN and VTIME), put back by the close call.
struct SavedLine {
    int port;
    termios settings;
};
std::optional<SavedLine> gSavedLine;

bool openDevice(platform::SerialPort& port, int number, int speed) {
    return port.open(platform::comPortName(number)) && configureLine(port, speed);
}

void closeDevice(platform::SerialPort& port) {
    // The exclusive-use mark stays on the tty while any other opener (a simulator keeping its
    // pseudo-terminal alive) holds it, and would refuse the next call's open.
    if (port.isOpen()) ::ioctl(port.fd(), TIOCNXCL);
    port.close();
}

}  // namespace

int openSharedPort(int port, int speed, bool& opened) {
    opened = false;
    int lock = lockState();
    if (lock < 0) return MEMORIX_COM_PORT;
    SharedState state = readState(lock);
    int code = 0;
    if (!state.users.empty()) {
        if (std::find(state.users.begin(), state.users.end(), ::getpid()) == state.users.end()) {
            state.users.push_back(::getpid());
            writeState(lock, state);
        }
    } else if (port < 0) {
        code = MEMORIX_BAD_PARAMETERS;
    } else {
        platform::SerialPort device;
        termios found{};
        if (!device.open(platform::comPortName(port)) || ::tcgetattr(device.fd(), &found) != 0) {
            code = MEMORIX_COM_PORT;
        } else if (std::find(kSpeeds.begin(), kSpeeds.end(), speed) == kSpeeds.end()) {
            code = MEMORIX_BAD_PARAMETERS;
        } else if (!configureLine(device, speed) ||
                   !writeState(lock, SharedState{port, speed, state.generation, {::getpid()}})) {
            ::tcsetattr(device.fd(), TCSANOW, &found);
            code = MEMORIX_COM_PORT;
        } else {
            gSavedLine = SavedLine{port, found};
            opened = true;
        }
        closeDevice(device);
    }
    unlockState(lock);
    return code;
}

void closeSharedPort() {
    int lock = lockState();
    if (lock < 0) return;
    if (gSavedLine) {
        // Only the process that opened the port knows what the line was before; a close from
        // another process leaves the line as it is.
        platform::SerialPort device;
        if (device.open(platform::comPortName(gSavedLine->port))) ::tcsetattr(device.fd(), TCSANOW, &gSavedLine->settings);
        closeDevice(device);
        gSavedLine.reset();
    }
    writeState(lock, SharedState{.generation = readState(lock).generation, .users = {}});
    unlockState(lock);
}

int PortUse::begin() {
    lockFd_ = lockState();
    if (lockFd_ < 0) return MEMORIX_COM_PORT;
    SharedState state = readState(lockFd_);
    if (state.users.empty() || !openDevice(port_, state.port, state.speed)) return MEMORIX_COM_PORT;
    generation_ = state.generation;
    return 0;
}

std::uint64_t PortUse::noteTotalsChanged() {
    SharedState state = readState(lockFd_);
    state.generation = generation_ + 1;
    if (writeState(lockFd_, state)) generation_ = state.generation;
    return generation_;
}

PortUse::~PortUse() {
    closeDevice(port_);
    if (lockFd_ >= 0) unlockState(lockFd_);
}

namespace {

// How long a store call waits for another process's transaction: far beyond any save or sale,
// so only a program that hangs with its transaction open makes the call fail.
constexpr auto kStoreWait = std::chrono::seconds(30);
constexpr auto kStorePoll = std::chrono::milliseconds(2);

// The lock this process holds from its transaction's begin to its end; -1 when none.
int gTransactionLock = -1;

std::filesystem::path storeLockFile() { return stateFile().parent_path() / ".memorix-store"; }

}  // namespace

int StoreTurn::begin(bool beginsTransaction) {
    if (gTransactionLock >= 0) return 0;  // this process holds the store already
    int fd = ::open(storeLockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return MEMORIX_COM_PORT;
    const int operation = (beginsTransaction ? LOCK_EX : LOCK_SH) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + kStoreWait;
    while (::flock(fd, operation) != 0) {
        const bool held = errno == EWOULDBLOCK || errno == EINTR;
        if (!held || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return held ? MEMORIX_TRANSACTION_OPEN : MEMORIX_COM_PORT;
        }
        std::this_thread::sleep_for(kStorePoll);
    }
    fd_ = fd;
    return 0;
}

void StoreTurn::keepForTransaction() {
    if (fd_ < 0) return;
    gTransactionLock = fd_;
    fd_ = -1;
}

StoreTurn::~StoreTurn() {
    // Closing the file lets go of its lock.
    if (fd_ >= 0) ::close(fd_);
}

void endStoreTransaction() {
    if (gTransactionLock >= 0) ::close(gTransactionLock);
    gTransactionLock = -1;
}

}  // namespace memorix
