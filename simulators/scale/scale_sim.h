// A price-computing scale on a pseudo-terminal COM port: answers ENQ with one byte and DC2 with
// its 37-byte answer built from the weight on it, its stability, the unit price and the cost.
#pragma once

#include "serial_device.h"

namespace sim {

// Fault switches of its own: "short" - the next answer is 36 bytes; "long" - it is 38 bytes.
// "silent" holds back the next reply (the byte after ENQ or an answer).
class ScaleSim : public SerialDevice {
public:
    ~ScaleSim() override { stop(); }

    // Puts goods on the scale: weight in kg, price per kg; the cost is weight x price.
    void place(double weightKg, double pricePerKg, bool stable = true);
    // The 37 bytes the scale answers now: cost at 3-9, "S" at 13 when stable, weight at 14-20,
    // unit price at 27-33.
    Bytes answer();

protected:
    void received(const Bytes& bytes) override;

private:
    double weight_ = 0;
    double price_ = 0;
    bool stable_ = true;
};

}  // namespace sim
