#include "scanned_code.h"

#include "codepage_1257.h"

std::optional<QString> ScannedCode::step(const std::string& received) {
    if (received.empty()) return std::nullopt;
    const auto c = std::uint8_t(received[0]);
    if (c == '\r') {
        if (kods_.empty()) return std::nullopt;
        QString code = fromCp1257(kods_);
        kods_.clear();
        return code;
    }
    if (c == 'F' || c == 'A') {
        kods_.clear();
        return std::nullopt;
    }
    if (c < 0x20 || c == 0x7F) return std::nullopt;  // 0x00, line feed and the other controls
    kods_ += char(c);
    return std::nullopt;
}
