// A receipt printer on a pseudo-terminal COM port: it takes whatever a printer type is sent and
// keeps the paper it would print, for tests and tillora-devices.
#pragma once

#include "receipt_paper.h"
#include "serial_device.h"

#include <string>
#include <vector>

namespace sim {

// Fault switches (faults().arm(name)):
//   "paper-out"  - from now on status answers report the paper end and nothing is printed
//                  (disarm to load paper again);
//   "lose-chunk" - the next chunk of bytes is lost on the line.
class PrinterSimulator : public SerialDevice {
public:
    explicit PrinterSimulator(int printerType);
    // The reader thread stops before the device state it works on goes.
    ~PrinterSimulator() override { stop(); }

    // Takes the computer's bytes no faster than the line would carry them at this rate (10 bits a
    // byte); 0 takes them as they come.
    void setReceivePacing(long baud) { receiveBaud_ = baud; }

    std::vector<std::string> receipt();
    std::vector<std::string> journal();
    int cuts();
    int drawerPulses();
    int garbageBytes();
    int overlongLines();
    long bytesReceived();
    // The paper as text, one line each, the receipt first, then "== journal ==" and the journal.
    std::string paperText();
    // A copy of the whole decoder state.
    ReceiptPaper paper();

protected:
    void received(const Bytes& bytes) override;

private:
    void pace(std::size_t count);

    ReceiptPaper paper_;
    long receiveBaud_ = 0;
    std::chrono::steady_clock::time_point lineFree_{};
};

}  // namespace sim
