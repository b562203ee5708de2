#include "ledvikform.h"

#include "clock.h"
#include "ledvik_switches.h"
#include "price_conversion.h"
#include "send_receive_pass.h"
#include "settings_store.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QCheckBox* box(QLayout* layout, const QString& caption, const char* name) {
    auto* check = new QCheckBox(caption);
    check->setObjectName(QLatin1String(name));
    layout->addWidget(check);
    return check;
}

QLineEdit* edit(const char* name) {
    auto* line = new QLineEdit;
    line->setObjectName(QLatin1String(name));
    return line;
}

}  // namespace

TLedvik::TLedvik(TLedvikDati& dati, bool autoMode, QWidget* parent)
    : QWidget(parent), AutoMode(autoMode), dati_(dati), log_([this](const QString& line) {
          ListProcess->addItem(line);
          ListProcess->repaint();
      }) {
    if (AutoMode)
        unattended_ = std::make_unique<platform::ui::UnattendedScope>([this](const QString& text) { tell(text); }, [] {});
    buildForm();
    FormCreate();
}

TLedvik::~TLedvik() {
    closeTillLists();
    FormDestroy();
}

void TLedvik::buildForm() {
    setObjectName(QStringLiteral("Ledvik"));
    setWindowTitle(QStringLiteral("Tillora vadības sistēma"));
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    PageControl = new QTabWidget;
    DatuSutisana = new QWidget;
    DatuSutisana->setObjectName(QStringLiteral("DatuSutisana"));
    PageControl->addTab(DatuSutisana, QStringLiteral("Datu sūtīšana"));

    auto* dbfGroup = new QGroupBox(QStringLiteral("DBF informācijas katalogs (ITEMS.DBF)"));
    auto* dbfRow = new QHBoxLayout(dbfGroup);
    shDBFDir = edit("shDBFDir");
    dbfRow->addWidget(shDBFDir);
    Button3 = new QPushButton(QStringLiteral("DBF Katalogs"));
    Button3->setObjectName(QStringLiteral("Button3"));
    connect(Button3, &QPushButton::clicked, this, &TLedvik::Button3Click);
    dbfRow->addWidget(Button3);

    auto* sendGroup = new QGroupBox(QStringLiteral("Dati uz Tillora"));
    auto* send = new QVBoxLayout(sendGroup);
    chkPreces = box(send, QStringLiteral("Preču saraksts"), "chkPreces");
    chkKlienti = box(send, QStringLiteral("Klienti"), "chkKlienti");
    chkUsers = box(send, QStringLiteral("Kasieri"), "chkUsers");
    chkValutas = box(send, QStringLiteral("Valūtu saraksts"), "chkValutas");
    chkNodalas = box(send, QStringLiteral("Nodaļu saraksts"), "chkNodalas");
    chkSutaPrecesDAT = box(send, QStringLiteral("Dati no PRECES.DAT"), "chkSutaPrecesDAT");

    auto* receiveGroup = new QGroupBox(QStringLiteral("Dati no Tillora"));
    auto* receive = new QVBoxLayout(receiveGroup);
    chkR_ARTIK = box(receive, QStringLiteral("Realizācija par pozīcijām R_ARTIK.DBF"), "chkR_ARTIK");
    chkR_KONTR = box(receive, QStringLiteral("Kontrollenta R_KONTR.DBF"), "chkR_KONTR");
    chkBrivaCena = box(receive, QStringLiteral("Preces ar brīvo cenu"), "chkBrivaCena");
    chkRealizSun = box(receive, QStringLiteral("Realizācija TXT failā SUN.TXT"), "chkRealizSun");
    chkAtdKase = box(receive, QStringLiteral("Realizācija ATD tabulā KASE"), "chkAtdKase");

    auto* period = new QHBoxLayout;
    shDatumsNo = new QDateEdit;
    shDatumsNo->setObjectName(QStringLiteral("shDatumsNo"));
    shDatumsLidz = new QDateEdit;
    shDatumsLidz->setObjectName(QStringLiteral("shDatumsLidz"));
    for (QDateEdit* date : {shDatumsNo, shDatumsLidz}) date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    shZ_Nr = edit("shZ_Nr");
    shZ_Nr->setToolTip(QStringLiteral("Z atskaites Nr"));
    period->addWidget(new QLabel(QStringLiteral("Atskaites periods :")));
    period->addWidget(shDatumsNo);
    period->addWidget(new QLabel(QStringLiteral("līdz")));
    period->addWidget(shDatumsLidz);
    period->addWidget(new QLabel(QStringLiteral("Z Nr.=")));
    period->addWidget(shZ_Nr);

    shNaudaLimits = edit("shNaudaLimits");
    shNaudaLimits->setText(QStringLiteral("600.00"));
    shNaudaLimits->hide();

    auto* displayGroup = new QGroupBox(QStringLiteral("Rotējošais teksts uz klienta displeja (ne vairāk kā 40 zīmes)"));
    auto* display = new QFormLayout(displayGroup);
    shDemoRinda_1 = edit("shDemoRinda_1");
    shDemoRinda_2 = edit("shDemoRinda_2");
    display->addRow(QStringLiteral("1. rinda"), shDemoRinda_1);
    display->addRow(QStringLiteral("2. rinda"), shDemoRinda_2);

    ListProcess = new QListWidget;
    ListProcess->setObjectName(QStringLiteral("ListProcess"));
    Termometrs = new QProgressBar;
    Termometrs->setObjectName(QStringLiteral("Termometrs"));
    Termometrs->hide();

    btSutit = new QPushButton(QStringLiteral("&Sūtīt/Saņemt"));
    btSutit->setObjectName(QStringLiteral("btSutit"));
    btClose = new QPushButton(QStringLiteral("Aizvērt"));
    btClose->setObjectName(QStringLiteral("btClose"));
    connect(btSutit, &QPushButton::clicked, this, &TLedvik::btSutitClick);
    connect(btClose, &QPushButton::clicked, this, &QWidget::close);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(sendGroup);
    boxes->addWidget(receiveGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSutit);
    buttons->addWidget(btClose);
    auto* sending = new QVBoxLayout;
    sending->addWidget(dbfGroup);
    sending->addLayout(boxes);
    sending->addLayout(period);
    sending->addWidget(displayGroup);
    sending->addWidget(ListProcess);
    sending->addWidget(Termometrs);
    sending->addLayout(buttons);
    auto* page = new QHBoxLayout(DatuSutisana);
    page->addLayout(sending, 3);
    page->addWidget(buildTillList(), 2);
    auto* top = new QVBoxLayout(this);
    top->addWidget(PageControl);
    buildEditorPages();
}

