#include "receipt_number.h"

#include "fmproc.h"

#include <QRegularExpression>

#include <limits>

QString CekaNrTeksts(int number) { return QStringLiteral("%1").arg(number, 11, 10, QLatin1Char('0')); }

ReceiptNumber TakeReceiptNumber(TFMProc& fm, const std::function<bool(int)>& alongside) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,11}$"));
    ReceiptNumber result;
    QString text;
    if (!fm.FMRead(QStringLiteral("CEKANRCOUN"), text)) {
        result.Failure = ReceiptNumberFailure::ReadFailed;
        return result;
    }
    const QString counter = text.left(11).trimmed();
    qint64 last = 1;
    if (!counter.isEmpty()) {
        bool ok = false;
        last = counter.toLongLong(&ok);
        if (!digits.match(counter).hasMatch() || !ok || last >= std::numeric_limits<int>::max()) {
            result.Failure = ReceiptNumberFailure::NotANumber;
            return result;
        }
    }
    const int next = int(last + 1);
    const auto write = [&] { return fm.FMWrite(QStringLiteral("CEKANRCOUN"), CekaNrTeksts(next)); };
    const bool written = alongside ? fm.FMInTransaction(QStringLiteral("CEKANRCOUN"),
                                                       [&] { return alongside(next) && write(); })
                                   : write();
    if (!written) {
        result.Failure = ReceiptNumberFailure::WriteFailed;
        return result;
    }
    result.Numurs = next;
    return result;
}
