#include "process_log.h"

#include "codepage_1257.h"
#include "regional.h"

#include <fstream>

QString ProcessLogLine(const platform::LocalTime& now, const QString& text) {
    return QString::fromStdString(platform::shortDateText(now.year, now.month, now.day)) + u' ' +
           QString::fromStdString(platform::timeText(now.hour, now.minute, now.second)) + u' ' + text;
}

ProcessLog::ProcessLog(std::function<void(const QString&)> show, std::filesystem::path file)
    : show_(std::move(show)), file_(std::move(file)) {}

void ProcessLog::LogProcess(const QString& text) {
    const QString line = ProcessLogLine(platform::localNow(), text);
    if (show_) show_(line);
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    if (out) out << toCp1257(line) << "\r\n";
}

void ProcessLog::LogFailure(const QString& text) {
    ++failures_;
    LogProcess(text);
}
