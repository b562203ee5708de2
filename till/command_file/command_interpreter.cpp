#include "command_interpreter.h"

#include "command_file_messages.h"
#include "ui_services.h"

#include <array>
#include <exception>

namespace command_file {

std::span<const CommandInterpreter::Command> CommandInterpreter::Commands() {
    static constexpr std::array<Command, 14> kCommands{{
        {u"PRG", &CommandInterpreter::CmdProgramPlu},
        {u"DISC", &CommandInterpreter::CmdDiscount},
        {u"SALE", &CommandInterpreter::CmdSaleLine},
        {u"RETURN", &CommandInterpreter::CmdSaleLine},
        {u"HEAD", &CommandInterpreter::CmdHeader},
        {u"PAYM", &CommandInterpreter::CmdPayment},
        {u"DISPLAY", &CommandInterpreter::CmdDisplay},
        {u"CASHSUM", &CommandInterpreter::CmdCashSummary},
        {u"INOUTCASH", &CommandInterpreter::CmdCashInOut},
        {u"OPENCASH", &CommandInterpreter::CmdOpenDrawer},
        {u"LASTCHEQUE", &CommandInterpreter::CmdLastReceipt},
        {u"RESET", &CommandInterpreter::CmdReset},
        {u"X_REPORT", &CommandInterpreter::CmdXReport},
        {u"Z_REPORT", &CommandInterpreter::CmdZReport},
    }};
    return kCommands;
}

void CommandInterpreter::Serve(const QStringList& lines, QStringList& reply) {
    reply_ = &reply;
    endOfFile_ = false;
    for (const QString& text : lines) {
        const QString answer = ServeLine(SplitCommandLine(text));
        reply.append(answer);
        if (endOfFile_) break;
    }
    reply_ = nullptr;
}

QString CommandInterpreter::ServeLine(const CommandLine& line) {
    for (const Command& command : Commands()) {
        if (QStringView(line.keyword) != command.keyword) continue;
        try {
            return (this->*command.handler)(line);
        } catch (const platform::ui::ProgramEnded&) {
            throw;  // a fatal failure ends the program here as anywhere else
        } catch (const std::exception& error) {
            return QString::fromUtf8(error.what());
        } catch (...) {
            return messages::kKluda;
        }
    }
    return messages::kNezinamaKomanda;
}

QString CommandInterpreter::CmdOpenDrawer(const CommandLine&) {
    till_.OpenDrawer();
    return messages::kOk;
}

QString CommandInterpreter::CmdLastReceipt(const CommandLine&) {
    till_.PrintLastReceiptCopy();
    return messages::kOk;
}

QString CommandInterpreter::CmdDisplay(const CommandLine& line) {
    till_.ShowOnDisplay(KeyValue(line.arguments, u"LINE1").value_or(QString()),
                        KeyValue(line.arguments, u"LINE2").value_or(QString()));
    return messages::kOk;
}

QString CommandInterpreter::CmdXReport(const CommandLine&) {
    // The menu command gives its own refusal as a message; the answer repeats it.
    return till_.XReport() ? messages::kOk : messages::kAtskaitiNedrikst;
}

QString CommandInterpreter::CmdZReport(const CommandLine&) {
    if (till_.RinduSkaits() > 0) {
        // The refusal is the file's last reply line: nothing after it is served.
        endOfFile_ = true;
        return messages::kAtskaitiNedrikst;
    }
    till_.ClearDisplay();
    const QString answer = till_.ZReport() == -2 ? messages::kZAtskaitesKluda : messages::kOk;
    till_.ShowDisplayIdle();
    return answer;
}

}  // namespace command_file
