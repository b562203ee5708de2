// A customer pole display on a pseudo-terminal COM port, optionally with a receipt printer behind
// it on the same line; tests and tillora-devices read what the customer would see.
#pragma once

#include "pole_display.h"
#include "serial_device.h"

#include <string>
#include <vector>

namespace sim {

// Fault switches: "lose-chunk" - the next chunk of bytes is lost on the line.
class DisplaySimulator : public SerialDevice {
public:
    // printerType >= 0: a printer of that type sits behind the display (one port for both).
    explicit DisplaySimulator(int displayType, int printerType = -1);
    // The reader thread stops before the device state it works on goes.
    ~DisplaySimulator() override { stop(); }

    std::string line(int row);
    std::string scrolling(int row);
    std::map<std::uint8_t, std::string> downloadedLetters();
    int garbageBytes();
    // The paper of the printer behind the display (empty when there is none).
    std::vector<std::string> printerReceipt();
    std::vector<std::string> printerJournal();
    // The two lines as the customer sees them, framed.
    std::string screenText();

protected:
    void received(const Bytes& bytes) override;

private:
    PoleDisplay display_;
};

}  // namespace sim
