// A chip-card reader with a text display on a pseudo-terminal COM port: acknowledges ENQ and
// frames, answers the card queries from a card state the test sets, keeps what its display shows.
#pragma once

#include "reader_frames.h"
#include "serial_device.h"

#include <string>

namespace sim {

// Fault switches of its own:
//   "nak"        - the next frame is refused with NAK instead of ACK;
//   "bad-check"  - the next answer frame carries a wrong check byte;
//   "zero-check" - the next answer frame carries the status character that makes its check byte 0
//                  (a card in the reader);
//   "ack-extra"  - the next ACK goes out in one piece with the answer frame behind it;
//   "garbage"    - the next answer is STX and 2499 bytes with no ETX, more than a collection holds;
//   "short-answer" - the next answer frame echoes the command without a status character.
// "silent" leaves the next ENQ or frame unanswered (a card query gets neither its ACK nor its answer).
class CardReaderSim : public SerialDevice {
public:
    CardReaderSim() = default;
    ~CardReaderSim() override;

    bool start(const std::filesystem::path& portsDir, const std::string& comName, long baud = 0) override;

    void setCardIn(bool in);
    bool cardIn();
    // What the display shows, as UTF-8 (its bytes are Windows-1257).
    std::string displayText();

protected:
    void received(const Bytes& bytes) override;

private:
    void answerFrame(const std::string& text);
    void answerQuery();
    Bytes queryAnswer();
    // Waits until the computer has read what was sent to it, so that an answer frame never lands
    // in the same read as the acknowledgement before it.
    void waitTaken();

    ReaderInbound inbound_;
    int probe_ = -1;        // a descriptor on the slave side, to see what is still unread there
    std::string query_;     // the card query awaiting its answer ("I05" or "I02"), if any
    bool cardIn_ = false;
    Bytes display_;
};

}  // namespace sim
