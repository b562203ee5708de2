// The sale window's share of the sale engine: the window as the engine sees it (its controls,
// second screen, printer, fiscal memory and database), and the window's own entry points into
// the engine.
#include "posmain.h"

#include "datumodelis.h"
#include "item_entry.h"
#include "receipt_list.h"
#include "small_dialogs.h"
#include "till_card_steps.h"

#include "ui_services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSqlRecord>

namespace {

// The window's controls and devices behind SaleWindow.
class PosMainSaleWindow : public SaleWindow {
public:
    explicit PosMainSaleWindow(TPOSMain& window) : w(window) {}

    TCekasStavoklis& Ceks() override { return w; }

    SaleSettings Iestatijumi() const override {
        SaleSettings s;
        s.Svari = {w.SvaruPrefix, w.ArtikulaStart, w.ArtikulaGarums, w.SvaraStart, w.SvaraGarums, w.UzlimeIrSumma};
        s.Druka = {w.Printeris, w.CekaValutaKods, w.CenasDecimalzimes, w.ArtikAtsevRinda, w.PilnuJa1Daudz};
        s.NeatrastaPreceNodala = w.NeatrastaPreceNodala;
        s.SilentMessage = w.SilentMessage;
        s.NedrukatAnuletosCekus = w.NedrukatAnuletosCekus;
        s.EkrNosaukDivasRindas = w.EkrNosaukDivasRindas;
        s.Kasieris = w.Kasieris;
        s.VarAtgreizt = w.VarAtgreizt;
        s.MaxAtlaide = w.MaxAtlaide;
        s.closing = {w.PrepaidNodala, w.CekaValuta, w.CekaValutaKods, w.EUR_Kurss};
        // The connection made at start-up; one lost since is not opened again behind the cashier.
        if (w.StockaraConect) s.stock = StockLink{QSqlDatabase::database(TDatuModelis::kStockara, false), w.StockaraNodalasKods};
        return s;
    }

    void ShowPazinojums(const QString& text) override { w.ShowPazinojums(text, false); }
    void ShowDialog(const QString& text) override { platform::ui::showMessage(text); }

    void ShowVaiParbaudijat(const QString& caption, const QString& text) override {
        // Driven through the command file, nobody stands at the till to press "Pārbaudīju": the
        // text goes into the reply instead of a stop that would hold the driving program for ever.
        if (w.RetPosList) return w.ShowPazinojums(text, false);
        if (!::VaiParbaudijat) ::VaiParbaudijat = new TVaiParbaudijat(&w);
        ::VaiParbaudijat->setWindowTitle(caption);
        ::VaiParbaudijat->lbArtikulaRinda->setText(text);
        ::VaiParbaudijat->exec();
    }

    void Beep() override { QApplication::beep(); }

    QString EntryText() const override { return w.edArtikuls->text(); }
    void SetEntryText(const QString& text) override { w.edArtikuls->setText(text); }
    QString DiscountText() const override { return w.edAtlaide->text(); }
    void FocusDiscount() override { w.edAtlaide->setFocus(); }
    QString CustomerCode() const override { return w.shKlKods->text(); }

    QString CustomerListKey() const override {
        const int row = w.dblKlientuSaraksts->currentIndex();
        if (row < 0 || !DatuModelis) return {};
        return DatuModelis->Klienti.record(row).value("KODS").toString().trimmed();
    }

    CustomerBlock Customer() const override {
        return {w.shKlientaNosaukums->text(), w.shRegNr->text(), w.shAdrese->text(), w.KlCitasZinas->text()};
    }

    int PaymentKindNumber() const override { return w.ChosenPaymentKind(); }
    int SaleMode() const override { return w.rdPirkumsStorno->ItemIndex(); }
    void SetStatusText(const QString& text) override { w.SetStatusText(0, text); }

    void ShowReceiptList(const TPirkumuSaraksts& list) override {
        w.lbHeader1->setText(list.Virsraksts1);
        w.lbHeader2->setText(list.Virsraksts2);
        w.lbHeader2->setVisible(list.RaditVirsrakstu2);
        fill(w.PirkumuSaraksts, list.Rindas);
        if (QListWidget* second = secondScreenList()) fill(second, list.EkranaRindas);
    }

    void ClearReceiptLists() override {
        // The lines leave unstored (annulled, or a new receipt begins): no order line is paid.
        w.OrderLines.clear();
        w.PirkumuSaraksts->clear();
        if (QListWidget* second = secondScreenList()) second->clear();
    }

    void ShowSums(const QString& total, const QString& received, const QString& change) override {
        const std::pair<QLabel*, QString> sums[] = {{w.shCekaSumma, total}, {w.shSanemts, received}, {w.shIzdot, change}};
        for (const auto& [label, text] : sums) {
            label->setText(text);
            if (::KlientLielaisEkrans)
                if (auto* mirror = ::KlientLielaisEkrans->findChild<QLabel*>(label->objectName())) mirror->setText(text);
        }
        w.shSanemts->repaint();
        w.shIzdot->repaint();
    }

