// TFMProc: the one way the programs reach the fiscal memory. It picks the kind from the settings
// (the Memorix module on a COM port, the maker's USB device, or none) and reads and writes the
// named working records, the day-close records, the record count and the serial number.
#pragma once

#include "day_close_record.h"
#include "fm_working_records.h"
#include "ftdi.h"

#include <QDate>
#include <QString>

#include <functional>
#include <string>

class QLabel;

class TFMProc {
public:
    // Kinds of fiscal memory (settings value "FMTips").
    enum Kind { NoFiscalMemory = 0, MemorixModule = 1, IdCard = 2, UsbDevice = 3 };

    // Reads the kind and port from the settings and opens the fiscal memory; Status tells
    // whether it is ready. statusLabel, when given, shows the progress texts (not owned).
    explicit TFMProc(QLabel* statusLabel = nullptr);
    // Closes the USB device when one is open (the module's port stays open for the other programs).
    ~TFMProc();
    TFMProc(const TFMProc&) = delete;
    TFMProc& operator=(const TFMProc&) = delete;

    // A working record; value is replaced only by a non-empty stored text.
    bool FMRead(const QString& name, QString& value);
    // Writes a working record padded with blanks or cut to its size.
    bool FMWrite(const QString& name, const QString& value);
    // One day-close record; index -1 is the newest. Amounts in cents.
    bool FMReadGrand(int index, int& nr, double& grandTotal, double& grandVat, QDate& date, QString& time,
                     double& daySum, double& dayVat, QString& check);
    // Appends a day-close record dated now. Amounts in cents.
    bool FMWriteGrand(int nr, const QString& check, double grandTotal, double grandVat, double daySum, double dayVat);
    // Appends the day-close record as given, with its own date and time: a retry of an append
    // cut short must send the same bytes.
    bool FMAppendDayClose(const DayCloseRecord& record);
    // The record with today's date and the time of day (hours and minutes).
    static DayCloseRecord DatedNow(DayCloseRecord record);
    // The record that opens an empty list of day-close records at index 0, which no reader reads
    // as a day close: number 1 (the number of the first Z report), zero amounts, dated now.
    static DayCloseRecord OpeningRecord();
    // Whether the write-once store holds the beginning of an append that was cut short: the next
    // append must continue it (with the same record). Only the module kind has one.
    bool FMAppendPending(bool& pending);
    bool FMGetRecordCount(int& count);
    bool FMSerialNr(QString& serialNr);
    // Kept for the set-up program, which calls it after its last write: does nothing.
    bool FMEndSave() { return false; }

    // Several writes as one: on the module kind a transaction of its two-bank store; the other
    // kinds have none, and these calls succeed at once there. A failure is logged under the tag.
    bool FMBeginTrans(const QString& tag);
    bool FMCommitTrans(const QString& tag);
    bool FMRollback(const QString& tag);
    bool FMTransInProgress(bool& open, const QString& tag);
    // Begins, runs `writes` and commits; anything short of a commit is rolled back, so a failure
    // or a killed program leaves every record as it was (on the kinds without transactions the
    // writes simply run in order). On the module kind the store is this program's until the end:
    // another program's reads and writes of it wait. False on any failure (reported under tag).
    bool FMInTransaction(const QString& tag, const std::function<bool()>& writes);

    // A working record outside the size table: created with the size when the store does not hold
    // it at that size (a record of another size is made anew, empty; on the module kind run it in a
    // transaction). RecordSize becomes the size, so an FMWrite of the record that follows at once
    // writes it at that size on every kind.
    bool FMCreateRecord(const QString& name, int size);

    // Sets RecordSize from the size table; a name outside the table leaves it as it was.
    void FMRecordSize(const QString& name);
    // Appends an error block to "error.log" in the working folder and tells the user
    // "Problēmas ar fiskālo bloku !!!" with the device's text for the error.
    void FMError(int status, const QString& name, const QString& command, const QString& buffer);

    // Module kind: creates every missing working record (the older 501-byte NOD_D_SUM is
    // migrated to 251 bytes) and gives a write-once store that holds no record its opening
    // day-close record; false when a record cannot be looked up, created or migrated (reported;
    // a record the module answered and refused to create is named in UncreatedRecord), or the
    // opening record cannot be counted or appended.
    // A run on a store that holds every record creates nothing.
    bool InitMRX_FMRam();
    // Creates the missing payment-kind records; false as InitMRX_FMRam.
    bool InitMRX_FMRamApm();

    int RecordSize = 0;
    platform::FT_HANDLE FTHandle = nullptr;
    QLabel* StatusLabel = nullptr;
    int FMTips = MemorixModule;
    int FMPort = 2;
    int Status = -1;       // 0 ready, -1 not ready
    QString LastReply;     // last error status text of the USB device
    QString LogNote;       // third line of every error block (the owning window's caption)
    QString UncreatedRecord;  // the working record the module refused to create in InitMRX_FMRam

private:
    void showProgress(const QString& text);
    void noFiscalMemory();
    // The device's or library's text for an error, by kind.
    QString errorText(int status) const;
    // Writes the error block only; FMError adds the message to the user.
    void writeErrorLog(int status, const QString& name, const QString& command, const QString& buffer);
    void readSettings();
    void open();

    template <class MemorixVariant, class UsbVariant>
    bool dispatch(bool resultWithoutMemory, MemorixVariant memorix, UsbVariant usb);

    // Module kind.
    bool FMReadMRX(const QString& name, QString& value);
    bool FMWriteMRX(const QString& name, const QString& value);
    bool FMReadGrandMRX(int index, DayCloseRecord& record);
    bool FMWriteGrandMRX(const DayCloseRecord& record);
    bool FMAppendPendingMRX(bool& pending);
    bool FMGetRecordCountMRX(int& count);
    bool FMSerialNrMRX(QString& serialNr);
    bool FMCreateRecordMRX(const QString& name, int size);
    bool migrateDaySums(int index);
    bool createMissingRecord(const fmrecords::WorkingRecord& record, const QString& tag);
    bool appendOpeningRecord();

    // USB kind.
    bool TvlSendAndRecieve(const QString& command, const QString& p1, const QString& p2, const QString& p3,
                           QString& data, QString& status);
    bool TVL_HT_Create(const QString& name, int size);
    bool FMReadTVL(const QString& name, QString& value);
    bool FMWriteTVL(const QString& name, const QString& value);
    bool FMReadGrandTVL(int index, DayCloseRecord& record);
    bool FMWriteGrandTVL(const DayCloseRecord& record);
    bool FMGetRecordCountTVL(int& count);
    bool FMSerialNrTVL(QString& serialNr);
    bool FMCreateRecordTVL(const QString& name, int size);
    bool readTvlCount(const QString& tag, int& count);
    bool appendTvlDayClose(int index, const DayCloseRecord& record);
};
