// Serves the lines of one command file: each line's keyword is tried against the command table
// in its order and the matching command runs against the till, answering one reply line.
#pragma once

#include "command_file_till.h"
#include "command_line.h"

#include <QString>
#include <QStringList>

#include <span>
#include <string_view>

namespace command_file {

class CommandInterpreter {
public:
    explicit CommandInterpreter(CommandFileTill& till) : till_(till) {}

    // Serves the lines in file order into `reply`, which the till's messages also feed: for
    // each line the messages it raised, CASHSUM's own lines, then its answer. An error thrown
    // inside a command becomes that line's answer and serving goes on; only the program's end
    // passes through. A Z report refused because a receipt is open ends the file.
    void Serve(const QStringList& lines, QStringList& reply);

    using Handler = QString (CommandInterpreter::*)(const CommandLine&);
    struct Command {
        std::u16string_view keyword;
        Handler handler;
    };
    // The command table in the order the keywords are tried (compared whole and case-sensitive).
    static std::span<const Command> Commands();

private:
    QString ServeLine(const CommandLine& line);

    // The commands, each on its line (SALE and RETURN read the keyword too), returning the
    // line's answer. CASHSUM also writes its summary lines into the reply being served.
    QString CmdProgramPlu(const CommandLine& line);
    QString CmdDiscount(const CommandLine& line);
    QString CmdSaleLine(const CommandLine& line);  // SALE and RETURN
    QString CmdHeader(const CommandLine& line);
    QString CmdPayment(const CommandLine& line);
    QString CmdDisplay(const CommandLine& line);
    QString CmdCashSummary(const CommandLine& line);
    QString CmdCashInOut(const CommandLine& line);
    QString CmdOpenDrawer(const CommandLine& line);
    QString CmdLastReceipt(const CommandLine& line);
    QString CmdReset(const CommandLine& line);
    QString CmdXReport(const CommandLine& line);
    QString CmdZReport(const CommandLine& line);

    CommandFileTill& till_;
    QStringList* reply_ = nullptr;
    bool endOfFile_ = false;
};

}  // namespace command_file
