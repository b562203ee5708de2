#include "iestadisana.h"

#include "datumodelis.h"
#include "settings.h"
#include "ui_services.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVBoxLayout>

#include <vector>

QPointer<TIestadisana> Iestadisana;

namespace {

using platform::SettingsStore;


void text(const SettingsStore& s, const char* name, QString& field, std::optional<QString> onFailure = std::nullopt) {
    if (auto value = ReadSetupString(s, name)) field = *value;
    else if (onFailure) field = *onFailure;
}

void flag(const SettingsStore& s, const char* name, bool& field, std::optional<bool> onFailure = std::nullopt) {
    if (auto value = s.readInteger(kSetupKey, name)) field = *value != 0;
    else if (onFailure) field = *onFailure;
}

void integer(const SettingsStore& s, const char* name, int& field, std::optional<int> onFailure = std::nullopt) {
    if (auto value = s.readInteger(kSetupKey, name)) field = *value;
    else if (onFailure) field = *onFailure;
}

void number(const SettingsStore& s, const char* name, QString& field, std::optional<QString> onFailure = std::nullopt) {
    if (auto value = s.readInteger(kSetupKey, name)) field = QString::number(*value);
    else if (onFailure) field = *onFailure;
}

// The whole-number fields in the order they are stored, with the names the dialog shows them by.
struct NumberField {
    QString IestadisanaValues::*field;
    const char* registryName;
    const char* label;
};
const NumberField kNumberFields[] = {
    {&IestadisanaValues::ArtikulaStart, "ArtikulaStart", "Artikula sākums (zīme)"},
    {&IestadisanaValues::ArtikulaGarums, "ArtikulaGarums", "Artikula garums (zīmes)"},
    {&IestadisanaValues::SvaraStart, "SvaraStart", "Svara/Summas sākums (zīme)"},
    {&IestadisanaValues::SvaraGarums, "SvaraGarums", "Svara/Summas garums (zīmes)"},
    {&IestadisanaValues::KlScreenWidth, "KlScreenWidth", "Lielā ekrāna platums"},
    {&IestadisanaValues::KlScreenHeight, "KlScreenHeight", "Lielā ekrāna augstums"},
};

int wholeNumber(const QString& text) {
    int value = 0;
    ParseWholeNumber(text, value);
    return value;
}

}  // namespace

void ReadIestadisanaValues(IestadisanaValues& v, const SettingsStore& s) {
    if (!s.keyExists(kSetupKey)) return;
    auto prefix = ReadSetupString(s, "SvaruPrefix");
    if (!prefix) throw SettingsReadError("SvaruPrefix: the value is not a string");
    v.SvaruPrefix = *prefix;
    text(s, "CekaKopijaPath", v.CekaKopijaPath);
    text(s, "KasesNr", v.KasesNr);
    flag(s, "StockaraConect", v.StockaraConect, false);
    text(s, "StockaraNodalasKods", v.StockaraNodalasKods);
    text(s, "CenasDecimalzimes", v.CenasDecimalzimes, QStringLiteral("2"));
    flag(s, "ArtikAtsevRinda", v.ArtikAtsevRinda);
    flag(s, "UzlimeIrSumma", v.UzlimeIrSumma);
    integer(s, "SvariTips", v.SvariTips, 0);
    number(s, "ArtikulaStart", v.ArtikulaStart, QStringLiteral("3"));
    number(s, "ArtikulaGarums", v.ArtikulaGarums, QStringLiteral("6"));
    number(s, "SvaraStart", v.SvaraStart, QStringLiteral("9"));
    number(s, "SvaraGarums", v.SvaraGarums, QStringLiteral("4"));
    flag(s, "FiskPrinteris", v.FiskPrinteris);
    flag(s, "SummuVardiem", v.SummuVardiem);
    flag(s, "FullScreen", v.FullScreen);
    integer(s, "KlientLielaisEkrans", v.KlientLielaisEkrans);
    if (auto width = s.readInteger(kSetupKey, "KlScreenWidth")) {
        v.KlScreenWidth = QString::number(*width);
        number(s, "KlScreenHeight", v.KlScreenHeight);
    }
    flag(s, "SilentMessage", v.SilentMessage);
    if (v.CenasDecimalzimes.isEmpty()) v.CenasDecimalzimes = "2";
}

