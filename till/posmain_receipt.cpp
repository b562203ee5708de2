// The sale window's frame around the open receipt: the item field's funnel, the quick keys,
// the sale / return switch, emptying the sale screen, the drawer limit and the payment kinds.
#include "posmain.h"

#include "datumodelis.h"
#include "drawer_limit.h"
#include "fmproc.h"

#include "clock.h"

#include <QApplication>

void TPOSMain::edArtikulsKeyPress(int key) {
    if (key != 13) return;
    // The item-entry interpreter takes the field's text from here; until it is built in, the
    // text stays in the field as a refused entry would leave it.
    NotBuiltYet("Artikula ievade");
}

void TPOSMain::QuickKeyClick(int index) {
    edArtikuls->setText(QuickArtikuli[std::size_t(index)]);
    edArtikulsKeyPress(13);
}

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

void TPOSMain::AnuletCeku() {
    if (RinduSkaits > 0) {
        // Printing and storing the annulled receipt belong to the receipt engine.
        NotBuiltYet("Čeka anulēšana");
        return;
    }
    // With no lines open the annulment only empties the sale screen.
    PirkumuSaraksts->clear();
    if (::KlientLielaisEkrans)
        if (auto* list = ::KlientLielaisEkrans->findChild<QListWidget*>("PirkumuSaraksts")) list->clear();
    for (QLineEdit* field : {KlCitasZinas, shKlKods, shAtgrnr, edAtlaide}) field->clear();
    for (QLabel* field : {shKlientaNosaukums, shAdrese, shRegNr}) field->clear();
    Veidotekakopijufail1->setChecked(false);
    dblKlientuSaraksts->setCurrentIndex(-1);
    rdPirkumsStorno->SetItemIndex(0);
    shAtgrnr->hide();
    SetStatusText(0, {});
}

void TPOSMain::CheckNaudasLadi() {
    const auto now = platform::localNow();
    shNodotKasi->setVisible(DrawerLimitExceeded(DatuModelis->POS_DB(), QDate(now.year, now.month, now.day)));
}

bool TPOSMain::LoadApmaksasVeidi() {
    cmbApmaksasVeids->clear();
    KartesApmVeids = 1;
    KartesApmVeidsTeksts = "1-Bankas karte";
    cmbApmaksasVeids->addItem(CekaValuta == 0 ? "0-Skaidra nauda LVL" : "0-Skaidra nauda EUR");
    cmbApmaksasVeids->addItem(KartesApmVeidsTeksts);
    for (int n = 1; n <= 10; ++n) {
        QString name;
        if (!FMProc->FMRead("APMVEID" + QString::number(n), name)) name.clear();
        if (!name.isEmpty() && !name.contains("Apmaksas v")) cmbApmaksasVeids->addItem(QString::number(n + 1) + "-" + name.left(15));
    }
    if (CekaValuta == 1) cmbApmaksasVeids->addItem("12-Skaidra nauda LVL");
    cmbApmaksasVeids->setCurrentIndex(0);
    return true;
}

void TPOSMain::RefreshPirkumuSaraksts() {
    // The open receipt's lines are drawn by the receipt engine; an empty receipt shows none.
    if (RinduSkaits == 0) PirkumuSaraksts->clear();
}
