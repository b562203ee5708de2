// Collects what the code under test writes to Qt's log while the object lives.
#pragma once

#include <QMessageLogContext>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace testsupport {

class CapturedLog {
public:
    CapturedLog() {
        lines_().clear();
        previous_ = qInstallMessageHandler(&CapturedLog::collect);
    }
    ~CapturedLog() { qInstallMessageHandler(previous_); }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    static const QStringList& lines() { return lines_(); }
    static bool has(const QString& part) {
        for (const QString& line : lines_())
            if (line.contains(part)) return true;
        return false;
    }

private:
    static QStringList& lines_() {
        static QStringList all;
        return all;
    }
    static void collect(QtMsgType, const QMessageLogContext&, const QString& text) { lines_() << text; }
    QtMessageHandler previous_ = nullptr;
};

}  // namespace testsupport
