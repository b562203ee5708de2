// TFMProc: construction from the settings, the dispatch by kind, and the error log.
#include "fmproc.h"

#include "codepage_1257.h"
#include "memorix.h"
#include "settings_store.h"
#include "clock.h"
#include "ui_services.h"

#include <QLabel>

#include <cstdio>
#include <optional>

namespace {

constexpr const char* kSetupKey = "Software\\TOVEL\\Tillora\\Setup";
constexpr int kBaudRate = 115200;

std::optional<int> toInt(const std::optional<std::string>& text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = QString::fromStdString(*text).trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

}  // namespace

TFMProc::TFMProc(QLabel* statusLabel)
    : StatusLabel(statusLabel)
{
    showProgress(QStringLiteral("Initial FM Rgistry..."));
    readSettings();
    showProgress(QStringLiteral("Initial FM Rgistry OK"));
    showProgress(QStringLiteral("Initial FM Open FM..."));
    open();
    showProgress(QStringLiteral("Initial FM Open FM OK"));
}

TFMProc::~TFMProc()
{
    if (FTHandle)
        platform::FT_Close(FTHandle);
}

void TFMProc::readSettings()
{
    const platform::SettingsStore& settings = platform::SettingsStore::current();
    FMTips = MemorixModule;
    FMPort = 2;
    if (!settings.keyExists(kSetupKey))
        return;
    // Either type is accepted for both values; the set-up program and older tools differ.
    FMTips = toInt(settings.readText(kSetupKey, "FMTips")).value_or(settings.readInteger(kSetupKey, "FMTips").value_or(MemorixModule));
    FMPort = settings.readInteger(kSetupKey, "FMPort").value_or(toInt(settings.readText(kSetupKey, "FMPort")).value_or(1));
}

void TFMProc::open()
{
    Status = -1;
    switch (FMTips) {
    case MemorixModule:
        if (MEMORIX_OpenComPort(FMPort, kBaudRate) == 0 && InitMRX_FMRam())
            Status = 0;
        break;
    case UsbDevice:
        if (platform::FT_Open(0, &FTHandle) == platform::FT_OK) {
            showProgress(QStringLiteral("Initial FM Initial FM Ram ..."));
            platform::FT_SetBaudRate(FTHandle, kBaudRate);
            Status = 0;
        }
        break;
    default:  // none, the ID card and unknown kinds open nothing
        break;
    }
}

void TFMProc::showProgress(const QString& text)
{
    if (!StatusLabel)
        return;
    StatusLabel->setText(text);
    StatusLabel->repaint();
}

void TFMProc::noFiscalMemory()
{
    platform::ui::showMessage(QStringLiteral("Nav pieslēgta Fiskālā atmiņa !!!"));
    Status = -1;
}

// Kind 0 tells the user and answers as the callers expect of a till without fiscal memory; the
// ID card and unknown kinds have nothing that could carry out the operation, so they fail.
template <class MemorixVariant, class UsbVariant>
bool TFMProc::dispatch(bool resultWithoutMemory, MemorixVariant memorix, UsbVariant usb)
{
    switch (FMTips) {
    case NoFiscalMemory:
        noFiscalMemory();
        return resultWithoutMemory;
    case MemorixModule:
        return memorix();
    case UsbDevice:
        return usb();
    default:
        return false;
    }
}

bool TFMProc::FMRead(const QString& name, QString& value)
{
    return dispatch(false, [&] { return FMReadMRX(name, value); }, [&] { return FMReadTVL(name, value); });
}

bool TFMProc::FMWrite(const QString& name, const QString& value)
{
    return dispatch(true, [&] { return FMWriteMRX(name, value); }, [&] { return FMWriteTVL(name, value); });
}

bool TFMProc::FMReadGrand(int index, int& nr, double& grandTotal, double& grandVat, QDate& date, QString& time,
                          double& daySum, double& dayVat, QString& check)
{
    DayCloseRecord record;
    record.check = check;
    const auto copyOut = [&] {
        nr = record.nr;
        grandTotal = record.grandTotal;
        grandVat = record.grandVat;
        date = record.date;
        time = record.time;
        daySum = record.daySum;
        dayVat = record.dayVat;
        check = record.check;
    };
    // The outputs change only when the variant read a record or gave its defaults.
    bool filled = false;
    const bool ok = dispatch(
        true,
        [&] { return filled = FMReadGrandMRX(index, record); },
        [&] { return filled = FMReadGrandTVL(index, record); });
    if (filled)
        copyOut();
    return ok;
}

DayCloseRecord TFMProc::DatedNow(DayCloseRecord record)
{
    const platform::LocalTime now = platform::localNow();
    record.date = QDate(now.year, now.month, now.day);
    record.time = twoDigits(now.hour) + QLatin1Char(':') + twoDigits(now.minute);
    return record;
}

DayCloseRecord TFMProc::OpeningRecord() { return DatedNow(DayCloseRecord{}); }

bool TFMProc::FMWriteGrand(int nr, const QString& check, double grandTotal, double grandVat, double daySum, double dayVat)
{
    DayCloseRecord record;
    record.nr = nr;
    record.check = check;
    record.grandTotal = grandTotal;
    record.grandVat = grandVat;
    record.daySum = daySum;
    record.dayVat = dayVat;
    return FMAppendDayClose(DatedNow(record));
}

bool TFMProc::FMAppendDayClose(const DayCloseRecord& record)
{
    return dispatch(true, [&] { return FMWriteGrandMRX(record); }, [&] { return FMWriteGrandTVL(record); });
}

bool TFMProc::FMAppendPending(bool& pending)
{
    pending = false;
    return dispatch(true, [&] { return FMAppendPendingMRX(pending); }, [] { return true; });
}

bool TFMProc::FMCreateRecord(const QString& name, int size)
{
    return dispatch(true, [&] { return FMCreateRecordMRX(name, size); }, [&] { return FMCreateRecordTVL(name, size); });
}

bool TFMProc::FMGetRecordCount(int& count)
{
    return dispatch(true, [&] { return FMGetRecordCountMRX(count); }, [&] { return FMGetRecordCountTVL(count); });
}

bool TFMProc::FMSerialNr(QString& serialNr)
{
    return dispatch(false, [&] { return FMSerialNrMRX(serialNr); }, [&] { return FMSerialNrTVL(serialNr); });
}

QString TFMProc::errorText(int status) const
{
    switch (FMTips) {
    case MemorixModule: return fromCp1257(FM_GetErrorText(status));
    case IdCard: return QStringLiteral("ID CARD");
    case UsbDevice: return LastReply;
    default: return {};
    }
}

void TFMProc::FMError(int status, const QString& name, const QString& command, const QString& buffer)
{
    writeErrorLog(status, name, command, buffer);
    platform::ui::showMessage(QStringLiteral("Problēmas ar fiskālo bloku !!!\n\n") + errorText(status));
}

void TFMProc::writeErrorLog(int status, const QString& name, const QString& command, const QString& buffer)
{
    const QString message = errorText(status);
    const platform::LocalTime now = platform::localNow();
    const QString date = twoDigits(now.day) + QLatin1Char('.') + twoDigits(now.month) + QLatin1Char('.') + QString::number(now.year);
    const QString time = twoDigits(now.hour) + QLatin1Char(':') + twoDigits(now.minute) + QLatin1Char(':') + twoDigits(now.second);
    QString statusText = QString::number(status);
    if (FMTips == UsbDevice && status >= 0 && status <= 7)
        statusText = QString::fromStdString(platform::ftStatusName(platform::FT_STATUS(status)));

    const QString block = QStringLiteral("-------------------------------------\n")
        + QStringLiteral("Datums %1 Laiks %2\n").arg(date, time)
        + LogNote + QLatin1Char('\n')
        + QStringLiteral("FMStatus            - ") + statusText + QLatin1Char('\n')
        + QStringLiteral("Pazinojums          - ") + message + QLatin1Char('\n')
        + QStringLiteral("Atminas faila vards - ") + name + QLatin1Char('\n')
        + QStringLiteral("Komanda             - ") + command + QLatin1Char('\n')
        + QStringLiteral("Buffers             - ") + buffer + QLatin1Char('\n');
    FILE* log = std::fopen("error.log", "a+");
    if (!log)
        return;
    const std::string bytes = toCp1257(block);
    std::fwrite(bytes.data(), 1, bytes.size(), log);
    std::fclose(log);
}
