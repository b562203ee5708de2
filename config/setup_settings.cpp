// The form's values in the settings store's Setup key: read once at creation, each value with its
// own fallback, and written back at closing in the same order (FMTips, which Fiskon and the till
// only read, is never written).
#include "setup_form.h"

#include "record_texts.h"
#include "settings_store.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kSetupKey = "Software\\TOVEL\\Tillora\\Setup";
constexpr std::array<const char*, 10> kLogoNames = {"ZudezoLogo_1", "ZudezoLogo_2", "ZudezoLogo_3", "ZudezoLogo_4",
                                                     "ZudezoLogo_5", "ZudezoLogo_6", "ZudezoLogo_7", "ZudezoLogo_8",
                                                     "ZudezoLogo_9", "ZudezoLogo_10"};

// One value of the Setup key and how it meets its control: read (false when the read failed and
// the fallback applies), the fallback, and the write.
struct SettingsValue {
    std::function<bool(const platform::SettingsStore&)> read;
    std::function<void()> fallback;
    std::function<void(platform::SettingsStore&)> write;
};

// A text read fails only when the value is a number; a missing value reads as the empty text.
std::optional<QString> readText(const platform::SettingsStore& s, const char* name)
{
    if (s.valueType(kSetupKey, name) == platform::ValueType::Integer)
        return std::nullopt;
    return QString::fromStdString(s.readText(kSetupKey, name).value_or(std::string()));
}

std::optional<int> readInteger(const platform::SettingsStore& s, const char* name)
{
    return s.readInteger(kSetupKey, name);
}

// A number kept as text ("3"), as an older set-up wrote some values.
std::optional<int> readNumberText(const platform::SettingsStore& s, const char* name)
{
    const auto text = s.readText(kSetupKey, name);
    return text ? setuprecords::wholeNumber(QString::fromStdString(*text)) : std::nullopt;
}

SettingsValue radio(const char* name, TRadioGroup* group)
{
    return {[=](const platform::SettingsStore& s) {
                const auto v = readInteger(s, name);
                if (v) group->SetItemIndex(*v);
                return v.has_value();
            },
            [=] { group->SetItemIndex(0); },
            [=](platform::SettingsStore& s) { s.writeInteger(kSetupKey, name, group->ItemIndex()); }};
}

// A port list whose items start at `first` ("1", or "0" for the scanner): the stored number
// chooses the item showing it; nothing chosen writes first - 1.
SettingsValue port(const char* name, QComboBox* list, int first,
                   std::function<std::optional<int>(const platform::SettingsStore&)> reader)
{
    return {[=](const platform::SettingsStore& s) {
                const auto v = reader(s);
                if (v) list->setCurrentIndex(*v - first);
                return v.has_value();
            },
            [=] { list->setCurrentIndex(0); },
            [=](platform::SettingsStore& s) { s.writeInteger(kSetupKey, name, list->currentIndex() + first); }};
}

SettingsValue port(const char* name, QComboBox* list, int first = 1)
{
    return port(name, list, first, [=](const platform::SettingsStore& s) { return readInteger(s, name); });
}

// An edit holding a whole number, stored as an integer; its text was checked before writing.
SettingsValue number(const char* name, QLineEdit* field, std::function<void()> fallback = [] {})
{
    return {[=](const platform::SettingsStore& s) {
                const auto v = readInteger(s, name);
                if (v) field->setText(QString::number(*v));
                return v.has_value();
            },
            std::move(fallback),
            [=](platform::SettingsStore& s) {
                s.writeInteger(kSetupKey, name, setuprecords::wholeNumber(field->text()).value_or(0));
            }};
}

SettingsValue text(const char* name, QLineEdit* field)
{
    return {[=](const platform::SettingsStore& s) {
                const auto v = readText(s, name);
                if (v) field->setText(*v);
                return v.has_value();
            },
            [] {},
            [=](platform::SettingsStore& s) { s.writeText(kSetupKey, name, field->text().toStdString()); }};
}

SettingsValue flag(const char* name, QCheckBox* box)
{
    return {[=](const platform::SettingsStore& s) {
                const auto v = readInteger(s, name);
                if (v) box->setChecked(*v != 0);
                return v.has_value();
            },
            [] {},
            [=](platform::SettingsStore& s) { s.writeInteger(kSetupKey, name, box->isChecked() ? 1 : 0); }};
}

