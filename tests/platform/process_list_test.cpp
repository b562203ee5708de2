#include "library_loader.h"
#include "process_list.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

TEST(ProcessListTest, ListsTheRunningProgramUnderItsFileName) {
    const std::string self = platform::currentExeName();
    EXPECT_EQ(self, "platform_tests");
    auto list = platform::processSnapshot();
    auto it = std::find_if(list.begin(), list.end(), [](const auto& e) { return e.pid == platform::currentProcessId(); });
    ASSERT_NE(it, list.end());
    EXPECT_EQ(it->exeName, self);
}

TEST(ProcessListTest, TerminatesAnotherProcess) {
    pid_t child = ::fork();
    if (child == 0) {
        ::execl("/bin/sleep", "sleep", "30", nullptr);
        ::_exit(127);
    }
    // The child shows under its new program's name once exec has happened.
    bool seen = false;
    for (int i = 0; i < 200 && !seen; ++i) {
        for (const auto& e : platform::processSnapshot()) seen |= (e.pid == child && e.exeName == "sleep");
        if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(seen);
    EXPECT_TRUE(platform::terminateProcess(child));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(platform::terminateProcess(0));
}

TEST(LibraryLoaderTest, AWindowsPathLoadsWhatItIsMappedTo) {
    platform::LoadedLibrary lib;
    EXPECT_FALSE(lib.load("c:\\Arcus2\\dll\\arccom.dll"));
    EXPECT_FALSE(lib.error().empty());
    platform::LoadedLibrary::substitute("c:\\Arcus2\\dll\\arccom.dll", "libz.so.1");
    ASSERT_TRUE(lib.load("c:\\Arcus2\\dll\\arccom.dll"));
    EXPECT_NE(lib.symbol("crc32"), nullptr);
    EXPECT_EQ(lib.symbol("ProcessOw"), nullptr);
    platform::LoadedLibrary::clearSubstitutions();
}

}  // namespace
