// The sale window's share of its peripherals: weighing on the scale (F1), the makers of the
// scanner thread and the second screen that the start-up calls, and the spoken amounts.
#include "posmain.h"

#include "klient_lielais_ekrans.h"
#include "scaner_thread.h"
#include "spoken_amounts.h"
#include "sum_vardiem.h"
#include "weighing.h"

#include "ui_services.h"

namespace {

const bool kMakersInstalled = [] {
    ObjectMakers().ScanerThread = [](TPOSMain* window) -> QThread* {
        auto* thread = new TScanerThread(window, window->SkanerisCom);
        thread->start();
        return thread;
    };
    ObjectMakers().KlientLielaisEkrans = [](TPOSMain* window) -> QWidget* { return new TKlientLielaisEkrans(window); };
    SetAmountSpeaker([](const SpokenAmounts& amounts) {
        TPOSMain* w = POSMain;
        if (!w || !w->SummuVardiem || amounts.empty()) return;
        SpokenWordsOutput output;
        output.player = &SpokenWordsPlayer();
        output.missingWord = [w](const QString& text) {
            // Nobody stands at a till driven through the command file to close a box: there the
            // text goes into the reply instead.
            if (w->FiskPrinteris) w->ShowPazinojums(text);
            else platform::ui::showMessage(text);
        };
        TSumVardiem vardi(amounts.front().first, amounts.front().second, output);
        for (std::size_t i = 1; i < amounts.size(); ++i) vardi.SpeakSumma(amounts[i].first, amounts[i].second, output);
    });
    return true;
}();

}  // namespace

void TPOSMain::Svrtpreci1Click() {
    if (SvariCom < 1) {
        ShowPazinojums(QString::fromUtf8(kNoScalePort));
        return;
    }
    if (SversanaNotiek) return;
    SversanaNotiek = true;
    const Weighing weighing = WeighOnScale(SvariCom, SvariTips);
    if (weighing.check != WeightCheck::Taken) {
        // The mark stays: the clock clears it on its sixth tick, and F1 does nothing until then.
        ShowPazinojums(WeighingRefusal(weighing));
        return;
    }
    edArtikuls->setText(WeighedEntry(weighing.text, edArtikuls->text()));
    edArtikulsKeyPress(13);
    SversanaNotiek = false;
}