std::optional<QString> CheckIestadisanaValues(const IestadisanaValues& values) {
    for (const auto& f : kNumberFields) {
        int parsed = 0;
        if (!ParseWholeNumber(values.*f.field, parsed))
            return QStringLiteral("Laukā \"%1\" jābūt veselam skaitlim !!!").arg(QString::fromUtf8(f.label));
    }
    return std::nullopt;
}

void WriteIestadisanaValues(const IestadisanaValues& v, SettingsStore& s) {
    if (!s.keyExists(kSetupKey)) return;
    const auto str = [&s](const char* name, const QString& value) { s.writeText(kSetupKey, name, value.toStdString()); };
    const auto num = [&s](const char* name, int value) { s.writeInteger(kSetupKey, name, value); };
    str("SvaruPrefix", v.SvaruPrefix);
    str("CekaKopijaPath", v.CekaKopijaPath);
    str("KasesNr", v.KasesNr);
    num("StockaraConect", v.StockaraConect ? 1 : 0);
    str("StockaraNodalasKods", v.StockaraNodalasKods);
    str("CenasDecimalzimes", v.CenasDecimalzimes);
    num("ArtikAtsevRinda", v.ArtikAtsevRinda ? 1 : 0);
    num("UzlimeIrSumma", v.UzlimeIrSumma ? 1 : 0);
    num("SvariTips", v.SvariTips);
    for (int i = 0; i < 4; ++i) num(kNumberFields[i].registryName, wholeNumber(v.*kNumberFields[i].field));
    num("FiskPrinteris", v.FiskPrinteris ? 1 : 0);
    num("SummuVardiem", v.SummuVardiem ? 1 : 0);
    num("FullScreen", v.FullScreen ? 1 : 0);
    num("KlientLielaisEkrans", v.KlientLielaisEkrans);
    num("KlScreenWidth", wholeNumber(v.KlScreenWidth));
    num("KlScreenHeight", wholeNumber(v.KlScreenHeight));
    num("SilentMessage", v.SilentMessage ? 1 : 0);
}

N_ISI_Row ReadN_ISI(const QSqlDatabase& posDb) {
    QSqlQuery query(posDb);
    if (!query.exec("SELECT ISN, PILNUJA1DAUDZ FROM N_ISI")) throw std::runtime_error(query.lastError().text().toStdString());
    N_ISI_Row row;
    if (query.next()) {
        row.ISN = query.value(0).toInt();
        row.PILNUJA1DAUDZ = query.value(1).toString().trimmed() == "T";
    }
    return row;
}

void WriteN_ISI(const QSqlDatabase& posDb, const N_ISI_Row& row) {
    QSqlQuery query(posDb);
    if (row.ISN != 0) {
        query.prepare("update N_ISI set PILNUJA1DAUDZ = :PILNUJA1DAUDZ where ISN = :OLD_ISN");
        query.bindValue(":OLD_ISN", row.ISN);
    } else {
        query.prepare("insert into N_ISI (PILNUJA1DAUDZ) values (:PILNUJA1DAUDZ)");
    }
    query.bindValue(":PILNUJA1DAUDZ", row.PILNUJA1DAUDZ ? "T" : "F");
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
}

