// A process list the test writes: the till's own process and whatever else is "running".
#pragma once

#include "processes.h"

#include <optional>
#include <vector>

class ScriptedProcesses : public ProcessControl {
public:
    static constexpr int kOwnPid = 4242;

    ScriptedProcesses() { list = std::vector<platform::ProcessEntry>{{kOwnPid, "tillora"}}; }
    std::optional<std::vector<platform::ProcessEntry>> snapshot() override { return list; }
    int ownProcessId() override { return kOwnPid; }
    bool terminate(int pid) override {
        terminated.push_back(pid);
        return true;
    }

    void add(int pid, const std::string& name) { list->push_back({pid, name}); }
    void setOwnName(const std::string& name) { (*list)[0].exeName = name; }

    std::optional<std::vector<platform::ProcessEntry>> list;
    std::vector<int> terminated;
};

// Installs the scripted list for the life of the object.
struct ProcessListScope {
    explicit ProcessListScope(ProcessControl& control) { SetProcessControl(&control); }
    ~ProcessListScope() { SetProcessControl(nullptr); }
};
