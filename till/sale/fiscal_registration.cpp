#include "fiscal_registration.h"

#include "closing_steps.h"
#include "fmproc.h"
#include "payment_kinds.h"
#include "ui_services.h"

#include <array>
#include <cmath>
#include <map>

namespace {

constexpr int kSlots = 24;
constexpr int kDaySumEntry = 10;
constexpr int kCurrencyEntries = 30;
constexpr int kCurrencyEntry = 11;

long long cents(double amount) { return std::llround(double(RoundSumma(amount, 2)) * 100.0); }

// A counter field: a whole decimal number, a leading minus allowed; empty or other text is 0.
long long counterValue(const QString& text) {
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    return ok ? value : 0;
}
long long trimmedValue(const QString& text) { return counterValue(text.trimmed()); }
// The department and currency sums take leading blanks only.
long long leadingBlanksValue(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    return counterValue(text.mid(start));
}

// Records read once and changed as often as the receipt needs; the last text of each is written.
class CounterBook {
public:
    explicit CounterBook(const std::function<std::optional<QString>(const QString&)>& read) : read_(read) {}

    std::optional<QString> get(const QString& name) {
        if (auto it = index_.find(name); it != index_.end()) return records_[it->second].text;
        return read_(name);
    }
    void set(const QString& name, const QString& text) {
        if (auto it = index_.find(name); it != index_.end()) {
            records_[it->second].text = text;
            return;
        }
        index_.emplace(name, records_.size());
        records_.push_back({name, text});
    }
    // A field's new value right-aligned in its width; a value too long for it marks the record
    // (the first such record is kept) and the change is refused as a whole.
    QString field(const QString& name, long long value, int width) {
        const QString text = QString::number(value);
        if (text.size() > width && full_.isEmpty()) full_ = name;
        return text.rightJustified(width, ' ');
    }
    DayCounterChange change() && { return {std::move(records_), std::move(full_)}; }

private:
    const std::function<std::optional<QString>(const QString&)>& read_;
    std::map<QString, std::size_t> index_;
    std::vector<CounterRecord> records_;
    QString full_;
};

}  // namespace

