// TScanerThread: the till's one thread of its own. It reads the barcode scanner's port for the
// whole run and hands each complete code to the sale window's item field on the main thread.
#pragma once

#include <QPointer>
#include <QString>
#include <QThread>

class TPOSMain;

class TScanerThread : public QThread {
public:
    // The port is the setting "SkanerisCom" as it stands when the thread is made; 0 and 1 mean
    // that no scanner is set up, and the thread ends at once.
    TScanerThread(TPOSMain* window, int skanerisCom);
    ~TScanerThread() override;

protected:
    void run() override;  // Execute

private:
    // Hands `kods` to the main thread and waits until the item-entry handler has taken it; false
    // when the thread was asked to stop meanwhile.
    bool PutKodu(const QString& kods);

    QPointer<TPOSMain> window_;
    const int port_;
};
