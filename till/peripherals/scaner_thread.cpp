#include "scaner_thread.h"

#include "posmain.h"
#include "scanned_code.h"

#include "cominterface.h"

#include <QApplication>
#include <QTimer>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

constexpr long kScannerBaud = 9600;
// The main thread runs queued calls also inside a modal dialog's own event loop, which is the one
// way it takes a call while the item-entry handler runs (the payment dialog, a message box): the
// code then waits for the dialog to close, looking again this often.
constexpr int kHeldHandOverMs = 20;

struct HandOver {
    std::mutex mutex;
    std::condition_variable taken;
    bool done = false;
    bool cancelled = false;

    void finish() {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        taken.notify_all();
    }
};

// On the main thread: the code goes after what the cashier typed, and the handler gets Enter.
void Deliver(QPointer<TPOSMain> window, std::shared_ptr<HandOver> handOver, QString kods) {
    if (!window) return handOver->finish();
    {
        std::lock_guard lock(handOver->mutex);
        if (handOver->cancelled) return;
    }
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kHeldHandOverMs, window, [window, handOver, kods] { Deliver(window, handOver, kods); });
        return;
    }
    struct Finish {
        HandOver& h;
        ~Finish() { h.finish(); }
    } finish{*handOver};
    window->edArtikuls->setText(window->edArtikuls->text() + kods);
    window->edArtikulsKeyPress(13);
}

}  // namespace

TScanerThread::TScanerThread(TPOSMain* window, int skanerisCom) : QThread(window), window_(window), port_(skanerisCom) {}

TScanerThread::~TScanerThread() {
    requestInterruption();
    wait();
}

void TScanerThread::run() {
    if (port_ <= 1) return;
    const ComHandle handle = ComOpen(port_, kScannerBaud, "n");
    ScannedCode kods;
    while (!isInterruptionRequested()) {
        // A port that did not open gives no characters; its reads fail at once, so the step
        // waits the read time-out itself rather than spin.
        if (handle == kComNotOpen) {
            msleep(kComReadTimeoutMs);
            continue;
        }
        if (auto code = kods.step(ComRead(handle)); code && !PutKodu(*code)) break;
    }
    ComClose(handle);
}

bool TScanerThread::PutKodu(const QString& kods) {
    auto handOver = std::make_shared<HandOver>();
    QPointer<TPOSMain> window = window_;
    if (!window) return false;
    QMetaObject::invokeMethod(window, [window, handOver, kods] { Deliver(window, handOver, kods); }, Qt::QueuedConnection);
    std::unique_lock lock(handOver->mutex);
    while (!handOver->done) {
        if (isInterruptionRequested()) {
            handOver->cancelled = true;
            return false;
        }
        handOver->taken.wait_for(lock, std::chrono::milliseconds(kComReadTimeoutMs));
    }
    return true;
}
