// What a customer pole display shows from the bytes it is sent: two lines of 20 characters as the
// customer sees them, the scrolling advertising rows and the letters downloaded into it. Decoded
// on its own from each display's command set, not from the till's display code.
#pragma once

#include "receipt_paper.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

// Display types: 0 BIRCH, 1 JARLTECH, 2 Bir DSP-850, 3 Orderman 300 (others: BIRCH).
// With a printer behind it (printerType >= 0) the bytes passed through go to that printer's paper.
class PoleDisplay {
public:
    explicit PoleDisplay(int displayType, int printerType = -1);

    // Takes the next bytes; returns what the printer behind it answered.
    Bytes feed(const Bytes& bytes);

    // The line as the customer sees it: 20 characters, UTF-8. A scrolling row shows its text.
    std::string line(int row) const;
    // The text of a scrolling advertising row (empty when the row is not scrolling).
    std::string scrolling(int row) const;
    // A downloaded character by its code, as the letter its dots draw ("" when not recognised).
    std::map<std::uint8_t, std::string> downloadedLetters;
    int garbageBytes = 0;
    ReceiptPaper* printer() { return printer_.get(); }

private:
    std::size_t step(Bytes& replies);
    std::size_t stepBirch(Bytes& replies);
    std::size_t stepJarltech();
    std::size_t stepDsp850();
    void putChar(std::uint8_t byte);
    std::string glyphOf(std::uint8_t byte) const;
    void define(std::uint8_t code, const Bytes& columns);

    int type_;
    std::unique_ptr<ReceiptPaper> printer_;
    bool toPrinter_ = false;
    Bytes pending_;
    std::array<std::array<std::string, 20>, 2> cells_;
    int row_ = 0, col_ = 0;
    bool userSet_ = false;
    std::map<std::uint8_t, Bytes> glyphs_;
    // BIRCH: a line written from the right ("ESC U"/"ESC D"), or collecting a scrolling row.
    enum class Mode { Cursor, ShiftIn, Collect } mode_ = Mode::Cursor;
    std::array<std::string, 2> collected_;
    std::array<std::string, 2> scrolling_;
    bool recordingMacro_ = false;
    std::string macro_;
};

}  // namespace sim
