// The electronic journal: file name from the date and the next Z number, the second folder, the
// Backup move, the CRC-32, and the failures that stop the till.
#include "print_fixture.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void touch(const fs::path& file, const std::string& content = "old") {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

TEST_F(PrintFixture, FileNamedByDateAndNextZNumberOlderFilesToBackup) {
    touch(dir() / "El_Kontr" / "202603011.txt");
    touch(dir() / "El_Kontr" / "Backup" / "202602271.txt");
    touch(dir() / "El_Kontr" / "202603021.txt", "earlier run today\r\n");
    startPrinter(5);
    TPrintClass& p = open(5);
    // Without a fiscal memory there is no day-close record: 0 stands, the next Z is 1.
    EXPECT_EQ(p.ZNr, 0);
    EXPECT_EQ(p.KontrFails, QStringLiteral("202603021.txt"));
    EXPECT_EQ(p.KontrMape, dir() / "El_Kontr");
    EXPECT_TRUE(fs::exists(dir() / "El_Kontr" / "Backup" / "202603011.txt"));
    EXPECT_FALSE(fs::exists(dir() / "El_Kontr" / "202603011.txt"));
    EXPECT_TRUE(fs::exists(dir() / "El_Kontr" / "Backup" / "202602271.txt"));
    // A restart on the same day goes on with the same file.
    EXPECT_EQ(journalFile(), "earlier run today\r\n\r\n");
}

TEST_F(PrintFixture, WholeTextWithPerCentSignsAndLineFeeds) {
    startPrinter(6);
    TPrintClass& p = open(6);
    const QString text = QStringLiteral("Atlaide 10% no 100% cenas, rinda garāka par četrdesmit diviem burtiem");
    p.DrukaUzAbam(text, 1);
    p.DrukaUzCeka(QStringLiteral("viens\ndivi"), false, 2);
    EXPECT_EQ(journalFile(), "\r\n" + toCp1257(text) + "\r\nviens\r\ndivi\r\n");
}

TEST_F(PrintFixture, SecondFolderGetsEveryLineAndTheCheckValueComesFromIt) {
    touch(dir() / "second" / "El_Kontr" / "old.txt");
    setupText("Kontrollenta2", (dir() / "second").string());
    startPrinter(5);
    TPrintClass& p = open(5);
    EXPECT_EQ(p.KontrMape2, dir() / "second" / "El_Kontr");
    p.DrukaUzCeka(QStringLiteral("Ābele 100%"), false, 1);
    const fs::path second = p.KontrMape2 / p.KontrFails.toStdString();
    EXPECT_EQ(testsupport::readFile(second), "\r\n\xC2" "bele 100%\r\n");
    EXPECT_EQ(journalFile(), testsupport::readFile(second));
    EXPECT_TRUE(fs::exists(dir() / "second" / "El_Kontr" / "Backup" / "old.txt"));
    EXPECT_EQ(p.GetKontrollentasCRC(1), QStringLiteral("C7C7AB7C"));
    // The check value is of the second folder's copy.
    touch(second, "123456789");
    EXPECT_EQ(p.GetKontrollentasCRC(1), QStringLiteral("CBF43926"));
    EXPECT_EQ(p.GetKontrollentasCRC(2), QString());
}

TEST_F(PrintFixture, UnreadableZNumberIsAFailureTheCallerSees) {
    setupInteger("FMTips", 2);  // every fiscal-memory read fails
    startPrinter(5);
    TPrintClass& p = open(5);
    EXPECT_EQ(p.ZNr, -1);
    EXPECT_EQ(p.DrukaUzAbam(QStringLiteral("Ābele"), 0), kPrintJournalFailed);
    EXPECT_TRUE(fs::is_empty(dir() / "El_Kontr"));
    EXPECT_NE(testsupport::readFile("PrintErr.log").find("Komanda -WriteKontrollenta 1 \nError   -FMReadGrand\n"), std::string::npos);
    // The line was still printed.
    EXPECT_EQ(receipt().back(), "Ābele");
    EXPECT_THROW(p.GetKontrollentasCRC(1), std::runtime_error);
}

TEST_F(PrintFixture, JournalThatCannotBeOpenedEndsTheProgram) {
    touch(dir() / "El_Kontr" / "202603021.txt" / "in the way");  // a folder where the file should be
    startPrinter(5);
    EXPECT_THROW(open(5), platform::ui::ProgramEnded);
    EXPECT_TRUE(messages().shown(QStringLiteral("Nevarēju atvērt kontrollentas failu, darbs tiek pārtraukts !!!")));
}

