// The program tillora-db run as a person runs it: from a folder without the schema files,
// making an empty and a demo till database, and refusing to replace an existing file.
#include "test_database.h"

#include "database.h"

#include <QDateTime>
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

TEST_F(TilloraDbProgram, AutodirekcijaMakesTheSecondDatabaseThatTakesTheReceipts) {
    const ProgramRun result = run({"autodirekcija", "AD.GDB"});
    ASSERT_EQ(result.exitCode, 0) << result.output.toStdString();
    QSqlDatabase db = open("AD.GDB");
    // The back office's INSERT, its parameters named in any case.
    testsupport::execSql(db, "INSERT INTO KASE (Klienta_id, Pasut_ID, KvitsNr, Cena, PVN, Summa, SummaApm, DatumsApm, Parskait, nodala, "
                             "filiale_ID, Grupa) VALUES (:Klienta_ID, :Pasut_ID, :KvitsNr, :Cena, :PVN, :Summa, :SummaApm, :DatumsApm, "
                             ":Parskait, :Nodala, :Filiale_ID, :grupa)",
                         {{"Klienta_ID", 7}, {"Pasut_ID", 512}, {"KvitsNr", 3}, {"Cena", 10.0}, {"PVN", 1.8}, {"Summa", 11.8},
                          {"SummaApm", 11.8}, {"DatumsApm", QDateTime(QDate(2015, 2, 10), QTime(0, 0))}, {"Parskait", 0},
                          {"Nodala", "L"}, {"Filiale_ID", "RI"}, {"grupa", "A"}});
    EXPECT_EQ(testsupport::selectValue(db, "SELECT ID || '|' || KVITSNR || '|' || GRUPA FROM KASE").toString(), "1|3|A");
}

TEST_F(TilloraDbProgram, RefusesToReplaceAnExistingFile) {
    for (const char* command : {"create", "demo", "stockara", "autodirekcija"}) {
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
