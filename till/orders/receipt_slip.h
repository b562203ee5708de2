// A slip printed on the receipt printer's receipt station (the bar slip, the bill, the waiter
// report): its lines, the closing feed and the next receipt's header, and whether it reached the
// paper whole.
#pragma once

#include <QString>

class TPrintClass;

class ReceiptSlip {
public:
    explicit ReceiptSlip(TPrintClass& printer) : printer_(printer) {}

    // One line with the pause flag and the journal mode (1 keeps the journal file open).
    void line(const QString& text, bool pause = true, int journalMode = 1);
    // The five line feeds, closing the journal file, then the next receipt's header. True when
    // every line went to the printer and the printer still reported paper after the slip.
    bool finish(bool pause);

private:
    TPrintClass& printer_;
    bool whole_ = true;
};