std::optional<QString> StoreIestadisana(const IestadisanaValues& values, const N_ISI_Row& row, SettingsStore& store,
                                        QSqlDatabase posDb) {
    // Without the key only the row is stored, so the boxes' texts are not looked at.
    if (store.keyExists(kSetupKey))
        if (auto bad = CheckIestadisanaValues(values)) return bad;
    if (!posDb.transaction()) return "Nevarēju saglabāt iestādījumus !!! " + posDb.lastError().text();
    try {
        WriteN_ISI(posDb, row);
        WriteIestadisanaValues(values, store);
    } catch (const std::exception& e) {
        posDb.rollback();
        return "Nevarēju saglabāt iestādījumus !!! " + QString::fromUtf8(e.what());
    }
    if (!posDb.commit()) return "Nevarēju saglabāt iestādījumus !!! " + posDb.lastError().text();
    return std::nullopt;
}

// ---------------------------------------------------------------- the form

TIestadisana::TIestadisana(QWidget* owner) : QDialog(owner) {
    setObjectName("Iestadisana");
    setWindowTitle("Iestādīšana");
    const auto edit = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        return e;
    };
    const auto label = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };
    const auto check = [](const char* name, const char* text) {
        auto* c = new QCheckBox(QString::fromUtf8(text));
        c->setObjectName(name);
        return c;
    };
    // Top to bottom as the form has always been; the dialog takes the size its texts need and
    // keeps it.
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* numbers = new QHBoxLayout;
    numbers->addWidget(label("Kases Nr."));
    numbers->addWidget(KasesNr = edit("KasesNr"));
    numbers->addWidget(label("Cenas decimālzīmju sk."));
    numbers->addWidget(shCenasDecimalzimes = edit("shCenasDecimalzimes"));
    column->addLayout(numbers);

    auto* group2 = new QGroupBox("Dati par svaru uzlīmi");
    group2->setObjectName("GroupBox2");
    auto* label2 = new QGridLayout(group2);
    label2->addWidget(label("Svaru prefikss"), 0, 0);
    label2->addWidget(SvaruPrefix = edit("SvaruPrefix"), 0, 1);
    label2->addWidget(label("Artikula sākums (zīme)"), 1, 0);
    label2->addWidget(ArtikulaStart = edit("ArtikulaStart"), 1, 1);
    label2->addWidget(label("Artikula garums (zīmes)"), 2, 0);
    label2->addWidget(ArtikulaGarums = edit("ArtikulaGarums"), 2, 1);
    label2->addWidget(label("Svara/Summas sākums (zīme)"), 1, 2);
    label2->addWidget(SvaraStart = edit("SvaraStart"), 1, 3);
    label2->addWidget(label("Svara/Summas garums (zīmes)"), 2, 2);
    label2->addWidget(SvaraGarums = edit("SvaraGarums"), 2, 3);
    column->addWidget(group2);

    chkArtikAtsevRinda = check("chkArtikAtsevRinda", "Čekā - artikulu pirms nosaukuma atsevišķā rindā");
    chkUzlimeIrSumma = check("chkUzlimeIrSumma", "Svaru uzlīmē ieprogrammēta summā (nevis daudzums)");
    chkFiskPrinteris = check("chkFiskPrinteris", "Datus ņemt no faila - fiskālā printera režīms");
    chkSummuVardiem = check("chkSummuVardiem", "Summu izrunāt arī ar vārdiem");
    PILNUJA1DAUDZ = check("PILNUJA1DAUDZ", "Čeka rādīt daudzumu arī, ja tas ir 1");
    chkFullScreen = check("chkFullScreen", "Pamata logu izplest pa visu ekrānu");
    chkSilentMessage = check("chkSilentMessage", "Nerādīt preces paziņojumus");
    for (QCheckBox* box : {chkArtikAtsevRinda, chkUzlimeIrSumma, chkFiskPrinteris, chkSummuVardiem, PILNUJA1DAUDZ, chkFullScreen,
                           chkSilentMessage})
        column->addWidget(box);

    rdKlientLielaisEkrans = new TRadioGroup("Papildus (lielā) ekrāna parameri",
                                            {"Nav lielā ekrāna", "Ir lielais ekrāns - izšķirtspēja kā pamata ekrānam",
                                             "Ir lielais ekrāns - platums                    augstums"},
                                            1, this);
    rdKlientLielaisEkrans->setObjectName("rdKlientLielaisEkrans");
    // The width and the height on the third choice's row.
    auto* screenRow = static_cast<QGridLayout*>(rdKlientLielaisEkrans->layout());
    screenRow->addWidget(edKlScreenWidth = edit("edKlScreenWidth"), 2, 1);
    screenRow->addWidget(edKlScreenHeight = edit("edKlScreenHeight"), 2, 2);
    column->addWidget(rdKlientLielaisEkrans);

    auto* copies = new QHBoxLayout;
    copies->addWidget(label("Čeka kopijas katalogs :"));
    copies->addWidget(CekaKopijaPath = edit("CekaKopijaPath"), 1);
    column->addLayout(copies);

    auto* group1 = new QGroupBox("Mijiedarbība ar Stockara");
    group1->setObjectName("GroupBox1");
    auto* stock = new QHBoxLayout(group1);
    stock->addWidget(chkStockaraConect = check("chkStockaraConect", "Mainīt tekošos atlikumus"));
    stock->addStretch();
    stock->addWidget(label("Nodaļas/Noliktavas kods"));
    stock->addWidget(shNodKods = edit("shNodKods"));
    column->addWidget(group1);

    rdSvariTips = new TRadioGroup("Kases svaru tips", {"CAS", "DIGI DS-788", "CAS ER", "Magelan"}, 4, this);
    rdSvariTips->setObjectName("rdSvariTips");
    column->addWidget(rdSvariTips);

    BitBtn1 = new QPushButton("OK");
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    column->addWidget(BitBtn1, 0, Qt::AlignHCenter);

    // The dialog's own Tab order, which its layout does not follow; the keyboard starts at its head.
    std::vector<QWidget*> tabOrder{CekaKopijaPath, KasesNr, BitBtn1, chkStockaraConect, shNodKods, shCenasDecimalzimes,
                                   chkArtikAtsevRinda, chkUzlimeIrSumma};
    const auto addChoices = [&tabOrder](TRadioGroup* group) {
        for (QRadioButton* choice : group->findChildren<QRadioButton*>()) tabOrder.push_back(choice);
    };
    addChoices(rdSvariTips);
    tabOrder.insert(tabOrder.end(), {SvaruPrefix, ArtikulaStart, ArtikulaGarums, SvaraStart, SvaraGarums, chkFiskPrinteris,
                                     chkSummuVardiem, PILNUJA1DAUDZ, chkFullScreen});
    addChoices(rdKlientLielaisEkrans);
    tabOrder.insert(tabOrder.end(), {edKlScreenWidth, edKlScreenHeight, chkSilentMessage});
    for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    CekaKopijaPath->setFocus();

    connect(BitBtn1, &QPushButton::clicked, this, &TIestadisana::BitBtn1Click);
    connect(chkStockaraConect, &QCheckBox::clicked, this, &TIestadisana::chkStockaraConectClick);
    connect(rdKlientLielaisEkrans, &TRadioGroup::Clicked, this, &TIestadisana::rdKlientLielaisEkransClick);

    // FormCreate.
    IestadisanaValues values;
    ReadIestadisanaValues(values, platform::SettingsStore::current());
    SetValues(values);
}

