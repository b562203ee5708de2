// The till's station settings: the values of the Setup key and the one flag of table N_ISI, with
// the types, defaults and reading rules every part of the till relies on.
#pragma once

#include "settings_store.h"

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>
#include <stdexcept>

inline constexpr const char* kSetupKey = "Software\\TOVEL\\Tillora\\Setup";

// One field per Setup value (ZudezoLogo_1..10 in one array), the derived currency code and the
// N_ISI flag. The main window inherits these fields, so every part of the till reads them by name.
struct TillSettings {
    QString SvaruPrefix;
    QString CekaKopijaPath;
    QString KasesNr;
    bool StockaraConect = false;
    QString StockaraNodalasKods;
    int SvariCom = 0;
    int SkanerisCom = 0;
    int SvariTips = 0;
    int Printeris = 0;
    int EFT = 0;
    int CenasDecimalzimes = 0;
    bool ArtikAtsevRinda = false;
    bool UzlimeIrSumma = false;
    int ArtikulaStart = 0;
    int ArtikulaGarums = 0;
    int SvaraStart = 0;
    int SvaraGarums = 0;
    bool FiskPrinteris = false;
    bool SummuVardiem = false;
    bool FullScreen = false;
    int KlientLielaisEkrans = 0;
    int KlScreenWidth = 0;
    int KlScreenHeight = 0;
    int PrepaidNodala = 0;
    int NeatrastaPreceNodala = 0;
    int IngenicoPardosana = 0;
    int IngenicoAtgr = 0;
    QString IngenicoVal;
    int IngenicoDienBeigas1 = 0;
    int IngenicoDienBeigas2 = 0;
    bool NedrukatAnuletosCekus = false;
    bool EUR_Summa = false;
    double EUR_Kurss = 0;
    int CekaValuta = 0;
    bool NeraditTouchPogas = false;
    bool EkrNosaukDivasRindas = false;
    int PrepaidServVeids = 0;
    QString ZudezoClientID;
    QString ZudezoUserID;
    QString ZudezoPasword;
    std::array<QString, 10> ZudezoLogo;
    bool SilentMessage = false;
    // "LVL" for CekaValuta 0, "EUR" otherwise.
    QString CekaValutaKods;
    // N_ISI.PILNUJA1DAUDZ is exactly "T".
    bool PilnuJa1Daudz = false;
};

// SvaruPrefix stored as something other than a string: the one registry failure that reaches the
// caller (nothing after it is read).
class SettingsReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the Setup key into the fields: every value in its own guarded step, a failed step giving
// the value's default or keeping what the field held. A missing key reads nothing.
// CenasDecimalzimes is set to 2 first. Throws SettingsReadError (see above).
void LoadRegistrySettings(TillSettings& settings, const platform::SettingsStore& store);

// "SELECT PILNUJA1DAUDZ FROM N_ISI": true exactly when the first row holds "T" (no row: false).
// Throws std::runtime_error with the database's text when the query fails.
bool ReadPilnuJa1Daudz(const QSqlDatabase& posDb);

// The whole load: the registry, then the N_ISI flag. Returns the fields as loaded over `current`.
TillSettings LoadSettings(TillSettings current, const platform::SettingsStore& store, const QSqlDatabase& posDb);

// A text value of the Setup key: a missing value reads as the empty text; a value of the other
// type fails.
std::optional<QString> ReadSetupString(const platform::SettingsStore& store, const char* name);

// Conversions of the two settings kept as text, as the start-up decimal check makes them
// unambiguous: a whole number, and a floating-point number with "." (blanks around allowed).
bool ParseWholeNumber(const QString& text, int& value);
bool ParseDecimalNumber(const QString& text, double& value);
