#include "ledvik_settings.h"

#include <optional>

namespace {

using platform::SettingsStore;
using platform::ValueType;

// One read group: after the first failed read nothing more of the group is read.
class ReadGroup {
public:
    explicit ReadGroup(const SettingsStore& store) : store_(store) {}

    ReadGroup& flag(const char* name, bool& field) {
        if (!ok_) return *this;
        if (auto value = store_.readInteger(kLedvikSetupKey, name)) field = *value != 0;
        else ok_ = false;
        return *this;
    }
    ReadGroup& text(const char* name, QString& field) {
        if (!ok_) return *this;
        const ValueType type = store_.valueType(kLedvikSetupKey, name);
        if (type == ValueType::Integer) ok_ = false;
        else field = QString::fromStdString(store_.readText(kLedvikSetupKey, name).value_or(std::string()));
        return *this;
    }

private:
    const SettingsStore& store_;
    bool ok_ = true;
};

}  // namespace

LedvikSettings LoadLedvikSettings(const SettingsStore& store, LedvikSettings s) {
    if (store.keyExists(kLedvikSetupKey)) {
        LedvikChecks& c = s.checks;
        ReadGroup(store).text("DBFDir", s.DBFDir);
        ReadGroup(store)
            .flag("Preces", c.Preces)
            .flag("Klienti", c.Klienti)
            .flag("Valutas", c.Valutas)
            .flag("Nodalas", c.Nodalas)
            .flag("R_ARTIK", c.R_ARTIK)
            .flag("R_KONTR", c.R_KONTR)
            .flag("BrivaCena", c.BrivaCena)
            .text("NaudaLimits", s.NaudaLimits);
        ReadGroup(store).flag("USERS", c.Users);
        ReadGroup(store).text("DemoRinda_1", s.DemoRinda_1);
        ReadGroup(store).text("DemoRinda_2", s.DemoRinda_2);
        ReadGroup(store).flag("RealizSun", c.RealizSun);
        ReadGroup(store).flag("SanemPrecesDAT", c.SutaPrecesDAT);
        ReadGroup(store).flag("AtdKase", c.AtdKase);
        s.IsAutoDirekcija = false;
        ReadGroup(store).flag("AutoDirekcija", s.IsAutoDirekcija);
    }
    if (s.DemoRinda_1.isEmpty()) s.DemoRinda_1 = kDefaultDemoRinda1;
    if (s.DemoRinda_2.isEmpty()) s.DemoRinda_2 = kDefaultDemoRinda2;
    return s;
}

void SaveLedvikSettings(SettingsStore& store, const LedvikSettings& s) {
    const auto flag = [&](const char* name, bool value) { store.writeInteger(kLedvikSetupKey, name, value ? 1 : 0); };
    const auto text = [&](const char* name, const QString& value) { store.writeText(kLedvikSetupKey, name, value.toStdString()); };
    const LedvikChecks& c = s.checks;
    flag("Preces", c.Preces);
    flag("Klienti", c.Klienti);
    flag("Valutas", c.Valutas);
    flag("Nodalas", c.Nodalas);
    flag("R_ARTIK", c.R_ARTIK);
    flag("R_KONTR", c.R_KONTR);
    flag("USERS", c.Users);
    flag("BrivaCena", c.BrivaCena);
    text("NaudaLimits", s.NaudaLimits);
    text("DBFDir", s.DBFDir);
    text("DemoRinda_1", s.DemoRinda_1);
    text("DemoRinda_2", s.DemoRinda_2);
    flag("RealizSun", c.RealizSun);
    flag("SanemPrecesDAT", c.SutaPrecesDAT);
    flag("AtdKase", c.AtdKase);
}
