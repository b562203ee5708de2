#include "setup_form.h"

#include "atminas_karte.h"
#include "record_texts.h"
#include "ui_services.h"
#include "volumes.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <filesystem>

namespace {

const QString kNotReady = QStringLiteral("Nav pieslēgts fiskālais bloks !!!");

// The receipt header a new fiscal memory shows until the installer enters the shop's own.
const std::array<QString, 4> kDefaultHeader = {
    QStringLiteral("SIA TOVEL"), QStringLiteral("Rīga, Tirgoņu iela 1"), QStringLiteral("Reģ. Nr. 40003000001"),
    QStringLiteral("Tālr. 67000001, 67000002")};

QComboBox* portList(int first, int last, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (int n = first; n <= last; ++n)
        list->addItem(QString::number(n));
    list->setCurrentIndex(0);
    return list;
}

QLineEdit* edit(const QString& text, QWidget* parent, bool enabled = true)
{
    auto* e = new QLineEdit(text, parent);
    e->setEnabled(enabled);
    return e;
}

// An edit at least as wide as `sample` in its font, so that a value of that length shows whole.
QLineEdit* wideEnoughFor(const QString& sample, QLineEdit* e)
{
    constexpr int frameAndMargins = 12;
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(sample) + frameAndMargins);
    return e;
}

// The counters: a serial number, a day-close number or a grand total.
const QString kCounterSample = QStringLiteral("0000000.00");

// A failed fiscal-memory read has been shown and logged by the fiscal-memory layer: the program
// ends without a message of its own.
void endAfterFiscalFailure() { platform::ui::endProgram(1); }

}  // namespace

TSetup::TSetup(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Tillora Konfigurēšana"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    pgLappuses = new QTabWidget(this);
    tabGeneral = new QWidget;
    tabIngenico = new QWidget;
    pgLappuses->addTab(tabGeneral, QStringLiteral("Vispārīgā iestādīšana"));
    pgLappuses->addTab(tabIngenico, QStringLiteral("Ingenico un Zudezo"));
    buildGeneralPage();
    buildIngenicoPage();

    btSave = new QPushButton(QStringLiteral("Saglabāt"), this);
    btClose = new QPushButton(QStringLiteral("Aizvērt"), this);
    btMemCard = new QPushButton(QStringLiteral("Atmiņas karte"), this);
    btCodePage = new QPushButton(QStringLiteral("Code page"), this);
    btFontTest = new QPushButton(QStringLiteral("Font test"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btMemCard, btCodePage, btFontTest})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btSave);
    buttons->addWidget(btClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pgLappuses);
    layout->addLayout(buttons);

    connect(btSave, &QPushButton::clicked, this, &TSetup::BtSaveClick);
    connect(btClose, &QPushButton::clicked, this, &TSetup::btCloseClick);
    connect(btMemCard, &QPushButton::clicked, this, &TSetup::btMemCardClick);
    connect(btCodePage, &QPushButton::clicked, this, &TSetup::btCodePageClick);
    connect(btFontTest, &QPushButton::clicked, this, &TSetup::btFontTestClick);
    connect(btAdmin, &QPushButton::clicked, this, &TSetup::btAdminClick);
    connect(btDrukat, &QPushButton::clicked, this, &TSetup::btDrukatClick);
    connect(rdPrepaidVeids, &TRadioGroup::Clicked, this, &TSetup::rdPrepaidVeidsClick);

    // Centred at the size its layout gives it.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TSetup::~TSetup() = default;

