#include "outside_terminal.h"

#include "card_slip.h"
#include "printclass.h"
#include "receipt_printing.h"
#include "receipt.h"
#include "report_file.h"
#include "ui_services.h"
#include "windows_paths.h"

namespace {
const QString kClosingFeed = QStringLiteral("\n\n\n\n\n");
constexpr const char* kReturnAmountText = "0.00";
}  // namespace

std::string SaleAmountText(double amount) { return std::to_string(static_cast<long long>(RoundSumma(amount * 100, 0))); }

TerminalRequest CardRowRequest(const OutsideTerminalSettings& settings, bool isReturn, double amount) {
    const std::string currency = settings.IngenicoVal.toLatin1().toStdString();
    if (isReturn) return MakeTerminalRequest(settings.IngenicoAtgr, kReturnAmountText, currency);
    return MakeTerminalRequest(settings.IngenicoPardosana, SaleAmountText(amount), currency);
}

bool ApprovedResult(int result) { return result >= 0 && result <= 7; }

QStringList ReadSlipLines() {
    const QString file = QString::fromStdString(platform::mappedFile(kArccomSlipFile).string());
    return LoadReportFile(file).value_or(QStringList());
}

QString PaymentFailedText(const QStringList& slipLines) {
    QString text = kPaymentFailedMessage;
    for (const QString& line : slipLines) text += line + '\n';
    return text;
}

ArccomTerminal::ArccomTerminal(TPrintClass& printer, std::function<void()> annulAndEnd)
    : print_(printer), annulAndEnd_(std::move(annulAndEnd)) {}

int ArccomTerminal::LoadArccomDll() {
    entry_ = nullptr;
    if (!library_.load(kArccomLibrary)) {
        platform::ui::showMessage(kArccomMissingMessage);
        return -1;
    }
    entry_ = reinterpret_cast<ProcessOwFunction>(library_.symbol(kArccomEntry));
    return entry_ ? 0 : -1;
}

int ArccomTerminal::ProcessOw(TerminalRequest& request) { return entry_ ? entry_(request.data()) : -1; }

void ArccomTerminal::FreeLibrary() {
    entry_ = nullptr;
    library_.unload();
}

void ArccomTerminal::PrintIngenicoCeks(int copy) { PrintSlip(copy, false); }

void ArccomTerminal::PrintSlip(int copy, bool charged) {
    QStringList kept;
    for (const QString& line : ReadSlipLines()) {
        print_.DrukaUzAbam(line, 1);
        kept.append(line);
    }
    print_.DrukaUzCeka(kClosingFeed, true, 2);
    kept.append(kClosingFeed);
    SaveReportFile(KartesCeksFile(copy), kept);
    if (print_.DrukaCekaGalvu() >= 0) return;
    if (!charged) return annulAndEnd_();
    platform::ui::showMessage(kPaidReceiptReprintMessage);
}

bool ArccomTerminal::ChargeCardRow(const OutsideTerminalSettings& settings, bool isReturn, double amount) {
    // Without the library no terminal took the money: the row is not paid, as for a refusal.
    if (LoadArccomDll() < 0) {
        FreeLibrary();
        platform::ui::showMessage(PaymentFailedText({}));
        return false;
    }
    TerminalRequest request = CardRowRequest(settings, isReturn, amount);
    const int result = ProcessOw(request);
    const bool charged = ApprovedResult(result);
    PrintSlip(1, charged);
    if (charged) {
        PrintSlip(2, true);
        FreeLibrary();
        return true;
    }
    FreeLibrary();
    platform::ui::showMessage(PaymentFailedText(ReadSlipLines()));
    return false;
}
