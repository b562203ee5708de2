#include "receipt_slip.h"

#include "printclass.h"

#include <cstdint>

namespace {

// ESC v, the paper sensor: bits 2 and 3 are set when the paper has run out.
constexpr std::uint8_t kPaperEndBits = 0x0C;

}  // namespace

void ReceiptSlip::line(const QString& text, bool pause, int journalMode)
{
    // A line that could not go into the journal file still reached the paper; only a port
    // failure loses it.
    const int result = printer_.DrukaUzCeka(text, pause, journalMode);
    if (result < 0 && result != kPrintJournalFailed) whole_ = false;
}

bool ReceiptSlip::finish(bool pause)
{
    line(QStringLiteral("\n\n\n\n\n"), pause, 2);
    if (whole_) {
        std::uint8_t realTime = 0, paperSensor = 0, drawer = 0;
        printer_.LasitStatusu(realTime, paperSensor, drawer);
        if (paperSensor & kPaperEndBits) whole_ = false;
    }
    printer_.DrukaCekaGalvu();
    return whole_;
}
