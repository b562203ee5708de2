// TPOSMain: the till's main sale window. Its creation runs the start-up sequence; it holds the
// settings, the cashier, the fiscal-memory and printer objects, the item field that every sale
// input funnels into, the menus, the message service and the window routines.
#pragma once

#include "cashier.h"
#include "frame_objects.h"
#include "frame_rules.h"
#include "quick_keys.h"
#include "radio_group.h"
#include "settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>

#include <array>
#include <memory>
#include <string>
#include <vector>

class TFMProc;
class TPrintClass;

class TPOSMain : public QMainWindow, public TillSettings, public CashierData, public WeighingState {
    Q_OBJECT
public:
    // Builds the window's components, then runs FormCreate (the start-up sequence), which ends
    // the program (platform::ui::endProgram) at the failures it names.
    explicit TPOSMain(QWidget* parent = nullptr);
    ~TPOSMain() override;  // FormDestroy, then the device objects

    // ------------------------------------------------------------ start-up (posmain_startup.cpp)
    void FormCreate();
    void CheckSingleInstance();
    bool KillProcessByName(const std::vector<std::string>& names);
    void LoadQuickKeys();

    // ------------------------------------------------------------ settings and cashier
    void LoadSettings();
    void LoadKasieris();
    // Sets each right's control enabled from the current cashier's rights.
    void ApplyRights();

    // ------------------------------------------------------------ messages and window routines
    void ShowPazinojums(const QString& text, bool force = false);
    void ShowStartProcess(const QString& text);
    void SetFullScreen();
    void ShowKlientLielaisEkrans();
    void TimerPulkstenisTimer();
    // The command-file poll (every 400 ms in command-file mode).
    void TimerFiskPrinterisTimer();
    // The application-wide message hook: the wheel over the receipt list moves its selection.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Status bar: panel 0 the status line, panel 1 the clock.
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    // ------------------------------------------------------------ lifecycle
    void FormActivate();

    // ------------------------------------------------------------ the open receipt's frame
    // The one funnel of every sale input: key 13 (Enter) enters the item field's text.
    void edArtikulsKeyPress(int key);
    void QuickKeyClick(int index);
    void rdPirkumsStornoEnter();
    void rdPirkumsStornoClick();
    void SetPirkumsStorno();
    void AnuletCeku();
    void CheckNaudasLadi();
    bool LoadApmaksasVeidi();
    void RefreshPirkumuSaraksts();

    // ------------------------------------------------------------ menu handlers (posmain_menus.cpp)
    void Parametri1Click();
    void Veidotekakopijufail1Click();
    void Svrtpreci1Click();
    void Klients1Click();
    void Klientakods1Click();
    void DaudzumsArtikulsKods1Click();
    void Artikulaapstiprinana1Click();
    void Klientadati1Click();
    void PirkumsAtgrieana1Click();
    void Atlaideslogs1Click();
    void ApmaksaArKartiEFTClick();
    void MOLAlojalitteskarte1Click();
    void MaiaInkascija1Click();
    void MenuItem20Click();
    void Aizvrtsistmu1Click();
    void Dvanukartes1Click();
    void Precesatlikums1Click();
    void Pastjumasastdana1Click();
    void Kasieramaia1Click();
    void Xatskaite1Click();
    void Zatskaite1Click();
    void IngenicoTMS1Click();
    void Zatskaitekoparanultajiemekiem1Click();
    void Atlaidessummaspaklientiem1Click();
    void Realizcijapakasieriem1Click();
    void Realizcijaparklientiem1Click();
    void Realizcijaparklientiemsummrforma1Click();
    void Anultieeki1Click();
    void Realizcijaparnodokulikmm1Click();
    void Nobdesnodefintscenas1Click();
    void Realizcijaparstundm1Click();
    void Kopsavilkumsparnodokulikmmunprecm1Click();
    void ekukopsavilkumaatskaite1Click();
    void Iepriekjekakopija1Click();
    void PdjsZatskaiteskopija1Click();
    void PdjsBankaskarteskopija1Click();
    void PdjPrepaidekakopija1Click();
    void Bankaskaruatskaite1Click();
    void Papildustaustii1Click();
    void Preusarakstacaurskate1Click();
    void ekulentascaurskate1Click();
    void Dzstierakstu1Click();

    // ------------------------------------------------------------ state
    std::unique_ptr<TFMProc> FMProc;
    std::unique_ptr<TPrintClass> PrintClass;
    std::shared_ptr<AutomationObject> PrepaidServObj;
    QThread* ScanerThread = nullptr;
    QLineEdit* AktivaisEdit = nullptr;
    // The command-file reply; made by the command-file poll when it serves its first file.
    std::unique_ptr<QStringList> RetPosList;
    int RinduSkaits = 0;
    int PirkumsStorno = 0;
    std::array<QString, kQuickKeyCount> QuickArtikuli;
    int KartesApmVeids = 1;
    QString KartesApmVeidsTeksts = QStringLiteral("1-Bankas karte");

    // ------------------------------------------------------------ components (posmain_form.cpp)
    QMenu* PopupMenu1 = nullptr;
    QAction* MenuItem17 = nullptr;            // "Z atskaite"
    QAction* Dzstierakstu1 = nullptr;         // "Dzēst ierakstu"
    QAction* Bankaskaruatskaite1 = nullptr;   // "Bankas karšu atskaite"
    QAction* Veidotekakopijufail1 = nullptr;  // "Veidot čeka kopiju failā" (checkable)
    QLineEdit* edArtikuls = nullptr;
    QLineEdit* edAtlaide = nullptr;
    QLineEdit* shKlKods = nullptr;
    QLineEdit* KlCitasZinas = nullptr;
    QLineEdit* shAtgrnr = nullptr;
    QLabel* shKlientaNosaukums = nullptr;
    QLabel* shAdrese = nullptr;
    QLabel* shRegNr = nullptr;
    QComboBox* dblKlientuSaraksts = nullptr;
    QComboBox* cmbApmaksasVeids = nullptr;
    TRadioGroup* rdPirkumsStorno = nullptr;
    QListWidget* PirkumuSaraksts = nullptr;
    QLabel* shCekaSumma = nullptr;
    QLabel* shSanemts = nullptr;
    QLabel* shIzdot = nullptr;
    QLabel* shSanetanaudaTXT = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lbSversana = nullptr;
    QLabel* shAtlikums = nullptr;
    QLabel* shNodotKasi = nullptr;
    QWidget* pnlPogas = nullptr;
    QWidget* pnlQuickButton = nullptr;
    QPushButton* btSvert = nullptr;
    QPushButton* Panel3 = nullptr;
    QPushButton* btKlKods = nullptr;
    QPushButton* BitBtn1 = nullptr;
    std::array<QPushButton*, kQuickKeyCount> QuickButtons{};  // btA1..btF6
    std::array<QLabel*, kQuickKeyCount> QuickLabels{};        // lbA1..lbF6
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> StatusPanels{};
    QTimer* TimerPulkstenis = nullptr;
    QTimer* TimerFiskPrinteris = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // FormClose

private:
    void BuildForm();
    void BuildMenus();
    void FormDestroy();
    // Ends the program after a failed start-up step.
    [[noreturn]] void EndStartup();
    void CloseStartForm();
    // Where a menu command of a later part of the till lands until that part is built in.
    void NotBuiltYet(const QString& command);
    QString baseCaption_;
};

extern QPointer<TPOSMain> POSMain;
