// Frames of the USB fiscal-memory device: the request frame, the CRC-16 check fields and a
// byte-by-byte reply decoder. Pure functions over Windows-1257 byte strings, no I/O.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tvl {

// CRC-16/MODBUS: start 0xFFFF, reflected polynomial 0xA001, no final XOR.
std::uint16_t crc16(std::string_view bytes);
// The check as the frames carry it: 4 upper-case hexadecimal digits ("abc" gives "5749").
std::string checkText(std::string_view bytes);

// A parameter may not hold the field separator or the frame's LF and CR.
bool fitsInFrame(std::string_view field);

// LF, command, "0|", p1, "|", p2, "|", C1, "|", p3, "|", C2, CR; C1 over command to the
// separator behind p2, C2 over "|" p3 "|". The parameters must fit in a frame.
std::string buildRequest(std::string_view command, std::string_view p1, std::string_view p2, std::string_view p3);

// Reply: LF, field 0, "|", field 1, "|", C1, "|", field 3, "|", C2, CR.
struct Reply {
    std::string code;      // field 0
    std::string status;    // field 1
    std::string check1;    // C1 as received
    std::string data;      // field 3
    std::string check2;    // C2 as received
    int separators = 0;    // a well-formed reply has exactly four
    // Both checks match the received texts, and the reply has its five fields.
    bool checksMatch() const;
};

// Takes the reply one byte at a time. A CR ends the reply wherever it comes (also before the LF,
// leaving every field empty); any other byte before the LF is a bad first byte.
class ReplyDecoder {
public:
    enum class Step { NeedMore, Complete, BadFirstByte };
    Step feed(char byte);
    const Reply& reply() const { return reply_; }
    void reset();

private:
    Reply reply_;
    bool started_ = false;
};

// What a status text in reply field 1 means. Texts of up to 5 bytes are success; the three
// named texts have their own meaning; any other longer text is a device error.
enum class Status { Ok, NoSuchRecord, FileAlreadyExist, RecordCrc, DeviceError };
Status classifyStatus(std::string_view status);

}  // namespace tvl
