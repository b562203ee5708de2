#include "pole_display.h"

#include "cp1257_text.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

struct KnownGlyph {
    std::array<std::uint8_t, 5> columns;
    const char* letter;
};

// BIRCH letters as their dots draw them (one glyph serves Ģ and ģ, one Ž and ž).
constexpr KnownGlyph kBirchGlyphs[] = {
    {{0x79, 0x15, 0x13, 0x15, 0x79}, "Ā"}, {{0x38, 0x45, 0x45, 0x39, 0x7C}, "ā"}, {{0x3C, 0x43, 0x43, 0x43, 0x24}, "Č"},
    {{0x38, 0x46, 0x44, 0x46, 0x28}, "č"}, {{0x7E, 0x5B, 0x5B, 0x43, 0x42}, "Ē"}, {{0x7C, 0x55, 0x55, 0x55, 0x44}, "ē"},
    {{0x1E, 0x21, 0x75, 0x25, 0x1C}, "Ģ"}, {{0x00, 0x01, 0x7D, 0x01, 0x00}, "Ī"}, {{0x01, 0x3D, 0x41, 0x20, 0x00}, "ī"},
    {{0x7F, 0x08, 0x54, 0x22, 0x51}, "Ķ"}, {{0x7C, 0x10, 0x68, 0x64, 0x00}, "ķ"}, {{0x7F, 0x40, 0x50, 0x60, 0x50}, "Ļ"},
    {{0x7C, 0x40, 0x50, 0x60, 0x50}, "ļ"}, {{0x7F, 0x04, 0x68, 0x10, 0x7F}, "Ņ"}, {{0x78, 0x04, 0x64, 0x04, 0x78}, "ņ"},
    {{0x24, 0x47, 0x4A, 0x53, 0x24}, "Š"}, {{0x28, 0x4D, 0x56, 0x29, 0x00}, "š"}, {{0x3D, 0x41, 0x41, 0x41, 0x3D}, "Ū"},
    {{0x00, 0x3D, 0x41, 0x41, 0x3D}, "ū"}, {{0x44, 0x65, 0x56, 0x4D, 0x44}, "Ž"},
};

// Orderman letters.
constexpr KnownGlyph kOrdermanGlyphs[] = {
    {{0x3E, 0xC8, 0xC8, 0xC8, 0x3E}, "Ā"}, {{0x04, 0xAA, 0xAA, 0xAA, 0x1E}, "ā"}, {{0xBC, 0xC2, 0x42, 0xC2, 0xA4}, "Č"},
    {{0x1C, 0xA2, 0x62, 0xA2, 0x14}, "č"}, {{0x7E, 0xD2, 0xD2, 0xD2, 0x42}, "Ē"}, {{0x1C, 0xAA, 0xAA, 0xAA, 0x10}, "ē"},
    {{0x7C, 0x82, 0x93, 0x92, 0x5E}, "Ģ"}, {{0x18, 0xA5, 0x65, 0xA5, 0x3E}, "ģ"},
};


constexpr int kWidth = 20;

}  // namespace

PoleDisplay::PoleDisplay(int displayType, int printerType)
    : type_(displayType >= 0 && displayType <= 3 ? displayType : 0),
      printer_(printerType >= 0 ? std::make_unique<ReceiptPaper>(printerType) : nullptr) {
    for (auto& row : cells_) row.fill(" ");
}

void PoleDisplay::define(std::uint8_t code, const Bytes& columns) {
    glyphs_[code] = columns;
    std::string letter;
    const auto& known = type_ == 3 ? std::vector<KnownGlyph>(std::begin(kOrdermanGlyphs), std::end(kOrdermanGlyphs))
                                   : std::vector<KnownGlyph>(std::begin(kBirchGlyphs), std::end(kBirchGlyphs));
    for (const auto& g : known)
        if (columns.size() == 5 && std::equal(g.columns.begin(), g.columns.end(), columns.begin())) letter = g.letter;
    downloadedLetters[code] = letter;
}

std::string PoleDisplay::glyphOf(std::uint8_t byte) const {
    if (userSet_ && glyphs_.count(byte)) {
        const auto it = downloadedLetters.find(byte);
        return it->second.empty() ? "\xEF\xBF\xBD" : it->second;
    }
    if (byte < 0x80) return std::string(1, char(byte));
    // The DSP-850 and the Orderman show their ROM's Windows-1257 letters; the others have none.
    return (type_ == 2 || type_ == 3) ? sim::utf8OfCp1257(byte) : "?";
}

