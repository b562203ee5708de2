// The set-up form's start (working records, the last day-close record, the settings store) and
// its closing (the settings written back, the second journal's folder).
#include "setup_fixture.h"

#include <functional>

namespace setuptest {
namespace {

using Store = platform::SettingsStore;

TEST_P(SetupTest, NewFiscalMemoryShowsEveryDefault)
{
    newMemory();
    ASSERT_TRUE(openForm());
    TSetup& f = *form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Tillora Konfigurēšana"));
    EXPECT_EQ(f.FMProc->LogNote, f.windowTitle());
    EXPECT_EQ(f.pgLappuses->currentWidget(), f.tabGeneral);
    EXPECT_EQ(f.Rinda[0]->text(), QStringLiteral("SIA TOVEL"));
    EXPECT_FALSE(f.Rinda[3]->text().isEmpty());
    EXPECT_EQ(f.CekaNr->text(), QStringLiteral("1"));
    EXPECT_EQ(f.X_Numurs->text(), QStringLiteral("1"));
    EXPECT_EQ(f.shPosNr->text(), QStringLiteral("100000"));
    EXPECT_EQ(f.VidID->text(), QStringLiteral("100000"));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(f.edApmVeids[std::size_t(i)]->text(), QStringLiteral("%1. Apmaksas veids").arg(i + 1));
        EXPECT_FALSE(f.chkApmFlag[std::size_t(i)]->isChecked()) << i;
    }
    EXPECT_EQ(f.Z_Numurs->text(), QStringLiteral("1"));
    EXPECT_EQ(f.GrandTotal->text(), QStringLiteral("0"));
    EXPECT_EQ(f.GrandPVN->text(), QStringLiteral("0"));
    EXPECT_EQ(f.LastZ_Numurs, 1);
    for (QComboBox* port : {f.cmbSvariCOM, f.cmbChipCOM})
        EXPECT_EQ(port->currentText(), QStringLiteral("1"));
    EXPECT_EQ(f.cmbKlDisplejsCOM->currentText(), QStringLiteral("2"));  // the fixture's display port
    EXPECT_EQ(f.cmbSkanerisCOM->currentText(), QStringLiteral("0"));
    EXPECT_EQ(f.cmbFM_COM->currentText(), QString::number(kModulePort));
    EXPECT_EQ(f.rdFM_Tips->ItemIndex(), kind() - 1);
    EXPECT_EQ(f.edValutasKods->text(), QStringLiteral("428"));
    EXPECT_EQ(f.shPrepaidNodala->text(), QStringLiteral("1"));
    EXPECT_EQ(f.edEUR_Kurss->text(), QStringLiteral("0.702804"));
    EXPECT_EQ(f.cmbElKontr->currentText(), QString());
    // The counter fields open only on a double click.
    for (QLineEdit* e : {f.Z_Numurs, f.GrandTotal, f.X_Numurs, f.CekaNr, f.GrandPVN, f.shPosNr})
        EXPECT_FALSE(e->isEnabled());
    f.FormDblClick();
    for (QLineEdit* e : {f.Z_Numurs, f.GrandTotal, f.X_Numurs, f.CekaNr, f.GrandPVN, f.shPosNr})
        EXPECT_TRUE(e->isEnabled());
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join('|').toStdString();
}

TEST_P(SetupTest, WorkingRecordsAndTheLastDayCloseFillTheForm)
{
    putRecord("APMVEID4", QStringLiteral("Kredītkarte"));
    putRecord("APMFLAG2", QStringLiteral("T"));
    putRecord("APMFLAG3", QStringLiteral("t"));
    putRecord("X_REPORTNR", QStringLiteral("17"));
    appendDayClose(7, QDate(2026, 3, 1), 250, 100);
    appendDayClose(8, QDate(2026, 3, 2), 11499, 100);
    ASSERT_TRUE(openForm());
    TSetup& f = *form;
    EXPECT_EQ(f.Rinda[1]->text().trimmed(), QStringLiteral("Rīga, Brīvības 1"));
    EXPECT_EQ(f.edApmVeids[3]->text().trimmed(), QStringLiteral("Kredītkarte"));
    EXPECT_EQ(f.edApmVeids[4]->text(), QStringLiteral("5. Apmaksas veids"));
    EXPECT_FALSE(f.chkApmFlag[0]->isChecked());
    EXPECT_TRUE(f.chkApmFlag[1]->isChecked());
    EXPECT_FALSE(f.chkApmFlag[2]->isChecked());
    EXPECT_EQ(f.X_Numurs->text().trimmed(), QStringLiteral("17"));
    // 11499 cents are 114.99, not the binary 114.99000000000001 of 11499 × 0.01.
    EXPECT_EQ(f.Z_Numurs->text(), QStringLiteral("8"));
    EXPECT_EQ(f.GrandTotal->text(), QStringLiteral("114.99"));
    EXPECT_EQ(f.GrandPVN->text(), QStringLiteral("11.499"));
    EXPECT_EQ(f.LastZ_Numurs, 8);
    EXPECT_EQ(f.LastGrandTotal, 114.99);
}

TEST_F(SetupOnModule, GrandTotalOf250CentsShows2Point5)
{
    appendDayClose(3, QDate(2026, 3, 1), 250);
    ASSERT_TRUE(openForm());
    EXPECT_EQ(form->GrandTotal->text(), QStringLiteral("2.5"));
    EXPECT_EQ(form->GrandPVN->text(), QStringLiteral("0.25"));
    EXPECT_EQ(form->LastGrandTotal, 2.5);
}

// The settings store's values and their fallbacks, one case per stored state.
struct StoredCase {
    const char* name;
    std::function<void(Store&)> store;
    std::function<void(TSetup&)> expect;
};

const char* const kSetup = testsupport::kSetupKey;

TEST_F(SetupOnModule, SettingsAreReadWithTheirFallbacks)
{
    const StoredCase cases[] = {
        {"FMPort kept as the text 3",
         [](Store& s) { s.writeText(kSetup, "FMPort", "3"); },
         [](TSetup& f) { EXPECT_EQ(f.cmbFM_COM->currentIndex(), 2); }},
        {"ports as numbers",
         [](Store& s) {
             s.writeInteger(kSetup, "PrinteraPorts", 12);
             s.writeInteger(kSetup, "SkanerisCom", 4);
             s.writeInteger(kSetup, "CHIPReader", 9);
         },
         [](TSetup& f) {
             EXPECT_EQ(f.cmbPrinterisCOM->currentText(), QStringLiteral("12"));
             EXPECT_EQ(f.cmbSkanerisCOM->currentText(), QStringLiteral("4"));
             EXPECT_EQ(f.cmbChipCOM->currentText(), QStringLiteral("9"));
         }},
        {"a port stored as text falls back to the first item",
         [](Store& s) { s.writeText(kSetup, "SvariCom", "4"); },
         [](TSetup& f) { EXPECT_EQ(f.cmbSvariCOM->currentIndex(), 0); }},
        {"missing IngenicoVal empties its field; missing PrepaidNodala and ValutasKodsFTP",
         [](Store& s) {
             s.deleteValue(kSetup, "IngenicoVal");
             s.writeText(kSetup, "ValutasKodsFTP", "978");
         },
         [](TSetup& f) {
             EXPECT_EQ(f.edIngenicoValuta->text(), QString());
             EXPECT_EQ(f.shPrepaidNodala->text(), QStringLiteral("1"));
             EXPECT_EQ(f.edValutasKods->text(), QStringLiteral("428"));
         }},
        {"numbers and texts read",
         [](Store& s) {
             s.writeInteger(kSetup, "PrepaidNodala", 7);
             s.writeInteger(kSetup, "IngenicoDienBeigas2", 101);
             s.writeText(kSetup, "IngenicoVal", "978");
             s.writeText(kSetup, "ZudezoPasword", "slepens");
             s.writeInteger(kSetup, "Printeris", 4);
             s.writeInteger(kSetup, "PrepaidServVeids", 2);
             s.writeInteger(kSetup, "NeraditTouchPogas", 5);
         },
         [](TSetup& f) {
             EXPECT_EQ(f.shPrepaidNodala->text(), QStringLiteral("7"));
             EXPECT_EQ(f.edIngenicoDienasBeigas2->text(), QStringLiteral("101"));
             EXPECT_EQ(f.edIngenicoValuta->text(), QStringLiteral("978"));
             EXPECT_EQ(f.edZudezoPasword->text(), QStringLiteral("slepens"));
             EXPECT_EQ(f.rdPrinteris->ItemIndex(), 4);
             EXPECT_EQ(f.rdPrepaidVeids->ItemIndex(), 2);
             EXPECT_TRUE(f.chkNotTouchScreen->isChecked());
         }},
        {"EUR_Kurss is read only with EUR_Summa",
         [](Store& s) { s.writeText(kSetup, "EUR_Kurss", "1.5"); },
         [](TSetup& f) {
             EXPECT_FALSE(f.chkEurSumma->isChecked());
             EXPECT_EQ(f.edEUR_Kurss->text(), QStringLiteral("0.702804"));
         }},
        {"EUR_Summa and EUR_Kurss",
         [](Store& s) {
             s.writeInteger(kSetup, "EUR_Summa", 1);
             s.writeText(kSetup, "EUR_Kurss", "1.5");
         },
         [](TSetup& f) {
             EXPECT_TRUE(f.chkEurSumma->isChecked());
             EXPECT_EQ(f.edEUR_Kurss->text(), QStringLiteral("1.5"));
         }},
        {"ZudezoLogo_3 stored as a number keeps names 3 to 10",
         [](Store& s) {
             s.writeText(kSetup, "ZudezoLogo_1", "a.bmp");
             s.writeText(kSetup, "ZudezoLogo_2", "b.bmp");
             s.writeInteger(kSetup, "ZudezoLogo_3", 3);
             s.writeText(kSetup, "ZudezoLogo_4", "d.bmp");
         },
         [](TSetup& f) {
             EXPECT_EQ(f.edZudezoLogo[0]->text(), QStringLiteral("a.bmp"));
             EXPECT_EQ(f.edZudezoLogo[1]->text(), QStringLiteral("b.bmp"));
             EXPECT_EQ(f.edZudezoLogo[2]->text(), QString());
             EXPECT_EQ(f.edZudezoLogo[3]->text(), QString());
         }},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Store& current = settings();
        // Each case starts from the fixture's values.
        for (const std::string& name : current.valueNames(kSetup))
            if (name != "FMTips" && name != "FMPort") settings().deleteValue(kSetup, name);
        settings().writeInteger(kSetup, "FMPort", kModulePort);
        settings().writeText(kSetup, "IngenicoVal", "428");
        c.store(settings());
        ASSERT_TRUE(openForm());
        c.expect(*form);
        form.reset();
    }
}

TEST_F(SetupOnModule, FMTipsKeptAsANumberOrAsText)
{
    settings().writeText(kSetup, "FMTips", "1");
    ASSERT_TRUE(openForm());
    EXPECT_EQ(form->rdFM_Tips->ItemIndex(), 0);
}

TEST_F(SetupOnModule, MemoryNotReadyEndsTheProgram)
{
    setupInteger("FMTips", kUsb);  // no USB device attached
    EXPECT_FALSE(openForm());
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("Nav pieslēgts fiskālais bloks !!!")});
}

