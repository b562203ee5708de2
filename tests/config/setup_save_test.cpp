// "Saglabāt": the fixed records, the day-close record when edited, the department and currency
// tables from the till database, and the refusals that keep the fiscal memory as it was.
#include "setup_fixture.h"

#include "database.h"
#include "record_texts.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace setuptest {
namespace {

class SetupSave : public SetupTest {
protected:
    void department(int nr, double rate) { exec(QStringLiteral("INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (%1, %1, 'N', %2)").arg(nr).arg(rate)); }
    void currency(const QString& code)
    {
        exec(QStringLiteral("INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (GEN_ID(N_VALUTASGEN, 1), :K, 'V', 1)"), {{":K", code}});
    }
    // Saves from a form opened now; false when the save ended the program.
    bool save(const std::function<void(TSetup&)>& edit = {})
    {
        if (!form && !openForm())
            return false;
        if (edit)
            edit(*form);
        return run([this] { form->BtSaveClick(); });
    }
    static QString joined(std::initializer_list<const char*> texts)
    {
        QString all;
        for (const char* t : texts) all += QString::fromLatin1(t);
        return all;
    }
};

TEST_P(SetupSave, WritesTheFixedRecordsAndClosesTheForm)
{
    const int before = dayCloseCount();
    ASSERT_TRUE(save([](TSetup& f) {
        f.Rinda[0]->setText(QStringLiteral("SIA Maizīte"));
        f.CekaNr->setText(QStringLiteral(" 42 "));
        f.X_Numurs->setText(QStringLiteral("7"));
        f.shPosNr->setText(QStringLiteral("A123"));
        f.VidID->setText(QStringLiteral("LV40001"));
        f.edApmVeids[0]->setText(QStringLiteral("Dāvanu karte"));
        f.chkApmFlag[2]->setChecked(true);
        f.cmbPrinterisCOM->setCurrentIndex(5);
    }));
    EXPECT_EQ(record("CEKAGALVA1").trimmed(), QStringLiteral("SIA Maizīte"));
    EXPECT_EQ(record("CEKANRCOUN"), QStringLiteral("00000000042"));
    EXPECT_EQ(record("X_REPORTNR"), QStringLiteral("7          "));
    EXPECT_EQ(record("POS_NR"), QStringLiteral("A123       "));
    EXPECT_EQ(record("VID_ID"), QStringLiteral("LV40001        "));
    EXPECT_EQ(record("APMVEID1").trimmed(), QStringLiteral("Dāvanu karte"));
    // The record holds 15 characters of the form's default name.
    EXPECT_EQ(record("APMVEID2"), QStringLiteral("2. Apmaksas vei"));
    EXPECT_EQ(record("APMFLAG3"), QStringLiteral("T"));
    EXPECT_EQ(record("APMFLAG1"), QStringLiteral("F"));
    // The fields show what was written; nothing was edited in the day-close fields.
    EXPECT_EQ(form->CekaNr->text(), QStringLiteral("00000000042"));
    EXPECT_EQ(dayCloseCount(), before);
    // The form closed, writing the settings.
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "PrinteraPorts"), 6);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join('|').toStdString();
}

TEST_P(SetupSave, CountersThatAreNotNumbersBecomeOne)
{
    ASSERT_TRUE(save([](TSetup& f) {
        f.CekaNr->setText(QStringLiteral("x"));
        f.X_Numurs->setText(QString());
    }));
    EXPECT_EQ(record("CEKANRCOUN"), QStringLiteral("00000000001"));
    EXPECT_EQ(record("X_REPORTNR"), QStringLiteral("1          "));
}

