// The sale engine's ground: a till database with the demo data, a sale window that records what
// the engine tells it (by channel), and helpers to type into the item field.
#pragma once

#include "receipt_list.h"
#include "sale_engine.h"
#include "test_database.h"
#include "till_database.h"

#include <QSqlDatabase>

#include <utility>
#include <vector>

class RecordingSaleWindow : public SaleWindow {
public:
    TCekasStavoklis ceks;
    SaleSettings settings;
    QString entry, discount, customerCode, customerKey;
    CustomerBlock customer;
    int paymentKind = 0;
    int saleMode = 0;
    QString status = QStringLiteral("(status)");
    QStringList pazinojumi, dialogs;
    std::vector<std::pair<QString, QString>> notices;  // TVaiParbaudijat caption and text
    int beeps = 0, discountFocus = 0, listsCleared = 0, screensCleared = 0;
    TPirkumuSaraksts list;
    QStringList sums;
    TPrintClass* printer = nullptr;
    TFMProc* fm = nullptr;
    QStringList paymentTexts;

    RecordingSaleWindow() {
        settings.Druka.CekaValutaKods = QStringLiteral("EUR");
        settings.Kasieris = QStringLiteral("ANNA");
        settings.VarAtgreizt = true;
        settings.MaxAtlaide = 100;
    }

    TCekasStavoklis& Ceks() override { return ceks; }
    SaleSettings Iestatijumi() const override { return settings; }
    void ShowPazinojums(const QString& text) override { pazinojumi << text; }
    void ShowDialog(const QString& text) override { dialogs << text; }
    void ShowVaiParbaudijat(const QString& caption, const QString& text) override { notices.emplace_back(caption, text); }
    void Beep() override { ++beeps; }
    QString EntryText() const override { return entry; }
    void SetEntryText(const QString& text) override { entry = text; }
    QString DiscountText() const override { return discount; }
    void FocusDiscount() override { ++discountFocus; }
    QString CustomerCode() const override { return customerCode; }
    QString CustomerListKey() const override { return customerKey; }
    CustomerBlock Customer() const override { return customer; }
    int PaymentKindNumber() const override { return paymentKind; }
    int SaleMode() const override { return saleMode; }
    void SetStatusText(const QString& text) override { status = text; }
    void ShowReceiptList(const TPirkumuSaraksts& shown) override { list = shown; }
    void ClearReceiptLists() override {
        ++listsCleared;
        list = {};
    }
    void ShowSums(const QString& total, const QString& received, const QString& change) override { sums = {total, received, change}; }
    void ClearSaleScreen() override { ++screensCleared; }
    TPrintClass* Printer() override { return printer; }
    TFMProc* FiscalMemory() override { return fm; }
    QSqlDatabase PosDb() override { return QSqlDatabase::database(QStringLiteral("TEST_POS_DB")); }
    void PaymentKey(int&) override {}
    bool EnterPayment(const QString& lineText) override {
        paymentTexts << lineText;
        return false;
    }
};

class SaleTest : public testsupport::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        platform::runScript(platform::resolveAlias(platform::kPosDbAlias), schema::demoDataScript());
        db();
    }

    void TearDown() override {
        engine.reset();
        DatabaseTest::TearDown();
    }

    SaleEngine& sale() {
        if (!engine) engine = std::make_unique<SaleEngine>(window);
        return *engine;
    }

    // Types the text into the item field and presses the key; returns the key as the handler left it.
    int type(const QString& text, int key = 13) {
        window.entry = text;
        sale().edArtikulsKeyPress(key);
        return key;
    }

    void addItem(const QString& code, const QString& name, double price, int department = 1, const QString& extraColumns = {},
                 const QString& extraValues = {}) {
        exec(QStringLiteral("INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA") + extraColumns +
                 QStringLiteral(") VALUES (:A, :G, 'gab.', :N, :C") + extraValues + QStringLiteral(")"),
             {{"A", code}, {"G", name}, {"N", department}, {"C", price}});
    }

    int lines() const { return window.ceks.RinduSkaits; }
    const TCekaRinda& line(int i) const { return window.ceks.CekaRindas[std::size_t(i)]; }

    RecordingSaleWindow window;
    std::unique_ptr<SaleEngine> engine;
};
