// The module's numbered commands: one request encoder and one reply decoder each. Pure functions;
// the module layer runs them over a session.
#pragma once

#include "link.h"

#include <cstdint>
#include <span>
#include <string>

namespace memorix {

enum class Command : std::uint8_t {
    Information = 0,
    Status = 1,
    SetAddress = 2,
    Read = 4,
    Write = 5,
    Commit = 6,
    Model = 8,
    Firmware = 9,
    LocateForward = 10,
    SearchByName = 11,
    LocateBackward = 13,
    TotalsInformation = 20,
    TotalsSetAddress = 21,
    TotalsWrite = 22,
    TotalsRead = 23,
    TotalsMove = 24,
};

constexpr std::uint32_t kMaxAddress = 0xFFFFFF;  // addresses and counts travel as 3 bytes
constexpr std::size_t kMaxPiece = 247;           // data bytes one read or write command moves
constexpr std::size_t kMaxPattern = 243;         // search pattern bytes that fit a payload
constexpr std::uint8_t kAutoDirection = 255;     // totals move: pick the direction from the addresses

// A command's payload and the number of data bytes its reply carries.
struct Request {
    Bytes payload;
    std::size_t replyLength = 0;
};

// An encoder that can refuse its arguments: code 0 and the request, or the code.
struct Encoded {
    int code = 0;
    Request request;
};

Request informationRequest();
Request statusRequest();
Encoded setAddressRequest(std::uint32_t address);
Encoded readRequest(std::size_t count);
Encoded writeRequest(std::span<const std::uint8_t> data);
Request commitRequest();
Request modelRequest();
Request firmwareRequest();
Request locateForwardRequest(std::uint16_t count);
Request locateBackwardRequest(std::uint16_t count);
Encoded searchRequest(std::uint16_t count, std::uint32_t endAddress, std::uint8_t offset,
                      std::span<const std::uint8_t> pattern);
Request totalsInformationRequest();
Encoded totalsSetAddressRequest(std::uint32_t address);
Encoded totalsWriteRequest(std::span<const std::uint8_t> data);
Encoded totalsReadRequest(std::size_t count);
// direction 0 upward, 1 downward, kAutoDirection: downward from the last byte when the source
// lies below the destination, so overlapping ranges move intact.
Encoded totalsMoveRequest(std::uint32_t source, std::uint32_t destination, std::uint32_t count,
                          std::uint8_t direction);

struct Information {
    std::uint32_t serialNumber = 0;
    std::uint32_t size = 0;
};
struct Status {
    std::uint32_t currentAddress = 0;
    std::uint32_t committedEnd = 0;  // first address after the last committed record
    std::uint32_t writeAddress = 0;  // beyond committedEnd while a record is written, not committed
    std::uint16_t records = 0;
};
struct Located {
    std::uint16_t remaining = 0;
    std::uint16_t lengthField = 0;
};
struct Found {
    std::uint16_t remaining = 0;
    std::uint16_t relativeIndex = 0;
    std::uint16_t lengthField = 0;
};
struct Firmware {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
};

// Decoders take reply data of exactly the request's replyLength.
Information decodeInformation(const Bytes& data);
Status decodeStatus(const Bytes& data);
Located decodeLocated(const Bytes& data);
Found decodeFound(const Bytes& data);
Firmware decodeFirmware(const Bytes& data);
std::string decodeModel(const Bytes& data);
std::uint32_t decodeTotalsSize(const Bytes& data);

std::uint32_t little24(const std::uint8_t* p);
std::uint16_t little16(const std::uint8_t* p);
void putLittle(Bytes& out, std::uint32_t value, int width);

}  // namespace memorix
