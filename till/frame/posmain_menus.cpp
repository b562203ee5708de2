// The sale window's menu commands. Commands whose work belongs to the receipt engine, the
// reports, the devices or the outside links land in NotBuiltYet until those parts are built in.
#include "posmain.h"

#include "iestadisana.h"
#include "klaviatura.h"
#include "password_dlg.h"
#include "pasutijumi.h"
#include "printclass.h"
#include "receipt_list.h"
#include "small_dialogs.h"

#include "ui_services.h"

void TPOSMain::Parametri1Click() {
    if (!Iestadisana) {
        try {
            Iestadisana = new TIestadisana(this);
        } catch (const std::exception& e) {
            ShowPazinojums("Nevarēju nolasīt iestādījumus !!! " + QString::fromUtf8(e.what()));
            return;
        }
    }
    Iestadisana->exec();
    // Whatever closed the dialog, the settings are read again and the sizing applied.
    try {
        LoadSettings();
    } catch (const std::exception& e) {
        ShowPazinojums("Nevarēju nolasīt iestādījumus !!! " + QString::fromUtf8(e.what()));
    }
    SetFullScreen();
}

void TPOSMain::Veidotekakopijufail1Click() { Veidotekakopijufail1->toggle(); }

void TPOSMain::Klients1Click() {
    if (dblKlientuSaraksts->isEnabled()) dblKlientuSaraksts->setFocus();
}

void TPOSMain::Klientakods1Click() { shKlKods->setFocus(); }

void TPOSMain::DaudzumsArtikulsKods1Click() { edArtikuls->setFocus(); }

void TPOSMain::Artikulaapstiprinana1Click() { edArtikulsKeyPress(13); }

void TPOSMain::Klientadati1Click() { KlCitasZinas->setFocus(); }

void TPOSMain::PirkumsAtgrieana1Click() {
    rdPirkumsStorno->setFocus();
    rdPirkumsStornoEnter();
    rdPirkumsStorno->SetItemIndex(rdPirkumsStorno->ItemIndex() != 0 ? 0 : 1);
    rdPirkumsStornoClick();
    edArtikuls->setFocus();
}

void TPOSMain::Atlaideslogs1Click() {
    if (edAtlaide->isEnabled()) edAtlaide->setFocus();
}

void TPOSMain::MenuItem20Click() { PrintClass->AtverNaudasLadi(); }

void TPOSMain::Aizvrtsistmu1Click() { close(); }

void TPOSMain::Dvanukartes1Click() {
    if (!DavanuKartes) DavanuKartes = new TDavanuKartes(this);
    DavanuKartes->exec();
}

void TPOSMain::Papildustaustii1Click() {
    if (!Paligs) Paligs = new TPaligs(this);
    Paligs->exec();
}

void TPOSMain::Dzstierakstu1Click() {
    // Nothing is printed yet: the line only leaves the open receipt.
    const QListWidgetItem* row = PirkumuSaraksts->currentItem();
    if (!row || !DzestRindu(*this, RindasIndekss(row->text()))) return;
    RefreshPirkumuSaraksts();
    ShowSummas();
}

// ---------------------------------------------------------------- commands of later parts

void TPOSMain::Pastjumasastdana1Click() {
    if (!Pasutijumi) Pasutijumi = new TPasutijumi(this);
    Pasutijumi->VarAtgreizt = VarAtgreizt;
    Pasutijumi->show();
    Pasutijumi->raise();
    Pasutijumi->activateWindow();
    Pasutijumi->FormActivate();
}
void TPOSMain::Iepriekjekakopija1Click() { Apmaksa().PrintLastReceiptCopy(); }
void TPOSMain::PdjsBankaskarteskopija1Click() { Apmaksa().PrintSlipCopy(SlipKind::BankCard); }
void TPOSMain::PdjPrepaidekakopija1Click() { Apmaksa().PrintSlipCopy(SlipKind::Prepaid); }
