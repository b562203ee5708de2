// Fiskon's only window: a small borderless form with a tray icon (when the desktop has a tray)
// that prepares the fiscal memory once it is active and then ends the program.
#pragma once

#include "fmproc.h"

#include <QWidget>

#include <memory>

class QSystemTrayIcon;

// Opens the fiscal memory of the configured kind (creating the module's missing working records)
// and tells the user when it is not ready: the record the module refused to create, or that the
// fiscal memory is not there (it cannot be reached or read). The object stays alive for the rest
// of the process. True when the fiscal memory is ready.
bool prepareFiscalMemory(std::unique_ptr<TFMProc>& fmProc);

class TFmTest : public QWidget {
    Q_OBJECT
public:
    explicit TFmTest(QWidget* parent = nullptr);
    ~TFmTest() override;

    // The program's exit status: 0 once the fiscal memory was prepared, 1 otherwise.
    int ExitCode = 1;

protected:
    bool event(QEvent* e) override;

private:
    void FormCreate();
    void FormActivate();
    void FormDestroy();

    QSystemTrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<TFMProc> FMProc;
    bool activated_ = false;
};
