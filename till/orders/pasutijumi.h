// TPasutijumi: the restaurant orders window. It lists the order lines of O_PASUT by waiter, table,
// period and payment state, takes new lines and corrections, and pays an order at the till by
// handing its lines to the sale window. One instance lives for the whole run and is hidden when
// closed.
#pragma once

#include "order_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTabBar>
#include <QTableView>

#include <array>
#include <functional>
#include <vector>

class OrderListModel;
class TRadioGroup;
struct OrderHeading;

inline constexpr const char* kPasutijumiKey = "Software\\TOVEL\\Tillora\\Pasutijumi";
inline constexpr int kQuickItemCount = 11;

class TPasutijumi : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: the stored service settings, today's period, the tabs, the list and the
    // quick-item menu.
    explicit TPasutijumi(QWidget* owner);
    ~TPasutijumi() override;  // FormDestroy: the position and the service settings are written

    // The cashier's returns right, copied by the main window at each opening; enables btDzest.
    bool VarAtgreizt = false;

    // ------------------------------------------------------------ the list (pasutijumi_list.cpp)
    // Rebuilds the list from the filters and the total; puts the current row on the line with
    // this key (0: on the last listed line).
    void RefreshPasutijumi(int isn);
    void LoadBarmeni();
    void LoadGaldi();
    // Index of the first tab whose text equals `text` exactly; -1 when none.
    int FindBarmenisTab(const QString& text) const;
    int FindGaldsTab(const QString& text) const;
    // The largest order number of the whole table plus one.
    int GetNextPasutNr();
    // The listed lines and the current one (the grid's current row; none in an empty list).
    const std::vector<OrderLine>& Lines() const;
    const OrderLine* CurrentLine() const;
    // The current line's key and order number; 0 with no current line.
    int CurrentIsn() const;
    int CurrentPasutNr() const;
    void tabBarmeniChange();
    void tabGaldiChange();
    void DatumsNoChange();
    void DatumsLidzChange();
    void AtlaseApmaksaClick();

    // ------------------------------------------------------------ entry (pasutijumi_entry.cpp)
    // Enter (13) or "p" enters the typed line; every other key is left to the field.
    void shArtikulsKeyPress(int key);
    void AddRinda(const QString& artikuls, double cena, double atlaide, double daudzums);
    void BitBtn5Click();
    // The quick items Prece11 .. Prece111, by their place (0 .. 10) in the menu.
    void PreceClick(int index);
    void BitBtn6Click();
    void BitBtn8Click();

    // ------------------------------------------------------------ corrections (pasutijumi_corrections.cpp)
    void btDzestClick();
    void btAtlaideVisamClick();
    void SetPasutAtlaide(int pasutNr, double atlaide);
    void SetPasutKlients(const QString& klKods, int pasutNr);

    // ------------------------------------------------------------ paying (pasutijumi_payment.cpp)
    // Joins the current order's lines of one article that agree in price, discount and paid state.
    void ApvienotRindas();
    // Hands the current order's unpaid lines and then the text of shArtikuls to the sale window;
    // the lines are marked paid once the receipt that carries them is stored.
    void ApmaksatPasutijumu();

    // ------------------------------------------------------------ printing, merging, report (pasutijumi_printing.cpp)
    void btPrnBarsClick();
    void btPrnVirtuveiClick();
    void btPrnBarsVirtuveClick();
    void btPrnPasutClick();
    // Joins the current order's lines first, then its bill.
    void btPrnRekinsClick();
    // The current order's bar slip and bill on the receipt printer, its kitchen slip on the
    // default printer, its printout in the preview.
    void DrukatBaram();
    void DrukatVirtuvei();
    void DrukatPasutijumu();
    void DrukatRekinu();
    // The order in shPasutNo into the one in shPasutUz, at the target's table.
    void BitBtn3Click();
    // The grid's marked lines into one new order.
    void BitBtn2Click();
    // The waiter report of the period on the receipt printer.
    void Brmeuatskaite1Click();

    // ------------------------------------------------------------ life (pasutijumi_form.cpp)
    void FormActivate();
    void btCloseClick();

    // ------------------------------------------------------------ components
    QTabBar* tabBarmeni = nullptr;
    QTabBar* tabGaldi = nullptr;
    QTableView* grdO_PASUT = nullptr;
    QPushButton* BitBtn6 = nullptr;  // "Bārmenis"
    QComboBox* cmbBarmens = nullptr;
    QPushButton* BitBtn8 = nullptr;  // "Galds"
    QComboBox* cmbGalds = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* shVieta = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* shAtlaide = nullptr;
    QPushButton* btAtlaideVisam = nullptr;
    QPushButton* btPrece = nullptr;
    QLineEdit* shArtikuls = nullptr;
    QCheckBox* chkNewPasut = nullptr;
    QPushButton* btDzest = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* shSumma = nullptr;
    QGroupBox* GroupBox1 = nullptr;  // merging and moving
    QLabel* Label3 = nullptr;
    QLineEdit* shPasutNo = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* shPasutUz = nullptr;
    QPushButton* BitBtn3 = nullptr;  // "Apvienot"
    QPushButton* BitBtn2 = nullptr;  // "Iezīmētos - jaunā pasūtījumā"
    QGroupBox* GroupBox2 = nullptr;  // the period
    QDateEdit* DatumsNo = nullptr;
    QDateEdit* DatumsLidz = nullptr;
    TRadioGroup* AtlaseApmaksa = nullptr;
    QPushButton* BitBtn5 = nullptr;  // the service charge
    QLineEdit* shApkalposana = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* shApkArtikuls = nullptr;
    QPushButton* btPrnBars = nullptr;
    QPushButton* btPrnVirtuvei = nullptr;
    QPushButton* btPrnBarsVirtuve = nullptr;
    QPushButton* btPrnPasut = nullptr;
    QPushButton* btPrnRekins = nullptr;
    QPushButton* btLogoff = nullptr;
    QPushButton* btClose = nullptr;
    QMenu* Atskaites1 = nullptr;
    QAction* Brmeuatskaite1 = nullptr;  // "Viesmīļu atskaite"
    QMenu* trietaustii1 = nullptr;      // "Ātrie taustiņi (precēm)"
    std::array<QAction*, kQuickItemCount> Prece{};  // Prece11 .. Prece111

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildForm();
    void BuildMenus();
    void ReadStoredSettings();
    void LoadQuickItems();
    void ConnectPrinting();
    // The printouts' waiter and table (the selected tabs' captions) and the current order.
    OrderHeading CurrentHeading() const;
    QSqlDatabase Db() const;
    // Runs a step; a failure the step does not handle (a database error) ends the step and is
    // shown, as the application shows every error nobody caught.
    void Guarded(const std::function<void()>& step);
    OrderListModel* model_ = nullptr;
    bool Aktivizets = false;
};

extern QPointer<TPasutijumi> Pasutijumi;