void TLedvik::FormCreate() {
    LedvikSettings design;
    design.NaudaLimits = shNaudaLimits->text();
    const LedvikSettings s = LoadLedvikSettings(platform::SettingsStore::current(), design);
    shDBFDir->setText(s.DBFDir);
    const std::pair<QCheckBox*, bool> checks[] = {
        {chkPreces, s.checks.Preces},       {chkKlienti, s.checks.Klienti},     {chkUsers, s.checks.Users},
        {chkValutas, s.checks.Valutas},     {chkNodalas, s.checks.Nodalas},     {chkSutaPrecesDAT, s.checks.SutaPrecesDAT},
        {chkR_ARTIK, s.checks.R_ARTIK},     {chkR_KONTR, s.checks.R_KONTR},     {chkBrivaCena, s.checks.BrivaCena},
        {chkRealizSun, s.checks.RealizSun}, {chkAtdKase, s.checks.AtdKase}};
    for (const auto& [check, value] : checks) check->setChecked(value);
    shNaudaLimits->setText(s.NaudaLimits);
    shDemoRinda_1->setText(s.DemoRinda_1);
    shDemoRinda_2->setText(s.DemoRinda_2);
    IsAutoDirekcija = s.IsAutoDirekcija;
    const platform::LocalTime now = platform::localNow();
    shDatumsNo->setDate(QDate(now.year, now.month, now.day));
    shDatumsLidz->setDate(QDate(now.year, now.month, now.day));
    if (const auto error = dati_.OpenKases()) tell(kKasesMissingMessage + *error);
    Kases->setRows(std::make_unique<TillRows>(dati_.KasesList()));
    PageControl->setCurrentWidget(DatuSutisana);
    chkAtdKase->setVisible(IsAutoDirekcija);
}

