// The payment entry's place in the item field: the "/" key and payment texts, closing the
// receipt through the payment flow of the sale engine, with the payment dialog TCekaApmaksa and
// the payment-kind list of this window.
#include "posmain.h"

#include "ceka_apmaksa.h"
#include "datumodelis.h"
#include "posmain_vouchers.h"
#include "small_dialogs.h"
#include "till_card_steps.h"

#include "ui_services.h"

namespace {

class PosMainPaymentWindow : public PaymentWindow {
public:
    explicit PosMainPaymentWindow(TPOSMain& window) : w(window), vouchers_(MakeVoucherSteps(window)) {}

    const PaymentKindList& PaymentKinds() const override { return w.ApmaksasVeidi; }

    int SelectedPaymentKind() const override { return w.ChosenPaymentKind(); }

    void SelectPaymentKind(int number) override {
        const int position = PaymentKinds().positionOf(number);
        w.cmbApmaksasVeids->setCurrentIndex(number == kCashKind ? 0 : position);
    }

    std::pair<QString, int> RunPaymentDialog() override {
        if (!CekaApmaksaForm) {
            CekaApmaksaForm = new TCekaApmaksa(&w);
            ::CekaApmaksa = CekaApmaksaForm.data();
        }
        CekaApmaksaForm->FormActivate();
        CekaApmaksaForm->RefreshSummas();
        CekaApmaksaForm->exec();
        return {CekaApmaksaForm->ApmaksasTeksts, CekaApmaksaForm->PedejaisVeids};
    }

    bool AskYesNo(const QString& question) override {
        return platform::ui::showMessage(question, {}, platform::ui::Buttons::YesNo, platform::ui::Icon::Warning) ==
               platform::ui::Yes;
    }

    void CheckNaudasLadi() override { w.CheckNaudasLadi(); }
    bool TextCopyWanted() const override { return w.Veidotekakopijufail1->isChecked(); }

    void ReceiptStored() override {
        if (!::DavanuKartes) ::DavanuKartes = new TDavanuKartes(&w);
        ::DavanuKartes->Reset();
    }

    Settings ClosingIestatijumi() const override {
        Settings s;
        s.closing.PrepaidNodala = w.PrepaidNodala;
        s.closing.CekaValuta = w.CekaValuta;
        s.closing.CekaValutaKods = w.CekaValutaKods;
        s.closing.EUR_Kurss = w.EUR_Kurss;
        s.KasierisFullName = w.KasierisFullName;
        s.CekaKopijaPath = w.CekaKopijaPath;
        s.KasesNr = w.KasesNr;
        return s;
    }

    CardSteps& Card() override { return card_; }
    VoucherSteps& Vouchers() override { return *vouchers_; }

private:
    TPOSMain& w;
    TillCardSteps card_{w};
    std::unique_ptr<VoucherSteps> vouchers_;
};

}  // namespace

PaymentEntryFlow& TPOSMain::Apmaksa() {
    if (!apmaksa_) {
        SaleEngine& engine = Pardosana();
        apmaksasLogs_ = std::make_unique<PosMainPaymentWindow>(*this);
        apmaksa_ = std::make_unique<PaymentEntryFlow>(*pardosanasLogs_, engine, *apmaksasLogs_);
    }
    return *apmaksa_;
}

void TPOSMain::ApmaksasTaustins(int& key) { Apmaksa().PaymentKey(key); }

bool TPOSMain::IevaditApmaksu(const QString& lineText) { return Apmaksa().EnterPayment(lineText); }

