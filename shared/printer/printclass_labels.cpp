// TPrintClass: the voucher service's logo and EAN-13 label on the receipt station.
#include "printclass.h"

#include <fstream>

int TPrintClass::DrukaZudezoLogo(int n) {
    int result = SwitchToPrinter();
    result = firstFailure(result, selectStation(print::kStationReceipt, "DrukaZudezoLogo 1 "));
    std::string command{'\x1C', '\x70', char(std::uint8_t(n + 1)), '\x00'};
    command.append(print::kLogoTail);
    return firstFailure(result, send(hPrinteris, command, {}));
}

int TPrintClass::DrukaZudezoEAN(const QString& code) {
    int result = SwitchToPrinter();
    const QString digits = code.trimmed();
    result = firstFailure(result, selectStation(print::kStationReceipt, "DrukaZudezoEAN 1 "));
    // The barcode command takes exactly 13 data bytes; anything else would swallow the bytes
    // after it, so such a code prints nothing.
    bool thirteenDigits = digits.size() == 13;
    for (QChar ch : digits) thirteenDigits = thirteenDigits && ch >= u'0' && ch <= u'9';
    if (!thirteenDigits) {
        PrintErrLog("DrukaZudezoEAN 2 ", "EAN=" + digits.toStdString());
        return firstFailure(result, kComWriteFailed);
    }

    // The label is kept in EAN.TXT as a text-mode file (LF stored as CR LF) and goes raw to the port.
    std::string label = "\x1D\x68\xC8\x0D" "\x1D\x48\x02\x0D" "\x1D\x6B\x43\x0D";
    label += digits.toStdString();
    label += "\r\n\x1D\x42\xC8\r\n";
    {
        std::ofstream file("EAN.TXT", std::ios::binary | std::ios::trunc);
        if (!file) {
            PrintErrLog("DrukaZudezoEAN 2 ", "EAN.TXT");
            return firstFailure(result, kComWriteFailed);
        }
        file.write(label.data(), std::streamsize(label.size()));
    }
    return firstFailure(result, send(hPrinteris, label, "DrukaZudezoEAN 2 "));
}
