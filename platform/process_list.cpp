#include "process_list.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace platform {
namespace {

// The program's file name as the kernel started it: the link /proc/PID/exe, or for a process
// whose binary is gone or unreadable, the first word of its command line.
std::string exeNameOf(const std::filesystem::path& procDir) {
    std::error_code ec;
    auto target = std::filesystem::read_symlink(procDir / "exe", ec);
    if (!ec) {
        std::string name = target.filename().string();
        const std::string deleted = " (deleted)";
        if (name.size() > deleted.size() && name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
            name.resize(name.size() - deleted.size());
        return name;
    }
    std::ifstream cmdline(procDir / "cmdline", std::ios::binary);
    std::string first;
    std::getline(cmdline, first, '\0');
    return std::filesystem::path(first).filename().string();
}

}  // namespace

std::vector<ProcessEntry> processSnapshot() {
    std::vector<ProcessEntry> list;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string dir = entry.path().filename().string();
        char* end = nullptr;
        long pid = std::strtol(dir.c_str(), &end, 10);
        if (dir.empty() || *end != 0 || pid <= 0) continue;
        std::string name = exeNameOf(entry.path());
        if (!name.empty()) list.push_back(ProcessEntry{int(pid), name});
    }
    return list;
}

int currentProcessId() { return int(::getpid()); }

std::string currentExeName() { return exeNameOf("/proc/self"); }

// Unconditional, as TerminateProcess is: a program that catches SIGTERM (the embedded database
// engine does) would otherwise stay.
bool terminateProcess(int pid) { return pid > 0 && ::kill(pid, SIGKILL) == 0; }

}  // namespace platform
