// TPOSMain: the till's main sale window. Its creation runs the start-up sequence; it holds the
// settings, the cashier, the fiscal-memory and printer objects, the item field that every sale
// input funnels into, the menus, the message service and the window routines.
#pragma once

#include "cashier.h"
#include "frame_objects.h"
#include "frame_rules.h"
#include "quick_keys.h"
#include "radio_group.h"
#include "payment_entry.h"
#include "payment_kinds.h"
#include "receipt_state.h"
#include "sale_engine.h"
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
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class OutsideTerminal;
class TKarsuAutorizacija;
class TFMProc;
class TPrintClass;

// The open receipt (TCekasStavoklis) is the window's own state: CekaRindas, RinduSkaits, Apmaksas,
// CekaSumma, Sanemts, PirkumsStorno, ...
struct ShownCustomer;

class TPOSMain : public QMainWindow,
                 public TillSettings,
                 public CashierData,
                 public WeighingState,
                 public TCekasStavoklis {
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
    // The one funnel of every sale input: key 13 (Enter) enters the item field's text. A failure
    // inside an entry is shown and the entry left as it was; it never ends the till.
    void edArtikulsKeyPress(int key);
    // The same for a key the item field may still type: the key as the entry left it ("/" that
    // was not taken stays "/").
    int edArtikulsKeyPressed(int key);
    void QuickKeyClick(int index);
    // ------------------------------------------------------------ touch keypad (posmain_keypad.cpp)
    // The keypad's common handler: digits, "C", "<-", "Daudzums *", "Cena =" and "Enter", by the
    // touched key's caption, on the field the keypad serves (AktivaisEdit).
    void KeypadClick(const QString& caption);
    void btAnuletCekuClick();
    void btAnuletRindinuClick();
    void btSkNaudaClick();
    void btMaksaClick();
    // The text buttons: the on-screen keyboard, then its text into the button's field; none
    // presses Enter (btF5_Key and btKlKods: the customer code, looked up when that field is left).
    void btF5_KeyClick();
    void btMaksatajsClick();
    void btRegNrClick();
    void btAdreseClick();
    void btF4_KeyClick();

    // ------------------------------------------------------------ customer (posmain_customer.cpp)
    // A key typed into the code field: the first one stamps the time of day; Enter moves on to
    // the item field, which runs the exit.
    void shKlKodsKeyPress(int key);
    // The code field is left (once per leaving; the restaurant orders call it directly).
    void shKlKodsExit();
    // Shows the customer of the list's current row and checks the credit limit.
    void LoadKlients();
    void ClearKlients();
    // A customer's name, address and VAT number into the payer fields.
    void ShowPayer(const ShownCustomer& shown);
    void BitBtn1Click();
    void dblKlientuSarakstsCloseUp();
    void dblKlientuSarakstsExit();
    void dblKlientuSarakstsKeyUp();
    void shKlientaNosaukumsChange();
    void shRegNrChange();
    void shAdreseChange();
    // Copies the payer fields into the second screen's fields of the same names, when it exists.
    void MirrorPayerToSecondScreen();

    // ------------------------------------------------------------ return by number (posmain_return.cpp)
    void shAtgrnrKeyPress(int key);
    void ReturnReceipt();
    void rdPirkumsStornoEnter();
    void rdPirkumsStornoClick();
    void SetPirkumsStorno();
    void AnuletCeku();
    void CheckNaudasLadi();
    bool LoadApmaksasVeidi();
    // The number of the payment kind the list shows, -1 when its text is no kind of the list.
    int ChosenPaymentKind() const;
    void RefreshPirkumuSaraksts();

    // ------------------------------------------------------------ the sale engine (posmain_sale*.cpp)
    static long double RoundSumma(double value, int digits);
    void ShowSummas();
    bool CheckAtgriezDaudzums(const QString& text);
    // Looks a code up in N_PRECE; false (only bonus and pack factor written) when no row has it.
    bool FindPrece(QString& artikuls, QString& nosaukums, double& cena, int& nodala, double& atlaide, int& bonuss,
                   QString klKods, double& iepakojums, QString& mervieniba, double daudzums, QString& nedotAtl, bool& tara,
                   QString& warning);
    void AnuletRindinu();
    int PrintCekaRinda(int nodala, const QString& nosaukums, double cena, double daudzums, double atlaide,
                       const QString& artikuls, const QString& mervieniba, bool korekcija, int papildus);
    void PrintCekaSakums(int numurs);
    SaleEngine& Pardosana();
    // The payment entry's share of the item field (posmain_sale_payment.cpp): the "/" key while
    // the receipt has lines, and a line text beginning with "/" (true: the common tail follows).
    void ApmaksasTaustins(int& key);
    bool IevaditApmaksu(const QString& lineText);
    // ------------------------------------------------------------ card payments (till/card/posmain_card.cpp)
    // The card dialog, made on first use; a control that cannot be made ends the program.
    TKarsuAutorizacija& KartesForma();
    // One card operation on the terminal (kinds 1 and 2): a payment (1) or a loyalty credit (2)
    // of `summa`, or a prepaid line's top-up (nodala 70..99). A card row passes its own amount in
    // rindasSumma. The outcome is the dialog's Apstiprinats.
    void RunKartesOperacija(int operacija, int nodala, double summa, std::optional<double> rindasSumma = {});
    // Card slip copy 1, 2 or 3, then the next receipt's header (a failure there is fatal).
    void PrintKartesCeks(int copy);
    // A returned receipt's amount back onto the card, as the payment's cancellation with its amount.
    bool KartesRefund(double amount);

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
    // Before every report and cash operation (posmain_reports.cpp): with no receipt open, a
    // receipt whose closing was cut short is finished first, so that the report counts it. False
    // when it cannot be finished (said, and the program ends).
    bool FinishPendingReceipt();

    // ------------------------------------------------------------ state
    std::unique_ptr<TFMProc> FMProc;
    std::unique_ptr<TPrintClass> PrintClass;
    // The outside card-terminal library (terminal kind 3) that the card payments load; the Z
    // report runs its end of day. Not owned; none until the card payments set it.
    OutsideTerminal* OutsideTerminalLib = nullptr;
    std::shared_ptr<AutomationObject> PrepaidServObj;
    QThread* ScanerThread = nullptr;
    // The field the touch keypad types into: the item field, the discount or the return number,
    // whichever had the focus last.
    QLineEdit* AktivaisEdit = nullptr;
    // Time of day (fraction of a day) of the first key typed into the empty customer-code field.
    double KlKodsLaiks = 0;
    // The refund of a returned receipt onto the bank card through the card terminal; true when the
    // terminal approved it. Empty: no terminal can take the refund, which is refused.
    std::function<bool(double amount)> KartesAtgriesana = [this](double amount) { return KartesRefund(amount); };
    // The command-file reply; made by the command-file poll when it serves its first file.
    std::unique_ptr<QStringList> RetPosList;
    std::array<QString, kQuickKeyCount> QuickArtikuli;
    // The payment kinds in use, as the list shows them (kind number and text).
    PaymentKindList ApmaksasVeidi;

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
    QLineEdit* shKlientaNosaukums = nullptr;
    QLineEdit* shAdrese = nullptr;
    QLineEdit* shRegNr = nullptr;
    QComboBox* dblKlientuSaraksts = nullptr;
    QComboBox* cmbApmaksasVeids = nullptr;
    TRadioGroup* rdPirkumsStorno = nullptr;
    QListWidget* PirkumuSaraksts = nullptr;
    QLabel* lbHeader1 = nullptr;  // the receipt list's column headings
    QLabel* lbHeader2 = nullptr;
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
    QPushButton* btF5_Key = nullptr;
    QPushButton* btMaksatajs = nullptr;
    QPushButton* btRegNr = nullptr;
    QPushButton* btAdrese = nullptr;
    QPushButton* btF4_Key = nullptr;
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
    // The keypad panel's keys and the text buttons.
    void BuildKeypad();
    // The handlers of the customer panel's fields.
    void ConnectCustomerPanel();
    // Shows the on-screen keyboard with an empty line and copies what it holds into `target`.
    void TypeOnKeyboard(QLineEdit* target);
    void FormDestroy();
    // Ends the program after a failed start-up step.
    [[noreturn]] void EndStartup();
    void CloseStartForm();
    // Where a menu command of a later part of the till lands until that part is built in.
    void NotBuiltYet(const QString& command);
    // Grave accent and "/" in the item field (Enter comes through returnPressed).
    void InstallSaleKeys();
    // The item field's key filter; the destructor ends it first, as it reads the window's members
    // on every event the field gets, also while the window's children are taken down.
    std::unique_ptr<QObject> saleKeys_;
    // The customer panel's focus and key filter, ended first for the same reason.
    std::unique_ptr<QObject> customerKeys_;
    QString baseCaption_;
    std::unique_ptr<SaleWindow> pardosanasLogs_;
    std::unique_ptr<SaleEngine> pardosana_;
    // The payment entry (posmain_sale_payment.cpp), made with the sale engine on first use.
    PaymentEntryFlow& Apmaksa();
    std::unique_ptr<PaymentWindow> apmaksasLogs_;
    std::unique_ptr<PaymentEntryFlow> apmaksa_;
};

extern QPointer<TPOSMain> POSMain;