class SetupOnUsb : public SetupTest {
protected:
    int kind() const override { return kUsb; }
};

TEST_F(SetupOnUsb, AFailingReadEndsTheProgramWithTheFiscalLayersMessageOnly)
{
    usb->faults().arm("silent", 50);
    EXPECT_FALSE(openForm());
    EXPECT_FALSE(messages().shown(QStringLiteral("Nav pieslēgts fiskālais bloks !!!")));
    usb->faults().clear();
}

TEST_F(SetupOnModule, ZudezoGroupFollowsThePrepaidServer)
{
    ASSERT_TRUE(openForm());
    for (const auto& [index, enabled] : {std::pair{2, true}, std::pair{1, false}, std::pair{0, false}, std::pair{2, true}}) {
        form->rdPrepaidVeids->Item(index)->click();
        EXPECT_EQ(form->grpZudezo->isEnabled(), enabled) << index;
    }
}

TEST_F(SetupOnModule, ClosingWritesTheValuesBackButNeverFMTips)
{
    settings().writeText(kSetup, "FMTips", "1");
    settings().writeText(kSetup, "FMPort", "3");
    ASSERT_TRUE(openForm());
    TSetup& f = *form;
    f.cmbPrinterisCOM->setCurrentIndex(4);
    f.cmbSkanerisCOM->setCurrentIndex(0);
    f.rdKlDisplejs->SetItemIndex(3);
    f.rdCekaValuta->SetItemIndex(-1);
    f.chkNedrAnulCek->setChecked(true);
    f.shNeatrastaPreceNodala->setText(QStringLiteral(" 12 "));
    f.edZudezoLogo[9]->setText(QStringLiteral("logo10.bmp"));
    const auto drive = dir() / "drive";
    std::filesystem::create_directory(drive);
    f.cmbElKontr->setCurrentText(QString::fromStdString(drive.string()));
    EXPECT_TRUE(f.close());

    const Store& s = settings();
    EXPECT_EQ(s.readInteger(kSetup, "PrinteraPorts"), 5);
    EXPECT_EQ(s.readInteger(kSetup, "SkanerisCom"), 0);
    EXPECT_EQ(s.readInteger(kSetup, "FMPort"), 3);
    EXPECT_EQ(s.readInteger(kSetup, "KlDispejaTips"), 3);
    EXPECT_EQ(s.readInteger(kSetup, "CekaValuta"), -1);
    EXPECT_EQ(s.readInteger(kSetup, "NedrukatAnuletosCekus"), 1);
    EXPECT_EQ(s.readInteger(kSetup, "NeatrastaPreceNodala"), 12);
    EXPECT_EQ(s.readInteger(kSetup, "ValutasKodsFTP"), 428);
    EXPECT_EQ(s.readText(kSetup, "IngenicoVal"), std::string());
    EXPECT_EQ(s.readText(kSetup, "ZudezoLogo_10"), std::string("logo10.bmp"));
    EXPECT_EQ(s.readText(kSetup, "Kontrollenta2"), drive.string());
    EXPECT_EQ(s.valueType(kSetup, "FMTips"), platform::ValueType::Text);
    EXPECT_TRUE(std::filesystem::is_directory(drive / "El_Kontr"));
    // Written once: a second close writes nothing more.
    settings().writeInteger(kSetup, "PrinteraPorts", 7);
    f.close();
    EXPECT_EQ(s.readInteger(kSetup, "PrinteraPorts"), 7);
}