IestadisanaValues TIestadisana::Values() const {
    IestadisanaValues v;
    v.SvaruPrefix = SvaruPrefix->text();
    v.CekaKopijaPath = CekaKopijaPath->text();
    v.KasesNr = KasesNr->text();
    v.StockaraConect = chkStockaraConect->isChecked();
    v.StockaraNodalasKods = shNodKods->text();
    v.CenasDecimalzimes = shCenasDecimalzimes->text();
    v.ArtikAtsevRinda = chkArtikAtsevRinda->isChecked();
    v.UzlimeIrSumma = chkUzlimeIrSumma->isChecked();
    v.SvariTips = rdSvariTips->ItemIndex();
    v.ArtikulaStart = ArtikulaStart->text();
    v.ArtikulaGarums = ArtikulaGarums->text();
    v.SvaraStart = SvaraStart->text();
    v.SvaraGarums = SvaraGarums->text();
    v.FiskPrinteris = chkFiskPrinteris->isChecked();
    v.SummuVardiem = chkSummuVardiem->isChecked();
    v.FullScreen = chkFullScreen->isChecked();
    v.KlientLielaisEkrans = rdKlientLielaisEkrans->ItemIndex();
    v.KlScreenWidth = edKlScreenWidth->text();
    v.KlScreenHeight = edKlScreenHeight->text();
    v.SilentMessage = chkSilentMessage->isChecked();
    return v;
}