// The values in the order of reading and writing. Entries without a write are read only; several
// values in one entry share one guarded step (a failure stops the rest of that step).
std::vector<SettingsValue> settingsValues(TSetup& f)
{
    std::vector<SettingsValue> values = {
        radio("Printeris", f.rdPrinteris),
        radio("KlDispejaTips", f.rdKlDisplejs),
        port("KlDisplejsPorts", f.cmbKlDisplejsCOM),
        port("PrinteraPorts", f.cmbPrinterisCOM),
        port("SvariCom", f.cmbSvariCOM),
        port("SkanerisCom", f.cmbSkanerisCOM, 0),
        port("CHIPReader", f.cmbChipCOM),
        port("FMPort", f.cmbFM_COM, 1,
             [](const platform::SettingsStore& s) {
                 const auto v = readInteger(s, "FMPort");
                 return v ? v : readNumberText(s, "FMPort");
             }),
        {[&f](const platform::SettingsStore& s) {
             auto v = readNumberText(s, "FMTips");
             if (!v) v = readInteger(s, "FMTips");
             if (v) f.rdFM_Tips->SetItemIndex(*v - 1);
             return v.has_value();
         },
         [&f] { f.rdFM_Tips->SetItemIndex(0); }, nullptr},
        number("PrepaidNodala", f.shPrepaidNodala),
        number("NeatrastaPreceNodala", f.shNeatrastaPreceNodala),
        {[&f](const platform::SettingsStore& s) {
             const auto v = readText(s, "Kontrollenta2");
             if (v) f.cmbElKontr->setCurrentText(*v);
             return v.has_value();
         },
         [] {}, [&f](platform::SettingsStore& s) { s.writeText(kSetupKey, "Kontrollenta2", f.cmbElKontr->currentText().toStdString()); }},
        number("IngenicoPardosana", f.edIngePardosana),
        number("IngenicoAtgr", f.edIngeAtgriesana),
        text("IngenicoVal", f.edIngenicoValuta),
        number("IngenicoDienBeigas1", f.edIngenicoDienasBeigas1),
        number("IngenicoDienBeigas2", f.edIngenicoDienasBeigas2),
        flag("NedrukatAnuletosCekus", f.chkNedrAnulCek),
    };
    // EUR_Summa and EUR_Kurss: one step, so the rate is read only when the flag was.
    const SettingsValue eurSum = flag("EUR_Summa", f.chkEurSumma);
    const SettingsValue eurRate = text("EUR_Kurss", f.edEUR_Kurss);
    values.push_back({[=](const platform::SettingsStore& s) { return eurSum.read(s) && eurRate.read(s); }, [] {},
                      [=](platform::SettingsStore& s) {
                          eurSum.write(s);
                          eurRate.write(s);
                      }});
    values.push_back(flag("NeraditTouchPogas", f.chkNotTouchScreen));
    values.push_back(flag("EkrNosaukDivasRindas", f.chkEkrNosaukDivasRindas));
    values.push_back(number("ValutasKodsFTP", f.edValutasKods, [&f] { f.edValutasKods->setText(QStringLiteral("428")); }));
    values.push_back(radio("CekaValuta", f.rdCekaValuta));
    values.push_back(radio("PrepaidServVeids", f.rdPrepaidVeids));
    values.push_back(text("ZudezoClientID", f.edZudezoClientID));
    values.push_back(text("ZudezoUserID", f.edZudezoUserID));
    values.push_back(text("ZudezoPasword", f.edZudezoPasword));
    // The ten logo names: one step, so a name that fails keeps it and every later one.
    std::vector<SettingsValue> logos;
    for (std::size_t i = 0; i < kLogoNames.size(); ++i)
        logos.push_back(text(kLogoNames[i], f.edZudezoLogo[i]));
    values.push_back({[=](const platform::SettingsStore& s) {
                          for (const SettingsValue& logo : logos)
                              if (!logo.read(s)) return false;
                          return true;
                      },
                      [] {},
                      [=](platform::SettingsStore& s) {
                          for (const SettingsValue& logo : logos) logo.write(s);
                      }});
    return values;
}

}  // namespace

void TSetup::readSettings()
{
    const platform::SettingsStore& store = platform::SettingsStore::current();
    if (!store.keyExists(kSetupKey))
        return;
    for (const SettingsValue& v : settingsValues(*this))
        if (!v.read(store))
            v.fallback();
}

void TSetup::writeSettings()
{
    platform::SettingsStore& store = platform::SettingsStore::current();
    store.createKey(kSetupKey);
    for (const SettingsValue& v : settingsValues(*this))
        if (v.write)
            v.write(store);
}
