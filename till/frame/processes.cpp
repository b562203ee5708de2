#include "processes.h"

#include "clock.h"

#include <algorithm>
#include <cctype>

std::optional<std::vector<platform::ProcessEntry>> SystemProcessControl::snapshot() {
    auto list = platform::processSnapshot();
    if (list.empty()) return std::nullopt;  // /proc unreadable: not even this process is listed
    return list;
}

int SystemProcessControl::ownProcessId() { return platform::currentProcessId(); }

bool SystemProcessControl::terminate(int pid) { return platform::terminateProcess(pid); }

bool IsTilloraExeName(const std::string& exeName) {
    std::string name = exeName;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    const std::string exe = ".EXE";
    if (name.size() > exe.size() && name.compare(name.size() - exe.size(), exe.size(), exe) == 0)
        name.resize(name.size() - exe.size());
    return name == "TILLORA";
}

InstanceCheck CheckSingleInstance(ProcessControl& processes) {
    const auto list = processes.snapshot();
    if (!list) return InstanceCheck::NoSnapshot;
    const int own = processes.ownProcessId();
    int count = 0;
    for (const auto& entry : *list) {
        const bool tillora = IsTilloraExeName(entry.exeName);
        if (entry.pid == own && !tillora) return InstanceCheck::WrongExeName;
        if (tillora) ++count;
    }
    return count > 1 ? InstanceCheck::SecondCopy : InstanceCheck::Alone;
}

namespace {

bool endMatching(ProcessControl& processes, const std::vector<platform::ProcessEntry>& list,
                 const std::vector<std::string>& names) {
    bool ended = false;
    for (const auto& entry : list) {
        if (std::find(names.begin(), names.end(), entry.exeName) == names.end()) continue;
        // A process that cannot be ended is passed over.
        if (processes.terminate(entry.pid)) ended = true;
    }
    return ended;
}

}  // namespace

bool KillProcessByName(ProcessControl& processes, const std::vector<std::string>& names) {
    const auto list = processes.snapshot();
    if (!list || list->empty()) return false;
    endMatching(processes, *list, names);
    return true;
}

bool EndOldProcesses(ProcessControl& processes) {
    const auto list = processes.snapshot();
    if (!list || list->empty()) return false;
    platform::clock().sleepMs(200);
    return endMatching(processes, *list, kStrayMainProgramNames);
}

namespace {
ProcessControl* installedControl = nullptr;
}

ProcessControl& CurrentProcessControl() {
    static SystemProcessControl system;
    return installedControl ? *installedControl : system;
}

void SetProcessControl(ProcessControl* control) { installedControl = control; }