void TSetup::buildGeneralPage()
{
    QWidget* p = tabGeneral;
    auto* grid = new QGridLayout(p);

    auto* header = new QGroupBox(QStringLiteral("Klienta rekvizītu čeka galvā :"), p);
    auto* headerLayout = new QVBoxLayout(header);
    for (int i = 0; i < 4; ++i)
        headerLayout->addWidget(Rinda[std::size_t(i)] = edit(kDefaultHeader[std::size_t(i)], header));

    auto* counters = new QGroupBox(p);
    auto* form = new QFormLayout(counters);
    form->addRow(QStringLiteral("Kases S/N"), shPosNr = edit(QStringLiteral("100000"), counters, false));
    form->addRow(QStringLiteral("VID ID"), VidID = edit(QStringLiteral("100000"), counters));
    form->addRow(QStringLiteral("Nedzēšamais skaitītājs  -  Z. Nr :"), Z_Numurs = edit({}, counters, false));
    form->addRow(QStringLiteral("Summa"), GrandTotal = edit({}, counters, false));
    form->addRow(QStringLiteral("PVN Summa"), GrandPVN = edit({}, counters, false));
    form->addRow(QStringLiteral("X atskaites Nr"), X_Numurs = edit(QStringLiteral("1"), counters, false));
    form->addRow(QStringLiteral("Čeka Nr"), CekaNr = edit(QStringLiteral("1"), counters, false));
    for (QLineEdit* counter : {Z_Numurs, GrandTotal, GrandPVN})
        wideEnoughFor(kCounterSample, counter);
    // The serial number and the counters hold 11 characters; the tax-authority identifier is a
    // VAT number ("LV" and 11 digits).
    for (QLineEdit* counter : {shPosNr, X_Numurs, CekaNr})
        wideEnoughFor(QString(11, u'0'), counter);
    wideEnoughFor(QStringLiteral("LV00000000000"), VidID);

    auto* kinds = new QGroupBox(QStringLiteral("Papildus apmaksas veidi"), p);
    auto* kindsLayout = new QGridLayout(kinds);
    for (int i = 0; i < 10; ++i) {
        kindsLayout->addWidget(new QLabel(QString::number(i + 1), kinds), i, 0);
        kindsLayout->addWidget(edApmVeids[std::size_t(i)] = edit(QStringLiteral("%1. Apmaksas veids").arg(i + 1), kinds), i, 1);
        kindsLayout->addWidget(chkApmFlag[std::size_t(i)] = new QCheckBox(QStringLiteral("Kases apmaksa"), kinds), i, 2);
    }

    rdPrinteris = new TRadioGroup(QStringLiteral("Čeku printeris"),
                                  {QStringLiteral("EPSON TM-U950"), QStringLiteral("CITIZEN CBM-262 (TERMO)"),
                                   QStringLiteral("EPSON TM-U210"), QStringLiteral("CITIZEN Lādēt latv.draiveri"),
                                   QStringLiteral("TH 582"), QStringLiteral("CITIZEN CT-S801 (El. kontr.)"),
                                   QStringLiteral("SAM4S (El. kontr.)"), QStringLiteral("Protech 3520 (El. kontr.)")},
                                  1, p);
    rdPrinteris->SetItemIndex(0);
    rdKlDisplejs = new TRadioGroup(QStringLiteral("Klientu displejs"),
                                   {QStringLiteral("BIRCH"), QStringLiteral("JARLTECH"), QStringLiteral("Bir DSP-850"),
                                    QStringLiteral("Orderman 300")},
                                   2, p);
    rdKlDisplejs->SetItemIndex(0);

    auto* ports = new QGroupBox(QStringLiteral("Komunikāciju porti"), p);
    auto* portForm = new QFormLayout(ports);
    portForm->addRow(QStringLiteral("Klientu displejs"), cmbKlDisplejsCOM = portList(1, 9, ports));
    portForm->addRow(QStringLiteral("Printeris"), cmbPrinterisCOM = portList(1, 20, ports));
    cmbPrinterisCOM->setCurrentIndex(-1);
    portForm->addRow(QStringLiteral("Svari"), cmbSvariCOM = portList(1, 9, ports));
    portForm->addRow(QStringLiteral("Skaneris COM portā :"), cmbSkanerisCOM = portList(0, 9, ports));
    portForm->addRow(QStringLiteral("CHIP karšu lasītājs"), cmbChipCOM = portList(1, 9, ports));
    portForm->addRow(QStringLiteral("Fiskālā atmiņa"), cmbFM_COM = portList(1, 9, ports));

    rdFM_Tips = new TRadioGroup(QStringLiteral("Fiskālās atmiņas tips"),
                                {QStringLiteral("MRX"), QStringLiteral("ID CS"), QStringLiteral("Tovel")}, 3, p);
    rdFM_Tips->SetItemIndex(0);

    auto* other = new QGroupBox(p);
    auto* otherForm = new QFormLayout(other);
    otherForm->addRow(QStringLiteral("Prepaid karšu nodaļa"), shPrepaidNodala = edit(QStringLiteral("1"), other));
    otherForm->addRow(QStringLiteral("Neatrastās preces nodaļa"), shNeatrastaPreceNodala = edit(QStringLiteral("1"), other));
    otherForm->addRow(QStringLiteral("2. kontrollentas iekārta"), cmbElKontr = new QComboBox(other));
    cmbElKontr->setEditable(true);
    otherForm->addRow(QStringLiteral("Valūtas kods karšu operācijām"), edValutasKods = edit(QStringLiteral("428"), other));
    otherForm->addRow(chkNedrAnulCek = new QCheckBox(QStringLiteral("Nedrukāt anulētos čekus"), other));
    // The rate under its box, in the column of the other values.
    otherForm->addRow(chkEurSumma = new QCheckBox(QStringLiteral("Drukāt EUR summu čeka beigās, Kurss :"), other));
    otherForm->addRow(QString(), edEUR_Kurss = wideEnoughFor(QStringLiteral("0.000000"), edit(QStringLiteral("0.702804"), other)));
    otherForm->addRow(chkNotTouchScreen = new QCheckBox(QStringLiteral("Nerādīt 'ātrās pogas '"), other));
    otherForm->addRow(chkEkrNosaukDivasRindas = new QCheckBox(QStringLiteral("Ekrānā čeku rādīt divās rindās"), other));

    rdCekaValuta = new TRadioGroup(QStringLiteral("Čeka valūta"),
                                   {QStringLiteral("Tikai LVL"), QStringLiteral("EUR un saņem LVL"), QStringLiteral("Tikai EUR")},
                                   3, p);

    auto* print = new QGroupBox(QStringLiteral("Fiskālā bloka atmiņas izdruka :"), p);
    auto* printRow = new QHBoxLayout(print);
    printRow->addWidget(new QLabel(QStringLiteral("Sākuma datums"), print));
    printRow->addWidget(SakDatums = new QDateEdit(QDate::currentDate(), print));
    printRow->addWidget(new QLabel(QStringLiteral("Beigu datums"), print));
    printRow->addWidget(BeiguDatums = new QDateEdit(QDate::currentDate(), print));
    printRow->addStretch();
    printRow->addWidget(btDrukat = new QPushButton(QStringLiteral("Drukāt"), print));

    // Three columns of groups over the print row: the page fits a 1024x768 screen.
    const std::initializer_list<QWidget*> columns[] = {{header, kinds, rdCekaValuta},
                                                       {counters, rdPrinteris, rdKlDisplejs},
                                                       {ports, rdFM_Tips, other}};
    for (int column = 0; column < 3; ++column) {
        auto* stack = new QVBoxLayout;
        for (QWidget* group : columns[column])
            stack->addWidget(group);
        stack->addStretch();
        grid->addLayout(stack, 0, column);
    }
    grid->addWidget(print, 1, 0, 1, 3);
}

