// A barcode scanner on a pseudo-terminal COM port: each scan sends the code's characters and the
// scanner's ending (CR, or CR LF on scanners set up so). It answers nothing.
#pragma once

#include "serial_device.h"

#include <atomic>
#include <string>

namespace sim {

class ScannerSim : public SerialDevice {
public:
    enum class Ending { Cr, CrLf, None };

    explicit ScannerSim(Ending ending = Ending::Cr) : ending_(ending) { watchInputFlushes(); }
    ~ScannerSim() override { stop(); }

    // Sends one scanned code with the scanner's ending.
    void scan(const std::string& code);
    // Sends bytes as they are (a code typed in parts, stray returns).
    void sendBytes(const std::string& bytes);
    // How many times the program has opened the port (the port wrapper empties the input queue
    // as it opens, so a code scanned before that is gone, as on a real port nobody listens to).
    int openings() const { return openings_; }

protected:
    void received(const Bytes& bytes) override { trace().received(bytes, "ignored"); }
    void inputFlushed() override { ++openings_; }

private:
    Ending ending_;
    std::atomic<int> openings_{0};
};

}  // namespace sim
