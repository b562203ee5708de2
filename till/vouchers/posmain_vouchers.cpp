// The voucher steps over the sale window: its receipt, printer and settings, the distributor's
// object made at start-up, the card dialog's top-ups with their voucher slips, the
// voucher-reference form, and the annulment that ends the program.
#include "posmain_vouchers.h"

#include "posmain.h"
#include "card_operation.h"
#include "goods_browser.h"
#include "karsu_autorizacija.h"
#include "prepaid_slip.h"
#include "prepaid_voucher_steps.h"
#include "razevedu_client.h"
#include "small_dialogs.h"

#include "printclass.h"
#include "ui_services.h"

#include <exception>

namespace {

class PosMainVoucherHost : public VoucherHost {
public:
    explicit PosMainVoucherHost(TPOSMain& window) : w(window) {}

    TCekasStavoklis& Ceks() override { return w; }
    bool IsReturn() const override { return w.rdPirkumsStorno->ItemIndex() == 1; }
    TPrintClass* Printer() override { return w.PrintClass.get(); }

    VoucherSettings Settings() const override {
        return {w.PrepaidServVeids, w.ZudezoClientID, w.ZudezoPasword, w.ZudezoUserID, w.ZudezoLogo, w.EFT};
    }

    std::optional<QString> TopUpOnTerminal(int nodala, double charge) override {
        TKarsuAutorizacija& form = w.KartesForma();
        w.RunKartesOperacija(kKartesMaksajums, nodala, charge);
        if (!form.Apstiprinats) return std::nullopt;
        const QString reference = form.SlipDati().TicketNumber;
        if (form.ChipPorts <= 0) return reference;
        form.EncashTransaction();
        for (const int copy : {1, 2}) {
            const PrepaidCeksDati dati = ReadPrepaidCeksDati(*form.Payvo1, form.shSumma->text());
            if (SellPrepaidKarte(copy, dati, *w.PrintClass, platform::localNow()).value_or(0) < 0) AnnulAndEnd();
        }
        return reference;
    }

    std::optional<QString> CallDistributor(const QString& method, const QStringList& arguments) override {
        if (!w.PrepaidServObj) return std::nullopt;
        try {
            return w.PrepaidServObj->Call(method, arguments);
        } catch (const std::exception& e) {
            // A failed call is a refusal: the step says so and goes on as for one.
            platform::ui::showMessage(QString::fromStdString(e.what()));
            return std::nullopt;
        }
    }

    QString AskVoucherReference() override {
        if (!GetZudezoNumurs) GetZudezoNumurs = new TGetZudezoNumurs(&w);
        GetZudezoNumurs->exec();
        return GetZudezoNumurs->edNumurs->text();
    }

    [[noreturn]] void AnnulAndEnd() override {
        w.AnuletCeku();
        platform::ui::endProgram();
    }

private:
    TPOSMain& w;
};

class PosMainVoucherSteps : private PosMainVoucherHost, public PrepaidVoucherSteps {
public:
    explicit PosMainVoucherSteps(TPOSMain& window)
        : PosMainVoucherHost(window), PrepaidVoucherSteps(static_cast<VoucherHost&>(*this)) {}
};

}  // namespace

std::unique_ptr<VoucherSteps> MakeVoucherSteps(TPOSMain& window) { return std::make_unique<PosMainVoucherSteps>(window); }

void InstallVoucherProductSource() {
    SetVoucherProductSource([](const QString& clientId, const QString& password, const QString& userId) {
        return RazeveduClient(clientId, password, userId).productList();
    });
}
