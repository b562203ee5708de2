#include "com.h"

#include "ini_file.h"

#include <filesystem>

namespace payvo {
namespace {

constexpr std::size_t kSettingChars = 9;

}  // namespace

CCom::CCom() { readSettings(); }

CCom::~CCom() { Close(); }

CCom& CCom::instance() {
    static CCom com;
    return com;
}

void CCom::readSettings() {
    std::error_code ec;
    const auto folder = std::filesystem::current_path(ec);
    const std::filesystem::path ini = ec ? std::filesystem::path("payvo.ini") : folder / "payvo.ini";
    SetPortName(platform::readProfileString(ini, "PayvoBridge", "SERIAL", "COM1", 50));
    SetPortSpeed(platform::readProfileString(ini, "PayvoBridge", "SERIALPORTSPEED", "115200", 20));
}

void CCom::SetPortName(const std::string& name) { portName_ = name.size() > kSettingChars ? std::string() : name; }

void CCom::SetPortSpeed(const std::string& speed) { portSpeed_ = speed.size() > kSettingChars ? std::string() : speed; }

int CCom::Open() {
    if (open_) return 0;
    // An emptied (refused) speed must not fall back to the 115200 an empty text means to the link.
    if (portSpeed_.empty()) return -1;
    std::string name = portName_;
    const PortHandle h = SerialOpen(name, portSpeed_);
    if (h == kInvalidPort) return -1;
    handle_ = h;
    open_ = 1;
    return 0;
}

int CCom::Close() {
    if (open_) SerialClose(handle_);
    open_ = 0;
    return 0;
}

int CCom::Clear() {
    SerialClear(handle_);
    return 0;
}

int CCom::Send(std::string_view frame, std::uint16_t ackTimeoutSeconds) { return SerialSend(frame, ackTimeoutSeconds, open_ ? handle_ : kInvalidPort); }

int CCom::Receive(Frame& message, std::uint16_t answerTimeoutSeconds) {
    return SerialReceive(message, answerTimeoutSeconds, open_ ? handle_ : kInvalidPort, &link_.cancel);
}

}  // namespace payvo
