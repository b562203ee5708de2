// The till's dealings with other running programs: the single-instance guard, ending stray
// copies of the main program and ending the fiscal-memory tool, over a replaceable process list.
#pragma once

#include "process_list.h"

#include <optional>
#include <string>
#include <vector>

// Where the till gets the process list and ends processes; tests put a scripted list in its place.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    // Empty when the list cannot be taken.
    virtual std::optional<std::vector<platform::ProcessEntry>> snapshot() = 0;
    virtual int ownProcessId() = 0;
    virtual bool terminate(int pid) = 0;
};

// The running system's processes.
class SystemProcessControl : public ProcessControl {
public:
    std::optional<std::vector<platform::ProcessEntry>> snapshot() override;
    int ownProcessId() override;
    bool terminate(int pid) override;
};

enum class InstanceCheck { Alone, NoSnapshot, WrongExeName, SecondCopy };

inline const char* const kNoSnapshotMessage = "Nevarējmu notestēt palaisto aplikāciju skaitu !!!";
inline const char* const kWrongExeNameMessage = "Palaižamā faila vārdam jābūt TILLORA.EXE !!!";
inline const char* const kSecondCopyMessage = "Vienlaicīgi atvērt divas sistēmas nedrīkst !!!";

// The till's executable must be named TILLORA.EXE, letter case aside. Programs here have no
// ".EXE", so a name counts as the till's when, upper-cased and with a trailing ".EXE" removed,
// it is "TILLORA" ("tillora", "Tillora.exe" and "TILLORA.EXE" all count).
bool IsTilloraExeName(const std::string& exeName);

// The own process must bear the till's name, and no other process may.
InstanceCheck CheckSingleInstance(ProcessControl& processes);

// Ends every process whose name equals one of the names exactly (letter case counts). The
// Windows name "X.exe" and the name here "X" are both given by the callers. False when the list
// cannot be read or is empty; true otherwise, also when nothing matched.
bool KillProcessByName(ProcessControl& processes, const std::vector<std::string>& names);

// Stray copies of the main program, ended by the splash: "TilloraMain.exe" and its name here.
inline const std::vector<std::string> kStrayMainProgramNames{"TilloraMain.exe", "TilloraMain"};
// The fiscal-memory initialisation tool, ended before the fiscal memory is opened.
inline const std::vector<std::string> kFiskonNames{"Fiskon.exe", "fiskon"};

// The splash's ending of stray main programs: whether at least one was ended. Waits 200 ms on the
// platform clock before walking the list.
bool EndOldProcesses(ProcessControl& processes);

// The process list the till uses: the system's unless a test installed another (nullptr puts the
// system's back). The caller keeps ownership.
ProcessControl& CurrentProcessControl();
void SetProcessControl(ProcessControl* control);
