#include "settings.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <optional>

namespace {

using platform::SettingsStore;
using platform::ValueType;


std::optional<int> readInteger(const SettingsStore& store, const char* name) {
    if (auto value = store.readInteger(kSetupKey, name)) return int(*value);
    return std::nullopt;
}

std::optional<bool> readFlag(const SettingsStore& store, const char* name) {
    if (auto value = readInteger(store, name)) return *value != 0;
    return std::nullopt;
}

// The guarded steps: a failed read stores the default when there is one, else keeps the field.
template <typename T>
void guarded(T& field, std::optional<T> read, std::optional<T> onFailure) {
    if (read) field = *read;
    else if (onFailure) field = *onFailure;
}

void text(const SettingsStore& s, const char* name, QString& field, std::optional<QString> onFailure = std::nullopt) {
    guarded(field, ReadSetupString(s, name), onFailure);
}
void integer(const SettingsStore& s, const char* name, int& field, std::optional<int> onFailure = std::nullopt) {
    guarded(field, readInteger(s, name), onFailure);
}
void flag(const SettingsStore& s, const char* name, bool& field, std::optional<bool> onFailure = std::nullopt) {
    guarded(field, readFlag(s, name), onFailure);
}

}  // namespace

bool ParseWholeNumber(const QString& text, int& value) {
    bool ok = false;
    const int parsed = text.trimmed().toInt(&ok, 10);
    if (ok) value = parsed;
    return ok;
}

bool ParseDecimalNumber(const QString& text, double& value) {
    bool ok = false;
    // QString::toDouble is locale-independent ("." only) and accepts blanks around the number.
    const double parsed = text.toDouble(&ok);
    if (!ok || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

void LoadRegistrySettings(TillSettings& t, const SettingsStore& s) {
    t.CenasDecimalzimes = 2;
    if (!s.keyExists(kSetupKey)) return;

    // Row 1 is read outside any guard.
    auto prefix = ReadSetupString(s, "SvaruPrefix");
    if (!prefix) throw SettingsReadError("SvaruPrefix: the value is not a string");
    t.SvaruPrefix = prefix->trimmed();

    text(s, "CekaKopijaPath", t.CekaKopijaPath);
    text(s, "KasesNr", t.KasesNr);
    flag(s, "StockaraConect", t.StockaraConect, false);
    text(s, "StockaraNodalasKods", t.StockaraNodalasKods, QString());
    integer(s, "SvariCom", t.SvariCom, 0);
    integer(s, "SkanerisCom", t.SkanerisCom, 0);
    integer(s, "SvariTips", t.SvariTips, 0);
    integer(s, "Printeris", t.Printeris, 0);

    // EFT is text compared exactly; any other text leaves the kind in force.
    if (auto eft = ReadSetupString(s, "EFT")) {
        if (*eft == "1") t.EFT = 1;
        else if (*eft == "2") t.EFT = 2;
        else if (*eft == "3") t.EFT = 3;
    } else {
        t.EFT = 0;
    }

    {
        int decimals = 0;
        auto stored = ReadSetupString(s, "CenasDecimalzimes");
        t.CenasDecimalzimes = (stored && ParseWholeNumber(*stored, decimals)) ? decimals : 2;
    }

    flag(s, "ArtikAtsevRinda", t.ArtikAtsevRinda);
    flag(s, "UzlimeIrSumma", t.UzlimeIrSumma);
    integer(s, "ArtikulaStart", t.ArtikulaStart, 3);
    integer(s, "ArtikulaGarums", t.ArtikulaGarums, 6);
    integer(s, "SvaraStart", t.SvaraStart, 9);
    integer(s, "SvaraGarums", t.SvaraGarums, 4);
    flag(s, "FiskPrinteris", t.FiskPrinteris);
    flag(s, "SummuVardiem", t.SummuVardiem);
    flag(s, "FullScreen", t.FullScreen);
    integer(s, "KlientLielaisEkrans", t.KlientLielaisEkrans);
    // Width and height in one step: a failed width leaves the height unread.
    if (auto width = readInteger(s, "KlScreenWidth")) {
        t.KlScreenWidth = *width;
        integer(s, "KlScreenHeight", t.KlScreenHeight);
    }
    integer(s, "PrepaidNodala", t.PrepaidNodala, 1);
    integer(s, "NeatrastaPreceNodala", t.NeatrastaPreceNodala, 1);
    integer(s, "IngenicoPardosana", t.IngenicoPardosana);
    integer(s, "IngenicoAtgr", t.IngenicoAtgr);
    text(s, "IngenicoVal", t.IngenicoVal);
    integer(s, "IngenicoDienBeigas1", t.IngenicoDienBeigas1);
    integer(s, "IngenicoDienBeigas2", t.IngenicoDienBeigas2);
    flag(s, "NedrukatAnuletosCekus", t.NedrukatAnuletosCekus);
    // The EUR_Summa step encloses the EUR_Kurss step.
    if (auto summa = readFlag(s, "EUR_Summa")) {
        t.EUR_Summa = *summa;
        double rate = 0;
        if (auto stored = ReadSetupString(s, "EUR_Kurss"); stored && ParseDecimalNumber(*stored, rate)) t.EUR_Kurss = rate;
    }
    integer(s, "CekaValuta", t.CekaValuta, 0);
    t.CekaValutaKods = t.CekaValuta == 0 ? "LVL" : "EUR";
    flag(s, "NeraditTouchPogas", t.NeraditTouchPogas);
    flag(s, "EkrNosaukDivasRindas", t.EkrNosaukDivasRindas);
    integer(s, "PrepaidServVeids", t.PrepaidServVeids);
    text(s, "ZudezoClientID", t.ZudezoClientID);
    text(s, "ZudezoUserID", t.ZudezoUserID);
    text(s, "ZudezoPasword", t.ZudezoPasword);
    // The ten logo names in one step: a failed one leaves itself and the later ones unread.
    for (int n = 0; n < int(t.ZudezoLogo.size()); ++n) {
        const std::string name = "ZudezoLogo_" + std::to_string(n + 1);
        auto logo = ReadSetupString(s, name.c_str());
        if (!logo) break;
        t.ZudezoLogo[std::size_t(n)] = *logo;
    }
    flag(s, "SilentMessage", t.SilentMessage);
}

bool ReadPilnuJa1Daudz(const QSqlDatabase& posDb) {
    QSqlQuery query(posDb);
    if (!query.exec("SELECT PILNUJA1DAUDZ FROM N_ISI"))
        throw std::runtime_error(query.lastError().text().toStdString());
    return query.next() && query.value(0).toString() == "T";
}

std::optional<QString> ReadSetupString(const platform::SettingsStore& store, const char* name) {
    switch (store.valueType(kSetupKey, name)) {
    case ValueType::Missing: return QString();
    case ValueType::Text: return QString::fromStdString(store.readText(kSetupKey, name).value_or(""));
    case ValueType::Integer: break;
    }
    return std::nullopt;
}

TillSettings LoadSettings(TillSettings current, const SettingsStore& store, const QSqlDatabase& posDb) {
    LoadRegistrySettings(current, store);
    current.PilnuJa1Daudz = ReadPilnuJa1Daudz(posDb);
    return current;
}
