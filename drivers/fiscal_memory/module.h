// The module's two memories as the stores use them: single commands and the composite steps
// built from them (block transfers in pieces, locating a record, searching by name, totals move
// and fill). Every call returns 0 or the first failing code.
#pragma once

#include "commands.h"
#include "session.h"

#include <string>

namespace memorix {

enum class Memory { Fiscal, Totals };

constexpr std::uint8_t kNameLengthOffset = 10;  // record header byte the name search compares from

class Module {
public:
    explicit Module(Session& session) : session_(session) {}

    int information(Information& info);
    int status(Status& status);
    int model(std::string& text);
    int firmware(Firmware& version);
    int commit();
    int setAddress(Memory memory, std::uint32_t address);

    // Up to 65535 bytes (length is taken as unsigned 16-bit) from or to the memory's current
    // address, in pieces of 247; a length of 0 still sends one command. 206 for a null buffer.
    int readBlock(Memory memory, std::uint8_t* buffer, int length);
    int writeBlock(Memory memory, const std::uint8_t* buffer, int length);

    // Leaves the fiscal memory's current address at the start of committed record index
    // (negative: from the newest) and gives its length field. 101 outside the records.
    int locateRecord(int index, std::uint16_t& lengthField);
    // From the current address (a record start) up to endAddress: counts matches of pattern at
    // the name-length byte down from count; see Found.
    int search(std::uint16_t count, std::uint32_t endAddress, std::span<const std::uint8_t> pattern, Found& found);

    int totalsSize(std::uint32_t& size);
    // direction as totalsMoveRequest; a count of 0 moves nothing.
    int totalsMove(std::uint32_t source, std::uint32_t destination, std::uint32_t count, std::uint8_t direction);
    // Sets count bytes from address to value: the value is written once and the upward move
    // repeats it over the range.
    int totalsFill(std::uint32_t address, std::uint32_t count, std::uint8_t value);

    // True once a write or move to the totals memory was sent (whether or not it was carried out).
    bool totalsChanged() const { return totalsChanged_; }

private:
    int run(const Request& request, Bytes& reply) { return session_.exchange(request, reply); }
    int run(const Encoded& encoded, Bytes& reply) { return session_.exchange(encoded, reply); }

    Session& session_;
    bool totalsChanged_ = false;
};

}  // namespace memorix
