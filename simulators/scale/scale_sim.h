// A scale on a pseudo-terminal COM port, speaking one of the scale protocols the suite meets:
// the CAS ER price-computing scale (ENQ is answered with ACK, DC1 with the weight, DC2 with the
// 37-byte weight, price and cost answer) and the till's other models: CAS (three request bytes,
// 19 digit values), DIGI DS-788 (a frame every 13 bytes while the port is open, nothing asked)
// and Magelan ("W", a frame of 7-bit characters with even parity in the top bit).
#pragma once

#include "serial_device.h"

#include <atomic>
#include <optional>
#include <thread>

namespace sim {

// The till's scale models, numbered as its setting "SvariTips" numbers them.
enum class ScaleModel { Cas = 0, DigiDs788 = 1, CasEr = 2, Magelan = 3 };

struct ScaleLine {
    long baud;
    char parity;  // 'e' even, 'n' none
};
ScaleLine lineOf(ScaleModel model);
// The model a "SvariTips" value names; none outside 0..3.
std::optional<ScaleModel> scaleModel(int svariTips);

// Fault switches of its own, each for the next reading (the next answer; for the DIGI DS-788
// the frames after the next opening of the port):
//   "short"        - the frame's last byte is missing (the price answer is 36 bytes);
//   "long"         - the price answer is 38 bytes;
//   "unsteady"     - the weight reads 0 (goods still settling);
//   "overload"     - the weight reads 99.999 kg, over any range the till takes;
//   "not-a-number" - the weight field holds dashes (CAS: a byte of 0x80 among the digit values);
//   "high-byte"    - one byte of the frame is 0x80 or more.
// "silent" holds back the next reply (for the DIGI DS-788: every frame of the next opening).
class ScaleSim : public SerialDevice {
public:
    explicit ScaleSim(ScaleModel model = ScaleModel::CasEr);
    ~ScaleSim() override;

    // The DIGI DS-788 streams at its own line rate whatever is asked, as a real one does.
    bool start(const std::filesystem::path& portsDir, const std::string& comName, long baud = 0) override;

    ScaleModel model() const { return model_; }
    // Puts goods on the scale: weight in kg, price per kg; the cost is weight x price.
    void place(double weightKg, double pricePerKg = 0, bool stable = true);
    // The 37 bytes of the price answer now: cost at 3-9, "S" at 13 when stable, weight at 14-20,
    // unit price at 27-33.
    Bytes answer();
    // The model's weight frame for the weight on the scale now (no faults).
    Bytes weightFrame();
    // How many times the program has opened the port (DIGI DS-788: each opening empties the
    // input queue, which the device sees).
    int openings() const { return openings_; }

protected:
    void received(const Bytes& bytes) override;
    void inputFlushed() override;

private:
    // The frame for a shown weight; `faulty` carries the reading's fault switches.
    struct Reading {
        double weight = 0;
        bool notANumber = false;
        bool highByte = false;
        bool shortFrame = false;
    };
    Reading takeReading();
    Bytes frameFor(const Reading& reading) const;
    void sendWeight();
    void streamLoop();

    const ScaleModel model_;
    double weight_ = 0;
    double price_ = 0;
    bool stable_ = true;
    Bytes lastReceived_;

    // The DIGI DS-788's stream: restarted at a frame's first byte on each opening.
    std::thread stream_;
    std::atomic<bool> streaming_{false};
    std::atomic<int> openings_{0};
    std::mutex streamMutex_;
    bool restart_ = false;
    bool quiet_ = false;
    long openedMs_ = -1;
    Reading streamReading_;
};

}  // namespace sim
