#include "cashier.h"
#include "datumodelis.h"
#include "password_dlg.h"

#include <QApplication>

#include "test_database.h"

namespace {

class Login : public testsupport::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        exec("INSERT INTO O_USERS (GNOS, PASWORD, FULLNAME, VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, MAXATLAIDE,"
             " VARDZEST, KL_ELEKTRON) VALUES ('ANNA', 'Sekrets', 'Anna Kļaviņa', 'T', 'T', 'F', 15, 't', NULL)");
        exec("INSERT INTO O_USERS (GNOS, PASWORD) VALUES ('JANIS', '1')");
    }
    void TearDown() override {
        delete PasswordDlg;
        delete DatuModelis;
        DatabaseTest::TearDown();
    }
    TPasswordDlg& dialog() {
        if (!DatuModelis) DatuModelis = new TDatuModelis(nullptr);
        if (!PasswordDlg) PasswordDlg = new TPasswordDlg(nullptr);
        return *PasswordDlg;
    }
};

TEST_F(Login, RefusalsSayWhatIsWrong) {
    CashierRights rights;
    EXPECT_EQ(CheckCashier(db(), "", "x", rights), LoginCheck::EmptyUserName);
    EXPECT_EQ(CheckCashier(db(), "PETERIS", "x", rights), LoginCheck::UnknownUser);
    EXPECT_EQ(CheckCashier(db(), "anna", "Sekrets", rights), LoginCheck::UnknownUser);
    EXPECT_EQ(CheckCashier(db(), "ANNA", "sekrets", rights), LoginCheck::WrongPassword);
    EXPECT_EQ(CheckCashier(db(), "ANNA", "Sekrets ", rights), LoginCheck::WrongPassword);
    EXPECT_EQ(LoginCheckMessage(LoginCheck::EmptyUserName), "Ievadiet korektu lietotāja vārdu !!!");
    EXPECT_EQ(LoginCheckMessage(LoginCheck::UnknownUser), "Šāds lietotājs nav reģistrēts sistēmā !!!");
    EXPECT_EQ(LoginCheckMessage(LoginCheck::WrongPassword), "Nav ievadītā pareiza parole !!!");
}

TEST_F(Login, OnlyAnUpperCaseTGrantsARight) {
    CashierRights rights;
    ASSERT_EQ(CheckCashier(db(), "ANNA", "Sekrets", rights), LoginCheck::Passed);
    EXPECT_TRUE(rights.VarAtgreizt);
    EXPECT_TRUE(rights.VarZAtskaiti);
    EXPECT_FALSE(rights.VarMainitAtlaidi);  // 'F'
    EXPECT_FALSE(rights.VarDzest);          // 't'
    EXPECT_FALSE(rights.KlElektron);        // NULL
    EXPECT_EQ(rights.MaxAtlaide, 15.0);
    EXPECT_EQ(rights.FullName, "Anna Kļaviņa");

    CashierRights none;
    ASSERT_EQ(CheckCashier(db(), "JANIS", "1", none), LoginCheck::Passed);
    EXPECT_FALSE(none.VarAtgreizt || none.VarZAtskaiti || none.VarMainitAtlaidi || none.VarDzest || none.KlElektron);
    const CashierData cashier = CashierFromLogin("JANIS", none);
    EXPECT_EQ(cashier.KasierisFullName, "JANIS") << "an empty FULLNAME gives the user name";
}

TEST_F(Login, FirstRunOffersAdminAndAPassedCheckRemembersTheUser) {
    TPasswordDlg& dlg = dialog();
    EXPECT_EQ(dlg.shLietotajs->text(), "ADMIN");
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    EXPECT_EQ(QApplication::focusWidget(), dlg.Password) << "the name is there: the cashier types the password";

    dlg.shLietotajs->setText("ANNA");
    dlg.Password->setText("wrong");
    dlg.BtOKClick();
    EXPECT_FALSE(dlg.Ok);
    EXPECT_EQ(dlg.StatusBar1->text(), "Nav ievadītā pareiza parole !!!");
    EXPECT_EQ(dlg.Password->text(), "wrong") << "the password field keeps what was typed";

    dlg.shLietotajs->clear();
    dlg.BtOKClick();
    EXPECT_EQ(dlg.StatusBar1->text(), "Ievadiet korektu lietotāja vārdu !!!");

    dlg.shLietotajs->setText("ANNA");
    dlg.Password->setText("Sekrets");
    dlg.BtOKClick();
    EXPECT_TRUE(dlg.Ok);
    EXPECT_TRUE(dlg.Password->text().isEmpty());
    EXPECT_EQ(settings().readText(kPasswordKey, "LastUser"), "ANNA");

    delete PasswordDlg;
    EXPECT_EQ(dialog().shLietotajs->text(), "ANNA");
}

TEST_F(Login, CancellingEndsTheProgram) {
    TPasswordDlg& dlg = dialog();
    dlg.show();
    EXPECT_THROW(dlg.BtAtliktClick(), platform::ui::ProgramEnded);
}

TEST_F(Login, EmptyLastUserOffersAdmin) {
    settings().writeText(kPasswordKey, "LastUser", "");
    EXPECT_EQ(dialog().shLietotajs->text(), "ADMIN");
}

}  // namespace