    void ClearSaleScreen() override {
        w.ClearKlients();
        w.shAtgrnr->clear();
        w.edAtlaide->clear();
        w.Veidotekakopijufail1->setChecked(false);
        // Back to a sale, captions included: the receipt is closed, so the switch follows.
        w.rdPirkumsStorno->SetItemIndex(0);
        w.SetPirkumsStorno();
        w.SetStatusText(0, {});
    }

    TPrintClass* Printer() override { return w.PrintClass.get(); }
    TFMProc* FiscalMemory() override { return w.FMProc.get(); }
    QSqlDatabase PosDb() override { return DatuModelis->POS_DB(); }

    void PaymentKey(int& key) override { w.ApmaksasTaustins(key); }
    bool EnterPayment(const QString& lineText) override { return w.IevaditApmaksu(lineText); }
    bool CancelCard(const ApprovedCard& card) override { return CancelApprovedCard(w, card); }

private:
    static QListWidget* secondScreenList() {
        return ::KlientLielaisEkrans ? ::KlientLielaisEkrans->findChild<QListWidget*>("PirkumuSaraksts") : nullptr;
    }

    static void fill(QListWidget* list, const QStringList& rows) {
        list->clear();
        list->addItems(rows);
        list->setCurrentRow(list->count() - 1);
    }

    TPOSMain& w;
};

// The item field's keys that QLineEdit does not report: the grave accent enters the text like
// Enter and is not typed; "/" goes to the payment entry while the receipt has lines. Both go
// through the window's guarded entry.
class SaleKeys : public QObject {
public:
    explicit SaleKeys(TPOSMain& window) : w(window) { w.edArtikuls->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != w.edArtikuls || event->type() != QEvent::KeyPress) return false;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text == QStringLiteral("`")) {
            w.edArtikulsKeyPress(96);
            return true;
        }
        if (text == QStringLiteral("/") && w.RinduSkaits > 0)
            return w.edArtikulsKeyPressed('/') != '/';  // a "/" left as it was is typed into the field
        return false;
    }

private:
    TPOSMain& w;
};

}  // namespace

void TPOSMain::InstallSaleKeys() { saleKeys_ = std::make_unique<SaleKeys>(*this); }

SaleEngine& TPOSMain::Pardosana() {
    if (!pardosana_) {
        pardosanasLogs_ = std::make_unique<PosMainSaleWindow>(*this);
        pardosana_ = std::make_unique<SaleEngine>(*pardosanasLogs_);
    }
    return *pardosana_;
}

void TPOSMain::edArtikulsKeyPress(int key) { edArtikulsKeyPressed(key); }

int TPOSMain::edArtikulsKeyPressed(int key) {
    // The application's error handler: a database failure inside an entry is shown and the entry
    // left as it was; it never unwinds through the event loop.
    try {
        Pardosana().edArtikulsKeyPress(key);
    } catch (const platform::ui::ProgramEnded&) {
        throw;
    } catch (const std::exception& error) {
        platform::ui::showMessage(QString::fromStdString(error.what()));
    }
    return key;
}

long double TPOSMain::RoundSumma(double value, int digits) { return ::RoundSumma(value, digits); }

void TPOSMain::ShowSummas() { Pardosana().ShowSummas(); }

void TPOSMain::RefreshPirkumuSaraksts() { Pardosana().RefreshPirkumuSaraksts(); }

bool TPOSMain::CheckAtgriezDaudzums(const QString& text) { return ::CheckAtgriezDaudzums(text, OpenLines()); }

bool TPOSMain::FindPrece(QString& artikuls, QString& nosaukums, double& cena, int& nodala, double& atlaide, int& bonuss,
                         QString /*klKods: not used by the look-up*/, double& iepakojums, QString& mervieniba, double daudzums,
                         QString& nedotAtl, bool& tara, QString& warning) {
    bonuss = 0;
    iepakojums = 1.0;
    const std::optional<TAtrastaPrece> p = Pardosana().FindPrece(artikuls, daudzums);
    if (!p) return false;
    artikuls = p->Artikuls;
    nosaukums = p->Nosaukums;
    cena = p->Cena;
    nodala = p->Nodala;
    if (p->Atlaide) atlaide = *p->Atlaide;
    iepakojums = p->Iepakojums;
    mervieniba = p->Mervieniba;
    nedotAtl = p->NedotAtl;
    tara = p->Tara;
    warning = p->Warning;
    return true;
}

void TPOSMain::AnuletRindinu() {
    // Its callers test that a line exists; the engine refuses a 501st line.
    if (RinduSkaits > 0) Pardosana().AnuletRindinu();
}

void TPOSMain::AnuletCeku() { Pardosana().AnuletCeku(); }

int TPOSMain::PrintCekaRinda(int nodala, const QString& nosaukums, double cena, double daudzums, double atlaide,
                             const QString& artikuls, const QString& mervieniba, bool korekcija, int /*papildus*/) {
    return Pardosana().PrintCekaRinda({nodala, nosaukums, cena, daudzums, atlaide, artikuls, mervieniba, korekcija});
}

void TPOSMain::PrintCekaSakums(int numurs) { Pardosana().PrintCekaSakums(numurs); }
