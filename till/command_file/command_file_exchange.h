// The command file's life cycle in the till's working folder: take "comand.pos" (moved to
// "comand_pos.old"), serve its lines, hand the answers back whole as "ret.pos". Text crosses the
// files in Windows-1257.
#pragma once

#include "command_file_till.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>

namespace command_file {

inline constexpr const char* kCommandFileName = "comand.pos";
inline constexpr const char* kTakenFileName = "comand_pos.old";
inline constexpr const char* kReplyFileName = "ret.pos";

// One poll: when `folder` holds a command file, takes it, serves it against the till and writes
// the reply file; false when there was no command file. The previous reply is deleted as the
// next command file is taken. The caller keeps the poll timer off meanwhile. While the file is
// served no message box opens: every message goes through the till's message routine into the
// reply, and a program end writes the reply before it, answering the command that ended it with
// "Darbs tiek pārtraukts !!!" (unless a receipt's closing was cut short: AnswerRecoveredReceipt
// answers that one at the next start).
bool ServeCommandFile(const std::filesystem::path& folder, CommandFileTill& till);

// After a start that finished or annulled a receipt an earlier run was closing: when the command
// file taken last ("comand_pos.old") has no answer yet, answers it from that receipt. Its lines up
// to the first payment are answered "OK"; the message stands before the payment's answer, which
// is "OK" for a finished receipt and the message again for an annulled one (so the driving
// program sends that sale again and never twice). Lines after the payment were never served and
// get no answer. False when there was nothing to answer.
bool AnswerRecoveredReceipt(const std::filesystem::path& folder, bool finished, const QString& message);

// A Z report a command file asks for owes its answer until the reply file is written: before it
// starts, the number of the newest day-close record is kept in "NeatbildetaZ.txt" (removed with
// the reply). At the next start, once the day close is finished, AnswerOwedDayClose answers the
// taken file's lines before its Z_REPORT "OK" and the Z_REPORT "OK" when a newer day-close record
// is there now (so the driving program never sends it again), else as a failed Z report. False
// when no answer was owed.
inline constexpr const char* kOwedDayCloseFile = "NeatbildetaZ.txt";
void OweDayCloseAnswer(const std::filesystem::path& folder, int lastDayClose);
bool AnswerOwedDayClose(const std::filesystem::path& folder, int newestDayClose);

// The command file's bytes as lines of text.
QStringList DecodeCommandFile(const std::string& bytes);
// The reply list as the reply file's bytes: each entry ended by CR LF, a line break inside an
// entry written as CR LF too.
std::string EncodeReplyFile(const QStringList& reply);

}  // namespace command_file
