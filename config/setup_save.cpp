// "Saglabāt": the fixed working records from the form, a day-close record when its fields were
// edited, the department tax table from N_NODALAS and the currency table from N_VALUTAS.
#include "setup_form.h"

#include "record_texts.h"
#include "setup_tables.h"
#include "ui_services.h"

#include <QDate>

namespace {

// A failed fiscal-memory write or read has been shown and logged by the fiscal-memory layer:
// the save stops there and the program ends.
void check(bool done)
{
    if (!done)
        platform::ui::endProgram(1);
}

}  // namespace

void TSetup::BtSaveClick()
{
    btSave->setFocus();

    // Everything that can refuse the save is looked at before the first write, so a refusal
    // leaves the fiscal memory as it was and the form open.
    const auto zNumber = setuprecords::wholeNumber(Z_Numurs->text());
    const auto grandTotal = setuprecords::decimalNumber(GrandTotal->text());
    const auto grandVat = setuprecords::decimalNumber(GrandPVN->text());
    for (const auto& [bad, label] : {std::pair{!zNumber, "Nedzēšamais skaitītājs  -  Z. Nr :"},
                                     std::pair{!grandTotal, "Summa"}, std::pair{!grandVat, "PVN Summa"}}) {
        if (bad) {
            platform::ui::showMessage(QStringLiteral("Laukā \"%1\" jābūt skaitlim !!!").arg(QString::fromUtf8(label)));
            return;
        }
    }
    SetupTables tables;
    try {
        tables = ReadSetupTables();
    } catch (const std::exception& e) {
        platform::ui::showMessage(QString::fromUtf8(e.what()), {}, platform::ui::Buttons::Ok, platform::ui::Icon::Error);
        return;
    }
    if (const auto d = setuprecords::departmentWithOversizedRate(tables.taxRate())) {
        platform::ui::showMessage(
            QStringLiteral("Nodaļas %1 PVN likme %2 neietilpst fiskālajā blokā (jābūt no -9 līdz 99) !!!")
                .arg(*d)
                .arg(tables.taxRate()(*d).value_or(0)));
        return;
    }

    for (int i = 0; i < 4; ++i)
        check(FMProc->FMWrite(QStringLiteral("CEKAGALVA%1").arg(i + 1), Rinda[std::size_t(i)]->text()));
    CekaNr->setText(setuprecords::receiptCounterText(CekaNr->text()));
    check(FMProc->FMWrite(QStringLiteral("CEKANRCOUN"), CekaNr->text()));
    X_Numurs->setText(setuprecords::xReportText(X_Numurs->text()));
    check(FMProc->FMWrite(QStringLiteral("X_REPORTNR"), X_Numurs->text()));
    shPosNr->setText(shPosNr->text() + QString(10, QLatin1Char(' ')));
    check(FMProc->FMWrite(QStringLiteral("POS_NR"), shPosNr->text()));
    VidID->setText(VidID->text() + QString(12, QLatin1Char(' ')));
    check(FMProc->FMWrite(QStringLiteral("VID_ID"), VidID->text()));
    for (int i = 0; i < 10; ++i)
        check(FMProc->FMWrite(QStringLiteral("APMVEID%1").arg(i + 1), edApmVeids[std::size_t(i)]->text()));
    for (int i = 0; i < 10; ++i)
        check(FMProc->FMWrite(QStringLiteral("APMFLAG%1").arg(i + 1),
                              chkApmFlag[std::size_t(i)]->isChecked() ? QStringLiteral("T") : QStringLiteral("F")));

    // A day-close record only when the installer changed the last one's fields. No day is closed
    // here, so its day sum and day tax are 0; the compared values follow the appended record, so
    // a second save does not append it again.
    if (*zNumber != LastZ_Numurs || *grandTotal != LastGrandTotal || *grandVat != LastGrandPVN) {
        check(FMProc->FMWriteGrand(*zNumber, QString(), setuprecords::wholeCents(*grandTotal),
                                   setuprecords::wholeCents(*grandVat), 0, 0));
        LastZ_Numurs = *zNumber;
        LastGrandTotal = *grandTotal;
        LastGrandPVN = *grandVat;
    }

    // The two tables keep the day sums that the till adds to while it runs: each is read, changed
    // and written back in one transaction of the store, so a sale's write waits for it rather than
    // being overwritten with the sums read before.
    check(FMProc->FMInTransaction(QStringLiteral("BtSaveClick"), [&] {
        QString daySums, currencies;
        return FMProc->FMRead(QStringLiteral("NOD_D_SUM"), daySums) &&
               FMProc->FMWrite(QStringLiteral("NOD_D_SUM"), setuprecords::departmentTable(daySums, tables.taxRate())) &&
               FMProc->FMRead(QStringLiteral("VALUT_D_S"), currencies) &&
               FMProc->FMWrite(QStringLiteral("VALUT_D_S"), setuprecords::currencyTable(currencies, tables.currencyCodes));
    }));
    FMProc->FMEndSave();
    Saved = true;
    close();
}
