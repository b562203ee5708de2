#include "scanner_sim.h"

namespace sim {

void ScannerSim::scan(const std::string& code) {
    std::string bytes = code;
    if (ending_ != Ending::None) bytes += '\r';
    if (ending_ == Ending::CrLf) bytes += '\n';
    send(Bytes(bytes.begin(), bytes.end()), "scan " + code);
}

void ScannerSim::sendBytes(const std::string& bytes) { send(Bytes(bytes.begin(), bytes.end())); }

}  // namespace sim
