// Fiskon, the program and its one step, against both simulators.
#include "fm_working_records.h"
#include "fmtest_form.h"
#include "memorix_fixture.h"
#include "usb_fiscal_device.h"

#include <QFile>
#include <QProcess>

#include <functional>

namespace {

// Runs build/bin/fiskon with the test's settings and ports (and, as the tests run, on Qt's
// offscreen platform); its exit code, -1 when it hung. `errors` takes its standard error.
int runFiskon(QByteArray* errors = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(FISKON_PROGRAM), {});
    const bool finished = process.waitForFinished(60000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    if (errors)
        *errors = process.readAllStandardError();
    return finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

using FiskonOnModule = MemorixKind;

TEST_F(FiskonOnModule, FirstRunCreatesEveryRecordAndASecondRunNone)
{
    // The program opens the port itself, as a separate process would on a till.
    MEMORIX_CloseComPort();
    module().trace().clear();
    EXPECT_EQ(runFiskon(), 0);
    ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    ASSERT_EQ(fileCount(), int(fmrecords::all().size()));
    int index = -1;
    const std::string value = "00000000009";
    int size = 0;
    ASSERT_EQ(HT_Find("POS_NR", &index, &size), 0);
    ASSERT_EQ(HT_Write(index, value.data(), 0, size), 0);
    MEMORIX_CloseComPort();

    EXPECT_EQ(runFiskon(), 0);
    ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    EXPECT_EQ(fileCount(), int(fmrecords::all().size()));
    EXPECT_EQ(storedBytes("POS_NR"), value);
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
}

// A totals memory too small for every record: the step fails naming the first record that did
// not fit, and that record is not there. The records made before it stay, and a later run on a
// module with room creates only the ones missing.
TEST_F(FiskonOnModule, RecordsThatCannotBeCreatedAreReportedByName)
{
    MEMORIX_CloseComPort();
    sim::FiscalMemorySim::Options small;
    small.totalsSize = 2 * 2048;
    std::filesystem::remove(dir() / "small.bin");
    auto tiny = std::make_unique<sim::FiscalMemorySim>(dir() / "small.bin", small);
    module().stop();
    ASSERT_TRUE(tiny->start(portsDir(), "COM" + std::to_string(kPort)));
    ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    ASSERT_EQ(HT_ClearAll(), 0);
    MEMORIX_CloseComPort();

    const int usable = int(small.totalsSize / 2) - 1;
    int used = 2, fitting = 0;
    std::string firstMissing;
    for (const fmrecords::WorkingRecord& r : fmrecords::all()) {
        used += 16 + r.creationSize;
        if (used > usable) {
            firstMissing = std::string(r.name);
            break;
        }
        ++fitting;
    }
    ASSERT_FALSE(firstMissing.empty());

    std::unique_ptr<TFMProc> fm;
    EXPECT_FALSE(prepareFiscalMemory(fm));
    EXPECT_EQ(fm->UncreatedRecord, QString::fromStdString(firstMissing));
    EXPECT_TRUE(messages().shown(QStringLiteral("Fiskālajā blokā nav izveidots ieraksts %1 !!!").arg(QString::fromStdString(firstMissing))));
    EXPECT_NE(testsupport::readFile(dir() / "error.log").find("Atminas faila vards - " + firstMissing + "\n"), std::string::npos);
    EXPECT_EQ(fileCount(), fitting);
    EXPECT_EQ(storedSize(firstMissing), -1);

    tiny->stop();
}

// A run on a module that lacks some records adds only those, keeping what the others hold.
TEST_F(FiskonOnModule, RunAddsOnlyTheMissingRecords)
{
    std::unique_ptr<TFMProc> fm;
    ASSERT_TRUE(prepareFiscalMemory(fm));
    fm.reset();
    for (const char* name : {"IELIKTS", "APMFLAG5", "APM_SUM10"})
        ASSERT_EQ(HT_Delete(name), 0);
    const std::string posNr = "00000000007";
    int index = -1, size = 0;
    ASSERT_EQ(HT_Find("POS_NR", &index, &size), 0);
    ASSERT_EQ(HT_Write(index, posNr.data(), 0, size), 0);
    EXPECT_TRUE(prepareFiscalMemory(fm));
    EXPECT_TRUE(messages().texts().isEmpty());
    EXPECT_EQ(fileCount(), int(fmrecords::all().size()));
    EXPECT_EQ(storedBytes("POS_NR"), posNr);
    EXPECT_EQ(storedSize("APMFLAG5"), 1);
}

// A module that cannot be reached or read is reported as not there; a record is named only when the
// module answered and refused to create it.
TEST_F(FiskonOnModule, ModuleThatCannotBeReachedOrReadIsNotConnected)
{
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"silent", [this] { module().faults().arm("silent", 1000000); }},
        {"store never cleared",
         [this] {
             module().setTotalsBytes(0, sim::Bytes{0});
             module().setTotalsBytes(module().totalsSize() / 2, sim::Bytes{0});
         }},
    };
    for (const auto& [what, fault] : cases) {
        SCOPED_TRACE(what);
        messages().clear();
        MEMORIX_CloseComPort();  // a program of its own, as Fiskon runs
        fault();
        std::unique_ptr<TFMProc> fm;
        EXPECT_FALSE(prepareFiscalMemory(fm));
        EXPECT_TRUE(fm->UncreatedRecord.isEmpty());
        ASSERT_FALSE(messages().texts().isEmpty());
        EXPECT_EQ(messages().texts().last(), QStringLiteral("Nav pieslēgts fiskālais bloks !!!"));
        EXPECT_FALSE(messages().texts().join(u'\n').contains(QStringLiteral("nav izveidots ieraksts")));
        module().faults().disarm("silent");
    }
}

class FiskonOnUsb : public testsupport::TestEnvironment {};

TEST_F(FiskonOnUsb, OpensTheDeviceAndCreatesNothing)
{
    sim::UsbFiscalDevice device;
    ASSERT_TRUE(device.start(portsDir(), "FTDI0"));
    setupInteger("FMTips", 3);
    EXPECT_EQ(runFiskon(), 0);
    EXPECT_TRUE(device.requests().empty());
    EXPECT_TRUE(device.recordNames().empty());
    device.stop();
}

TEST_F(FiskonOnUsb, DeviceMissingIsNotReady)
{
    setupInteger("FMTips", 3);
    std::unique_ptr<TFMProc> fm;
    EXPECT_FALSE(prepareFiscalMemory(fm));
    ASSERT_TRUE(fm);
    EXPECT_EQ(fm->Status, -1);
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("Nav pieslēgts fiskālais bloks !!!")});
}

class FiskonStep : public testsupport::TestEnvironment {};

TEST_F(FiskonStep, WithNoScreenItsMessageGoesToStandardErrorAndItEnds)
{
    // As the headless demo runs it: nobody could answer a box, so none may wait.
    setupInteger("FMTips", 0);
    QByteArray errors;
    EXPECT_NE(runFiskon(&errors), -1);
    EXPECT_TRUE(QString::fromUtf8(errors).contains(QStringLiteral("Nav pieslēgts fiskālais bloks !!!"))) << errors.toStdString();
}

TEST_F(FiskonStep, KindsThatAreNotReadyTellTheUser)
{
    for (const int kind : {0, 2, 9}) {
        messages().clear();
        setupInteger("FMTips", kind);
        std::unique_ptr<TFMProc> fm;
        EXPECT_FALSE(prepareFiscalMemory(fm)) << kind;
        EXPECT_TRUE(messages().shown(QStringLiteral("Nav pieslēgts fiskālais bloks !!!"))) << kind;
    }
}

}  // namespace
