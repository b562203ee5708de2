// The back office's values in the shared Setup key: which steps are ticked, the exchange file,
// the cash limit and the two customer-display lines, read in the groups the program has always
// read them in and written back when the program closes.
#pragma once

#include "settings_store.h"

#include <QString>

inline constexpr const char* kLedvikSetupKey = "Software\\TOVEL\\Tillora\\Setup";

// The two customer-display lines a till gets when the back office has none of its own.
inline const QString kDefaultDemoRinda1 = QStringLiteral("Tillora");
inline const QString kDefaultDemoRinda2 = QStringLiteral("Laipni lūdzam! 2026");

// The eleven step boxes of the page "Datu sūtīšana".
struct LedvikChecks {
    bool Preces = false;
    bool Klienti = false;
    bool Valutas = false;
    bool Users = false;
    bool Nodalas = false;
    bool SutaPrecesDAT = false;
    bool R_ARTIK = false;
    bool R_KONTR = false;
    bool BrivaCena = false;
    bool RealizSun = false;
    bool AtdKase = false;
};

// The controls' values; the defaults are the form's design values.
struct LedvikSettings {
    QString DBFDir;
    LedvikChecks checks;
    QString NaudaLimits = QStringLiteral("600.00");
    QString DemoRinda_1;
    QString DemoRinda_2;
    bool IsAutoDirekcija = false;  // read only: no program of the suite writes it
};

// Booleans are integers, as the till reads its own. Within a group a missing boolean, or a value
// of the wrong type, ends the group and the later values of it keep what `settings` held; a
// missing text reads as empty. A missing key reads nothing. Empty display lines then get the
// default lines.
LedvikSettings LoadLedvikSettings(const platform::SettingsStore& store, LedvikSettings settings = {});
// Writes every value but AutoDirekcija, creating the key when missing.
void SaveLedvikSettings(platform::SettingsStore& store, const LedvikSettings& settings);
