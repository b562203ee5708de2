// What a receipt printer puts on paper from the bytes it is sent: the two stations' lines, cuts,
// feeds, drawer pulses, logos and barcodes, the letters decoded as the printer type shows them.
// Decoded on its own from the device's command set, not from the till's printer code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// Paper of one printer type 0..7 (other numbers: the CITIZEN with downloaded letters). Lines are
// UTF-8 without trailing blanks; markers in square brackets: "[cut]", "[logo 3]",
// "[EAN13 4750000000017]".
class ReceiptPaper {
public:
    explicit ReceiptPaper(int printerType);

    // Takes the next bytes of the stream; returns the printer's answers (status queries).
    Bytes feed(const Bytes& bytes);

    std::vector<std::string> receipt;
    std::vector<std::string> journal;
    int cuts = 0;
    int drawerPulses = 0;
    // Bytes that made no sense to the printer (unknown or malformed commands).
    int garbageBytes = 0;
    std::uint8_t printMode = 0;   // last ESC ! n
    int codeTable = 0;            // last ESC t n
    bool paperOut = false;        // status answers say so and nothing is printed
    // Characters downloaded into the user-defined set (ESC &), by code.
    std::map<std::uint8_t, Bytes> userGlyphs;
    // Printed lines longer than the station's width (a real printer would wrap them).
    int overlongLines = 0;
    long bytesTaken = 0;

    int width() const;

private:
    // Parses one command or character at the front of pending_; 0 when more bytes are needed.
    std::size_t step(Bytes& replies);
    void addChar(std::uint8_t byte);
    void endLine();
    void mark(const std::string& marker);  // cut, logo and barcode: receipt paper only

    int type_;
    Bytes pending_;
    std::uint8_t stations_ = 3;
    bool userSet_ = false;
    std::vector<std::string> line_;  // one UTF-8 character per cell
};

}  // namespace sim
