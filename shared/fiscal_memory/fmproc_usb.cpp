// TFMProc, USB kind: the exchange with the maker's device (one request frame, one reply frame,
// up to three sends) and the record and day-close operations over it.
#include "fmproc.h"

#include "clock.h"
#include "codepage_1257.h"
#include "tvl_link.h"
#include "ui_services.h"

#include <charconv>

using namespace platform;

namespace {

constexpr int kAttempts = 3;
constexpr int kAfterWriteMs = 150;
constexpr int kBetweenAttemptsMs = 5000;
constexpr unsigned long kBaudRate = 115200;
// The longest reply taken in: far beyond any record's text, short enough that a device sending
// without end cannot hold the till or fill its memory.
constexpr int kMaxReplyBytes = 8192;

// A count the device sent as decimal text; none when the text is not a number.
std::optional<int> countOf(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

// One exchange. The reply counts only when both checks match: a reply whose checks differ is
// logged and refused. A reply that does not start with LF, or does not come within the read
// time-out, is sent again after a pause and a re-open of the device, three sends in all.
bool TFMProc::TvlSendAndRecieve(const QString& command, const QString& p1, const QString& p2, const QString& p3,
                                QString& data, QString& status)
{
    data.clear();
    status.clear();
    const std::string fields[] = {toCp1257(command), toCp1257(p1), toCp1257(p2), toCp1257(p3)};
    for (const std::string& field : fields) {
        if (!tvl::fitsInFrame(field)) {
            LastReply.clear();
            FMError(FT_INVALID_PARAMETER, p1, command + QStringLiteral(" parametrs"), fromCp1257(field));
            return false;
        }
    }
    const std::string frame = tvl::buildRequest(fields[0], fields[1], fields[2], fields[3]);
    const QString frameText = fromCp1257(frame);
    const auto tag = [&](const char* what) { return command + QString::fromLatin1(what); };

    tvl::ReplyDecoder decoder;
    for (int attempt = 1;; ++attempt) {
        // A late answer to an earlier request must not pass for the answer to this one.
        FT_Purge(FTHandle, FT_PURGE_RX | FT_PURGE_TX);
        unsigned long count = 0;
        FT_STATUS st = FT_Write(FTHandle, frame.data(), static_cast<unsigned long>(frame.size()), &count);
        platform::clock().sleepMs(kAfterWriteMs);
        if (attempt >= 2 || st != FT_OK)
            writeErrorLog(int(st), p1, tag(" FT_Write itcount=") + QString::number(attempt), frameText);

        decoder.reset();
        tvl::ReplyDecoder::Step step = tvl::ReplyDecoder::Step::NeedMore;
        char byte = 0;
        st = FT_Read(FTHandle, &byte, 1, &count);
        if (st != FT_OK)
            writeErrorLog(int(st), p1, tag(" FT_Read !FT_SUCCESS itcount=") + QString::number(attempt), frameText);
        int received = 0;
        while (st == FT_OK && count == 1) {
            if (++received > kMaxReplyBytes) {
                LastReply = QStringLiteral("Atbilde garāka par %1 baitiem").arg(kMaxReplyBytes);
                FMError(0, p1, tag(" garums"), frameText);
                return false;
            }
            step = decoder.feed(byte);
            if (step != tvl::ReplyDecoder::Step::NeedMore)
                break;
            st = FT_Read(FTHandle, &byte, 1, &count);
        }

        if (step == tvl::ReplyDecoder::Step::Complete) {
            const tvl::Reply& reply = decoder.reply();
            status = fromCp1257(reply.status);
            data = fromCp1257(reply.data);
            if (reply.checksMatch())
                return true;
            LastReply = status;
            FMError(0, p1, tag(" CRC"), fromCp1257(reply.code + "|" + reply.status + "|" + reply.check1 + "|" + reply.data + "|" + reply.check2));
            data.clear();
            status.clear();
            return false;
        }

        // A bad first byte, a silent device or a reply cut short: try again on a re-opened device.
        writeErrorLog(int(st), p1, tag(" TURPINA"), frameText);
        platform::clock().sleepMs(kBetweenAttemptsMs);
        if (attempt == kAttempts) {
            writeErrorLog(int(st), p1, tag(" Nepareizs pirmais baits (3)"), QStringLiteral("TvlSendAndRecieve"));
            ui::showMessage(QStringLiteral("Nepareizs pirmais baits (3) !!!\n\n TvlSendAndRecieve"));
            return false;
        }
        st = FT_Close(FTHandle);
        FTHandle = nullptr;
        writeErrorLog(int(st), p1, tag(" TURPINA"), QStringLiteral("Statuss = FT_Close"));
        st = FT_Open(0, &FTHandle);
        writeErrorLog(int(st), p1, tag(" TURPINA"), QStringLiteral("Statuss = FT_Open"));
        // The device comes back at the driver's default rate; the frames need 115200.
        if (st == FT_OK)
            FT_SetBaudRate(FTHandle, kBaudRate);
    }
}

bool TFMProc::TVL_HT_Create(const QString& name, int size)
{
    QString data, status;
    showProgress(QStringLiteral("TVL_HT_Create Before FR ") + name);
    const bool probed = TvlSendAndRecieve(QStringLiteral("FR"), name, QString::number(size), {}, data, status);
    showProgress(QStringLiteral("TVL_HT_Create after FR ") + name);
    if (!probed)
        return false;
    if (tvl::classifyStatus(toCp1257(status)) != tvl::Status::NoSuchRecord)
        return true;
    showProgress(QStringLiteral("TVL_HT_Create before FC ") + name);
    const bool created = TvlSendAndRecieve(QStringLiteral("FC"), name, QString::number(size), {}, data, status);
    showProgress(QStringLiteral("TVL_HT_Create after FC ") + name);
    if (!created)
        return false;
    const tvl::Status result = tvl::classifyStatus(toCp1257(status));
    if (result != tvl::Status::Ok && result != tvl::Status::FileAlreadyExist) {
        LastReply = status;
        FMError(0, name, QStringLiteral("TVL_HT_Create"), {});
        return false;
    }
    return true;
}

bool TFMProc::FMCreateRecordTVL(const QString& name, int size)
{
    if (!TVL_HT_Create(name, size))
        return false;
    RecordSize = size;
    return true;
}

// A device error on a read leaves the value as it was and the read goes on: the receipt header
// and the reports carry on with that record empty. Every device error but "RecordCrc" (whose data
// is good enough to take) is logged; a record the device does not hold is only logged, as a
// record never written is normal on a new device.
bool TFMProc::FMReadTVL(const QString& name, QString& value)
{
    QString data, status;
    if (!TvlSendAndRecieve(QStringLiteral("FR"), name, {}, {}, data, status))
        return false;
    switch (tvl::classifyStatus(toCp1257(status))) {
    case tvl::Status::Ok:
    case tvl::Status::RecordCrc:
        if (!data.isEmpty())
            value = data;
        return true;
    case tvl::Status::NoSuchRecord:
        LastReply = status;
        writeErrorLog(0, name, QStringLiteral("FMReadTVL"), {});
        return true;
    default:
        LastReply = status;
        FMError(0, name, QStringLiteral("FMReadTVL"), {});
        return true;
    }
}

bool TFMProc::FMWriteTVL(const QString& name, const QString& value)
{
    FMRecordSize(name);
    if (!TVL_HT_Create(name, RecordSize))
        return false;
    std::string text = toCp1257(value);
    text.resize(std::size_t(RecordSize > 0 ? RecordSize : 0), ' ');
    QString data, status;
    if (!TvlSendAndRecieve(QStringLiteral("FW"), name, QStringLiteral("0"), fromCp1257(text), data, status))
        return false;
    if (tvl::classifyStatus(toCp1257(status)) != tvl::Status::Ok) {
        LastReply = status;
        FMError(0, name, QStringLiteral("FMWriteTVL"), {});
        return false;
    }
    return true;
}

// The device's count of day-close records. A device error or a count that is not a number fails:
// the callers would otherwise start the totals again from report 1.
bool TFMProc::readTvlCount(const QString& tag, int& count)
{
    QString data, status;
    if (!TvlSendAndRecieve(QStringLiteral("NN"), {}, QStringLiteral("0"), {}, data, status))
        return false;
    const auto value = countOf(data);
    if (tvl::classifyStatus(toCp1257(status)) != tvl::Status::Ok || !value) {
        LastReply = status;
        FMError(0, QStringLiteral("NN"), tag, data);
        return false;
    }
    count = *value;
    return true;
}

bool TFMProc::FMReadGrandTVL(int index, DayCloseRecord& record)
{
    if (index == -1) {
        int count = 0;
        if (!readTvlCount(QStringLiteral("FMReadGrandTVL"), count))
            return false;
        index = count - 1;
    }
    record = DayCloseRecord{};
    if (index <= 0)
        return true;
    QString data, status;
    if (!TvlSendAndRecieve(QStringLiteral("NR"), QString::number(index), {}, {}, data, status))
        return false;
    if (tvl::classifyStatus(toCp1257(status)) != tvl::Status::Ok) {
        LastReply = status;
        FMError(0, QStringLiteral("NR"), QStringLiteral("FMReadGrandTVL"), {});
        return false;
    }
    parseDayCloseRecord(DayCloseLayout::Usb, toCp1257(data), record);
    return true;
}

// Index 0 of the device's list is never read as a day-close record, as on the module: a list that
// is still empty gets the opening record first, so the first Z report's record lands at index 1
// where the readers find it (its number and grand totals then carry on into the next report).
bool TFMProc::FMWriteGrandTVL(const DayCloseRecord& record)
{
    int count = 0;
    if (!readTvlCount(QStringLiteral("FMWriteGrandTVL"), count))
        return false;
    if (count == 0) {
        if (!appendTvlDayClose(0, OpeningRecord()))
            return false;
        count = 1;
    }
    return appendTvlDayClose(count, record);
}

// NW carries the count of records the device holds: the new record's index.
bool TFMProc::appendTvlDayClose(int index, const DayCloseRecord& record)
{
    const QString text = fromCp1257(formatDayCloseRecord(DayCloseLayout::Usb, record));
    QString data, status;
    if (!TvlSendAndRecieve(QStringLiteral("NW"), QString::number(index), {}, text, data, status))
        return false;
    if (tvl::classifyStatus(toCp1257(status)) != tvl::Status::Ok) {
        LastReply = status;
        FMError(0, QStringLiteral("NW"), QStringLiteral("FMWriteGrandTVL"), {});
        return false;
    }
    return true;
}

bool TFMProc::FMGetRecordCountTVL(int& count)
{
    return readTvlCount(QStringLiteral("FMGetRecordCountTVL"), count);
}

bool TFMProc::FMSerialNrTVL(QString& serialNr)
{
    QString data, status;
    if (!TvlSendAndRecieve(QStringLiteral("NS"), QStringLiteral("0"), QStringLiteral("0"), {}, data, status))
        return false;
    if (tvl::classifyStatus(toCp1257(status)) != tvl::Status::Ok) {
        LastReply = status;
        FMError(0, QStringLiteral("NS"), QStringLiteral("FMSerialNrTVL"), {});
        return false;
    }
    serialNr = data;
    return true;
}
