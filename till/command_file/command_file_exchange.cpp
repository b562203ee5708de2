#include "command_file_exchange.h"

#include "codepage_1257.h"
#include "command_file_messages.h"
#include "command_interpreter.h"
#include "command_file_messages.h"
#include "command_line.h"
#include "ui_services.h"

#include <QFile>

#include <fstream>
#include <optional>
#include <system_error>

namespace command_file {

namespace {

namespace fs = std::filesystem;

constexpr int kReadAttempts = 3;

std::optional<std::string> readWhole(const fs::path& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

// Written beside the reply file and renamed over it, so the driving program never sees a reply
// half written. Failures are not reported anywhere: the driving program sees no reply.
void writeReply(const fs::path& folder, const std::string& bytes) {
    const fs::path part = folder / (std::string(kReplyFileName) + ".part");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(part, ignored);
            return;
        }
    }
    std::error_code ignored;
    fs::rename(part, folder / kReplyFileName, ignored);
}

// The taken command file's answer written at a start, for a command whose work an earlier run
// did or cut short: the lines before the first `keyword` line "OK", that line `answers`. A next
// command file already there shows the driving program has its answer.
bool answerTakenFile(const fs::path& folder, const QString& keyword, const QStringList& answers) {
    std::error_code error;
    if (!fs::exists(folder / kTakenFileName, error) || fs::exists(folder / kReplyFileName, error) ||
        fs::exists(folder / kCommandFileName, error))
        return false;
    const std::optional<std::string> bytes = readWhole(folder / kTakenFileName);
    if (!bytes) return false;
    QStringList reply;
    for (const QString& line : DecodeCommandFile(*bytes)) {
        if (SplitCommandLine(line).keyword != keyword) {
            reply << messages::kOk;
            continue;
        }
        writeReply(folder, EncodeReplyFile(reply + answers));
        return true;
    }
    return false;
}

}  // namespace

QStringList DecodeCommandFile(const std::string& bytes) { return SplitFileLines(fromCp1257(bytes)); }

std::string EncodeReplyFile(const QStringList& reply) {
    std::string bytes;
    for (const QString& entry : reply) {
        for (const QString& line : SplitFileLines(entry)) bytes += toCp1257(line) + "\r\n";
        if (entry.isEmpty()) bytes += "\r\n";
    }
    return bytes;
}

bool AnswerRecoveredReceipt(const fs::path& folder, const bool finished, const QString& message) {
    return answerTakenFile(folder, QStringLiteral("PAYM"), {message, finished ? messages::kOk : message});
}

void OweDayCloseAnswer(const fs::path& folder, int lastDayClose) {
    std::ofstream(folder / kOwedDayCloseFile, std::ios::binary | std::ios::trunc) << lastDayClose;
}

bool AnswerOwedDayClose(const fs::path& folder, int newestDayClose) {
    int before = 0;
    if (!(std::ifstream(folder / kOwedDayCloseFile) >> before)) return false;
    const bool closed = newestDayClose > before;
    const bool answered =
        answerTakenFile(folder, QStringLiteral("Z_REPORT"), {closed ? messages::kOk : messages::kZAtskaitesKluda});
    std::error_code ignored;
    fs::remove(folder / kOwedDayCloseFile, ignored);
    return answered;
}

bool ServeCommandFile(const fs::path& folder, CommandFileTill& till) {
    const fs::path command = folder / kCommandFileName;
    std::error_code error;
    if (!fs::exists(command, error)) return false;

    fs::remove(folder / kReplyFileName, error);
    QStringList& reply = till.StartReply();

    std::optional<std::string> bytes;
    for (int attempt = 0; attempt < kReadAttempts && !bytes; ++attempt) bytes = readWhole(command);
    const QStringList lines = bytes ? DecodeCommandFile(*bytes) : QStringList();

    // Moving the file is what takes it from the driving program. When it cannot be moved it is
    // deleted now, before the reply exists: once the reply is there the driving program may
    // already have written its next command file under the same name.
    fs::remove(folder / kTakenFileName, error);
    fs::rename(command, folder / kTakenFileName, error);
    if (error) fs::remove(command, error);

    // Nobody is at the till: every message of the commands lands in the reply, as the till's
    // message routine puts its own, instead of a box. A failure that ends the program still hands
    // back the reply, the command that ended it answered as such; only a receipt cut short in its
    // closing is answered by the next start, which knows whether it was finished or annulled.
    // Once the reply is there nothing more is owed.
    const auto answer = [&] {
        writeReply(folder, EncodeReplyFile(reply));
        fs::remove(folder / kOwedDayCloseFile, error);
        till.ReplyWritten();
    };
    const platform::ui::UnattendedScope unattended([&reply](const QString& text) { reply.append(text); },
                                                   [&] {
                                                       if (till.ReceiptClosingPending()) return;
                                                       reply.append(messages::kDarbsPartraukts);
                                                       answer();
                                                   });
    CommandInterpreter(till).Serve(lines, reply);
    answer();
    return true;
}

}  // namespace command_file
