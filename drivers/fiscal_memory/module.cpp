#include "module.h"

#include "memorix.h"

namespace memorix {

int Module::information(Information& info) {
    Bytes reply;
    if (int code = run(informationRequest(), reply)) return code;
    info = decodeInformation(reply);
    return 0;
}

int Module::status(Status& status) {
    Bytes reply;
    if (int code = run(statusRequest(), reply)) return code;
    status = decodeStatus(reply);
    return 0;
}

int Module::model(std::string& text) {
    Bytes reply;
    if (int code = run(modelRequest(), reply)) return code;
    text = decodeModel(reply);
    return 0;
}

int Module::firmware(Firmware& version) {
    Bytes reply;
    if (int code = run(firmwareRequest(), reply)) return code;
    version = decodeFirmware(reply);
    return 0;
}

int Module::commit() {
    Bytes reply;
    return run(commitRequest(), reply);
}

int Module::setAddress(Memory memory, std::uint32_t address) {
    Bytes reply;
    return run(memory == Memory::Fiscal ? setAddressRequest(address) : totalsSetAddressRequest(address), reply);
}

int Module::readBlock(Memory memory, std::uint8_t* buffer, int length) {
    if (!buffer) return MEMORIX_NO_MEMORY;
    std::size_t total = std::uint16_t(length);
    std::size_t done = 0;
    do {
        std::size_t piece = std::min(kMaxPiece, total - done);
        Bytes reply;
        if (int code = run(memory == Memory::Fiscal ? readRequest(piece) : totalsReadRequest(piece), reply)) return code;
        std::copy(reply.begin(), reply.end(), buffer + done);
        done += piece;
    } while (done < total);
    return 0;
}

int Module::writeBlock(Memory memory, const std::uint8_t* buffer, int length) {
    if (!buffer) return MEMORIX_NO_MEMORY;
    totalsChanged_ |= memory == Memory::Totals;
    std::size_t total = std::uint16_t(length);
    std::size_t done = 0;
    do {
        std::span<const std::uint8_t> piece(buffer + done, std::min(kMaxPiece, total - done));
        Bytes reply;
        if (int code = run(memory == Memory::Fiscal ? writeRequest(piece) : totalsWriteRequest(piece), reply)) return code;
        done += piece.size();
    } while (done < total);
    return 0;
}

int Module::locateRecord(int index, std::uint16_t& lengthField) {
    Status now;
    if (int code = status(now)) return code;
    const int records = now.records;
    if (index < 0) index += records;
    if (records == 0 || index < 0 || index >= records) return MEMORIX_NO_SUCH_RECORD;
    // From whichever end is nearer: the module walks records by their leading length forward and
    // by their trailing copy backward.
    bool forward = index < records / 2;
    if (int code = setAddress(Memory::Fiscal, forward ? 0 : now.committedEnd)) return code;
    Bytes reply;
    Request request = forward ? locateForwardRequest(std::uint16_t(index)) : locateBackwardRequest(std::uint16_t(records - index));
    if (int code = run(request, reply)) return code;
    Located located = decodeLocated(reply);
    // A walk that stopped short would leave the address on another record than the caller asked for.
    if (located.remaining != 0) return MEMORIX_BAD_DATA;
    lengthField = located.lengthField;
    return 0;
}

int Module::search(std::uint16_t count, std::uint32_t endAddress, std::span<const std::uint8_t> pattern, Found& found) {
    Bytes reply;
    if (int code = run(searchRequest(count, endAddress, kNameLengthOffset, pattern), reply)) return code;
    found = decodeFound(reply);
    return 0;
}

int Module::totalsSize(std::uint32_t& size) {
    Bytes reply;
    if (int code = run(totalsInformationRequest(), reply)) return code;
    size = decodeTotalsSize(reply);
    return 0;
}

int Module::totalsMove(std::uint32_t source, std::uint32_t destination, std::uint32_t count, std::uint8_t direction) {
    if (count == 0) return 0;
    totalsChanged_ = true;
    Bytes reply;
    return run(totalsMoveRequest(source, destination, count, direction), reply);
}

int Module::totalsFill(std::uint32_t address, std::uint32_t count, std::uint8_t value) {
    if (count == 0) return 0;
    if (int code = setAddress(Memory::Totals, address)) return code;
    if (int code = writeBlock(Memory::Totals, &value, 1)) return code;
    return totalsMove(address, address + 1, count - 1, 0);
}

}  // namespace memorix
