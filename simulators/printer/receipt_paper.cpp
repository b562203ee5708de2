#include "receipt_paper.h"

#include "cp1257_text.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

// The printer models as their makers document them.
struct Model {
    int width;
    bool sideBySide;   // a both-station line holds the receipt half, then the journal half
    enum { CodePageA, RomWithUserSet, Cp1257AfterTable46, Cp1257 } letters;
};

constexpr std::array<Model, 8> kModels{{
    {40, true, Model::CodePageA},        // EPSON TM-U950
    {36, true, Model::CodePageA},        // CITIZEN CBM-262
    {40, false, Model::CodePageA},       // EPSON TM-U210
    {36, true, Model::RomWithUserSet},   // CITIZEN with the letter set from citizen.dlf
    {48, false, Model::Cp1257AfterTable46},  // TH 582
    {36, false, Model::Cp1257},          // CITIZEN CT-S801
    {42, false, Model::Cp1257},          // SAM4S
    {36, false, Model::Cp1257},          // Protech 3520
}};

const Model& model(int type) { return (type >= 0 && type < 8) ? kModels[std::size_t(type)] : kModels[3]; }

// The Latvian letters of the impact printers' code page.
struct CodePoint {
    std::uint8_t byte;
    const char* utf8;
};
constexpr CodePoint kCodePageA[] = {
    {0xB5, "Ā"}, {0xD3, "Č"}, {0xF0, "Ē"}, {0xF2, "Ģ"}, {0xD7, "Ī"}, {0xF4, "Ķ"}, {0xF6, "Ļ"}, {0xFC, "Ņ"},
    {0xD0, "Š"}, {0xDE, "Ū"}, {0xF8, "Ž"}, {0xC6, "ā"}, {0xD2, "č"}, {0xF1, "ē"}, {0xD6, "ģ"}, {0xD8, "ī"},
    {0xF3, "ķ"}, {0xF5, "ļ"}, {0xB7, "ņ"}, {0xFD, "š"}, {0xDD, "ū"}, {0xF7, "ž"},
};

// The letter set of citizen.dlf: the Latvian alphabet, capitals first, on 'a' to 'v'.
constexpr const char* kDlfLetters[] = {"Ā", "Č", "Ē", "Ģ", "Ī", "Ķ", "Ļ", "Ņ", "Š", "Ū", "Ž",
                                       "ā", "č", "ē", "ģ", "ī", "ķ", "ļ", "ņ", "š", "ū", "ž"};


std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

ReceiptPaper::ReceiptPaper(int printerType) : type_(printerType) {}

int ReceiptPaper::width() const { return model(type_).width; }

Bytes ReceiptPaper::feed(const Bytes& bytes) {
    bytesTaken += long(bytes.size());
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    Bytes replies;
    while (!pending_.empty()) {
        std::size_t used = step(replies);
        if (used == 0) break;
        pending_.erase(pending_.begin(), pending_.begin() + long(used));
    }
    return replies;
}

void ReceiptPaper::mark(const std::string& marker) {
    if (!paperOut) receipt.push_back(marker);
}

void ReceiptPaper::addChar(std::uint8_t byte) {
    const Model& m = model(type_);
    std::string ch;
    if (byte < 0x80 && !(userSet_ && m.letters == Model::RomWithUserSet)) {
        ch = std::string(1, char(byte));
    } else if (userSet_ && m.letters == Model::RomWithUserSet) {
        // Only characters the download defined print from the user set.
        ch = (byte >= 'a' && byte <= 'v' && userGlyphs.count(byte)) ? kDlfLetters[byte - 'a'] : "\xEF\xBF\xBD";
    } else if (m.letters == Model::CodePageA) {
        ch = "?";
        for (const auto& cp : kCodePageA)
            if (cp.byte == byte) ch = cp.utf8;
    } else if (m.letters == Model::Cp1257 || (m.letters == Model::Cp1257AfterTable46 && codeTable == 46)) {
        ch = sim::utf8OfCp1257(byte);
    } else {
        ch = "?";
    }
    line_.push_back(ch);
}

