// The sale window's frame around the open receipt: the sale / return switch, the
// drawer limit and the payment kinds (the item field's interpreter is in posmain_sale.cpp).
#include "posmain.h"

#include "datumodelis.h"
#include "drawer_limit.h"
#include "fmproc.h"

#include "clock.h"

#include <QApplication>

void TPOSMain::rdPirkumsStornoEnter() { PirkumsStorno = rdPirkumsStorno->ItemIndex(); }

void TPOSMain::rdPirkumsStornoClick() { SetPirkumsStorno(); }

void TPOSMain::SetPirkumsStorno() {
    // A started receipt keeps its mode.
    if (RinduSkaits > 0) rdPirkumsStorno->SetItemIndex(PirkumsStorno);
    if (rdPirkumsStorno->ItemIndex() == 1) {
        shSanetanaudaTXT->setText("Atgrieztā nauda :");
        Label4->hide();
        shAtgrnr->show();
        shAtgrnr->setFocus();
    } else {
        shSanetanaudaTXT->setText("Saņemtā nauda :");
        Label4->show();
        shAtgrnr->hide();
    }
}

void TPOSMain::CheckNaudasLadi() {
    // It runs after a receipt is stored: a failure is told, and the closing goes on to clear the
    // item field; the notice keeps what it showed.
    const auto now = platform::localNow();
    try {
        shNodotKasi->setVisible(DrawerLimitExceeded(DatuModelis->POS_DB(), QDate(now.year, now.month, now.day)));
    } catch (const std::exception& error) {
        ShowPazinojums(QString::fromStdString(error.what()), false);
    }
}

bool TPOSMain::LoadApmaksasVeidi() {
    ApmaksasVeidi = ::LoadApmaksasVeidi(*FMProc, CekaValuta);
    cmbApmaksasVeids->clear();
    cmbApmaksasVeids->addItems(ApmaksasVeidi.texts());
    cmbApmaksasVeids->setCurrentIndex(0);
    return true;
}

int TPOSMain::ChosenPaymentKind() const {
    for (const PaymentKind& kind : ApmaksasVeidi.kinds())
        if (kind.text == cmbApmaksasVeids->currentText()) return kind.number;
    return -1;
}
