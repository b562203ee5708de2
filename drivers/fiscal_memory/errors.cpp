#include "errors.h"

#include <array>

namespace memorix {
namespace {

struct ErrorText {
    int code;
    const char* text;
};

// Callers show these texts to the user and write them to their logs; they are kept word for word,
// spelling included.
constexpr std::array<ErrorText, 38> kErrorTexts{{
    {MEMORIX_OK, "OK"},
    {MEMORIX_FM_INTERFACE_ERROR, "FM: Interface error"},
    {MEMORIX_FM_INTERFACE_CRC, "FM: Interface CRC"},
    {MEMORIX_FM_INTERFACE_TIMEOUT, "FM: Interface timeout"},
    {MEMORIX_FM_UNKNOWN_COMMAND, "FM: Unknown command"},
    {MEMORIX_FM_NO_ROOM_IN_BUF, "FM: No room in buf"},
    {MEMORIX_FM_PROM_CRC, "FM: CRC of PROM error"},
    {MEMORIX_FM_LOCATE_ERROR, "FM: Locate error"},
    {MEMORIX_FM_NO_SUCH_RECORD, "FM: No such record"},
    {MEMORIX_FM_PROM_ADDRESS, "FM: Was error with PROM adress"},
    {MEMORIX_FM_INVALID_RECORD, "FM: Invalid record found"},
    {MEMORIX_FM_INVALID_WRITE_ADDRESS, "FM: Invalid write address"},
    {MEMORIX_FM_WRITE_FAIL, "FM: Write fail"},
    {MEMORIX_FM_PROM_NOT_EMPTY, "FM: First two bytes in PROM is not empty"},
    {MEMORIX_FM_INTERNAL, "FM: Internal error"},
    {MEMORIX_INVALID_RECORD_LENGTH, "FMDRV: Invalid record length"},
    {MEMORIX_NO_SUCH_RECORD, "FMDRV: No such record"},
    {MEMORIX_REWRITE_RECORD, "FMDRV: Rewrite record error"},
    {MEMORIX_NO_ROOM, "FMDRV: No room in Fiscal Memory"},
    {MEMORIX_PROMS_NOT_EMPTY, "FMDRV: PROM(s) is not empty"},
    {MEMORIX_NOT_DEVELOPMENT_VERSION, "FMDRV: It is not a development version of FM"},
    {MEMORIX_NAME_TOO_LONG, "FMDRV: Too long record name"},
    {MEMORIX_UNKNOWN_FORMAT, "FMDRV: Unknown record format"},
    {MEMORIX_FILE_EXISTS, "FMDRV: File already exists"},
    {MEMORIX_RECORD_CRC, "FMDRV: Record CRC"},
    {MEMORIX_TRANSACTION_OPEN, "FMDRV: Trn already in progress"},
    {MEMORIX_NO_TRANSACTION, "FMDRV: No trn in progress"},
    {MEMORIX_NO_SUCH_FILE, "FMDRV: No such file"},
    {MEMORIX_INTERFACE, "FMDRV: Interface"},
    {MEMORIX_INTERFACE_CRC, "FMDRV: Interface CRC"},
    {MEMORIX_INVALID_PARAMETER, "FMDRV: Invalid paramater"},
    {MEMORIX_ACK_TIMEOUT, "FMDRV: Acknowledge timeout"},
    {MEMORIX_TIMEOUT, "FMDRV: Timeout"},
    {MEMORIX_BAD_DATA, "FMDRV: Bad data from device"},
    {MEMORIX_NO_MEMORY, "FMDRV: No memory"},
    {MEMORIX_BAD_PARAMETERS, "FMDRV: Bad parameters"},
    {MEMORIX_COM_PORT, "FMDRV: COM port error"},
    {MEMORIX_INTERNAL, "FMDRV: Internal error"},
}};

}  // namespace

const char* errorText(int code) {
    for (const auto& entry : kErrorTexts)
        if (entry.code == code) return entry.text;
    return "Unknown !!!";
}

}  // namespace memorix
