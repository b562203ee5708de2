#include "datumodelis.h"
#include "iestadisana.h"
#include "settings.h"

#include "test_database.h"

namespace {

class SettingsDialog : public testsupport::DatabaseTest {
protected:
    void TearDown() override {
        delete Iestadisana;
        delete DatuModelis;
        DatabaseTest::TearDown();
    }
    TIestadisana& dialog() {
        if (!DatuModelis) DatuModelis = new TDatuModelis(nullptr);
        if (!Iestadisana) Iestadisana = new TIestadisana(nullptr);
        return *Iestadisana;
    }
    QVariant fullLine() { return value("SELECT PILNUJA1DAUDZ FROM N_ISI"); }
};

TEST_F(SettingsDialog, AnEmptyKeyShowsTheDefaults) {
    settings().createKey(kSetupKey);
    TIestadisana& d = dialog();
    EXPECT_TRUE(d.CekaKopijaPath->text().isEmpty());
    EXPECT_TRUE(d.KasesNr->text().isEmpty());
    EXPECT_TRUE(d.SvaruPrefix->text().isEmpty());
    EXPECT_TRUE(d.shNodKods->text().isEmpty());
    EXPECT_EQ(d.shCenasDecimalzimes->text(), "2");
    EXPECT_EQ(d.ArtikulaStart->text(), "3");
    EXPECT_EQ(d.ArtikulaGarums->text(), "6");
    EXPECT_EQ(d.SvaraStart->text(), "9");
    EXPECT_EQ(d.SvaraGarums->text(), "4");
    EXPECT_EQ(d.edKlScreenWidth->text(), "800");
    EXPECT_EQ(d.edKlScreenHeight->text(), "600");
    EXPECT_EQ(d.rdSvariTips->ItemIndex(), 0);
    EXPECT_EQ(d.rdKlientLielaisEkrans->ItemIndex(), 0);
    EXPECT_FALSE(d.shNodKods->isEnabled());
    EXPECT_FALSE(d.edKlScreenWidth->isEnabled());
    d.chkStockaraConect->click();
    EXPECT_TRUE(d.shNodKods->isEnabled());
    d.rdKlientLielaisEkrans->Item(2)->click();
    EXPECT_TRUE(d.edKlScreenWidth->isEnabled());
    EXPECT_TRUE(d.edKlScreenHeight->isEnabled());
}

TEST_F(SettingsDialog, ABadNumberStoresNothingAndKeepsTheDialogOpen) {
    settings().createKey(kSetupKey);
    settings().writeText(kSetupKey, "KasesNr", "1");
    settings().writeInteger(kSetupKey, "SvariTips", 0);
    exec("UPDATE N_ISI SET PILNUJA1DAUDZ = 'F'");
    TIestadisana& d = dialog();
    d.show();
    d.KasesNr->setText("9");
    d.rdSvariTips->Item(2)->click();
    d.ArtikulaStart->setText("7a");
    d.PILNUJA1DAUDZ->setChecked(true);
    d.BitBtn1Click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(messages().shown("Laukā \"Artikula sākums (zīme)\" jābūt veselam skaitlim !!!")) << messages().texts().join("|").toStdString();
    EXPECT_EQ(settings().readText(kSetupKey, "KasesNr"), "1");
    EXPECT_EQ(settings().readInteger(kSetupKey, "SvariTips"), 0);
    EXPECT_EQ(fullLine().toString().trimmed(), "F");

    d.edKlScreenHeight->setText("");  // also a bad value, even while the box is disabled
    d.ArtikulaStart->setText(" 7 ");
    messages().clear();
    d.BitBtn1Click();
    EXPECT_TRUE(messages().shown("Laukā \"Lielā ekrāna augstums\" jābūt veselam skaitlim !!!"));
    EXPECT_EQ(settings().readText(kSetupKey, "KasesNr"), "1");

    d.edKlScreenHeight->setText("600");
    d.shCenasDecimalzimes->setText("2,5");
    d.BitBtn1Click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(settings().readText(kSetupKey, "KasesNr"), "9");
    EXPECT_EQ(settings().readInteger(kSetupKey, "SvariTips"), 2);
    EXPECT_EQ(settings().readInteger(kSetupKey, "ArtikulaStart"), 7);
    EXPECT_EQ(settings().readText(kSetupKey, "CenasDecimalzimes"), "2,5");
    EXPECT_EQ(settings().readInteger(kSetupKey, "KlScreenHeight"), 600);
    EXPECT_EQ(fullLine().toString().trimmed(), "T");
    EXPECT_EQ(LoadSettings({}, settings(), db()).CenasDecimalzimes, 2);
}

TEST_F(SettingsDialog, AnEmptySettingsTableGetsARowInserted) {
    settings().createKey(kSetupKey);
    exec("DELETE FROM N_ISI");
    TIestadisana& d = dialog();
    d.show();
    d.PILNUJA1DAUDZ->setChecked(true);
    d.BitBtn1Click();
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_ISI").toInt(), 1);
    EXPECT_EQ(fullLine().toString().trimmed(), "T");
}

TEST_F(SettingsDialog, WithoutTheKeyOnlyTheTableRowIsStored) {
    TIestadisana& d = dialog();
    EXPECT_EQ(d.SvaruPrefix->text(), "SvaruPrefix");
    d.show();
    d.ArtikulaStart->setText("3");
    d.ArtikulaGarums->setText("6");
    d.SvaraStart->setText("9");
    d.SvaraGarums->setText("4");
    d.PILNUJA1DAUDZ->setChecked(true);
    d.BitBtn1Click();
    EXPECT_FALSE(settings().keyExists(kSetupKey));
    EXPECT_EQ(fullLine().toString().trimmed(), "T");
}

TEST_F(SettingsDialog, WithoutTheKeyTheLabelBoxesNeedNoNumbers) {
    // Their initial texts are the value names ("ArtikulaStart", ...); none of them is stored.
    TIestadisana& d = dialog();
    d.show();
    ASSERT_EQ(d.ArtikulaStart->text(), "ArtikulaStart");
    d.PILNUJA1DAUDZ->setChecked(true);
    d.BitBtn1Click();
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(settings().keyExists(kSetupKey));
    EXPECT_EQ(fullLine().toString().trimmed(), "T");
}

// The keyboard starts in the copies' folder and Tab goes on in the dialog's own order: the till
// number, OK, then the stock group.
TEST_F(SettingsDialog, TheKeyboardStartsAtTheCopiesFolderAndTabKeepsTheDialogsOrder) {
    TIestadisana& d = dialog();
    d.show();
    EXPECT_EQ(d.focusWidget(), d.CekaKopijaPath);
    std::vector<QWidget*> order;
    for (QWidget* w = d.CekaKopijaPath; order.size() < 6; w = w->nextInFocusChain())
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) order.push_back(w);
    const std::vector<QWidget*> expected{d.CekaKopijaPath, d.KasesNr, d.BitBtn1, d.chkStockaraConect, d.shNodKods, d.shCenasDecimalzimes};
    EXPECT_EQ(order, expected);
    d.close();
}

}  // namespace
