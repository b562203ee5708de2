#include "ui_services.h"

#include <QApplication>
#include <QMessageBox>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform::ui {
namespace {

std::mutex handlerMutex;
MessageHandler& handler() {
    static MessageHandler installed;
    return installed;
}
std::atomic<bool> endThrows{false};

int boxAnswer(const MessageRequest& r) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No window system (a command-line run): say it on the error stream and take the
        // first button's answer.
        std::fprintf(stderr, "%s\n", r.text.toUtf8().constData());
        return r.buttons == Buttons::YesNo || r.buttons == Buttons::YesNoCancel ? Yes : Ok;
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

}  // namespace

int showMessage(const QString& text, const QString& caption, Buttons buttons, Icon icon) {
    MessageRequest request{text, caption, buttons, icon};
    MessageHandler current;
    {
        std::lock_guard lock(handlerMutex);
        current = handler();
    }
    return current ? current(request) : boxAnswer(request);
}

void setMessageHandler(MessageHandler h) {
    std::lock_guard lock(handlerMutex);
    handler() = std::move(h);
}

void endProgram(int exitCode) {
    if (endThrows) throw ProgramEnded(exitCode);
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void setEndProgramThrows(bool throws) { endThrows = throws; }

}  // namespace platform::ui
