#include "settings_store.h"
#include "test_environment.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

using platform::SettingsStore;
using platform::ValueType;

namespace {

class SettingsStoreTest : public testsupport::TestEnvironment {};

const std::string kSetup = "Software\\TOVEL\\Tillora\\Setup";

TEST_F(SettingsStoreTest, MissingKeyMissingValueAndWrongTypeAreTold) {
    SettingsStore& s = settings();
    EXPECT_FALSE(s.keyExists(kSetup));
    EXPECT_FALSE(s.readInteger(kSetup, "Printeris"));

    s.writeInteger(kSetup, "Printeris", 4);
    s.writeText(kSetup, "EFT", "3");
    EXPECT_TRUE(s.keyExists(kSetup));
    EXPECT_TRUE(s.keyExists("Software\\TOVEL"));  // the keys above exist too
    EXPECT_FALSE(s.valueExists(kSetup, "FMTips"));

    EXPECT_EQ(s.valueType(kSetup, "Printeris"), ValueType::Integer);
    EXPECT_EQ(s.valueType(kSetup, "EFT"), ValueType::Text);
    EXPECT_EQ(s.valueType(kSetup, "FMTips"), ValueType::Missing);

    EXPECT_EQ(s.readInteger(kSetup, "Printeris"), 4);
    EXPECT_FALSE(s.readText(kSetup, "Printeris"));  // an integer is not text
    EXPECT_EQ(s.readText(kSetup, "EFT"), "3");
    EXPECT_FALSE(s.readInteger(kSetup, "EFT"));     // and text is not an integer
}

TEST_F(SettingsStoreTest, NamesAndKeysIgnoreCase) {
    settings().writeInteger(kSetup, "FMPort", 3);
    EXPECT_EQ(settings().readInteger("software\\tovel\\tillora\\SETUP", "fmport"), 3);
    settings().writeInteger("SOFTWARE\\TOVEL\\TILLORA\\SETUP", "FMPORT", 5);
    EXPECT_EQ(settings().valueNames(kSetup), std::vector<std::string>{"FMPort"});
    EXPECT_EQ(settings().readInteger(kSetup, "FMPort"), 5);
}

TEST_F(SettingsStoreTest, TextSurvivesQuotesBackslashesAndLatvianLetters) {
    const std::string tricky = "C:\\Kase\\\"Čeki\" ģērbtuve\\";
    settings().writeText(kSetup, "CekaKopijaPath", tricky);
    SettingsStore other(settings().path());  // another program reading the same file
    EXPECT_EQ(other.readText(kSetup, "CekaKopijaPath"), tricky);
}

TEST_F(SettingsStoreTest, NegativeAndLargeIntegersRoundTrip) {
    for (std::int32_t v : {0, -1, 2147483647, -2147483647 - 1, 115200}) {
        settings().writeInteger(kSetup, "V", v);
        EXPECT_EQ(settings().readInteger(kSetup, "V"), v);
    }
}

TEST_F(SettingsStoreTest, ReadsTheRegistryExportFormat) {
    std::ofstream(settings().path()) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\International]\n"
                                        "\"sDecimal\"=\",\"\n\n[HKEY_CURRENT_USER\\Software\\TOVEL\\Tillora\\Setup]\n"
                                        "\"FMTips\"=dword:00000003\n\"FMPort\"=\"4\"\n";
    EXPECT_EQ(settings().readText("Control Panel\\International", "sDecimal"), ",");
    EXPECT_EQ(settings().readInteger(kSetup, "FMTips"), 3);
    EXPECT_EQ(settings().readText(kSetup, "FMPort"), "4");
}

TEST_F(SettingsStoreTest, DeleteValueAndKeyWithItsSubkeys) {
    settings().writeInteger(kSetup, "A", 1);
    settings().writeInteger("Software\\TOVEL\\Tillora\\Password", "B", 2);
    EXPECT_TRUE(settings().deleteValue(kSetup, "A"));
    EXPECT_FALSE(settings().deleteValue(kSetup, "A"));
    EXPECT_TRUE(settings().keyExists(kSetup));  // an empty key stays
    EXPECT_TRUE(settings().deleteKey("Software\\TOVEL\\Tillora"));
    EXPECT_FALSE(settings().keyExists(kSetup));
    EXPECT_FALSE(settings().keyExists("Software\\TOVEL\\Tillora\\Password"));
    EXPECT_TRUE(settings().subkeyNames("Software\\TOVEL").empty());
}

TEST_F(SettingsStoreTest, ConcurrentWritersFromSeveralProcessesLoseNothing) {
    constexpr int kProcesses = 4;
    constexpr int kWrites = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = ::fork();
        if (pid == 0) {
            SettingsStore store(settings().path());
            for (int i = 0; i < kWrites; ++i) store.writeInteger(kSetup, "P" + std::to_string(p) + "_" + std::to_string(i), i);
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(settings().valueNames(kSetup).size(), std::size_t(kProcesses * kWrites));
    EXPECT_EQ(settings().readInteger(kSetup, "P3_39"), 39);
}

}  // namespace
