// Message boxes and "end the program" behind switches, so tests can read what a program told the
// user, answer its questions, and catch its exit.
#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

namespace platform::ui {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };

// Answers carry the Windows dialog result numbers, which some callers compare with.
enum Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageRequest {
    QString text;
    QString caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

using MessageHandler = std::function<int(const MessageRequest&)>;

// Shows a modal message box (or asks the installed handler) and returns the answer.
int showMessage(const QString& text, const QString& caption = {}, Buttons buttons = Buttons::Ok, Icon icon = Icon::None);
// Installs a handler in place of real message boxes; an empty handler puts the boxes back.
void setMessageHandler(MessageHandler handler);

// Thrown in place of ending the process while a test has taken over program exits.
struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int code) : std::runtime_error("program ended"), exitCode(code) {}
    int exitCode;
};

// Ends the program at once with the exit code (the unusable-till path). Under a test, throws
// ProgramEnded instead.
[[noreturn]] void endProgram(int exitCode = 1);
void setEndProgramThrows(bool throws);

}  // namespace platform::ui