std::optional<DayCounterChange> DayCounterRecords(
    const ClosingReceipt& receipt, const ClosingSettings& settings, int fmKind,
    const std::function<std::optional<QString>(const QString&)>& read) {
    const bool isReturn = receipt.isReturn;
    long long discountCents = 0, packagingCents = 0, correctionCount = 0, correctionCents = 0, receiptCents = 0;
    std::array<long long, kSlots + 1> deptCents{};
    for (const TCekaRinda& line : receipt.lines) {
        const double units = line.Cena * line.Daudzums * line.Iepakojums;
        const long long net = cents((1 - 0.01 * line.Atlaide) * units);
        const long long discount = cents(0.01 * line.Atlaide * units);
        if (!isReturn) {
            discountCents += discount;
        } else {
            discountCents -= discount;
            if (line.Tara) packagingCents += net;
        }
        const int slot = DepartmentSlot(line.Nodala, settings.PrepaidNodala);
        if (slot < 1 || slot > kSlots) continue;
        deptCents[std::size_t(slot)] += net;
        if (line.Daudzums * line.Iepakojums < 0) {
            ++correctionCount;
            correctionCents += net;
        }
    }

    CounterBook book(read);

    // Department sums; each entry keeps its tax-rate field. A short record is read as blank
    // entries, so the ones after it keep their places.
    const QString daySumsName = QStringLiteral("NOD_D_SUM");
    const auto daySums = book.get(daySumsName);
    if (!daySums) return std::nullopt;
    const QString oldSums = daySums->leftJustified(kSlots * kDaySumEntry, ' ', true);
    QString newSums;
    for (int d = 1; d <= kSlots; ++d) {
        const QString entry = oldSums.mid((d - 1) * kDaySumEntry, kDaySumEntry);
        const long long old = leadingBlanksValue(entry.mid(2, 8));
        if (!isReturn) {
            newSums += entry.left(2) + book.field(daySumsName, old + deptCents[std::size_t(d)], 8);
            receiptCents += deptCents[std::size_t(d)];
        } else if (packagingCents == 0) {
            newSums += entry.left(2) + book.field(daySumsName, old - deptCents[std::size_t(d)], 8);
            receiptCents -= deptCents[std::size_t(d)];
        } else {
            newSums += entry;  // a return of packaging changes no department
        }
    }
    book.set(daySumsName, newSums);

    const TApmaksas& rows = receipt.payments;
    if (isReturn && packagingCents == 0 && (rows[1].Veids == -1 || rows[0].Veids == kCashKind || rows[0].Veids == kCardKind)) {
        const auto storno = book.get(QStringLiteral("STORNO_SUM"));
        if (!storno) return std::nullopt;
        const QString name = QStringLiteral("STORNO_SUM");
        const long long total = trimmedValue(storno->left(9)) + receiptCents;
        book.field(name, total, 9);  // for its width check: this total stands at the left
        book.set(name, QString::number(total).leftJustified(9, ' ', true));
    }

    // Every non-cash row reaches its counter, wherever it stands among the rows.
    for (const TApmaksasRinda& row : rows) {
        if (row.Veids == -1) break;
        if (row.Veids == kCashKind) continue;
        QString name;
        if (row.Veids == kCardKind)
            name = isReturn ? QStringLiteral("BANKA_ATGR") : QStringLiteral("BANKA_SUM");
        else if (fmKind == TFMProc::MemorixModule && row.Veids == kSecondCurrencyKind)
            name = QStringLiteral("APM_SUM10");
        else
            name = QStringLiteral("APM_SUM") + QString::number(row.Veids - 1);
        const auto old = book.get(name);
        if (!old) return std::nullopt;
        book.set(name, book.field(name, trimmedValue(*old) + std::llround(row.Summa * 100.0), 8));
    }

    if (correctionCount > 0) {
        const auto old = book.get(QStringLiteral("KOREKCIJA"));
        if (!old) return std::nullopt;
        const QString name = QStringLiteral("KOREKCIJA");
        book.set(name, book.field(name, trimmedValue(old->mid(0, 4)) + correctionCount, 4) +
                           book.field(name, trimmedValue(old->mid(4, 8)) + correctionCents, 8));
    }

    if (!receipt.ApmValuta.isEmpty()) {
        const auto old = book.get(QStringLiteral("VALUT_D_S"));
        if (!old) return std::nullopt;
        const QString entries = old->leftJustified(kCurrencyEntries * kCurrencyEntry, ' ', true);
        const long long received = cents(receipt.Sanemts / receipt.valutasKurss);
        QString text;
        for (int e = 0; e < kCurrencyEntries; ++e) {
            const QString entry = entries.mid(e * kCurrencyEntry, kCurrencyEntry);
            if (entry.left(3) == receipt.ApmValuta)
                text += entry.left(3) +
                        book.field(QStringLiteral("VALUT_D_S"), leadingBlanksValue(entry.mid(3, 8)) + received, 8);
            else
                text += entry;
        }
        book.set(QStringLiteral("VALUT_D_S"), text);
    }

    if (discountCents != 0) {
        const auto old = book.get(QStringLiteral("DIENAS_ATL"));
        if (!old) return std::nullopt;
        const QString name = QStringLiteral("DIENAS_ATL");
        book.set(name, book.field(name, trimmedValue(old->left(13)) + discountCents, 13));
    }

    if (packagingCents > 0) {
        const auto old = book.get(QStringLiteral("ATGRTARA"));
        if (!old) return std::nullopt;
        const QString name = QStringLiteral("ATGRTARA");
        book.set(name, book.field(name, trimmedValue(old->mid(0, 4)) + 1, 4) +
                           book.field(name, trimmedValue(old->mid(4, 8)) + packagingCents, 8));
    }
    return std::move(book).change();
}

bool WriteDayCounters(TFMProc& fm, const std::vector<CounterRecord>& records, const std::function<bool()>& alongside) {
    return fm.FMInTransaction(QStringLiteral("PutInFM"), [&] {
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!fm.FMWrite(records[i].name, records[i].text)) return false;
            if (i == 0) ReachClosingStep("counting");
        }
        return !alongside || alongside();
    });
}

int PutInFM(const ClosingReceipt& receipt, const ClosingSettings& settings, TFMProc& fm, ClosingHost& host) {
    if (receipt.lines.empty()) {
        platform::ui::showMessage(kPutInFMNoLinesMessage);
        return kPutInFMNoLines;
    }
    const std::function<std::optional<QString>(const QString&)> read =
        [&fm](const QString& name) -> std::optional<QString> {
        QString text;
        if (!fm.FMRead(name, text)) return std::nullopt;
        return text;
    };
    const auto change = DayCounterRecords(receipt, settings, fm.FMTips, read);
    if (change && !change->full.isEmpty()) {
        host.ShowPazinojums(kCounterFullMessage);
        return kPutInFMCounterFull;
    }
    if (change && WriteDayCounters(fm, change->records)) return kPutInFMRegistered;
    host.AnuletCeku();
    return kPutInFMFailure;
}
