// A barcode scanner on a pseudo-terminal COM port: each scan sends the code's characters and the
// scanner's ending (CR, or CR LF on scanners set up so). It answers nothing.
#pragma once

#include "serial_device.h"

#include <string>

namespace sim {

class ScannerSim : public SerialDevice {
public:
    enum class Ending { Cr, CrLf, None };

    explicit ScannerSim(Ending ending = Ending::Cr) : ending_(ending) {}
    ~ScannerSim() override { stop(); }

    // Sends one scanned code with the scanner's ending.
    void scan(const std::string& code);
    // Sends bytes as they are (a code typed in parts, stray returns).
    void sendBytes(const std::string& bytes);

protected:
    void received(const Bytes& bytes) override { trace().received(bytes, "ignored"); }

private:
    Ending ending_;
};

}  // namespace sim
