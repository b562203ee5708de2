#include "codepage_1257.h"
#include "latdosrm.h"
#include "ledvik_settings.h"
#include "ledvik_switches.h"
#include "process_log.h"
#include "transfer_steps.h"

#include "test_environment.h"

#include <map>

namespace {

class LedvikRulesTest : public testsupport::TestEnvironment {};

TEST_F(LedvikRulesTest, SwitchesChooseStepsPeriodAndZNumber) {
    struct Case {
        const char* commandLine;
        const char* boxes;  // the set boxes among s1..s5, r1, r2, as "1......" (1 set)
        std::optional<QDate> from, to;
        std::optional<QString> z;
    };
    const Case cases[] = {
        {"s1r1", "1....1.", {}, {}, {}},
        {"dno01.02.2015 dlidz28.02.2015 -z17 r1", ".....1.", QDate(2015, 2, 1), QDate(2015, 2, 28), QStringLiteral("17")},
        {"s2 s3 s4 s5 r2", ".1111.1", {}, {}, {}},
        {"run now", ".......", {}, {}, {}},
        {"S1 R1", ".......", {}, {}, {}},
        {"r1 -z", ".....1.", {}, {}, QString()},
        {"-z r1", ".....1.", {}, {}, QString()},
        {"-z5 -z6", ".......", {}, {}, QStringLiteral("5")},
    };
    for (const Case& c : cases) {
        const LedvikSwitches s = ParseLedvikSwitches(QString::fromLatin1(c.commandLine));
        const bool boxes[] = {s.Preces, s.Klienti, s.Valutas, s.Users, s.Nodalas, s.R_ARTIK, s.R_KONTR};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(boxes[i], c.boxes[i] == '1') << c.commandLine << " box " << i;
        EXPECT_EQ(s.DatumsNo, c.from) << c.commandLine;
        EXPECT_EQ(s.DatumsLidz, c.to) << c.commandLine;
        EXPECT_EQ(s.Z_Nr, c.z) << c.commandLine;
    }
}

TEST_F(LedvikRulesTest, ADateThatIsNoDateStopsTheRun) {
    for (const char* commandLine : {"dno32.01.2015 r1", "s1 dlidz2015", "dnoxx.01.2015"}) {
        try {
            ParseLedvikSwitches(QString::fromLatin1(commandLine));
            ADD_FAILURE() << commandLine;
        } catch (const SwitchError& e) {
            EXPECT_NE(std::string(e.what()).find("is not a valid date"), std::string::npos) << e.what();
        }
    }
}

TEST_F(LedvikRulesTest, LatDosToWinChangesTheLatvianLettersOnly) {
    const std::map<int, int> letters = {{0xB5, 0xC2}, {0xB7, 0xF2}, {0xC6, 0xE2}, {0xD0, 0xD0}, {0xD2, 0xE8}, {0xD3, 0xC8},
                                        {0xD6, 0xEC}, {0xD7, 0xCE}, {0xD8, 0xEE}, {0xDD, 0xFB}, {0xDE, 0xDB}, {0xF0, 0xC7},
                                        {0xF1, 0xE7}, {0xF2, 0xCC}, {0xF3, 0xED}, {0xF4, 0xCD}, {0xF5, 0xEF}, {0xF6, 0xCF},
                                        {0xF7, 0xFE}, {0xF8, 0xDE}, {0xFC, 0xD2}, {0xFD, 0xF0}};
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const std::string converted = LatDosToWin(all);
    ASSERT_EQ(converted.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        const auto letter = letters.find(b);
        EXPECT_EQ(static_cast<unsigned char>(converted[std::size_t(b)]), letter == letters.end() ? b : letter->second) << std::hex << b;
    }
    EXPECT_EQ(LatDosToWin(""), "");
}

TEST_F(LedvikRulesTest, NoapalotRoundsHalfAwayFromZeroForPositiveValues) {
    struct Case {
        int n;
        double value, rounded;
    };
    const Case cases[] = {{2, 1.2375, 1.24}, {2, 1.2349, 1.23}, {0, 2.5, 3}, {0, 2.49, 2}, {2, 0, 0}, {0, -2.5, -3}, {1, 0.05, 0.1}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(Noapalot(c.n, c.value), c.rounded) << c.n << " " << c.value;
}

TEST_F(LedvikRulesTest, LogLinesAreDateTimeAndTextInTheFile) {
    clock().set(std::chrono::system_clock::from_time_t(0));
    const platform::LocalTime at{2015, 2, 3, 9, 5, 7, 0, 2};
    EXPECT_EQ(ProcessLogLine(at, QStringLiteral("Suta preces : OK")), QStringLiteral("03.02.2015 09:05:07 Suta preces : OK"));
    QStringList shown;
    ProcessLog log([&](const QString& line) { shown << line; });
    log.LogProcess(QStringLiteral("Saņem R_ARTIK : Sāku procesu"));
    log.LogProcess(QStringLiteral("Suta preces : OK"));
    ASSERT_EQ(shown.size(), 2);
    const platform::LocalTime now = platform::localNow();
    EXPECT_EQ(shown[1], ProcessLogLine(now, QStringLiteral("Suta preces : OK")));
    // Windows-1257 lines with CR LF, appended.
    const std::string file = testsupport::readFile(dir() / "Ledvik.log");
    EXPECT_EQ(file, toCp1257(shown[0]) + "\r\n" + toCp1257(shown[1]) + "\r\n");
    EXPECT_NE(file.find("Sa\xF2""em"), std::string::npos);
}

TEST_F(LedvikRulesTest, SettingsAreReadInGroups) {
    const char* const kBooleans[] = {"Preces", "Klienti", "Valutas", "Nodalas", "R_ARTIK", "R_KONTR", "BrivaCena", "USERS",
                                     "RealizSun", "SanemPrecesDAT", "AtdKase", "AutoDirekcija"};
    const auto writeAll = [&] {
        settings().deleteKey(testsupport::kSetupKey);
        for (const char* name : kBooleans) setupInteger(name, 1);
        setupText("NaudaLimits", "250.00");
        setupText("DBFDir", "/srv/dbf/ITEMS.DBF");
        setupText("DemoRinda_1", "Rinda 1");
        setupText("DemoRinda_2", "Rinda 2");
    };

    // No key: the design values and the default display lines.
    LedvikSettings s = LoadLedvikSettings(settings());
    EXPECT_FALSE(s.checks.Preces);
    EXPECT_EQ(s.NaudaLimits, "600.00");
    EXPECT_EQ(s.DemoRinda_1, kDefaultDemoRinda1);
    EXPECT_EQ(s.DemoRinda_2, kDefaultDemoRinda2);

    writeAll();
    s = LoadLedvikSettings(settings());
    EXPECT_TRUE(s.checks.Preces && s.checks.BrivaCena && s.checks.Users && s.checks.AtdKase && s.IsAutoDirekcija);
    EXPECT_EQ(s.NaudaLimits, "250.00");
    EXPECT_EQ(s.DBFDir, "/srv/dbf/ITEMS.DBF");

    // A missing Preces leaves its whole group, the cash limit too, at the design values.
    settings().deleteValue(testsupport::kSetupKey, "Preces");
    s = LoadLedvikSettings(settings());
    EXPECT_FALSE(s.checks.Klienti || s.checks.R_KONTR || s.checks.BrivaCena);
    EXPECT_EQ(s.NaudaLimits, "600.00");
    EXPECT_TRUE(s.checks.Users);

    // A missing USERS touches nothing else; a boolean stored as text is a failed read.
    writeAll();
    settings().deleteValue(testsupport::kSetupKey, "USERS");
    setupText("R_KONTR", "1");
    s = LoadLedvikSettings(settings());
    EXPECT_FALSE(s.checks.Users);
    EXPECT_TRUE(s.checks.Preces && s.checks.Valutas && s.checks.R_ARTIK);
    EXPECT_FALSE(s.checks.R_KONTR || s.checks.BrivaCena);
    EXPECT_EQ(s.NaudaLimits, "600.00");
    EXPECT_TRUE(s.checks.RealizSun);

    // A key without NaudaLimits: an empty limit. An empty first display line gets the default.
    writeAll();
    settings().deleteValue(testsupport::kSetupKey, "NaudaLimits");
    setupText("DemoRinda_1", "");
    s = LoadLedvikSettings(settings());
    EXPECT_EQ(s.NaudaLimits, "");
    EXPECT_EQ(s.DemoRinda_1, kDefaultDemoRinda1);
    EXPECT_EQ(s.DemoRinda_2, "Rinda 2");

    // Written back as integers and texts; AutoDirekcija is never written.
    settings().deleteKey(testsupport::kSetupKey);
    s.checks = {};
    s.checks.Preces = true;
    SaveLedvikSettings(settings(), s);
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "Preces"), 1);
    EXPECT_EQ(settings().readInteger(testsupport::kSetupKey, "USERS"), 0);
    EXPECT_EQ(settings().readText(testsupport::kSetupKey, "DemoRinda_1"), kDefaultDemoRinda1.toStdString());
    EXPECT_FALSE(settings().valueExists(testsupport::kSetupKey, "AutoDirekcija"));
}

}  // namespace