void ReceiptPaper::endLine() {
    const Model& m = model(type_);
    auto join = [this](std::size_t from, std::size_t to) {
        std::string s;
        for (std::size_t i = from; i < std::min(to, line_.size()); ++i) s += line_[i];
        return rtrim(s);
    };
    const std::size_t w = std::size_t(m.width);
    const bool compressed = printMode & 0x01;
    if (!paperOut) {
        if (m.sideBySide && stations_ == 3) {
            if (!compressed && line_.size() > 2 * w) ++overlongLines;
            receipt.push_back(join(0, w));
            journal.push_back(join(w, 2 * w));
        } else {
            if (!compressed && line_.size() > w) ++overlongLines;
            std::string text = join(0, line_.size());
            if (m.sideBySide) {
                if (stations_ & 2) receipt.push_back(text);
                if (stations_ & 1) journal.push_back(text);
            } else if (stations_ != 0) {
                receipt.push_back(text);  // one paper: every station prints on it
            }
        }
    }
    line_.clear();
}

std::size_t ReceiptPaper::step(Bytes& replies) {
    const Bytes& p = pending_;
    auto need = [&p](std::size_t n) { return p.size() >= n; };
    const std::uint8_t b = p[0];
    if (b == 0x0A) {
        endLine();
        return 1;
    }
    if (b == 0x0D || b == 0x00) return 1;  // CR and NUL print nothing
    if (b == 0x10) {                        // DLE EOT n: real-time status
        if (!need(3)) return 0;
        if (p[1] != 0x04) return ++garbageBytes, 1;
        replies.push_back(paperOut ? 0x72 : 0x12);
        return 3;
    }
    if (b == 0x1C) {  // FS p n m: stored logo n
        if (!need(4)) return 0;
        if (p[1] != 0x70) return ++garbageBytes, 1;
        mark("[logo " + std::to_string(p[2]) + "]");
        return 4;
    }
    if (b == 0x1D) {
        if (!need(2)) return 0;
        switch (p[1]) {
        case 0x68:  // GS h n: bar height
        case 0x48:  // GS H n: digits position
        case 0x42:  // GS B n: reverse print
            return need(3) ? 3 : 0;
        case 0x6B: {  // GS k m n d1..dn
            if (!need(4)) return 0;
            std::size_t n = p[3];
            if (!need(4 + n)) return 0;
            std::string digits(p.begin() + 4, p.begin() + 4 + long(n));
            mark((p[2] == 0x43 ? "[EAN13 " : "[barcode ") + digits + "]");
            return 4 + n;
        }
        default:
            return ++garbageBytes, 1;
        }
    }
    if (b != 0x1B) {
        addChar(b);
        return 1;
    }
    if (!need(2)) return 0;
    switch (p[1]) {
    case 0x63:  // ESC c 0 n: station select
        if (!need(4)) return 0;
        stations_ = p[3] & 3;
        return 4;
    case 0x64:  // ESC d n: feed n lines
        if (!need(3)) return 0;
        for (int i = 0; i < p[2] && !paperOut; ++i) {
            if ((stations_ & 2) || (stations_ && !model(type_).sideBySide)) receipt.push_back({});
            if ((stations_ & 1) && model(type_).sideBySide) journal.push_back({});
        }
        return 3;
    case 0x6D:  // ESC m: cut
        ++cuts;
        mark("[cut]");
        return 2;
    case 0x70:  // ESC p m t1 t2: drawer pulse
        if (!need(5)) return 0;
        ++drawerPulses;
        return 5;
    case 0x21:  // ESC ! n: print mode
        if (!need(3)) return 0;
        printMode = p[2];
        return 3;
    case 0x74:  // ESC t n: code table
        if (!need(3)) return 0;
        codeTable = p[2];
        return 3;
    case 0x25:  // ESC % n: user-defined set on/off
        if (!need(3)) return 0;
        userSet_ = p[2] & 1;
        return 3;
    case 0x26: {  // ESC & y c1 c2 [x d1..d(y*x)]...
        if (!need(5)) return 0;
        std::size_t y = p[2], at = 5;
        for (unsigned c = p[3]; c <= p[4]; ++c) {
            if (!need(at + 1)) return 0;
            std::size_t size = y * p[at];
            if (!need(at + 1 + size)) return 0;
            userGlyphs[std::uint8_t(c)] = Bytes(p.begin() + long(at + 1), p.begin() + long(at + 1 + size));
            at += 1 + size;
        }
        return at;
    }
    case 0x76:  // ESC v: paper sensor status
        replies.push_back(paperOut ? 0x0C : 0x00);
        return 2;
    case 0x75:  // ESC u n: drawer/peripheral status
        if (!need(3)) return 0;
        replies.push_back(paperOut ? 0x01 : 0x00);
        return 3;
    default:
        return ++garbageBytes, 1;
    }
}

}  // namespace sim
