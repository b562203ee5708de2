#include "usb_fiscal_device.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace sim {
namespace usbfiscal {
namespace {

// Table-driven, unlike the till's bitwise loop.
constexpr std::array<std::uint16_t, 256> makeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        std::uint16_t value = std::uint16_t(i);
        for (int k = 0; k < 8; ++k)
            value = (value & 1) ? std::uint16_t((value >> 1) ^ 0xA001) : std::uint16_t(value >> 1);
        table[std::size_t(i)] = value;
    }
    return table;
}
constexpr auto kTable = makeTable();

std::vector<std::string> splitBars(std::string_view text)
{
    std::vector<std::string> parts(1);
    for (char ch : text) {
        if (ch == '|')
            parts.emplace_back();
        else
            parts.back().push_back(ch);
    }
    return parts;
}

}  // namespace

std::string checkDigits(std::string_view text)
{
    std::uint16_t crc = 0xFFFF;
    for (unsigned char ch : text)
        crc = std::uint16_t((crc >> 8) ^ kTable[(crc ^ ch) & 0xFF]);
    char out[5];
    std::snprintf(out, sizeof out, "%04X", unsigned(crc));
    return out;
}

std::optional<Request> parseRequest(std::string_view body)
{
    // command "0" | p1 | p2 | C1 | p3 | C2
    const std::vector<std::string> parts = splitBars(body);
    if (parts.size() != 6 || parts[0].size() != 3 || parts[0][2] != '0')
        return std::nullopt;
    Request request;
    request.command = parts[0].substr(0, 2);
    request.p1 = parts[1];
    request.p2 = parts[2];
    request.p3 = parts[4];
    request.checksOk = checkDigits(parts[0] + "|" + parts[1] + "|" + parts[2] + "|") == parts[3]
        && checkDigits("|" + parts[4] + "|") == parts[5];
    return request;
}

std::string encodeReply(std::string_view code, std::string_view status, std::string_view data)
{
    std::string head = std::string(code) + "|" + std::string(status) + "|";
    std::string tail = "|" + std::string(data) + "|";
    return "\n" + head + checkDigits(head) + tail + checkDigits(tail) + "\r";
}

}  // namespace usbfiscal

namespace {

Bytes toBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::optional<int> number(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < 0 || value > 65535)
        return std::nullopt;
    return int(value);
}

}  // namespace

std::optional<std::string> UsbFiscalDevice::record(const std::string& name)
{
    std::lock_guard lock(stateMutex_);
    const auto it = records_.find(name);
    return it == records_.end() ? std::nullopt : std::optional<std::string>(it->second.bytes);
}

std::optional<int> UsbFiscalDevice::recordSize(const std::string& name)
{
    std::lock_guard lock(stateMutex_);
    const auto it = records_.find(name);
    return it == records_.end() ? std::nullopt : std::optional<int>(it->second.size);
}

std::vector<std::string> UsbFiscalDevice::recordNames()
{
    std::lock_guard lock(stateMutex_);
    std::vector<std::string> names;
    for (const auto& [name, record] : records_)
        names.push_back(name);
    return names;
}

void UsbFiscalDevice::putRecord(const std::string& name, int size, const std::string& bytes)
{
    std::lock_guard lock(stateMutex_);
    Record record{size, std::string(std::size_t(size), '\0')};
    record.bytes.replace(0, std::min(bytes.size(), std::size_t(size)), bytes.substr(0, std::size_t(size)));
    records_[name] = record;
}

std::vector<std::string> UsbFiscalDevice::dayCloseRecords()
{
    std::lock_guard lock(stateMutex_);
    return dayClose_;
}

void UsbFiscalDevice::putDayCloseRecord(const std::string& text)
{
    std::lock_guard lock(stateMutex_);
    dayClose_.push_back(text);
}

void UsbFiscalDevice::setSerialNumber(const std::string& serial)
{
    std::lock_guard lock(stateMutex_);
    serial_ = serial;
}

std::vector<std::string> UsbFiscalDevice::requests()
{
    std::lock_guard lock(stateMutex_);
    return requests_;
}

int UsbFiscalDevice::requestCount(const std::string& command)
{
    int count = 0;
    for (const std::string& request : requests())
        if (request.compare(0, command.size() + 1, command + " ") == 0)
            ++count;
    return count;
}