// The day-close record: appended only when its fields were edited, with the typed amounts as
// whole cents and no day amounts.
TEST_P(SetupSave, DayCloseRecordOnlyWhenEdited)
{
    appendDayClose(4, QDate(2026, 3, 1), 10000, 555);
    struct Case {
        const char* name;
        const char *z, *total, *vat;
        int appended;
        int nr;
        double totalCents, vatCents;
    };
    const Case cases[] = {
        {"unedited", nullptr, nullptr, nullptr, 0, 0, 0, 0},
        {"number only", "5", nullptr, nullptr, 1, 5, 10000, 1000},
        {"12.5", nullptr, "12.5", nullptr, 1, 5, 1250, 1000},
        {"1.15 is 115 cents", nullptr, "1.15", " 0.07 ", 1, 5, 115, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = dayCloseCount();
        form.reset();
        ASSERT_TRUE(save([&](TSetup& f) {
            f.FormDblClick();
            if (c.z) f.Z_Numurs->setText(QString::fromLatin1(c.z));
            if (c.total) f.GrandTotal->setText(QString::fromLatin1(c.total));
            if (c.vat) f.GrandPVN->setText(QString::fromLatin1(c.vat));
        }));
        ASSERT_EQ(dayCloseCount(), before + c.appended);
        if (!c.appended)
            continue;
        const DayCloseRecord r = dayClose(-1);
        EXPECT_EQ(r.nr, c.nr);
        EXPECT_EQ(r.grandTotal, c.totalCents);
        EXPECT_EQ(r.grandVat, c.vatCents);
        EXPECT_EQ(r.daySum, 0);
        EXPECT_EQ(r.dayVat, 0);
        EXPECT_EQ(r.date, QDate(2026, 3, 2));
    }
}

// A second click appends nothing more: the compared values follow the appended record.
TEST_P(SetupSave, SecondSaveDoesNotAppendTheSameRecordAgain)
{
    const int before = dayCloseCount();
    ASSERT_TRUE(save([](TSetup& f) { f.Z_Numurs->setText(QStringLiteral("9")); }));
    EXPECT_EQ(form->LastZ_Numurs, 9);
    ASSERT_TRUE(run([this] { form->BtSaveClick(); }));
    EXPECT_EQ(dayCloseCount(), before + 1);
}

TEST_P(SetupSave, DayCloseFieldsThatAreNotNumbersRefuseBeforeAnyWrite)
{
    ASSERT_TRUE(save([](TSetup& f) {
        f.Rinda[0]->setText(QStringLiteral("Jauns"));
        f.GrandPVN->setText(QStringLiteral("1,5"));
    }));
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("Laukā \"PVN Summa\" jābūt skaitlim !!!")});
    EXPECT_NE(record("CEKAGALVA1").trimmed(), QStringLiteral("Jauns"));
    EXPECT_FALSE(settings().valueExists(testsupport::kSetupKey, "Printeris"));
}

TEST_P(SetupSave, DepartmentTableTakesTheRatesAndKeepsTheDaySums)
{
    putRecord("NOD_D_SUM", joined({"21     150", "12    2000", "  xxxxxxxx", " 5      30"}));
    department(1, 12);
    department(2, -1);
    department(3, 21);
    ASSERT_TRUE(save());
    const QString table = record("NOD_D_SUM");
    ASSERT_EQ(table.size(), 251);
    EXPECT_EQ(table.left(40), joined({"12     150", "-1    2000", "21       0", " 0      30"}));
    EXPECT_EQ(table.mid(40, 200), joined({" 0       0"}).repeated(20));
    EXPECT_EQ(table.mid(240), QString(11, QLatin1Char(' ')));
}

TEST_P(SetupSave, EmptyDepartmentTableGets24Slots)
{
    putRecord("NOD_D_SUM", QString());
    ASSERT_TRUE(save());
    EXPECT_EQ(record("NOD_D_SUM"), QStringLiteral(" 0       0").repeated(24) + QString(11, QLatin1Char(' ')));
}

// A rate outside -9..99 would overflow its two characters and shift every later slot.
TEST_P(SetupSave, RateThatDoesNotFitItsSlotRefusesTheSave)
{
    for (const double rate : {100.0, -10.0}) {
        form.reset();
        messages().clear();
        exec(QStringLiteral("DELETE FROM N_NODALAS"));
        department(1, 21);
        department(5, rate);
        ASSERT_TRUE(save([](TSetup& f) { f.Rinda[0]->setText(QStringLiteral("Jauns")); }));
        EXPECT_EQ(messages().texts(),
                  QStringList{QStringLiteral("Nodaļas 5 PVN likme %1 neietilpst fiskālajā blokā (jābūt no -9 līdz 99) !!!").arg(int(rate))});
        EXPECT_NE(record("CEKAGALVA1").trimmed(), QStringLiteral("Jauns"));
    }
}

TEST_P(SetupSave, CurrencyTableGrowsIntoFreeSlots)
{
    const QString freeSlot = QStringLiteral("   00000000");
    putRecord("VALUT_D_S", QString());  // stored blank, as a new record reads
    currency(QStringLiteral("EUR"));
    currency(QStringLiteral("USD"));
    ASSERT_TRUE(save());
    const QString two = QStringLiteral("EUR00000000USD00000000") + freeSlot.repeated(28);
    EXPECT_EQ(record("VALUT_D_S").left(330), two);
    form.reset();
    ASSERT_TRUE(save());
    EXPECT_EQ(record("VALUT_D_S").left(330), two);
    currency(QStringLiteral("GBP"));
    form.reset();
    ASSERT_TRUE(save());
    EXPECT_EQ(record("VALUT_D_S").left(330), QStringLiteral("EUR00000000USD00000000GBP00000000") + freeSlot.repeated(27));
}

TEST_P(SetupSave, CurrencyKeepsItsSlotAndSum)
{
    const QString freeSlot = QStringLiteral("   00000000");
    const QString stored = freeSlot.repeated(4) + QStringLiteral("GBP00001234") + freeSlot.repeated(25);
    putRecord("VALUT_D_S", stored);
    currency(QStringLiteral("GBP"));
    ASSERT_TRUE(save());
    EXPECT_EQ(record("VALUT_D_S").left(330), stored);
}

