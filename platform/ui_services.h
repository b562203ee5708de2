// Message boxes and "end the program" behind switches, so tests can read what a program told the
// user, answer its questions, and catch its exit.
#pragma once

#include <QString>

#include <functional>
#include <optional>
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

// The answer a box gives when nobody can answer it: its first button, as a box with no default
// named takes on Enter (Ok, or Yes for a question).
int defaultAnswer(Buttons buttons);

// Shows a modal message box (or asks the installed handler) and returns the answer. Where no
// screen can show a box (no window system, or Qt's "offscreen" and "minimal" platforms) the text
// goes to standard error and the box takes its default answer.
int showMessage(const QString& text, const QString& caption = {}, Buttons buttons = Buttons::Ok, Icon icon = Icon::None);
// Installs a handler in place of real message boxes; an empty handler puts the boxes back.
void setMessageHandler(MessageHandler handler);

// An open-file dialog. The filter is written as the programs have always named it: pairs of a
// caption and its patterns, all separated by '|' ("POS fails|*.GDB").
struct FileRequest {
    QString title;
    QString filter;
    QString start;  // the file or folder the dialog starts from
};

using FileHandler = std::function<std::optional<QString>(const FileRequest&)>;

// Asks for an existing file (or the installed handler); the chosen file's full path, or nothing
// when the user cancels. Where no screen can show a dialog it is cancelled.
std::optional<QString> openFileName(const FileRequest& request);
// Installs a handler in place of real file dialogs; an empty handler puts the dialogs back.
void setFileHandler(FileHandler handler);

// While one lives, nobody is at the screen: the program is driven by another program, which
// learns what happened only from what the program hands back. Every message (before any handler
// or box) goes to `deliver` and takes its default answer, so nothing modal opens; should the
// program end meanwhile, `beforeEnd` runs first, so the driving program still gets its answer.
// Scopes nest; the innermost routes.
class UnattendedScope {
public:
    UnattendedScope(std::function<void(const QString&)> deliver, std::function<void()> beforeEnd);
    ~UnattendedScope();
    UnattendedScope(const UnattendedScope&) = delete;
    UnattendedScope& operator=(const UnattendedScope&) = delete;
};
// Whether an unattended scope lives: the driving program is owed an answer for what happens now.
bool unattended();

// Thrown in place of ending the process while a test has taken over program exits.
struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int code) : std::runtime_error("program ended"), exitCode(code) {}
    int exitCode;
};

// Ends the program at once with the exit code (the unusable-till path), after the innermost
// unattended scope's beforeEnd. Under a test, throws ProgramEnded instead.
[[noreturn]] void endProgram(int exitCode = 1);
void setEndProgramThrows(bool throws);

}  // namespace platform::ui
