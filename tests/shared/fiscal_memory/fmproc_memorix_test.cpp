// TFMProc on the Memorix module kind against the module simulator: creating the working records,
// the NOD_D_SUM migration, record sizes, day-close records and the serial number.
#include "codepage_1257.h"
#include "fm_working_records.h"
#include "memorix_fixture.h"

#include <QFile>

namespace {

using fmrecords::WorkingRecord;

std::string withZeros(std::string text, std::size_t size)
{
    text.resize(size, '\0');
    return text;
}

TEST_F(MemorixKind, EmptyStoreGainsEveryRecordInOrder)
{
    TFMProc fm;
    ASSERT_EQ(fm.Status, 0);
    ASSERT_EQ(fileCount(), int(fmrecords::all().size()));
    int index = 0;
    for (const WorkingRecord& record : fmrecords::all()) {
        char name[11] = {};
        ASSERT_EQ(HT_FindByIndex(index++, name), 0);
        EXPECT_EQ(std::string(name), std::string(record.name.substr(0, 10)));
        EXPECT_EQ(storedSize(std::string(record.name)), record.creationSize) << record.name;
    }
    EXPECT_EQ(storedSize("VALUT_D_S"), 331);
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

// Index 0 of the write-once store is never read as a day-close record: a module whose store is
// empty gets an opening record, so the first Z report's record (number 2) is the one read back.
TEST_F(MemorixKind, EmptyWriteOnceStoreGainsItsOpeningRecord)
{
    {
        TFMProc fm;
        ASSERT_EQ(fm.Status, 0);
    }
    int count = -1;
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    ASSERT_EQ(count, 1);
    std::tm stamp{};
    int nameAddress = 0, nameLength = 0, dataAddress = 0, dataLength = 0;
    ASSERT_EQ(FM_GetRecordInfo(0, &stamp, &nameAddress, &nameLength, &dataAddress, &dataLength), 0);
    std::string name(std::size_t(nameLength), '\0'), data(std::size_t(dataLength), '\0');
    ASSERT_EQ(FM_FillReadBuf(nameAddress, nameLength, name.data()), 0);
    ASSERT_EQ(FM_FillReadBuf(dataAddress, dataLength, data.data()), 0);
    EXPECT_EQ(name, "1");
    EXPECT_EQ(data, "*   1          002.03.202610:15          0          0          0        ");

    // A later start appends nothing more; the first day close is read back.
    TFMProc fm;
    ASSERT_EQ(fm.Status, 0);
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    EXPECT_EQ(count, 1);
    DayCloseRecord last;
    ASSERT_TRUE(fm.FMReadGrand(-1, last.nr, last.grandTotal, last.grandVat, last.date, last.time, last.daySum, last.dayVat,
                               last.check));
    EXPECT_EQ(last.nr, 1);
    ASSERT_TRUE(fm.FMWriteGrand(last.nr + 1, QStringLiteral("0A1B2C3D"), 1500, 260, 1500, 260));
    ASSERT_TRUE(fm.FMReadGrand(-1, last.nr, last.grandTotal, last.grandVat, last.date, last.time, last.daySum, last.dayVat,
                               last.check));
    EXPECT_EQ(last.nr, 2);
    EXPECT_EQ(last.grandTotal, 1500);
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

// A record outside the size table: created at its size, made anew when the store holds it at
// another size, and written at that size.
TEST_F(MemorixKind, RecordOutsideTheSizeTable)
{
    TFMProc fm;
    ASSERT_EQ(fm.Status, 0);
    int index = -1;
    ASSERT_EQ(HT_Create("ZSLEGSANA", &index, 11), 0);
    ASSERT_TRUE(fm.FMWrite(QStringLiteral("CEKAGALVA1"), QStringLiteral("x")));  // RecordSize 40
    ASSERT_TRUE(fm.FMCreateRecord(QStringLiteral("ZSLEGSANA"), 24));
    EXPECT_EQ(storedSize("ZSLEGSANA"), 24);
    EXPECT_EQ(fm.RecordSize, 24);
    ASSERT_TRUE(fm.FMWrite(QStringLiteral("ZSLEGSANA"), QStringLiteral("7")));
    EXPECT_EQ(storedBytes("ZSLEGSANA"), "7" + std::string(23, ' '));
    // Held at its size already: kept as it is.
    ASSERT_TRUE(fm.FMCreateRecord(QStringLiteral("ZSLEGSANA"), 24));
    EXPECT_EQ(storedBytes("ZSLEGSANA"), "7" + std::string(23, ' '));
    ASSERT_TRUE(fm.FMCreateRecord(QStringLiteral("NEWRECORD"), 5));
    EXPECT_EQ(storedSize("NEWRECORD"), 5);
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

TEST_F(MemorixKind, FullStoreIsLeftAsItIs)
{
    {
        TFMProc first;
        ASSERT_TRUE(first.FMWrite(QStringLiteral("POS_NR"), QStringLiteral("00000000004")));
    }
    TFMProc second;
    EXPECT_EQ(second.Status, 0);
    EXPECT_EQ(fileCount(), int(fmrecords::all().size()));
    EXPECT_EQ(storedBytes("POS_NR"), "00000000004");
}

TEST_F(MemorixKind, OnlyTheMissingRecordIsCreated)
{
    { TFMProc first; }
    ASSERT_EQ(HT_Delete("APM_SUM7"), 0);
    ASSERT_EQ(HT_Delete("CEKAGALVA3"), 0);
    TFMProc second;
    EXPECT_EQ(second.Status, 0);
    EXPECT_EQ(storedSize("APM_SUM7"), 13);
    EXPECT_EQ(storedSize("CEKAGALVA3"), 40);
    EXPECT_EQ(fileCount(), int(fmrecords::all().size()));
}

TEST_F(MemorixKind, OldDaySumsRecordIsMigrated)
{
    std::string old;
    for (int dept = 0; dept < 50; ++dept)
        old += QStringLiteral("%1%2").arg(dept % 30, 2).arg(dept * 100, 8).toStdString();
    ASSERT_EQ(old.size(), 500u);
    int index = -1;
    ASSERT_EQ(HT_Create("NOD_D_SUM", &index, 501), 0);
    ASSERT_EQ(HT_Write(index, old.data(), 0, 500), 0);
    TFMProc fm;
    EXPECT_EQ(fm.Status, 0);
    EXPECT_EQ(storedSize("NOD_D_SUM"), 251);
    EXPECT_EQ(storedBytes("NOD_D_SUM"), withZeros(old.substr(0, 250), 251));
    int inProgress = -1;
    EXPECT_EQ(HT_Get_TransactionInProgress(&inProgress), 0);
    EXPECT_EQ(inProgress, 0);
}

// The migration runs in a transaction of the store; when a step fails, the old record with the
// tax rates stays and the failure is reported.
TEST_F(MemorixKind, FailedMigrationKeepsTheOldRecord)
{
    const std::string old = withZeros("12     100 5     200", 501);
    int index = -1;
    ASSERT_EQ(HT_Create("NOD_D_SUM", &index, 501), 0);
    ASSERT_EQ(HT_Write(index, old.data(), 0, 501), 0);
    ASSERT_EQ(HT_BeginTrans(), 0);  // another transaction open: the migration cannot start its own
    TFMProc fm;
    EXPECT_EQ(fm.Status, -1);
    ASSERT_EQ(HT_Rollback(), 0);
    EXPECT_EQ(storedSize("NOD_D_SUM"), 501);
    EXPECT_EQ(storedBytes("NOD_D_SUM"), old);
    const std::string log = testsupport::readFile(dir() / "error.log");
    EXPECT_NE(log.find("Komanda             - HT_BeginTrans-InitMRX_FMRam\n"), std::string::npos) << log;
    EXPECT_EQ(messages().texts().size(), 1);
}

TEST_F(MemorixKind, LookUpErrorStopsTheCreation)
{
    // Two files under one name make the look-up fail.
    int index = -1;
    ASSERT_EQ(HT_Create("CEKAGALVA2", &index, 40), 0);
    ASSERT_EQ(HT_Create("SPARE", &index, 40), 0);
    ASSERT_EQ(HT_Rename(index, "CEKAGALVA2"), 0);
    TFMProc fm;
    EXPECT_EQ(fm.Status, -1);
    EXPECT_EQ(storedSize("CEKAGALVA1"), 40);
    EXPECT_EQ(storedSize("CEKAGALVA3"), -1);
    EXPECT_EQ(storedSize("APM_SUM1"), -1);
    const std::string log = testsupport::readFile(dir() / "error.log");
    EXPECT_NE(log.find("Atminas faila vards - CEKAGALVA2\nKomanda             - HT_Find-InitMRX_FMRam\n"), std::string::npos) << log;
}

TEST_F(MemorixKind, WritesArePaddedAndCutToTheRecordSize)
{
    TFMProc fm;
    ASSERT_EQ(fm.Status, 0);
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("CEKANRCOUN"), QStringLiteral("ABC")));
    EXPECT_EQ(storedBytes("CEKANRCOUN"), "ABC        ");
    const QString header = QStringLiteral("Veikals „Rīga” SIA, Brīvības iela 1, LV-1010 x");
    ASSERT_EQ(header.size(), 46);
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("CEKAGALVA1"), header));
    EXPECT_EQ(storedBytes("CEKAGALVA1"), toCp1257(header.left(40)));
    QString back;
    EXPECT_TRUE(fm.FMRead(QStringLiteral("CEKAGALVA1"), back));
    EXPECT_EQ(back, header.left(40));
    // Thirty currency slots of 11 characters fit.
    QString currencies;
    for (int i = 0; i < 30; ++i)
        currencies += QStringLiteral("USD%1").arg(i, 8, 10, QLatin1Char('0'));
    EXPECT_TRUE(fm.FMWrite(QStringLiteral("VALUT_D_S"), currencies));
    EXPECT_TRUE(fm.FMRead(QStringLiteral("VALUT_D_S"), back));
    EXPECT_EQ(back, currencies + QLatin1Char(' '));
}

