// TLedvik::LogProcess: the back office's process log, one line per event of a pass, shown in the
// window's list and appended to "Ledvik.log" in the working folder.
#pragma once

#include "clock.h"

#include <QString>

#include <filesystem>
#include <functional>

inline constexpr const char* kLedvikLogFile = "Ledvik.log";

// "date time text", date and time in the system's short formats.
QString ProcessLogLine(const platform::LocalTime& now, const QString& text);

class ProcessLog {
public:
    // `show` receives each line as well (the window's list); may be empty.
    explicit ProcessLog(std::function<void(const QString&)> show = {}, std::filesystem::path file = kLedvikLogFile);

    // Builds the line from the clock's now and appends it to the file (Windows-1257, CR LF).
    // A file that cannot be opened loses the line; the list still gets it.
    void LogProcess(const QString& text);
    // The same for a line telling that something of the pass could not be done; the lines are
    // counted, so the pass knows which tills failed.
    void LogFailure(const QString& text);
    int FailureCount() const { return failures_; }

private:
    std::function<void(const QString&)> show_;
    std::filesystem::path file_;
    int failures_ = 0;
};