void PoleDisplay::putChar(std::uint8_t byte) {
    if (recordingMacro_) {
        macro_ += glyphOf(byte);
        return;
    }
    if (mode_ == Mode::Collect) {
        collected_[std::size_t(row_)] += glyphOf(byte);
        return;
    }
    auto& cells = cells_[std::size_t(row_)];
    if (mode_ == Mode::ShiftIn) {
        std::rotate(cells.begin(), cells.begin() + 1, cells.end());
        cells.back() = glyphOf(byte);
        return;
    }
    if (col_ >= kWidth) {  // past the end: on to the next line (the lower one scrolls up)
        col_ = 0;
        if (row_ == 0) {
            row_ = 1;
        } else if (type_ == 1) {
            cells_[0] = cells_[1];
            cells_[1].fill(" ");
        } else {
            row_ = 0;  // overwrite mode: back to the top
        }
    }
    cells_[std::size_t(row_)][std::size_t(col_++)] = glyphOf(byte);
}

std::string PoleDisplay::line(int row) const {
    if (!scrolling_[std::size_t(row)].empty()) return scrolling_[std::size_t(row)];
    std::string s;
    for (const auto& c : cells_[std::size_t(row)]) s += c;
    return s;
}

std::string PoleDisplay::scrolling(int row) const { return scrolling_[std::size_t(row)]; }

Bytes PoleDisplay::feed(const Bytes& bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    Bytes replies;
    while (!pending_.empty()) {
        std::size_t used = step(replies);
        if (used == 0) break;
        pending_.erase(pending_.begin(), pending_.begin() + long(used));
    }
    return replies;
}

std::size_t PoleDisplay::step(Bytes& replies) {
    const Bytes& p = pending_;
    // The pass-through switch: everything up to the switch back goes to the printer.
    const std::uint8_t switchByte = type_ == 1 ? 0x5F : 0x3D;
    if (p[0] == 0x1B && (p.size() == 1 || (p.size() == 2 && p[1] == switchByte))) return 0;
    if (type_ == 1) {
        if (p[0] == 0x1B && p[1] == 0x5F && (p[2] == 0x50 || p[2] == 0x44)) {
            toPrinter_ = p[2] == 0x50;
            return 3;
        }
    } else {
        if (p[0] == 0x1B && p[1] == 0x3D) {
            // BIRCH/Orderman: '1' printer, '2' display; DSP-850: bit 0 printer, bit 1 display.
            toPrinter_ = type_ == 2 ? (p[2] & 3) == 1 : p[2] == 0x31;
            return 3;
        }
    }
    if (toPrinter_) {
        // Hand the printer everything up to the next escape that could be the switch back.
        std::size_t n = 1;
        while (n < p.size() && p[n] != 0x1B) ++n;
        if (printer_) {
            Bytes answer = printer_->feed(Bytes(p.begin(), p.begin() + long(n)));
            replies.insert(replies.end(), answer.begin(), answer.end());
        }
        return n;
    }
    switch (type_) {
    case 1:
        return stepJarltech();
    case 2:
        return stepDsp850();
    default:
        return stepBirch(replies);
    }
}

