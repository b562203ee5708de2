// Order entry: the typed line ("qty*code=price", the service charge, paying and the customer),
// a new order line with its order number and tabs, the quick items and the on-screen keyboard.
#include "pasutijumi.h"

#include "clock.h"
#include "item_entry.h"
#include "klaviatura.h"
#include "order_entry.h"
#include "posmain.h"

#include "ui_services.h"

#include <QSignalBlocker>

namespace {

void Say(const QString& text) { platform::ui::showMessage(text); }

QDate Today() {
    const platform::LocalTime now = platform::localNow();
    return QDate(now.year, now.month, now.day);
}

}  // namespace

void TPasutijumi::shArtikulsKeyPress(int key) {
    if (key != 13 && key != 'p') return;
    Guarded([this] {
        const QString text = shArtikuls->text();
        const OrderEntry entry = ParseOrderEntry(text);
        if (entry.kind == OrderEntry::Pay) {
            // Paying hands the field's own text to the sale window last: it stays until then.
            ApvienotRindas();
            ApmaksatPasutijumu();
            shArtikuls->clear();
            RefreshPasutijumi(0);
            return;
        }
        if (entry.kind == OrderEntry::Customer) {
            SetPasutKlients(entry.klKods, CurrentPasutNr());
            RefreshPasutijumi(0);
            shArtikuls->clear();
            return;
        }
        if (cmbBarmens->currentText().isEmpty()) {
            Say(QStringLiteral("Nav ievadīts Bārmenis !!!"));
            cmbBarmens->setFocus();
            return;
        }
        if (cmbGalds->currentText().isEmpty()) {
            Say(QStringLiteral("Nav ievadīts galds !!!"));
            cmbGalds->setFocus();
            return;
        }
        if (entry.quantityError) Say(kQuantityMessage);
        double atlaide = OrderDiscount(shAtlaide->text());
        if (atlaide < kLowestDiscount) {
            Say(kDiscountOver100Message);
            return;
        }

        // The look-up works in the sale window's sense, a discount positive; a promotion it puts
        // in place of the typed discount is stored negated like a typed one, so it lowers the line.
        QString artikuls = entry.artikuls, nosaukums, mervieniba, nedotAtl, warning;
        double cena = 0, iepakojums = 1, atlaideParadei = 0.0 - atlaide;
        int nodala = 0, bonuss = 0;
        bool tara = false;
        const bool found = POSMain->FindPrece(artikuls, nosaukums, cena, nodala, atlaideParadei, bonuss, {}, iepakojums,
                                              mervieniba, entry.daudzums, nedotAtl, tara, warning);
        if (found) atlaide = 0.0 - atlaideParadei;

        if (entry.typedPrice) {
            if (!found) {
                artikuls = entry.artikuls;
                cena = 0;
                atlaide = 0;
            }
            if (entry.serviceCharge) {
                if (const std::optional<double> percent = ParseEntryNumber(shApkalposana->text().trimmed()))
                    cena = OrderLinesSum(Db(), CurrentPasutNr()) * 0.01 * *percent;
            } else {
                cena = entry.cena.value_or(0.01);
            }
        } else if (!found) {
            Say(QStringLiteral("Artikuls ") + entry.artikuls + QStringLiteral(" nav atrasts !!!"));
            shArtikuls->clear();
            return;
        }
        AddRinda(artikuls, cena, atlaide, entry.daudzums);
        shArtikuls->clear();
    });
}

void TPasutijumi::AddRinda(const QString& artikuls, double cena, double atlaide, double daudzums) {
    const QString barmenis = cmbBarmens->currentText();
    const QString galds = cmbGalds->currentText();
    NewOrderLine line;
    line.datums = Today();
    line.barmenis = barmenis;
    line.galds = galds;
    line.vieta = shVieta->text();
    line.artikuls = artikuls;
    line.cena = cena;
    line.atlaide = atlaide;
    line.daudzums = daudzums;
    // A new order for an empty list, on request, or for a table that has no tab yet.
    const bool newOrder = CurrentPasutNr() == 0 || chkNewPasut->isChecked() || FindGaldsTab(galds) < 0;
    line.pasutNr = newOrder ? GetNextPasutNr() : CurrentPasutNr();
    const int isn = InsertOrderLine(Db(), line);
    chkNewPasut->setChecked(false);

    // A new name gets its tab, chosen; the fields keep the names typed for the next line.
    if (FindBarmenisTab(barmenis) < 0) {
        LoadBarmeni();
        const QSignalBlocker quiet(tabBarmeni);
        tabBarmeni->setCurrentIndex(FindBarmenisTab(barmenis));
        cmbBarmens->setEditText(barmenis);
    }
    if (FindGaldsTab(galds) < 0) {
        LoadGaldi();
        const QSignalBlocker quiet(tabGaldi);
        tabGaldi->setCurrentIndex(FindGaldsTab(galds));
        cmbGalds->setEditText(galds);
    }
    RefreshPasutijumi(isn);
}

void TPasutijumi::BitBtn5Click() {
    if (shApkalposana->text().isEmpty()) return Say(QStringLiteral("Nav ievadīts apkalpošanas % !!!"));
    if (shApkArtikuls->text().isEmpty()) return Say(QStringLiteral("Nav ievadīts apkalpošanas artikuls !!!"));
    shArtikuls->setText(shApkArtikuls->text() + QStringLiteral("=AP"));
    shArtikulsKeyPress(13);
}

void TPasutijumi::PreceClick(int index) {
    // The item is found again by its key's name, as the menu was filled from N_PRECE.SHORTKEY.
    Guarded([this, index] {
        const QString keyName = Prece[std::size_t(index)]->shortcut().toString(QKeySequence::PortableText);
        shArtikuls->setText(QuickItemArticle(Db(), keyName));
    });
    shArtikulsKeyPress(13);
}

void TPasutijumi::BitBtn6Click() {
    Klaviatura->shRinda->clear();
    Klaviatura->exec();
    cmbBarmens->setEditText(Klaviatura->shRinda->text());
}

void TPasutijumi::BitBtn8Click() {
    Klaviatura->exec();
    cmbGalds->setEditText(Klaviatura->shRinda->text());
}
