// Cashiers: the log-in check against O_USERS, the rights a cashier brings, and which controls of
// the sale window each right governs.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include <array>

// What a passed log-in hands over. Each right is granted only by the exact value "T".
struct CashierRights {
    bool VarAtgreizt = false;       // VARATGREIZT: returns
    bool VarZAtskaiti = false;      // VAR_Z_ATSKAITI: the Z report
    bool VarMainitAtlaidi = false;  // VARMAINITATLAIDI: the discount field
    bool VarDzest = false;          // VARDZEST: deleting a receipt-list entry
    bool KlElektron = false;        // KL_ELEKTRON: customers only by card scan
    double MaxAtlaide = 0;          // MAXATLAIDE
    QString FullName;               // FULLNAME
};

enum class LoginCheck { Passed, EmptyUserName, UnknownUser, WrongPassword };

inline const char* const kEmptyUserNameMessage = "Ievadiet korektu lietotāja vārdu !!!";
inline const char* const kUnknownUserMessage = "Šāds lietotājs nav reģistrēts sistēmā !!!";
inline const char* const kWrongPasswordMessage = "Nav ievadītā pareiza parole !!!";

inline const char* const kCashierQuery =
    "SELECT ISN, GNOS, PASWORD, VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, VARDZEST, MAXATLAIDE, FULLNAME, KL_ELEKTRON"
    " FROM O_USERS"
    " WHERE GNOS=:GNOS";

// Looks the user name up exactly (stored names are upper case) and compares the password byte
// for byte. On Passed, `rights` holds the row's rights. Throws std::runtime_error with the
// database's text when the query cannot run.
LoginCheck CheckCashier(const QSqlDatabase& posDb, const QString& userName, const QString& password, CashierRights& rights);

// The status-bar text of a refused check (empty for Passed).
QString LoginCheckMessage(LoginCheck result);

// The cashier as the main window holds it.
struct CashierData {
    QString Kasieris;          // the user name as typed (O_USERS.GNOS)
    QString KasierisFullName;  // FULLNAME, or the user name when that is empty
    bool VarAtgreizt = false;
    bool VarZAtskaiti = false;
    bool VarMainitAtlaidi = false;
    bool VarDzest = false;
    double MaxAtlaide = 0;
};

CashierData CashierFromLogin(const QString& userName, const CashierRights& rights);

// The controls whose enabled state follows a right, in the order they are set.
struct RightControl {
    bool CashierData::*right;
    const char* control;
};
inline constexpr std::array<RightControl, 4> kRightControls{{
    {&CashierData::VarMainitAtlaidi, "edAtlaide"},
    {&CashierData::VarAtgreizt, "rdPirkumsStorno"},
    {&CashierData::VarZAtskaiti, "MenuItem17"},
    {&CashierData::VarDzest, "Dzstierakstu1"},
}};

// Right-trims a CHAR column's text: the database pads CHAR values with blanks.
QString CharColumn(const QVariant& value);