std::size_t PoleDisplay::stepBirch(Bytes&) {
    const Bytes& p = pending_;
    if (p[0] != 0x1B) {
        putChar(p[0]);
        return 1;
    }
    if (p.size() < 2) return 0;
    switch (p[1]) {
    case 0x55:  // ESC U, ESC D: write the upper / lower line from the right
    case 0x44:
        row_ = p[1] == 0x55 ? 0 : 1;
        mode_ = Mode::ShiftIn;
        scrolling_[std::size_t(row_)].clear();
        return 2;
    case 0x40:  // ESC @: initialise
        for (auto& row : cells_) row.fill(" ");
        scrolling_ = {};
        mode_ = Mode::Cursor;
        row_ = col_ = 0;
        return 2;
    case 0x25:  // ESC % n: downloaded characters on (n = 1) / off
        if (p.size() < 3) return 0;
        userSet_ = p[2] & 1;
        return 3;
    case 0x45: {  // ESC E l n: scrolling row l ('U', 'D', 'X' both): 3 stop and collect, 1 run
        if (p.size() < 4) return 0;
        const std::uint8_t l = p[2], n = p[3];
        for (int row = 0; row < 2; ++row) {
            if (!(l == 0x58 || (l == 0x55 && row == 0) || (l == 0x44 && row == 1))) continue;
            if (n == 0x33) {
                scrolling_[std::size_t(row)].clear();
                collected_[std::size_t(row)].clear();
                if (l != 0x58) {
                    row_ = row;
                    mode_ = Mode::Collect;
                }
            } else if (n == 0x31) {
                scrolling_[std::size_t(row)] = collected_[std::size_t(row)];
                mode_ = Mode::Cursor;
            }
        }
        return 4;
    }
    case 0x26: {  // ESC & downloads
        if (type_ == 3) {  // ESC & y c1 c2 [x d1..d(y*x)]...
            if (p.size() < 5) return 0;
            std::size_t y = p[2], at = 5;
            for (unsigned c = p[3]; c <= p[4]; ++c) {
                if (p.size() < at + 1) return 0;
                std::size_t size = y * p[at];
                if (p.size() < at + 1 + size) return 0;
                define(std::uint8_t(c), Bytes(p.begin() + long(at + 1), p.begin() + long(at + 1 + size)));
                at += 1 + size;
            }
            return at;
        }
        // BIRCH: ESC & c1 c2, five columns for each character
        if (p.size() < 4) return 0;
        std::size_t count = p[3] >= p[2] ? std::size_t(p[3] - p[2] + 1) : 0;
        if (p.size() < 4 + 5 * count) return 0;
        for (std::size_t i = 0; i < count; ++i)
            define(std::uint8_t(p[2] + i), Bytes(p.begin() + long(4 + 5 * i), p.begin() + long(9 + 5 * i)));
        return 4 + 5 * count;
    }
    default:
        ++garbageBytes;
        return 1;
    }
}

std::size_t PoleDisplay::stepJarltech() {
    const Bytes& p = pending_;
    switch (p[0]) {
    case 0x0D:
        col_ = 0;
        return 1;
    case 0x0A:  // vertical scroll mode: at the lower line the display scrolls up
        if (row_ == 0) {
            row_ = 1;
        } else {
            cells_[0] = cells_[1];
            cells_[1].fill(" ");
        }
        return 1;
    case 0x1B:
        break;
    default:
        putChar(p[0]);
        return 1;
    }
    if (p.size() < 2) return 0;
    switch (p[1]) {
    case 0x25:  // ESC % n: modes
        return p.size() < 3 ? 0 : 3;
    case 0x3A:  // ESC :: scrolling rows stop
        scrolling_ = {};
        mode_ = Mode::Cursor;
        return 2;
    case 0x28:  // ESC ( n: collect the next scrolling row
        if (p.size() < 3) return 0;
        collected_[0].clear();
        row_ = 0;
        mode_ = Mode::Collect;
        return 3;
    case 0x29: {  // CR ESC ) l s p r: run the collected row on line l ('0' upper, '1' lower)
        if (p.size() < 6) return 0;
        const int row = p[2] == 0x31 ? 1 : 0;
        scrolling_[std::size_t(row)] = collected_[0];
        mode_ = Mode::Cursor;
        return 6;
    }
    default:
        ++garbageBytes;
        return 1;
    }
}

std::size_t PoleDisplay::stepDsp850() {
    const Bytes& p = pending_;
    switch (p[0]) {
    case 0x0B:  // home
        row_ = col_ = 0;
        mode_ = Mode::Cursor;
        return 1;
    case 0x1F:
        break;
    default:
        putChar(p[0]);
        return 1;
    }
    if (p.size() < 2) return 0;
    switch (p[1]) {
    case 0x3A:  // US :: macro definition starts / ends
        recordingMacro_ = !recordingMacro_;
        if (recordingMacro_) macro_.clear();
        scrolling_ = {};
        return 2;
    case 0x5E:  // US ^ n m: run the macro
        if (p.size() < 4) return 0;
        scrolling_[0] = macro_;
        return 4;
    default:
        ++garbageBytes;
        return 1;
    }
}

}  // namespace sim
