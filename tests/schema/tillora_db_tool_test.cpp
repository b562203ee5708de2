// The program tillora-db run as a person runs it: from a folder without the schema files,
// making an empty and a demo till database, and refusing to replace an existing file.
#include "test_database.h"

#include "database.h"

#include <QProcess>

#include <fstream>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString output;
};

class TilloraDbProgram : public testsupport::TestEnvironment {
protected:
    ProgramRun run(const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(dir().string()));
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(TILLORA_DB_PROGRAM, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(process.readAll())};
    }

    QSqlDatabase open(const QString& file) {
        return platform::openDatabaseAt(platform::parseDatabaseLocation((dir() / file.toStdString()).string()), "TOOL_CHECK");
    }

    void TearDown() override {
        if (QSqlDatabase::contains("TOOL_CHECK")) platform::closeDatabase("TOOL_CHECK");
        testsupport::TestEnvironment::TearDown();
    }
};

TEST_F(TilloraDbProgram, CreateMakesAnEmptyTillDatabase) {
    const ProgramRun result = run({"create", "POS_DATI.GDB"});
    ASSERT_EQ(result.exitCode, 0) << result.output.toStdString();
    {
        QSqlDatabase db = open("POS_DATI.GDB");
        EXPECT_EQ(testsupport::selectValue(db, "SELECT COUNT(*) FROM N_ISI").toInt(), 1);
        EXPECT_EQ(testsupport::selectValue(db, "SELECT COUNT(*) FROM N_PRECE").toInt(), 0);
        EXPECT_EQ(testsupport::selectValue(db, "SELECT COUNT(*) FROM O_PASUT").toInt(), 0);
    }
}

TEST_F(TilloraDbProgram, DemoMakesATillWithDemoData) {
    const ProgramRun result = run({"demo", "demo.gdb"});
    ASSERT_EQ(result.exitCode, 0) << result.output.toStdString();
    {
        QSqlDatabase db = open("demo.gdb");
        EXPECT_EQ(testsupport::selectValue(db, "SELECT FULLNAME FROM O_USERS WHERE GNOS='ADMIN'").toString(), "Administrators");
        EXPECT_EQ(testsupport::selectValue(db, "SELECT GNOS FROM N_PRECE WHERE ARTIKULS='204'").toString(), QString::fromUtf8("Ķirbju zupa"));
    }
}

TEST_F(TilloraDbProgram, RefusesToReplaceAnExistingFile) {
    for (const char* command : {"create", "demo", "stockara"}) {
        SCOPED_TRACE(command);
        const auto file = dir() / "POS_DATI.GDB";
        std::ofstream(file) << "till data";
        const ProgramRun result = run({command, "POS_DATI.GDB"});
        EXPECT_NE(result.exitCode, 0);
        EXPECT_TRUE(result.output.contains("exists already")) << result.output.toStdString();
        EXPECT_EQ(testsupport::readFile(file), "till data");
    }
}

TEST_F(TilloraDbProgram, WrongUseShowsTheUsage) {
    for (const QStringList& arguments : {QStringList{}, QStringList{"create"}, QStringList{"drop", "x.gdb"}}) {
        const ProgramRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.output.contains("Usage: tillora-db create FILE")) << result.output.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(dir() / "x.gdb"));
}

TEST_F(TilloraDbProgram, FolderThatCannotHoldTheFileIsAFailure) {
    const ProgramRun result = run({"create", "no/such/folder/POS_DATI.GDB"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.output.contains("tillora-db: ")) << result.output.toStdString();
}

}  // namespace
