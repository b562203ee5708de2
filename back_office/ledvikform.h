// TLedvik: the back office's main window, page "Datu sūtīšana": the exchange file, the eleven
// step boxes, the period and Z number, the cash limit and display lines, the process log, and
// the send/receive button. With a command line it runs one pass unattended.
#pragma once

#include "editor_list.h"
#include "ledvik_settings.h"
#include "ledvikdati.h"
#include "process_log.h"
#include "ui_services.h"

#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;

inline const QString kKasesMissingMessage = QStringLiteral("Fails KASES.DBF nav tekošajā katalogā ? ");
inline const QString kProcessDoneMessage = QStringLiteral("Process pabeigts !!!");
// The pass's last log line when a step failed for some tills; their names follow.
inline const QString kFailedTillsLine = QStringLiteral("Process beidzās ar kļūdām kasēs: ");

class TLedvik : public QWidget {
    Q_OBJECT
public:
    // `autoMode`: started with a command line; every message then goes to the process log instead
    // of a box, and any failure makes the exit status non-zero.
    TLedvik(TLedvikDati& dati, bool autoMode, QWidget* parent = nullptr);
    ~TLedvik() override;

    // The unattended run: applies the switches, runs one pass, and returns the exit status
    // (0, or 1 when something could not be done: a bad date, the till list, an exchange file, a
    // step for any till).
    int RunUnattended(const QString& commandLine);

    void btSutitClick();
    // Converts the current till's item prices from lats to euros, once per till database.
    void btLVL_to_EURClick();
    void LogProcess(const QString& text);

    // The till list and the master-data pages.
    void Button3Click();
    void btPosFailsClick();
    void btLogoFailsClick();
    void TabSheet2Show();
    void TabSheet3Show();
    void TabSheet4Show();
    void tabPievPrecesShow();
    void DBLKasesKasieriCloseUp();
    void DBLKasesPrecesCloseUp();
    void DBLKasesKlientiCloseUp();
    // Enter looks the search text up as an article, then as a name.
    void shMekletPrecesKeyPress(QChar key);
    // Enter goes to the grid; any other key looks the text with the key up as the start of a
    // code, then of a name.
    void shMekletKlientuKeyPress(QChar key);
    void btSavePievPrecesClick();
    void PieslegtKasieri();
    void PieslegtPreces();
    void PieslegtKlienti();

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
    QPushButton* Button3 = nullptr;
    QPushButton* btPosFails = nullptr;
    QPushButton* btLogoFails = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLineEdit* GNOS = nullptr;
    QLineEdit* PATH = nullptr;
    QCheckBox* NEAKTIVA = nullptr;
    QLineEdit* LOGO_EKR = nullptr;

    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* tabPievPreces = nullptr;
    QComboBox* DBLKasesKasieri = nullptr;
    QComboBox* DBLKasesPreces = nullptr;
    QComboBox* DBLKasesKlienti = nullptr;
    QTableView* DBGrid2 = nullptr;
    QTableView* DBGrid3 = nullptr;
    QTableView* DBGrid4 = nullptr;
    QTableView* DBGrid5 = nullptr;
    QLineEdit* shMekletPreces = nullptr;
    QLineEdit* shMekletKlientu = nullptr;
    QPushButton* btSavePievPreces = nullptr;

    // The editor's lists, one per query: Kases (the till list), Kasieri, Valutas, Preces,
    // Klienti, N_ISI.
    EditorList* Kases = nullptr;
    EditorList* Kasieri = nullptr;
    EditorList* Valutas = nullptr;
    EditorList* Preces = nullptr;
    EditorList* Klienti = nullptr;
    EditorList* N_ISI = nullptr;
    // "Pārrēkināt LVL->EUR": part of the layout, never shown.
    QPushButton* btLVL_to_EUR = nullptr;

    bool AutoMode = false;
    bool IsAutoDirekcija = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    QWidget* buildTillList();
    void buildEditorPages();
    // Points POSDati at the till list's current row and opens these lists on it; every other
    // list closes, as its queries ran on the same connection.
    struct TillQuery {
        EditorList* list;
        QString table;
        QString orderBy;
    };
    void connectTill(std::initializer_list<TillQuery> queries);
    void closeTillLists();
    // A page's combo shows the till list's current row.
    void showCurrentTill(QComboBox* combo);
    // Picking a till in a combo makes the first till list row of its PATH the current one.
    void pickTill(QComboBox* combo);
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
