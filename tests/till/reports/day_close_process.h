// Starts the day-close test process (day_close_process.cpp) in the test's folder, with the test's
// settings, ports and clock time, and drives it: wait for its append, kill it, let it go on.
// The test's own use of the module's port must be closed first (MEMORIX_CloseComPort), as a
// program that ended would have left it.
#pragma once

#include "clock.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>

class DayCloseProcess {
public:
    // mode "z" (the day close, pausing after the append) or "recover" (the start-up's recovery);
    // rates as "USD=0.9".
    explicit DayCloseProcess(const QString& mode, const QStringList& rates = {})
    {
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(platform::clock().now().time_since_epoch()).count();
        process_.start(QStringLiteral(DAY_CLOSE_PROCESS), QStringList{mode, QString::number(seconds)} + rates);
        process_.waitForStarted(30000);
    }
    ~DayCloseProcess()
    {
        if (process_.state() != QProcess::NotRunning)
            kill();
    }
    DayCloseProcess(const DayCloseProcess&) = delete;
    DayCloseProcess& operator=(const DayCloseProcess&) = delete;

    // Runs a mode to its end: its exit code.
    static int run(const QString& mode)
    {
        DayCloseProcess process(mode);
        return process.finish();
    }

    // Waits until the process pauses at the point ("appended", "committing"); false when it ended
    // without reaching it.
    bool waitFor(const char* point)
    {
        for (;;) {
            while (!process_.canReadLine())
                if (!process_.waitForReadyRead(30000))
                    return false;
            if (process_.readLine().trimmed() == point)
                return true;
        }
    }
    // Ends the process at once, wherever it is (SIGKILL).
    void kill()
    {
        process_.kill();
        process_.waitForFinished(30000);
    }
    void goOn()
    {
        process_.write("go\n");
        process_.waitForBytesWritten(30000);
    }
    // Lets the process run to its end without pausing again: its exit code; -1 when it was
    // killed, crashed or hung.
    int finish()
    {
        process_.closeWriteChannel();
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(60000)) {
            kill();
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    QString errorOutput() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

private:
    QProcess process_;
};
