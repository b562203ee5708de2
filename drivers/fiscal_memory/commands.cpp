#include "commands.h"

#include "memorix.h"

namespace memorix {
namespace {

Request plain(Command command, std::size_t replyLength) {
    return Request{Bytes{std::uint8_t(command)}, replyLength};
}

Encoded withAddress(Command command, std::uint32_t address) {
    if (address > kMaxAddress) return {MEMORIX_INVALID_PARAMETER, {}};
    Request r = plain(command, 0);
    putLittle(r.payload, address, 3);
    return {0, r};
}

Encoded pieceRead(Command command, std::size_t count) {
    if (count > kMaxPiece) return {MEMORIX_INTERNAL, {}};
    Request r = plain(command, count);
    r.payload.push_back(std::uint8_t(count));
    return {0, r};
}

Encoded pieceWrite(Command command, std::span<const std::uint8_t> data) {
    if (data.size() > kMaxPiece) return {MEMORIX_INTERNAL, {}};
    Request r = plain(command, 0);
    r.payload.insert(r.payload.end(), data.begin(), data.end());
    return {0, r};
}

Request locate(Command command, std::uint16_t count) {
    Request r = plain(command, 4);
    putLittle(r.payload, count, 2);
    return r;
}

}  // namespace

std::uint32_t little24(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16); }
std::uint16_t little16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

void putLittle(Bytes& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

Request informationRequest() { return plain(Command::Information, 8); }
Request statusRequest() { return plain(Command::Status, 11); }
Encoded setAddressRequest(std::uint32_t address) { return withAddress(Command::SetAddress, address); }
Encoded readRequest(std::size_t count) { return pieceRead(Command::Read, count); }
Encoded writeRequest(std::span<const std::uint8_t> data) { return pieceWrite(Command::Write, data); }
Request commitRequest() { return plain(Command::Commit, 0); }
Request modelRequest() { return plain(Command::Model, 16); }
Request firmwareRequest() { return plain(Command::Firmware, 2); }
Request locateForwardRequest(std::uint16_t count) { return locate(Command::LocateForward, count); }
Request locateBackwardRequest(std::uint16_t count) { return locate(Command::LocateBackward, count); }

Encoded searchRequest(std::uint16_t count, std::uint32_t endAddress, std::uint8_t offset,
                      std::span<const std::uint8_t> pattern) {
    if (endAddress > kMaxAddress) return {MEMORIX_INVALID_PARAMETER, {}};
    if (pattern.size() > kMaxPattern) return {MEMORIX_INTERNAL, {}};
    Request r = plain(Command::SearchByName, 6);
    putLittle(r.payload, count, 2);
    putLittle(r.payload, endAddress, 3);
    r.payload.push_back(offset);
    r.payload.insert(r.payload.end(), pattern.begin(), pattern.end());
    return {0, r};
}

Request totalsInformationRequest() { return plain(Command::TotalsInformation, 6); }
Encoded totalsSetAddressRequest(std::uint32_t address) { return withAddress(Command::TotalsSetAddress, address); }
Encoded totalsWriteRequest(std::span<const std::uint8_t> data) { return pieceWrite(Command::TotalsWrite, data); }
Encoded totalsReadRequest(std::size_t count) { return pieceRead(Command::TotalsRead, count); }

Encoded totalsMoveRequest(std::uint32_t source, std::uint32_t destination, std::uint32_t count,
                          std::uint8_t direction) {
    if (source > kMaxAddress || destination > kMaxAddress || count > kMaxAddress)
        return {MEMORIX_INVALID_PARAMETER, {}};
    if (direction == kAutoDirection) {
        if (source < destination) {
            direction = 1;
            source += count - 1;
            destination += count - 1;
        } else {
            direction = 0;
        }
    }
    Request r = plain(Command::TotalsMove, 0);
    putLittle(r.payload, source, 3);
    putLittle(r.payload, destination, 3);
    putLittle(r.payload, count, 3);
    r.payload.push_back(direction);
    return {0, r};
}

Information decodeInformation(const Bytes& data) {
    Information info;
    info.serialNumber = little16(&data[1]) | (std::uint32_t(little16(&data[3])) << 16);
    info.size = little24(&data[5]);
    return info;
}

Status decodeStatus(const Bytes& data) {
    return Status{little24(&data[0]), little24(&data[3]), little24(&data[6]), little16(&data[9])};
}

Located decodeLocated(const Bytes& data) { return Located{little16(&data[0]), little16(&data[2])}; }

Found decodeFound(const Bytes& data) { return Found{little16(&data[0]), little16(&data[2]), little16(&data[4])}; }

Firmware decodeFirmware(const Bytes& data) { return Firmware{data[0], data[1]}; }

std::string decodeModel(const Bytes& data) { return std::string(data.begin(), data.end()); }

std::uint32_t decodeTotalsSize(const Bytes& data) { return little24(&data[0]); }

}  // namespace memorix
