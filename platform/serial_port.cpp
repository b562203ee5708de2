#include "serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace platform {

bool setExactLineSpeed(int fd, long baud);  // serial_speed.cpp

namespace {

speed_t speedConstant(long baud) {
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return 0;
    }
}

long elapsedMs(std::chrono::steady_clock::time_point since) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count());
}

// Waits until fd is ready for the given events or timeoutMs passes (negative: no limit).
// Returns 1 ready, 0 time-out, -1 failure.
int waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return r;
        if (p.revents & (POLLERR | POLLNVAL)) return -1;
        // A pseudo-terminal whose other side is closed reports POLLHUP; a read then fails.
        return 1;
    }
}

}  // namespace

std::string comPortName(int number) { return "COM" + std::to_string(number); }

std::string resolvePortName(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    if (const char* dir = std::getenv("TILLORA_PORTS"); dir && *dir) {
        std::filesystem::path link = std::filesystem::path(dir) / name;
        std::error_code ec;
        if (std::filesystem::is_symlink(link, ec)) {
            auto target = std::filesystem::read_symlink(link, ec);
            if (!ec) return (target.is_absolute() ? target : link.parent_path() / target).string();
        }
        if (std::filesystem::exists(link, ec)) return link.string();
    }
    if (name.size() > 3 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "com") == 0)) {
        char* end = nullptr;
        long n = std::strtol(name.c_str() + 3, &end, 10);
        if (end && *end == 0 && n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
    }
    return name;
}

SerialPort::~SerialPort() { close(); }

SerialPort::SerialPort(SerialPort&& other) noexcept : fd_(other.fd_), device_(std::move(other.device_)) { other.fd_ = -1; }

SerialPort& SerialPort::operator=(SerialPort&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        device_ = std::move(other.device_);
        other.fd_ = -1;
    }
    return *this;
}

bool SerialPort::open(const std::string& name) {
    close();
    std::string path = resolvePortName(name);
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // Not shared: a second opener fails, as a Windows COM port opened without sharing does.
    // TIOCEXCL does not stop root, so an advisory lock on the device does the refusing.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    device_ = path;
    return true;
}

bool SerialPort::configure(const SerialSettings& s) {
    if (fd_ < 0) return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    if (s.baud <= 0) return false;
    // A rate outside the table is set exactly once the rest of the line is.
    const speed_t speed = speedConstant(s.baud);
    const bool exact = speed == 0;
    ::cfsetispeed(&tio, exact ? B9600 : speed);
    ::cfsetospeed(&tio, exact ? B9600 : speed);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= s.dataBits == 7 ? CS7 : CS8;
    if (s.parity == 'e' || s.parity == 'E') tio.c_cflag |= PARENB;
    if (s.parity == 'o' || s.parity == 'O') tio.c_cflag |= PARENB | PARODD;
    if (s.stopBits == 2) tio.c_cflag |= CSTOPB;
    if (s.ctsOutputFlow) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        // A pseudo-terminal has no parity bit: it drops the flag, and once the rest of the line
        // stands as asked the kernel refuses the request as one it cannot apply at all. Without
        // parity the line is the same.
        if (errno != EINVAL || !(tio.c_cflag & PARENB)) return false;
        tio.c_cflag &= ~(PARENB | PARODD);
        if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    }
    if (exact && !setExactLineSpeed(fd_, s.baud)) return false;
    // Modem lines: a pseudo-terminal has none and refuses the call, which is not a failure here.
    int lines = TIOCM_DTR;
    ::ioctl(fd_, s.dtr ? TIOCMBIS : TIOCMBIC, &lines);
    lines = TIOCM_RTS;
    ::ioctl(fd_, s.rts ? TIOCMBIS : TIOCMBIC, &lines);
    return true;
}

void SerialPort::close() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    fd_ = -1;
    device_.clear();
}

long SerialPort::read(std::uint8_t* buffer, std::size_t size, int timeoutMs) {
    if (fd_ < 0) return -1;
    if (size == 0) return 0;
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n > 0) return long(n);
        // EIO: the other side of a pseudo-terminal is closed. For the caller that is a line with
        // nothing attached, so it waits out its time-out like any silent device.
        bool hungUp = n < 0 && errno == EIO;
        if (n < 0 && !hungUp && errno != EAGAIN && errno != EINTR) return -1;
        long left = timeoutMs < 0 ? 10 : timeoutMs - elapsedMs(start);
        if (timeoutMs >= 0 && left <= 0) return 0;
        if (hungUp) {
            ::usleep(useconds_t(std::min<long>(left, 10)) * 1000);
        } else if (waitFor(fd_, POLLIN, timeoutMs < 0 ? -1 : int(left)) < 0) {
            return -1;
        }
    }
}

long SerialPort::readExact(std::uint8_t* buffer, std::size_t size, int timeoutMs) {
    std::size_t got = 0;
    while (got < size) {
        long n = read(buffer + got, size - got, timeoutMs);
        if (n < 0) return -1;
        if (n == 0) break;
        got += std::size_t(n);
    }
    return long(got);
}

long SerialPort::write(const std::uint8_t* data, std::size_t size, int timeoutMs) {
    if (fd_ < 0) return -1;
    auto start = std::chrono::steady_clock::now();
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd_, data + done, size - done);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return done ? long(done) : -1;
        long left = timeoutMs < 0 ? -1 : timeoutMs - elapsedMs(start);
        if (timeoutMs >= 0 && left <= 0) break;
        if (waitFor(fd_, POLLOUT, int(left)) < 0) break;
    }
    return long(done);
}

void SerialPort::drain() {
    if (fd_ >= 0) ::tcdrain(fd_);
}

void SerialPort::purgeInput() {
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

void SerialPort::purgeOutput() {
    if (fd_ >= 0) ::tcflush(fd_, TCOFLUSH);
}

void SerialPort::clearErrors() {
    // Nothing latches on Linux: parity and framing errors arrive with the bytes, and a failed
    // call reports through errno. Resuming output undoes a stop by a stray XOFF, if any.
    if (fd_ >= 0) ::tcflow(fd_, TCOON);
}

}  // namespace platform