TEST_F(PrintFixture, BackupFolderThatCannotBeMadeEndsTheProgram) {
    touch(dir() / "second" / "El_Kontr" / "Backup", "a file, not a folder");
    setupText("Kontrollenta2", (dir() / "second").string());
    startPrinter(5);
    EXPECT_THROW(open(5), platform::ui::ProgramEnded);
    EXPECT_TRUE(messages().shown(QStringLiteral("Nevarēju izveidot kontrollentas rezerves katalogu, darbs tiek pārtraukts !!!")));
}

TEST_F(PrintFixture, SecondJournalThatCannotBeOpenedEndsTheProgram) {
    setupText("Kontrollenta2", (dir() / "second").string());
    touch(dir() / "second" / "El_Kontr" / "202603021.txt" / "in the way");
    startPrinter(5);
    EXPECT_THROW(open(5), platform::ui::ProgramEnded);
    EXPECT_TRUE(messages().shown(QStringLiteral("Nevarēju atvērt 2. kontrollentas failu, darbs tiek pārtraukts !!!")));
}

TEST_F(PrintFixture, JournalLineThatDoesNotReachTheDiskIsAFailureTheCallerSees) {
    // The journal file on a full disk (/dev/full takes the open and refuses every byte), in the
    // first folder or in the second; the line kept open or closed after it.
    const struct {
        bool secondFolder;
        int journalMode;
    } cases[] = {{false, 1}, {false, 0}, {false, 2}, {true, 1}, {true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.secondFolder) + " mode " + std::to_string(c.journalMode));
        fs::remove_all(dir() / "El_Kontr");
        fs::remove_all(dir() / "second");
        fs::remove(dir() / "PrintErr.log");
        if (c.secondFolder) setupText("Kontrollenta2", (dir() / "second").string());
        startPrinter(5);
        TPrintClass& p = open(5);
        ASSERT_EQ(p.DrukaUzAbam(QStringLiteral("pirms"), 0), 0);
        const fs::path file = (c.secondFolder ? p.KontrMape2 : p.KontrMape) / p.KontrFails.toStdString();
        fs::remove(file);
        fs::create_symlink("/dev/full", file);

        EXPECT_EQ(p.DrukaUzAbam(QStringLiteral("Ābele"), c.journalMode), kPrintJournalFailed);
        EXPECT_EQ(p.DrukaUzCeka(QStringLiteral("Bumbieris"), false, c.journalMode), kPrintJournalFailed);
        EXPECT_NE(testsupport::readFile("PrintErr.log").find("Komanda -WriteKontrollenta 2 \nError   -" + file.string()),
                  std::string::npos)
            << testsupport::readFile("PrintErr.log");
        // The lines were still printed.
        EXPECT_EQ(receipt().back(), "Bumbieris");

        // Room again: the next line opens the file anew and lands in it.
        fs::remove(file);
        EXPECT_EQ(p.DrukaUzAbam(QStringLiteral("Ķirsis"), 0), 0);
        EXPECT_EQ(testsupport::readFile(file), toCp1257(QStringLiteral("Ķirsis")) + "\r\n");
        print.reset();
        printer->stop();
        settings().deleteValue(testsupport::kSetupKey, "Kontrollenta2");
    }
}

TEST(PrintJournal, MoveKeepsAnExistingTarget) {
    const fs::path d = fs::temp_directory_path() / ("tillora-move-" + std::to_string(::getpid()));
    fs::remove_all(d);
    touch(d / "a.txt", "new");
    touch(d / "Backup" / "a.txt", "kept");
    EXPECT_TRUE(TPrintClass::PartvietotFailu(d / "a.txt", d / "Backup" / "a.txt"));
    EXPECT_EQ(testsupport::readFile(d / "Backup" / "a.txt"), "kept");
    EXPECT_TRUE(fs::exists(d / "a.txt"));
    EXPECT_TRUE(TPrintClass::PartvietotFailu(d / "a.txt", d / "x" / "y" / "a.txt"));
    EXPECT_FALSE(fs::exists(d / "a.txt"));
    EXPECT_FALSE(TPrintClass::PartvietotFailu(d / "missing.txt", d / "Backup" / "missing.txt"));
    EXPECT_FALSE(TPrintClass::PartvietotFailu({}, d / "Backup" / "x"));
    EXPECT_EQ(TPrintClass::DatumsTeksts(2026, 3, 2), QStringLiteral("20260302"));
    fs::remove_all(d);
}

}  // namespace