void TIestadisana::SetValues(const IestadisanaValues& v) {
    SvaruPrefix->setText(v.SvaruPrefix);
    CekaKopijaPath->setText(v.CekaKopijaPath);
    KasesNr->setText(v.KasesNr);
    chkStockaraConect->setChecked(v.StockaraConect);
    shNodKods->setText(v.StockaraNodalasKods);
    shCenasDecimalzimes->setText(v.CenasDecimalzimes);
    chkArtikAtsevRinda->setChecked(v.ArtikAtsevRinda);
    chkUzlimeIrSumma->setChecked(v.UzlimeIrSumma);
    rdSvariTips->SetItemIndex(v.SvariTips);
    ArtikulaStart->setText(v.ArtikulaStart);
    ArtikulaGarums->setText(v.ArtikulaGarums);
    SvaraStart->setText(v.SvaraStart);
    SvaraGarums->setText(v.SvaraGarums);
    chkFiskPrinteris->setChecked(v.FiskPrinteris);
    chkSummuVardiem->setChecked(v.SummuVardiem);
    chkFullScreen->setChecked(v.FullScreen);
    rdKlientLielaisEkrans->SetItemIndex(v.KlientLielaisEkrans);
    edKlScreenWidth->setText(v.KlScreenWidth);
    edKlScreenHeight->setText(v.KlScreenHeight);
    chkSilentMessage->setChecked(v.SilentMessage);
    chkStockaraConectClick();
    rdKlientLielaisEkransClick();
}

void TIestadisana::FormShow() {
    try {
        row_ = ReadN_ISI(DatuModelis->POS_DB());
    } catch (const std::exception& e) {
        platform::ui::showMessage(QString::fromUtf8(e.what()), {}, platform::ui::Buttons::Ok, platform::ui::Icon::Error);
    }
    PILNUJA1DAUDZ->setChecked(row_.PILNUJA1DAUDZ);
}

void TIestadisana::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TIestadisana::BitBtn1Click() {
    N_ISI_Row row = row_;
    row.PILNUJA1DAUDZ = PILNUJA1DAUDZ->isChecked();
    std::optional<QString> refused;
    try {
        refused = StoreIestadisana(Values(), row, platform::SettingsStore::current(), DatuModelis->POS_DB());
    } catch (const std::exception& e) {
        refused = "Nevarēju saglabāt iestādījumus !!! " + QString::fromUtf8(e.what());
    }
    if (refused) {
        platform::ui::showMessage(*refused);
        return;
    }
    accept();
}

void TIestadisana::chkStockaraConectClick() { shNodKods->setEnabled(chkStockaraConect->isChecked()); }

void TIestadisana::rdKlientLielaisEkransClick() {
    const bool sized = rdKlientLielaisEkrans->ItemIndex() == 2;
    edKlScreenWidth->setEnabled(sized);
    edKlScreenHeight->setEnabled(sized);
}