void TSetup::buildIngenicoPage()
{
    QWidget* p = tabIngenico;
    auto* grid = new QGridLayout(p);

    auto* terminal = new QGroupBox(p);
    auto* form = new QFormLayout(terminal);
    form->addRow(QStringLiteral("Pārdošanas operācija"), edIngePardosana = edit(QStringLiteral("1"), terminal));
    form->addRow(QStringLiteral("Atgriešanas operācija"), edIngeAtgriesana = edit(QStringLiteral("77"), terminal));
    form->addRow(QStringLiteral("Valūtas kods"), edIngenicoValuta = edit(QStringLiteral("428"), terminal));
    auto* dayEnd = new QHBoxLayout;
    dayEnd->addWidget(edIngenicoDienasBeigas1 = edit(QStringLiteral("12"), terminal));
    dayEnd->addWidget(edIngenicoDienasBeigas2 = edit(QStringLiteral("100"), terminal));
    form->addRow(QStringLiteral("Dienas beigas"), dayEnd);
    form->addRow(btAdmin = new QPushButton(QStringLiteral("Admin"), terminal));
    grid->addWidget(terminal, 0, 0);

    rdPrepaidVeids = new TRadioGroup(QStringLiteral("Prepaid serveris :"),
                                     {QStringLiteral("Dravel / Verifone"), QStringLiteral("Sanitex"), QStringLiteral("Zudezo")},
                                     3, p);
    rdPrepaidVeids->SetItemIndex(0);
    grid->addWidget(rdPrepaidVeids, 1, 0);

    grpZudezo = new QGroupBox(QStringLiteral("Zudezo parametri"), p);
    auto* zudezo = new QFormLayout(grpZudezo);
    zudezo->addRow(QStringLiteral("Client ID :"), edZudezoClientID = edit({}, grpZudezo));
    zudezo->addRow(QStringLiteral("User ID :"), edZudezoUserID = edit({}, grpZudezo));
    zudezo->addRow(QStringLiteral("Parole :"), edZudezoPasword = edit({}, grpZudezo));
    edZudezoPasword->setEchoMode(QLineEdit::Password);
    grid->addWidget(grpZudezo, 2, 0);

    auto* logos = new QGroupBox(QStringLiteral("Zudezo čeku logo"), p);
    auto* logoForm = new QFormLayout(logos);
    for (int i = 0; i < 10; ++i)
        logoForm->addRow(QStringLiteral("%1. logo faila nosaukums").arg(i + 1), edZudezoLogo[std::size_t(i)] = edit({}, logos));
    grid->addWidget(logos, 0, 1, 3, 1);
}