TEST_F(SetupOnModule, ClosingRefusesABadNumberNamingItAndWritesNothing)
{
    ASSERT_TRUE(openForm());
    TSetup& f = *form;
    f.cmbPrinterisCOM->setCurrentIndex(4);
    const auto drive = dir() / "drive";
    std::filesystem::create_directory(drive);
    f.cmbElKontr->setCurrentText(QString::fromStdString(drive.string()));
    f.edIngeAtgriesana->setText(QStringLiteral("77x"));
    EXPECT_FALSE(f.close());
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("Laukā \"Atgriešanas operācija\" jābūt veselam skaitlim !!!")});
    EXPECT_EQ(settings().readInteger(kSetup, "PrinteraPorts"), 1);
    EXPECT_FALSE(settings().valueExists(kSetup, "IngenicoAtgr"));
    EXPECT_FALSE(std::filesystem::exists(drive / "El_Kontr"));
    // Mended, the form closes and writes every value.
    f.edIngeAtgriesana->setText(QStringLiteral("78"));
    EXPECT_TRUE(f.close());
    EXPECT_EQ(settings().readInteger(kSetup, "IngenicoAtgr"), 78);
    EXPECT_EQ(settings().readInteger(kSetup, "PrinteraPorts"), 5);
    EXPECT_TRUE(std::filesystem::is_directory(drive / "El_Kontr"));
}

