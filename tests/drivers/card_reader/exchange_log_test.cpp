// "Draveldll.log": its line format and its rotation at 2 MiB.
#include "exchange_log.h"
#include "test_environment.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace std::string_literals;

using ExchangeLogTest = testsupport::TestEnvironment;

void fill(const fs::path& file, std::uintmax_t size) {
    std::ofstream out(file, std::ios::binary);
    out << std::string(size, 'x');
}

TEST_F(ExchangeLogTest, EachLineCarriesDateTimeAndMillisecondsAndEndsWithLfAndZero) {
    cardeon::WriteLog("Send packet: [0x05]");
    clock().advance(3h + 4min + 5s + 67ms);
    cardeon::WriteLog("Wait for aonswer timeout");
    EXPECT_EQ(testsupport::readFile(dir() / "Draveldll.log"),
              "02.03.2026 10:15:00:0-Send packet: [0x05]\n\0"s
              "02.03.2026 13:19:05:67-Wait for aonswer timeout\n\0"s);
}

TEST_F(ExchangeLogTest, AFullLogIsMovedAsideUnderAFreeName) {
    struct Case {
        const char* what;
        std::uintmax_t size;
        bool oneUnderscoreTaken;
        const char* movedTo;  // empty: the log goes on
    };
    const Case cases[] = {
        {"one byte short of 2 MiB", cardeon::kLogLimit - 1, false, ""},
        {"2 MiB", cardeon::kLogLimit, false, "_Draveldll.log"},
        {"2 MiB with the underscore name taken", cardeon::kLogLimit, true, "__Draveldll.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"Draveldll.log", "_Draveldll.log", "__Draveldll.log"}) fs::remove(dir() / name);
        fill(dir() / "Draveldll.log", c.size);
        if (c.oneUnderscoreTaken) fill(dir() / "_Draveldll.log", 10);
        cardeon::WriteLog("line");
        const std::uintmax_t lineSize = std::string("02.03.2026 10:15:00:0-line\n").size() + 1;
        if (*c.movedTo) {
            EXPECT_EQ(fs::file_size(dir() / c.movedTo), c.size);
            EXPECT_EQ(fs::file_size(dir() / "Draveldll.log"), lineSize);
        } else {
            EXPECT_EQ(fs::file_size(dir() / "Draveldll.log"), c.size + lineSize);
        }
        if (c.oneUnderscoreTaken) {
            EXPECT_EQ(fs::file_size(dir() / "_Draveldll.log"), 10u);
        }
    }
}

}  // namespace
