// TFMProc by kind of fiscal memory and the settings it reads, and the error log's block.
#include "fmproc.h"
#include "test_environment.h"

#include <QFile>

namespace {

using testsupport::kSetupKey;

class FMProcKinds : public testsupport::TestEnvironment {};

const QString kNoMemory = QStringLiteral("Nav pieslēgta Fiskālā atmiņa !!!");

struct Outcomes {
    bool read, write, readGrand, writeGrand, count, serial;
};

Outcomes runAll(TFMProc& fm, QString& value, int& nr)
{
    Outcomes o{};
    double gt = -1, gv = -1, ds = -1, dv = -1;
    QDate date;
    QString time, check;
    int count = -5;
    QString serial = QStringLiteral("keep");
    o.read = fm.FMRead(QStringLiteral("POS_NR"), value);
    o.write = fm.FMWrite(QStringLiteral("POS_NR"), QStringLiteral("1"));
    o.readGrand = fm.FMReadGrand(-1, nr, gt, gv, date, time, ds, dv, check);
    o.writeGrand = fm.FMWriteGrand(3, QStringLiteral("ABCDEF12"), 100, 21, 100, 21);
    o.count = fm.FMGetRecordCount(count);
    o.serial = fm.FMSerialNr(serial);
    EXPECT_EQ(count, -5);
    EXPECT_EQ(serial, QStringLiteral("keep"));
    return o;
}

TEST_F(FMProcKinds, NoFiscalMemoryTellsTheUserOnEveryCall)
{
    setupInteger("FMTips", 0);
    TFMProc fm;
    EXPECT_EQ(fm.Status, -1);
    QString value = QStringLiteral("default");
    int nr = -7;
    const Outcomes o = runAll(fm, value, nr);
    EXPECT_FALSE(o.read);
    EXPECT_TRUE(o.write);
    EXPECT_TRUE(o.readGrand);
    EXPECT_TRUE(o.writeGrand);
    EXPECT_TRUE(o.count);
    EXPECT_FALSE(o.serial);
    EXPECT_EQ(value, QStringLiteral("default"));
    EXPECT_EQ(nr, -7);
    EXPECT_EQ(messages().texts().count(kNoMemory), 6);
    EXPECT_EQ(fm.Status, -1);
    EXPECT_FALSE(fm.FMEndSave());
}

// The ID card and kinds the class does not know have nothing behind them: every operation fails
// and leaves its outputs alone.
TEST_F(FMProcKinds, IdCardAndUnknownKindsFailEveryOperation)
{
    for (const int kind : {2, 7}) {
        setupInteger("FMTips", kind);
        TFMProc fm;
        EXPECT_EQ(fm.FMTips, kind);
        EXPECT_EQ(fm.Status, -1);
        QString value = QStringLiteral("default");
        int nr = -7;
        const Outcomes o = runAll(fm, value, nr);
        EXPECT_FALSE(o.read || o.write || o.readGrand || o.writeGrand || o.count || o.serial) << kind;
        EXPECT_EQ(value, QStringLiteral("default"));
        EXPECT_EQ(nr, -7);
        EXPECT_TRUE(messages().texts().isEmpty());
    }
}

TEST_F(FMProcKinds, SettingsAndTheirFallbacks)
{
    const struct {
        const char* name;
        std::function<void(platform::SettingsStore&)> setUp;
        int kind, port;
    } cases[] = {
        {"no key", [](platform::SettingsStore&) {}, 1, 2},
        {"key without values", [](platform::SettingsStore& s) { s.createKey(kSetupKey); }, 1, 1},
        {"kind as text", [](platform::SettingsStore& s) { s.writeText(kSetupKey, "FMTips", "7"); }, 7, 1},
        {"kind as integer", [](platform::SettingsStore& s) { s.writeInteger(kSetupKey, "FMTips", 7); }, 7, 1},
        {"kind not a number", [](platform::SettingsStore& s) { s.writeText(kSetupKey, "FMTips", "x"); }, 1, 1},
        {"port as integer", [](platform::SettingsStore& s) { s.writeInteger(kSetupKey, "FMTips", 7); s.writeInteger(kSetupKey, "FMPort", 4); }, 7, 4},
        {"port as text", [](platform::SettingsStore& s) { s.writeInteger(kSetupKey, "FMTips", 7); s.writeText(kSetupKey, "FMPort", "5"); }, 7, 5},
        {"port not a number", [](platform::SettingsStore& s) { s.writeInteger(kSetupKey, "FMTips", 7); s.writeText(kSetupKey, "FMPort", "COM5"); }, 7, 1},
    };
    // The module kind opens COMn: links to nothing make that fail at once.
    for (const char* com : {"COM1", "COM2"})
        std::filesystem::create_symlink(dir() / "no-such-tty", portsDir() / com);
    for (const auto& c : cases) {
        settings().deleteKey(kSetupKey);
        c.setUp(settings());
        TFMProc fm;
        EXPECT_EQ(fm.FMTips, c.kind) << c.name;
        EXPECT_EQ(fm.FMPort, c.port) << c.name;
    }
}

TEST_F(FMProcKinds, ErrorLogBlockLayout)
{
    setupInteger("FMTips", 3);  // no USB device attached: the open fails
    TFMProc fm;
    EXPECT_EQ(fm.Status, -1);
    fm.LogNote = QStringLiteral("Tillora kase");
    fm.LastReply = QStringLiteral("DeviceFailure");
    fm.FMError(4, QStringLiteral("CEKANRCOUN"), QStringLiteral("FMReadTVL"), QStringLiteral("buf"));
    fm.FMError(9, QString(), QStringLiteral("NN"), QString());
    const std::string log = testsupport::readFile(dir() / "error.log");
    EXPECT_EQ(log,
              "-------------------------------------\n"
              "Datums 02.03.2026 Laiks 10:15:00\n"
              "Tillora kase\n"
              "FMStatus            - FT_IO_ERROR\n"
              "Pazinojums          - DeviceFailure\n"
              "Atminas faila vards - CEKANRCOUN\n"
              "Komanda             - FMReadTVL\n"
              "Buffers             - buf\n"
              "-------------------------------------\n"
              "Datums 02.03.2026 Laiks 10:15:00\n"
              "Tillora kase\n"
              "FMStatus            - 9\n"
              "Pazinojums          - DeviceFailure\n"
              "Atminas faila vards - \n"
              "Komanda             - NN\n"
              "Buffers             - \n");
    EXPECT_TRUE(messages().shown(QStringLiteral("Problēmas ar fiskālo bloku !!!\n\nDeviceFailure")));
}

TEST_F(FMProcKinds, RecordSizeTable)
{
    setupInteger("FMTips", 7);
    TFMProc fm;
    const struct {
        const char* name;
        int size;
    } cases[] = {
        {"CEKAGALVA1", 40}, {"CEKAGALVA4", 40}, {"CEKANRCOUN", 11}, {"NOD_D_SUM", 251}, {"STORNO_SUM", 9},
        {"BANKA_SUM", 9}, {"BANKA_ATGR", 13}, {"VALUT_D_S", 331}, {"IELIKTS", 13}, {"X_REPORTNR", 11},
        {"POS_NR", 11}, {"VID_ID", 15}, {"APMVEID10", 15}, {"APMFLAG3", 1}, {"APM_SUM7", 13},
    };
    for (const auto& c : cases) {
        fm.RecordSize = -1;
        fm.FMRecordSize(QString::fromLatin1(c.name));
        EXPECT_EQ(fm.RecordSize, c.size) << c.name;
    }
    fm.RecordSize = 77;
    fm.FMRecordSize(QStringLiteral("PEDEJAPRECE"));  // created only: not in the table
    EXPECT_EQ(fm.RecordSize, 77);
}

}  // namespace