TEST_F(SetupOnModule, NoPrinterPortChosenWritesZeroAndAnEmptyDriveMakesNoFolder)
{
    settings().deleteValue(kSetup, "PrinteraPorts");
    ASSERT_TRUE(openForm());
    EXPECT_EQ(form->cmbPrinterisCOM->currentIndex(), 0);  // the value's fallback: the first port
    form->cmbPrinterisCOM->setCurrentIndex(-1);
    form->cmbElKontr->setCurrentText(QString());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(settings().readInteger(kSetup, "PrinteraPorts"), 0);
    EXPECT_EQ(settings().readText(kSetup, "Kontrollenta2"), std::string());
}

// Without the Setup key the fiscal memory is the module on COM2 and the form keeps its defaults:
// no printer port and no journal drive chosen. Closing makes the key.
TEST_F(SetupOnModule, MissingKeyKeepsTheFormsDefaults)
{
    MEMORIX_CloseComPort();
    module->stop();
    ASSERT_TRUE(module->start(portsDir(), "COM2"));
    settings().deleteKey(kSetup);
    ASSERT_TRUE(openForm());
    EXPECT_EQ(form->cmbPrinterisCOM->currentIndex(), -1);
    EXPECT_EQ(form->cmbElKontr->currentText(), QString());
    EXPECT_EQ(form->cmbFM_COM->currentText(), QStringLiteral("1"));
    EXPECT_EQ(form->rdFM_Tips->ItemIndex(), 0);
    EXPECT_EQ(form->edIngenicoValuta->text(), QStringLiteral("428"));
    EXPECT_TRUE(form->close());
    const Store& s = settings();
    EXPECT_EQ(s.readInteger(kSetup, "PrinteraPorts"), 0);
    EXPECT_EQ(s.readInteger(kSetup, "KlDisplejsPorts"), 1);
    EXPECT_EQ(s.readInteger(kSetup, "SkanerisCom"), 0);
    EXPECT_EQ(s.readText(kSetup, "Kontrollenta2"), std::string());
    EXPECT_FALSE(s.valueExists(kSetup, "FMTips"));
}

TEST_F(SetupOnModule, DrivesListTheMountedVolumes)
{
    ASSERT_TRUE(openForm());
    ASSERT_GT(form->cmbElKontr->count(), 0);
    EXPECT_NE(form->cmbElKontr->findText(QStringLiteral("/")), -1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetupTest, ::testing::Values(kModule, kUsb), kindName);

}  // namespace
}  // namespace setuptest