TEST_F(MemorixKind, RecordsNeverWrittenOrMissingLeaveTheText)
{
    TFMProc fm;
    QString value = QStringLiteral("default");
    EXPECT_TRUE(fm.FMRead(QStringLiteral("APMVEID3"), value));
    EXPECT_TRUE(fm.FMRead(QStringLiteral("NOSUCHREC"), value));
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

TEST_F(MemorixKind, RecordLongerThanFiveHundredBytesIsReadWhole)
{
    TFMProc fm;
    const std::string big = std::string(300, 'a') + std::string(300, 'b');
    int index = -1;
    ASSERT_EQ(HT_Create("BIGRECORD", &index, 600), 0);
    ASSERT_EQ(HT_Write(index, big.data(), 0, 600), 0);
    QString value;
    EXPECT_TRUE(fm.FMRead(QStringLiteral("BIGRECORD"), value));
    EXPECT_EQ(value.toStdString(), big);
}

TEST_F(MemorixKind, DayCloseRecordsWrittenAndReadBack)
{
    TFMProc fm;
    int nr = -1;
    double gt = -1, gv = -1, ds = -1, dv = -1;
    QDate date;
    QString time, check = QStringLiteral("caller");
    // Only the opening record (index 0, never read as a day-close record): defaults.
    EXPECT_TRUE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, 1);
    EXPECT_EQ(gt, 0);
    EXPECT_EQ(date, QDate(2001, 1, 1));
    EXPECT_EQ(time, QStringLiteral("12:00"));
    EXPECT_EQ(check, QStringLiteral("caller"));

    EXPECT_TRUE(fm.FMWriteGrand(12, QStringLiteral("0A1B2C3D"), 1500, 260, 500, 87));
    EXPECT_TRUE(fm.FMWriteGrand(10000, QStringLiteral("FFFF0000"), 2147483648.0, 98765432101.0, 4500, 780));

    EXPECT_TRUE(fm.FMReadGrand(1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, 12);
    EXPECT_EQ(gt, 1500);
    EXPECT_EQ(gv, 260);
    EXPECT_EQ(ds, 500);
    EXPECT_EQ(dv, 87);
    EXPECT_EQ(date, QDate(2026, 3, 2));
    EXPECT_EQ(time, QStringLiteral("10:15"));
    EXPECT_EQ(check, QStringLiteral("0A1B2C3D"));

    EXPECT_TRUE(fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check));
    EXPECT_EQ(nr, 10000);
    EXPECT_EQ(gt, 2147483648.0);
    EXPECT_EQ(gv, 98765432101.0);
    EXPECT_EQ(ds, 4500);
    EXPECT_EQ(dv, 780);
    EXPECT_EQ(check, QStringLiteral("FFFF0000"));
    int count = 0;
    EXPECT_TRUE(fm.FMGetRecordCount(count));
    EXPECT_EQ(count, 3);

    // Stored under the report number as its name.
    int recordIndex = -1, dataAddress = 0, dataLength = 0;
    std::tm stamp{};
    EXPECT_EQ(FM_GetTypeRecordInfo(0, -1, "12", -1, &recordIndex, &stamp, &dataAddress, &dataLength), 0);
    EXPECT_EQ(recordIndex, 1);
    EXPECT_EQ(dataLength, 72);
}

TEST_F(MemorixKind, SerialNumberAndItsFailure)
{
    TFMProc fm;
    QString serial;
    EXPECT_TRUE(fm.FMSerialNr(serial));
    EXPECT_EQ(serial, QStringLiteral("20240117"));
    module().faults().arm("silent", 10);
    serial = QStringLiteral("keep");
    EXPECT_FALSE(fm.FMSerialNr(serial));
    EXPECT_EQ(serial, QStringLiteral("keep"));
    const std::string log = testsupport::readFile(dir() / "error.log");
    EXPECT_NE(log.find("Komanda             - FM_GetSerialNumber-FMSerialNrMRX\n"), std::string::npos) << log;
    module().faults().clear();
}

TEST_F(MemorixKind, ErrorBlockCarriesTheLibrarysText)
{
    TFMProc fm;
    fm.FMError(152, QStringLiteral("POS_NR"), QStringLiteral("HT_Find-FMReadMRX"), QString());
    const std::string log = testsupport::readFile(dir() / "error.log");
    const std::string expected = std::string("FMStatus            - 152\nPazinojums          - ") + FM_GetErrorText(152) + "\n";
    EXPECT_NE(log.find(expected), std::string::npos) << log;
}

}  // namespace