LedvikSettings TLedvik::settingsFromControls() const {
    LedvikSettings s;
    s.DBFDir = shDBFDir->text();
    LedvikChecks& c = s.checks;
    c.Preces = chkPreces->isChecked();
    c.Klienti = chkKlienti->isChecked();
    c.Users = chkUsers->isChecked();
    c.Valutas = chkValutas->isChecked();
    c.Nodalas = chkNodalas->isChecked();
    c.SutaPrecesDAT = chkSutaPrecesDAT->isChecked();
    c.R_ARTIK = chkR_ARTIK->isChecked();
    c.R_KONTR = chkR_KONTR->isChecked();
    c.BrivaCena = chkBrivaCena->isChecked();
    c.RealizSun = chkRealizSun->isChecked();
    c.AtdKase = chkAtdKase->isChecked();
    s.NaudaLimits = shNaudaLimits->text();
    s.DemoRinda_1 = shDemoRinda_1->text();
    s.DemoRinda_2 = shDemoRinda_2->text();
    return s;
}

void TLedvik::FormDestroy() { SaveLedvikSettings(platform::SettingsStore::current(), settingsFromControls()); }

void TLedvik::LogProcess(const QString& text) { log_.LogProcess(text); }

void TLedvik::tell(const QString& text) {
    if (!AutoMode) {
        platform::ui::showMessage(text);
        return;
    }
    // Nobody is at the screen: the log is where the text is read.
    failed_ = true;
    LogProcess(text);
}

void TLedvik::ApplySwitches(const QString& commandLine) {
    const LedvikSwitches s = ParseLedvikSwitches(commandLine);
    chkPreces->setChecked(s.Preces);
    chkKlienti->setChecked(s.Klienti);
    chkValutas->setChecked(s.Valutas);
    chkUsers->setChecked(s.Users);
    chkNodalas->setChecked(s.Nodalas);
    chkR_ARTIK->setChecked(s.R_ARTIK);
    chkR_KONTR->setChecked(s.R_KONTR);
    if (s.DatumsNo) shDatumsNo->setDate(*s.DatumsNo);
    if (s.DatumsLidz) shDatumsLidz->setDate(*s.DatumsLidz);
    if (s.Z_Nr) shZ_Nr->setText(*s.Z_Nr);
}

void TLedvik::btSutitClick() {
    TransferContext context{{std::filesystem::path(shDBFDir->text().toStdString()).parent_path(), shNaudaLimits->text(),
                             shDemoRinda_1->text(), shDemoRinda_2->text(), shDatumsNo->date(), shDatumsLidz->date(),
                             shZ_Nr->text()},
                            log_,
                            {[this](int maximum) {
                                 Termometrs->setRange(0, maximum);
                                 Termometrs->setValue(1);
                                 Termometrs->show();
                             },
                             [this] { Termometrs->setValue(Termometrs->value() + 1); }, [this] { Termometrs->hide(); }}};
    // The pass points POSDati at every till in turn: the pages' lists close and open again when
    // their page is shown.
    closeTillLists();
    if (!dati_.KasesOpen()) {
        tell(kKasesMissingMessage + dati_.KasesError());
        return;
    }
    QStringList failedTills;
    try {
        failedTills = RunSendReceivePass(context, settingsFromControls().checks, dati_.Kases());
    } catch (const std::exception& e) {
        tell(QString::fromStdString(e.what()));
        return;
    }
    // A scheduled run is judged by its exit status and the log's last line.
    if (!failedTills.isEmpty()) {
        failed_ = true;
        LogProcess(kFailedTillsLine + failedTills.join(QStringLiteral(", ")));
    }
    if (!AutoMode) platform::ui::showMessage(kProcessDoneMessage);
}

// Works on the till of the till list's current row, the one the items page shows; the page's
// lists are closed during the conversion and the items read again after it.
void TLedvik::btLVL_to_EURClick() {
    const int row = Kases->currentRow();
    if (row < 0) return;
    closeTillLists();
    PriceConversion outcome;
    try {
        QSqlDatabase db = ConnectTill(dati_.KasesList().row(row).PATH);
        outcome = ConvertPricesToEuros(db);
    } catch (const std::exception& e) {
        platform::ui::showMessage(QString::fromStdString(e.what()));
        return;
    }
    PieslegtPreces();
    platform::ui::showMessage(outcome == PriceConversion::AlreadyConverted ? kPricesAlreadyConvertedMessage : kPricesConvertedMessage);
}

int TLedvik::RunUnattended(const QString& commandLine) {
    try {
        ApplySwitches(commandLine);
    } catch (const SwitchError& e) {
        tell(QString::fromStdString(e.what()));
        return 1;
    }
    btSutitClick();
    return failed_ ? 1 : 0;
}