TEST_P(SetupSave, NoFreeCurrencySlotLeavesTheNewCodeOut)
{
    QString full;
    for (int s = 0; s < 30; ++s) full += QStringLiteral("C") + QString::number(s).rightJustified(2, QLatin1Char('0')) + QStringLiteral("00000042");
    putRecord("VALUT_D_S", full);
    currency(QStringLiteral("EUR"));
    ASSERT_TRUE(save());
    EXPECT_EQ(record("VALUT_D_S").left(330), full);
}

TEST_P(SetupSave, FailingHeaderWriteStopsTheSaveThere)
{
    putRecord("CEKAGALVA2", QStringLiteral("Vecā 2"));
    putRecord("CEKAGALVA3", QStringLiteral("Vecā 3"));
    putRecord("NOD_D_SUM", QStringLiteral("21     150"));
    ASSERT_TRUE(openForm());
    form->Rinda[0]->setText(QStringLiteral("Jaunā 1"));
    form->Rinda[1]->setText(QStringLiteral("Jaunā 2"));
    form->Rinda[2]->setText(QStringLiteral("Jaunā 3"));
    form->Z_Numurs->setText(QStringLiteral("77"));
    const int before = dayCloseCount();
    failWriteOf("CEKAGALVA2");
    EXPECT_FALSE(save());
    EXPECT_EQ(record("CEKAGALVA1").trimmed(), QStringLiteral("Jaunā 1"));
    // The USB device answers its error after storing the text; the module refuses the write.
    if (kind() == kModule) {
        EXPECT_EQ(record("CEKAGALVA2").trimmed(), QStringLiteral("Vecā 2"));
    }
    EXPECT_EQ(record("CEKAGALVA3").trimmed(), QStringLiteral("Vecā 3"));
    EXPECT_EQ(record("NOD_D_SUM").left(10), QStringLiteral("21     150"));
    EXPECT_EQ(dayCloseCount(), before);
    EXPECT_FALSE(settings().valueExists(testsupport::kSetupKey, "Printeris"));
}

// The set-up program's own alias comes first; a database it cannot read refuses the save before
// the first write.
TEST_P(SetupSave, DatabaseThatCannotBeReadRefusesBeforeAnyWrite)
{
    settings().writeText(platform::kAliasesKey, "TILLORA", (dir() / "missing" / "POS_DATI.GDB").string());
    ASSERT_TRUE(save([](TSetup& f) { f.Rinda[0]->setText(QStringLiteral("Jauns")); }));
    ASSERT_EQ(messages().texts().size(), 1);
    EXPECT_NE(record("CEKAGALVA1").trimmed(), QStringLiteral("Jauns"));
    EXPECT_FALSE(form->Saved);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetupSave, ::testing::Values(kModule, kUsb), kindName);

// The till sells in a process of its own while the set-up program saves, again and again, on the
// same module: every sale adds a cent to department 1's day sum in a transaction, as the till
// registers a receipt. No sale fails or is overwritten by a save, and the save's tax rate stays.
class SetupSaveBesideTheTill : public SetupSave {
protected:
    int kind() const override { return kModule; }

    // One sale: department 1's day sum one cent more.
    bool sell()
    {
        return fm->FMInTransaction(QStringLiteral("PutInFM"), [this] {
            QString table;
            if (!fm->FMRead(QStringLiteral("NOD_D_SUM"), table))
                return false;
            const int sum = table.mid(2, 8).trimmed().toInt();
            return fm->FMWrite(QStringLiteral("NOD_D_SUM"), table.replace(2, 8, QString::asprintf("%8i", sum + 1)));
        });
    }
};

TEST_F(SetupSaveBesideTheTill, SalesDuringTheSavesAreAllKept)
{
    constexpr int kSales = 50;
    putRecord("NOD_D_SUM", QStringLiteral("21       0"));
    department(1, 12);
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t till = ::fork();
    if (till == 0) {
        char start;
        int failed = 0;
        if (::read(go[0], &start, 1) == 1)
            for (int i = 0; i < kSales; ++i)
                failed += sell() ? 0 : 1;
        ::_exit(std::min(failed, 100));
    }
    ::close(go[0]);
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    ::close(go[1]);
    int status = -1, saves = 0;
    bool saved = true;
    while (saved && saves < 200 && ::waitpid(till, &status, WNOHANG) == 0) {
        form.reset();
        saved = save();
        ++saves;
    }
    if (!WIFEXITED(status))
        ::waitpid(till, &status, 0);
    EXPECT_TRUE(saved);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "sales that failed";
    EXPECT_EQ(record("NOD_D_SUM").left(10).toStdString(), QString::asprintf("%2i%8i", 12, kSales).toStdString())
        << saves << " saves";
}

}  // namespace
}  // namespace setuptest
