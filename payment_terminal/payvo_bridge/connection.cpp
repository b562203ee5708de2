#include "connection.h"

#include "ini_file.h"
#include "serial_transport.h"
#include "tcp_transport.h"

namespace payvo_bridge {
namespace {

constexpr const char* kSection = "PayvoBridge";

std::string limited(std::string value, std::size_t stored) { return value.size() > stored ? std::string() : value; }

}  // namespace

BridgeSettings readBridgeSettings(const std::filesystem::path& folder) {
    const auto ini = folder / "payvo.ini";
    BridgeSettings s;
    s.serialPort = limited(platform::readProfileString(ini, kSection, "SERIAL", "COM1", 49), 9);
    s.serialSpeed = limited(platform::readProfileString(ini, kSection, "SERIALPORTSPEED", "9600", 19), 9);
    s.ipAddress = limited(platform::readProfileString(ini, kSection, "IPADDRESS", "127.0.0.1", 49), 19);
    s.ipPort = limited(platform::readProfileString(ini, kSection, "PORT", "2000", 49), 9);
    s.tcp = platform::readProfileString(ini, kSection, "CONTYPE", "SERIAL", 49) == "TCPIP";
    return s;
}

CCom::CCom() {
    std::error_code ec;
    const auto folder = std::filesystem::current_path(ec);
    configure(readBridgeSettings(ec ? std::filesystem::path(".") : folder));
}

CCom& CCom::instance() {
    static CCom com;
    return com;
}

void CCom::configure(const BridgeSettings& settings) {
    close();
    settings_ = settings;
    if (settings.tcp) transport_ = std::make_unique<TcpTransport>(settings.ipAddress, settings.ipPort);
    else transport_ = std::make_unique<SerialTransport>(settings.serialPort, settings.serialSpeed);
}

int CCom::open() {
    if (open_) return 0;
    if (!transport_->open()) return -1;
    open_ = true;
    return 0;
}

void CCom::close() {
    if (open_) transport_->close();
    open_ = false;
}

void CCom::clear() {
    if (open_) transport_->clear();
}

int CCom::send(std::string_view message, std::string& held, int seconds) {
    if (!open_) return settings_.tcp ? kTcpFailure : kNoPort;
    return transport_->send(message, held, seconds);
}

int CCom::receive(std::string& answer, std::string& held, int seconds) {
    if (!open_) return settings_.tcp ? kTcpFailure : kNoPort;
    return transport_->receive(answer, held, seconds, cancel_);
}

namespace {
// Created with the library, as the terminal's settings are read when it is loaded.
[[maybe_unused]] const CCom& loadedConnection = CCom::instance();
}  // namespace

}  // namespace payvo_bridge
