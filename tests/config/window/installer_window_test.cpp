// The set-up program with the real sale window, offscreen, on the demo database and the simulated
// devices: a new till set up through TilloraConfig rings receipts with what was saved, and the
// save works while the till holds the same database and fiscal memory.
#include "posmain.h"
#include "setup_form.h"
#include "till_window.h"

#include <QLineEdit>

#include <algorithm>

namespace {

constexpr const char* kMilk = "4750001000017";  // 2.15 in department 1 (21 %) of the demo database

class InstallerTest : public testsupport::TillWindowTest {
protected:
    InstallerTest() : TillWindowTest({.printerType = 0, .display = false, .openingRecord = false}) {}

    // The installer's entries on the set-up form, saved; false when the save ended the program.
    bool setUpTill()
    {
        try {
            TSetup form;
            form.Rinda[0]->setText(QStringLiteral("SIA Maizīte"));
            form.Rinda[1]->setText(QStringLiteral("Cēsis, Rīgas iela 5"));
            form.edApmVeids[0]->setText(QStringLiteral("Dāvanu karte"));
            form.chkApmFlag[0]->setChecked(true);
            form.BtSaveClick();
        } catch (const platform::ui::ProgramEnded&) {
            return false;
        }
        return true;
    }
    // A working record read as the set-up program does, before the till runs.
    QString stored(const char* name)
    {
        TFMProc fm;
        QString text;
        EXPECT_TRUE(fm.FMRead(QString::fromLatin1(name), text));
        return text;
    }
    bool printed(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(InstallerTest, NewTillRingsReceiptsWithTheSavedHeaderKindsAndTaxRates)
{
    ASSERT_TRUE(setUpTill());
    EXPECT_EQ(stored("NOD_D_SUM").left(40), QStringLiteral("21       012       0 5       0-1       0"));
    ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(w().ApmaksasVeidi.find(2).has_value());
    EXPECT_EQ(w().ApmaksasVeidi.find(2)->text.trimmed(), QStringLiteral("2-Dāvanu karte"));
    enter(kMilk);
    enter(QStringLiteral("/0=5.00"));
    const auto lines = paper();
    EXPECT_TRUE(printed(lines, "SIA Maizīte"));
    EXPECT_TRUE(printed(lines, "Cēsis, Rīgas iela 5"));
    const bool taxLine = std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("Likme 1-21% PVN", 0) == 0; });
    EXPECT_TRUE(taxLine) << printer->paperText();
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

TEST_F(InstallerTest, SaveWorksWhileTheTillRuns)
{
    ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
    enter(kMilk);
    enter(QStringLiteral("/0=5.00"));
    messages().clear();
    ASSERT_TRUE(setUpTill());
    EXPECT_EQ(record("CEKAGALVA1").trimmed(), QStringLiteral("SIA Maizīte"));
    EXPECT_EQ(record("NOD_D_SUM").left(10).left(2), QStringLiteral("21"));
    EXPECT_EQ(record("VALUT_D_S").left(22), QStringLiteral("EUR00000000USD00000000"));
    // The till goes on with its next receipt.
    enter(kMilk);
    enter(QStringLiteral("/0=5.00"));
    EXPECT_EQ(value("SELECT COUNT(*) FROM REALIZ WHERE ANULETS = 'F'").toInt(), 2);  // one sale row a receipt
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
}

}  // namespace