void UsbFiscalDevice::received(const Bytes& bytes)
{
    trace().received(bytes);
    pending_.append(bytes.begin(), bytes.end());
    for (;;) {
        const std::size_t start = pending_.find('\n');
        if (start == std::string::npos) {
            pending_.clear();  // nothing but noise before a frame
            return;
        }
        const std::size_t end = pending_.find('\r', start);
        if (end == std::string::npos) {
            pending_.erase(0, start);  // keep the started frame for the next chunk
            return;
        }
        const std::string body = pending_.substr(start + 1, end - start - 1);
        pending_.erase(0, end + 1);
        if (const auto request = usbfiscal::parseRequest(body))
            answer(*request);
        else
            trace().note("not a request frame: " + body);
    }
}

void UsbFiscalDevice::answer(const usbfiscal::Request& request)
{
    if (faults().take("bad-first-byte")) {
        trace().note(request.command + " " + request.p1 + ": answered with a bad first byte");
        sendRaw(toBytes("#"));
        return;
    }
    if (faults().take("cr-first")) {
        trace().note(request.command + " " + request.p1 + ": answered with a lone CR");
        sendRaw(toBytes("\r"));
        return;
    }
    std::string data;
    std::string status;
    {
        std::lock_guard lock(stateMutex_);
        requests_.push_back(request.command + " " + request.p1);
        status = request.checksOk ? statusFor(request, data) : "FrameCrc";
    }
    if (faults().take("device-error") || faults().take("device-error " + request.p1)) {
        status = "DeviceFailure";
        data.clear();
    } else if (faults().take("status-5")) {
        status = "Busy1";
    } else if (faults().take("status-6")) {
        status = "Busy12";
    } else if (faults().take("oversized-reply")) {
        data.assign(20000, 'x');
    }
    std::string reply = usbfiscal::encodeReply(status.empty() ? "OK" : "ER", status, data);
    if (faults().take("bad-check"))
        reply[reply.size() - 2] = reply[reply.size() - 2] == '0' ? '1' : '0';
    send(toBytes(reply), request.command + " " + request.p1 + (status.empty() ? "" : " -> " + status));
}

// Carries out a request on the device state (lock held) and gives the reply's status text.
std::string UsbFiscalDevice::statusFor(const usbfiscal::Request& request, std::string& data)
{
    const std::string& c = request.command;
    if (c == "FR") {
        const auto it = records_.find(request.p1);
        if (it == records_.end())
            return "NoSuchRecord";
        data = it->second.bytes.substr(0, it->second.bytes.find('\0'));
        return faults().take("record-crc") ? "RecordCrc" : "";
    }
    if (c == "FC") {
        if (records_.count(request.p1))
            return "FileAlreadyExist";
        const auto size = number(request.p2);
        if (!size || *size == 0 || request.p1.empty())
            return "BadParameter";
        records_[request.p1] = Record{*size, std::string(std::size_t(*size), '\0')};
        return faults().take("fc-exists") ? "FileAlreadyExist" : "";
    }
    if (c == "FW") {
        const auto it = records_.find(request.p1);
        if (it == records_.end())
            return "NoSuchRecord";
        const auto offset = number(request.p2);
        if (!offset || std::size_t(*offset) + request.p3.size() > std::size_t(it->second.size))
            return "RecordTooLong";
        it->second.bytes.replace(std::size_t(*offset), request.p3.size(), request.p3);
        return "";
    }
    if (c == "NN") {
        data = faults().take("count-garbage") ? "x" : std::to_string(dayClose_.size());
        return "";
    }
    if (c == "NR") {
        const auto index = number(request.p1);
        if (!index || std::size_t(*index) >= dayClose_.size())
            return "NoSuchRecord";
        data = dayClose_[std::size_t(*index)];
        return "";
    }
    if (c == "NW") {
        if (number(request.p1) != std::optional<int>(int(dayClose_.size())))
            return "WrongRecordNr";
        if (request.p3.empty())
            return "BadParameter";
        dayClose_.push_back(request.p3);
        return "";
    }
    if (c == "NS") {
        data = serial_;
        return "";
    }
    return "UnknownCommand";
}

}  // namespace sim
