// The running processes and their termination, in place of the Windows process snapshot.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct ProcessEntry {
    int pid = 0;
    // The executable's file name without its folder, as a process snapshot lists it
    // (the Windows programs' names with ".exe" are matched against this by the callers).
    std::string exeName;
};

std::vector<ProcessEntry> processSnapshot();
int currentProcessId();
// The running program's own file name without its folder.
std::string currentExeName();
// Ends the process at once; true when the signal was delivered.
bool terminateProcess(int pid);

}  // namespace platform
