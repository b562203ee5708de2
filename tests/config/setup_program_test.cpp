// TilloraConfig run as a program: the decimal-symbol check and the unattended save an
// installation script uses.
#include "setup_entries.h"
#include "setup_fixture.h"

#include <QProcess>

#include <fstream>

namespace setuptest {
namespace {

class SetupProgram : public SetupOnModule {
protected:
    // Runs build/bin/tilloraconfig with the test's settings and ports; its exit code, -1 when it
    // hung. The module's port is the program's while it runs.
    int runProgram(const QStringList& arguments, QByteArray* errors = nullptr)
    {
        MEMORIX_CloseComPort();
        QProcess process;
        process.start(QStringLiteral(TILLORACONFIG_PROGRAM), arguments);
        const bool finished = process.waitForFinished(60000);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        if (errors) *errors = process.readAllStandardError();
        EXPECT_EQ(MEMORIX_OpenComPort(kModulePort, 115200), 0);
        return finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

TEST_F(SetupProgram, SavesTheEntriesOfAFile)
{
    settings().writeText("Control Panel\\International", "sDecimal", ".");
    exec(QStringLiteral("INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 1, 'N', 21)"));
    std::ofstream(dir() / "entries.txt") << "Rinda_1=SIA Demo\nedApmVeids2=Pārskaitījums\nchkApmFlag2=T\n\n";
    EXPECT_EQ(runProgram({QStringLiteral("--save"), QStringLiteral("entries.txt")}), 0);
    EXPECT_EQ(record("CEKAGALVA1").trimmed(), QStringLiteral("SIA Demo"));
    EXPECT_EQ(record("CEKAGALVA2").trimmed(), QStringLiteral("Rīga, Brīvības 1"));
    EXPECT_EQ(record("APMVEID2").trimmed(), QStringLiteral("Pārskaitījums"));
    EXPECT_EQ(record("APMFLAG2"), QStringLiteral("T"));
    EXPECT_EQ(record("NOD_D_SUM").left(20), QStringLiteral("21       0 0       0"));
}

TEST_F(SetupProgram, LineNamingNoFieldChangesNothing)
{
    std::ofstream(dir() / "entries.txt") << "Rinda_1=SIA Demo\nRinda_9=x\n";
    QByteArray errors;
    EXPECT_EQ(runProgram({QStringLiteral("--save"), QStringLiteral("entries.txt")}, &errors), 1);
    EXPECT_TRUE(QString::fromUtf8(errors).contains(QStringLiteral("Nesaprotu rindu \"Rinda_9=x\" !!!"))) << errors.toStdString();
    EXPECT_EQ(record("CEKAGALVA1").trimmed(), QStringLiteral("SIA Veikals"));
}

TEST_F(SetupProgram, DecimalCommaRefusesToStart)
{
    settings().writeText("Control Panel\\International", "sDecimal", ",");
    std::ofstream(dir() / "entries.txt") << "Rinda_1=SIA Demo\n";
    QByteArray errors;
    EXPECT_EQ(runProgram({QStringLiteral("--save"), QStringLiteral("entries.txt")}, &errors), 0);
    EXPECT_TRUE(QString::fromUtf8(errors).contains(QStringLiteral("Decimālzīmes formātam jābūt punktam(.)"))) << errors.toStdString();
    EXPECT_EQ(record("CEKAGALVA1").trimmed(), QStringLiteral("SIA Veikals"));
}

}  // namespace
}  // namespace setuptest