void TSetup::FormCreate()
{
    pgLappuses->setCurrentWidget(tabGeneral);
    FMProc = std::make_unique<TFMProc>();
    FMProc->LogNote = windowTitle();
    if (FMProc->Status != 0) {
        platform::ui::showMessage(kNotReady);
        platform::ui::endProgram(1);
    }
    cmbElKontr->clear();
    for (const std::string& root : platform::volumeRoots())
        cmbElKontr->addItem(QString::fromStdString(root));
    // No drive is chosen until the settings name one: the second journal is optional.
    cmbElKontr->setCurrentIndex(-1);
    readWorkingRecords();
    readLastDayClose();
    readSettings();
}

void TSetup::readWorkingRecords()
{
    // A record that is missing or empty leaves the field's default.
    const auto read = [this](const QString& name, QLineEdit* field) {
        QString text = field->text();
        if (!FMProc->FMRead(name, text))
            endAfterFiscalFailure();
        field->setText(text);
    };
    for (int i = 0; i < 4; ++i)
        read(QStringLiteral("CEKAGALVA%1").arg(i + 1), Rinda[std::size_t(i)]);
    read(QStringLiteral("CEKANRCOUN"), CekaNr);
    read(QStringLiteral("X_REPORTNR"), X_Numurs);
    read(QStringLiteral("POS_NR"), shPosNr);
    read(QStringLiteral("VID_ID"), VidID);
    for (int i = 0; i < 10; ++i)
        read(QStringLiteral("APMVEID%1").arg(i + 1), edApmVeids[std::size_t(i)]);
    for (int i = 0; i < 10; ++i) {
        QString flag;
        if (!FMProc->FMRead(QStringLiteral("APMFLAG%1").arg(i + 1), flag))
            endAfterFiscalFailure();
        if (flag == QLatin1String("T"))
            chkApmFlag[std::size_t(i)]->setChecked(true);
    }
}

void TSetup::readLastDayClose()
{
    DayCloseRecord r;
    if (!FMProc->FMReadGrand(-1, r.nr, r.grandTotal, r.grandVat, r.date, r.time, r.daySum, r.dayVat, r.check))
        endAfterFiscalFailure();
    Z_Numurs->setText(QString::number(r.nr));
    GrandTotal->setText(setuprecords::generalNumber(r.grandTotal * 0.01));
    GrandPVN->setText(setuprecords::generalNumber(r.grandVat * 0.01));
    LastZ_Numurs = setuprecords::wholeNumber(Z_Numurs->text()).value_or(0);
    LastGrandTotal = setuprecords::decimalNumber(GrandTotal->text()).value_or(0);
    LastGrandPVN = setuprecords::decimalNumber(GrandPVN->text()).value_or(0);
}

void TSetup::FormDblClick()
{
    for (QLineEdit* field : {Z_Numurs, GrandTotal, X_Numurs, CekaNr, GrandPVN, shPosNr})
        field->setEnabled(true);
}

void TSetup::mouseDoubleClickEvent(QMouseEvent* event)
{
    FormDblClick();
    QWidget::mouseDoubleClickEvent(event);
}

void TSetup::rdPrepaidVeidsClick() { grpZudezo->setEnabled(rdPrepaidVeids->ItemIndex() == 2); }

bool TSetup::FormDestroy()
{
    if (destroyed_)
        return true;
    // Every number is checked before the first value is written: a bad one is named and the form
    // stays open, so no later value and not the journal folder is lost.
    const std::pair<QLineEdit*, const char*> numbers[] = {
        {shPrepaidNodala, "Prepaid karšu nodaļa"},       {shNeatrastaPreceNodala, "Neatrastās preces nodaļa"},
        {edIngePardosana, "Pārdošanas operācija"},       {edIngeAtgriesana, "Atgriešanas operācija"},
        {edIngenicoDienasBeigas1, "Dienas beigas"},      {edIngenicoDienasBeigas2, "Dienas beigas"},
        {edValutasKods, "Valūtas kods karšu operācijām"}};
    for (const auto& [field, label] : numbers) {
        if (!setuprecords::wholeNumber(field->text())) {
            platform::ui::showMessage(QStringLiteral("Laukā \"%1\" jābūt veselam skaitlim !!!").arg(QString::fromUtf8(label)));
            field->setFocus();
            return false;
        }
    }
    writeSettings();
    if (!cmbElKontr->currentText().isEmpty()) {
        // One level; a folder that cannot be made shows up when the till writes its journal there.
        std::error_code ec;
        std::filesystem::create_directory(std::filesystem::path(cmbElKontr->currentText().toStdString()) / "El_Kontr", ec);
    }
    destroyed_ = true;
    return true;
}

void TSetup::closeEvent(QCloseEvent* event)
{
    if (!FormDestroy()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TSetup::btMemCardClick()
{
    if (!AtminasKarte)
        AtminasKarte = new TAtminasKarte(this);
    AtminasKarte->FMProc = FMProc.get();
    AtminasKarte->exec();
}
