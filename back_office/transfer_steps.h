// The steps of a send/receive pass for one till: the settings row, items, the four master-data
// tables, and collecting sales. Each step logs its own lines and catches its own failures; only
// an exchange file that cannot be made escapes (as DbfError), ending the pass.
#pragma once

#include "process_log.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <filesystem>
#include <functional>
#include <stdexcept>

// One row of the till list "KASES.DBF".
struct TillRow {
    QString GNOS;
    QString PATH;      // the till database: a file, or "host:/path" / "host/port:/path"
    QString NEAKTIVA;  // "T": inactive
    QString LOGO_EKR;  // the screen logo picture's file
};

// What the steps read of the main window for one pass.
struct TransferValues {
    std::filesystem::path dbfFolder;  // the folder of the file in shDBFDir
    QString NaudaLimits;
    QString DemoRinda_1;
    QString DemoRinda_2;
    QDate DatumsNo;
    QDate DatumsLidz;
    QString Z_Nr;
};

// The gauge Termometrs: shown with a range, moved a row at a time, hidden.
struct Gauge {
    std::function<void(int maximum)> start = [](int) {};
    std::function<void()> step = [] {};
    std::function<void()> hide = [] {};
};

struct TransferContext {
    TransferValues values;
    ProcessLog& log;
    Gauge gauge;
};

// A database statement that failed, with the database's text.
class StepError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one connection the steps point at one till after another.
inline const QString kPosDati = QStringLiteral("POSDati");

// The per-till connection procedure: closes POSDati and opens it on the till's PATH with the
// till database log-in. Throws platform::DatabaseError with the driver's text.
QSqlDatabase ConnectTill(const QString& path);

void SutaKonfiguraciju(const TransferContext& context, const TillRow& till);
void SutaPreces(const TransferContext& context, const QString& path, const QString& name);

// The four master-data tables, sent in this order.
enum class MasterData { Klienti, Valutas, Lietotaji, Nodalas };
void SutaMasterData(const TransferContext& context, MasterData table, const QString& path, const QString& name);

// Throws DbfError when R_ARTIK.DBF cannot be made or opened.
void SanemRArtik(const TransferContext& context, const QString& path, const QString& name, bool first);
void SanemRKontr(const TransferContext& context, const QString& path);
void SanemBrivasCenas(const TransferContext& context, const QString& path);

// The journal rows of Z report `zNr`: ISN from the Z row of report n-1 to that of report n (a
// bound not found is 0); an empty number means the whole journal, 1 to 1410065407.
struct ZRange {
    int ISN_NO = 0;
    int ISN_LIDZ = 0;
};
ZRange AtrodZRobezas(const QSqlDatabase& till, const QString& zNr);

// Rounds to n decimals, half away from zero for positive values.
double Noapalot(int n, double value);

// Leading and trailing blanks and control characters removed.
QString TrimmedText(const QString& text);
