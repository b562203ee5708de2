#include "ui_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform::ui {
namespace {

std::mutex handlerMutex;
MessageHandler& handler() {
    static MessageHandler installed;
    return installed;
}
FileHandler& fileHandler() {
    static FileHandler installed;
    return installed;
}
std::atomic<bool> endThrows{false};

struct UnattendedRoute {
    std::function<void(const QString&)> deliver;
    std::function<void()> beforeEnd;
};
// The live unattended scopes, innermost last. Message boxes and program ends happen on the main
// thread; the handler mutex guards this too.
std::vector<UnattendedRoute>& routes() {
    static std::vector<UnattendedRoute> live;
    return live;
}

// A screen that nobody can look at: without a window system, or on Qt's platforms that draw
// into memory only.
bool noScreen() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

int boxAnswer(const MessageRequest& r) {
    if (noScreen()) {
        std::fprintf(stderr, "%s\n", r.text.toUtf8().constData());
        std::fflush(stderr);
        return defaultAnswer(r.buttons);
    }
    QMessageBox box;
    box.setText(r.text);
    box.setWindowTitle(r.caption.isEmpty() ? QCoreApplication::applicationName() : r.caption);
    switch (r.icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::None: break;
    }
    switch (r.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    case QMessageBox::Cancel: return Cancel;
    default: return Ok;
    }
}

// "Caption|*.A;*.B|Other|*.C" as Qt writes it: "Caption (*.A *.B);;Other (*.C)".
QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ') + u')';
    return out.join(QStringLiteral(";;"));
}

}  // namespace

std::optional<QString> openFileName(const FileRequest& request) {
    FileHandler current;
    {
        std::lock_guard lock(handlerMutex);
        current = fileHandler();
    }
    if (current) return current(request);
    if (noScreen()) return std::nullopt;
    const QString chosen = QFileDialog::getOpenFileName(nullptr, request.title, request.start, qtFilter(request.filter));
    if (chosen.isEmpty()) return std::nullopt;
    return QFileInfo(chosen).absoluteFilePath();
}

void setFileHandler(FileHandler h) {
    std::lock_guard lock(handlerMutex);
    fileHandler() = std::move(h);
}

int defaultAnswer(Buttons buttons) { return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Yes : Ok; }

int showMessage(const QString& text, const QString& caption, Buttons buttons, Icon icon) {
    MessageRequest request{text, caption, buttons, icon};
    MessageHandler current;
    std::function<void(const QString&)> deliver;
    {
        std::lock_guard lock(handlerMutex);
        current = handler();
        if (!routes().empty()) deliver = routes().back().deliver;
    }
    if (deliver) {
        deliver(text);
        return defaultAnswer(buttons);
    }
    return current ? current(request) : boxAnswer(request);
}

UnattendedScope::UnattendedScope(std::function<void(const QString&)> deliver, std::function<void()> beforeEnd) {
    std::lock_guard lock(handlerMutex);
    routes().push_back({std::move(deliver), std::move(beforeEnd)});
}

UnattendedScope::~UnattendedScope() {
    std::lock_guard lock(handlerMutex);
    routes().pop_back();
}

bool unattended() {
    std::lock_guard lock(handlerMutex);
    return !routes().empty();
}

void setMessageHandler(MessageHandler h) {
    std::lock_guard lock(handlerMutex);
    handler() = std::move(h);
}

void endProgram(int exitCode) {
    std::function<void()> beforeEnd;
    {
        std::lock_guard lock(handlerMutex);
        if (!routes().empty()) beforeEnd = routes().back().beforeEnd;
    }
    if (beforeEnd) beforeEnd();
    if (endThrows) throw ProgramEnded(exitCode);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void setEndProgramThrows(bool throws) { endThrows = throws; }

}  // namespace platform::ui
