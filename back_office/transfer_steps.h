// The steps of a send/receive pass for one till: the settings row, items, the four master-data
// tables, items from PRECES.DAT, and collecting sales into files and the second database. Each step logs its own lines and catches its own failures; only
// an exchange file that cannot be made escapes (as DbfError), ending the pass.
#pragma once

#include "process_log.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <cmath>
#include <concepts>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <vector>

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
// The connection to the second database, which receives the tills' receipts.
inline const QString kAutoDirekcijaDB = QStringLiteral("AutoDirekcijaDB");

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

// PRECES.DAT of the DBF folder into the till's N_PRECE: name, price, department 1, unit "GAB.".
void SutaPrecesDat(const TransferContext& context, const QString& path, const QString& name);
// The till's sums by item into SUN.TXT of the DBF folder; the first till of a pass starts the file.
void SanemRealizSun(const TransferContext& context, const QString& path, bool first);
// The till's receipts into table KASE of the second database (alias "AD"), one transaction.
void SanemAtdKase(const TransferContext& context, const QString& name, const QString& path);
// Whether KASE can keep the till's receipts apart from those of the tills sent before it: it knows
// a till only by the first two characters of its name (filiale_ID), and a receipt it holds for a
// till, number and date is not sent again. When it cannot, logs the step's failure line.
bool KaseTellsTillApart(const TransferContext& context, const TillRow& till, const std::vector<TillRow>& sentBefore);

// The journal rows of Z report `zNr`: ISN from the Z row of report n-1 to that of report n (a
// bound not found is 0); an empty number means the whole journal, 1 to 1410065407.
struct ZRange {
    int ISN_NO = 0;
    int ISN_LIDZ = 0;
};
ZRange AtrodZRobezas(const QSqlDatabase& till, const QString& zNr);
// What a collecting step logs after its name when the till has no Z report of that number: the
// step collects nothing for that till, which must not read as a day without sales.
inline QString ZNumberMissing(const QString& zNr) { return QStringLiteral("kasē nav Z atskaites Nr. ") + zNr; }

// Rounds to n decimals, half away from zero for positive values; a value of 0 or below goes down.
// The price conversion rounds in long double, the sums in double.
template <std::floating_point Real>
Real Noapalot(int n, Real value) {
    const Real scale = std::pow(Real(10), Real(n));
    Real x = value * scale;
    if (x > 0 && x - std::floor(x) >= Real(0.5)) x += 1;
    return std::floor(x) / scale;
}

// Leading and trailing blanks and control characters removed.
QString TrimmedText(const QString& text);
