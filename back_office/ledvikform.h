// TLedvik: the back office's main window, page "Datu sūtīšana": the exchange file, the eleven
// step boxes, the period and Z number, the cash limit and display lines, the process log, and
// the send/receive button. With a command line it runs one pass unattended.
#pragma once

#include "ledvik_settings.h"
#include "ledvikdati.h"
#include "process_log.h"
#include "ui_services.h"

#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;

inline const QString kKasesMissingMessage = QStringLiteral("Fails KASES.DBF nav tekošajā katalogā ? ");
inline const QString kProcessDoneMessage = QStringLiteral("Process pabeigts !!!");

class TLedvik : public QWidget {
    Q_OBJECT
public:
    // `autoMode`: started with a command line; every message then goes to the process log instead
    // of a box, and a failure outside the steps' own handling makes the exit status non-zero.
    TLedvik(TLedvikDati& dati, bool autoMode, QWidget* parent = nullptr);
    ~TLedvik() override;

    // The unattended run: applies the switches, runs one pass, and returns the exit status
    // (0, or 1 when something could not be done: a bad date, the till list, an exchange file).
    int RunUnattended(const QString& commandLine);

    void btSutitClick();
    // Converts the current till's item prices from lats to euros, once per till database.
    void btLVL_to_EURClick();
    void LogProcess(const QString& text);

    QTabWidget* PageControl = nullptr;
    QWidget* DatuSutisana = nullptr;
    QLineEdit* shDBFDir = nullptr;
    QCheckBox* chkPreces = nullptr;
    QCheckBox* chkKlienti = nullptr;
    QCheckBox* chkUsers = nullptr;
    QCheckBox* chkValutas = nullptr;
    QCheckBox* chkNodalas = nullptr;
    QCheckBox* chkSutaPrecesDAT = nullptr;
    QCheckBox* chkR_ARTIK = nullptr;
    QCheckBox* chkR_KONTR = nullptr;
    QCheckBox* chkBrivaCena = nullptr;
    QCheckBox* chkRealizSun = nullptr;
    QCheckBox* chkAtdKase = nullptr;
    QDateEdit* shDatumsNo = nullptr;
    QDateEdit* shDatumsLidz = nullptr;
    QLineEdit* shZ_Nr = nullptr;
    QLineEdit* shNaudaLimits = nullptr;
    QLineEdit* shDemoRinda_1 = nullptr;
    QLineEdit* shDemoRinda_2 = nullptr;
    QListWidget* ListProcess = nullptr;
    QProgressBar* Termometrs = nullptr;
    QPushButton* btSutit = nullptr;
    QPushButton* btClose = nullptr;
    // "Pārrēkināt LVL->EUR": part of the layout, never shown.
    QPushButton* btLVL_to_EUR = nullptr;

    bool AutoMode = false;
    bool IsAutoDirekcija = false;

private:
    void buildForm();
    void FormCreate();
    void FormDestroy();
    void ApplySwitches(const QString& commandLine);
    LedvikSettings settingsFromControls() const;
    // Tells the user; unattended, the text goes to the log and the run has failed.
    void tell(const QString& text);

    TLedvikDati& dati_;
    ProcessLog log_;
    std::unique_ptr<platform::ui::UnattendedScope> unattended_;
    bool failed_ = false;
};
