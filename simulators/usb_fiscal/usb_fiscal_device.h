// Simulator of the maker's USB fiscal-memory device: named working records and day-close records
// behind the text frames with CRC-16 fields, on a pseudo-terminal linked as "FTDI0".
#pragma once

#include "serial_device.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The device's own frame codec, written apart from the till's so that a mistake is not shared.
namespace usbfiscal {

std::string checkDigits(std::string_view text);  // CRC-16/MODBUS as 4 upper-case hex digits

struct Request {
    std::string command;  // two letters
    std::string p1, p2, p3;
    bool checksOk = false;
};
// Parses the text between LF and CR; none when it does not have the request's six fields.
std::optional<Request> parseRequest(std::string_view body);
std::string encodeReply(std::string_view code, std::string_view status, std::string_view data);

}  // namespace usbfiscal

// Faults, besides the generic ones of SerialDevice (tests arm them by name):
//   "bad-first-byte" - the next reply is a single "#" instead of a frame;
//   "cr-first"       - the next reply is a lone CR;
//   "bad-check"      - the next reply's C2 is wrong;
//   "device-error"   - the next reply carries the status "DeviceFailure";
//   "device-error N" - the next reply to a request on record N does so;
//   "status-5"       - the next reply carries the 5-byte status "Busy1" (success);
//   "status-6"       - the next reply carries the 6-byte status "Busy12" (an error);
//   "record-crc"     - the next FR of an existing record answers "RecordCrc" with the data;
//   "count-garbage"  - the next NN answers "x" in place of the count;
//   "oversized-reply" - the next reply is well formed with 20000 bytes of data;
//   "fc-exists"      - the next FC makes the record but answers "FileAlreadyExist", as when another
//                      program created it between the probe and the create.
class UsbFiscalDevice : public SerialDevice {
public:
    // A new device: no working records and an empty list of day-close records.
    UsbFiscalDevice() = default;
    // The reader thread stops before the device state it works on goes.
    ~UsbFiscalDevice() override { stop(); }

    std::optional<std::string> record(const std::string& name);
    std::optional<int> recordSize(const std::string& name);
    std::vector<std::string> recordNames();
    void putRecord(const std::string& name, int size, const std::string& bytes = {});

    std::vector<std::string> dayCloseRecords();
    void putDayCloseRecord(const std::string& text);
    void setSerialNumber(const std::string& serial);

    // Requests taken so far, as "FR POS_NR" (command and p1), in order.
    std::vector<std::string> requests();
    int requestCount(const std::string& command);

protected:
    void received(const Bytes& bytes) override;

private:
    struct Record {
        int size = 0;
        std::string bytes;  // size bytes, zero until written
    };
    void answer(const usbfiscal::Request& request);
    std::string statusFor(const usbfiscal::Request& request, std::string& data);

    std::string pending_;
    std::map<std::string, Record> records_;
    std::vector<std::string> dayClose_;
    std::string serial_ = "TVL00012345";
    std::vector<std::string> requests_;
};

}  // namespace sim
