// TLedvik's till list and master-data pages: each page edits one till's tables live over the one
// connection POSDati, which the page points at its till when it is shown or a till is picked.
#include "ledvikform.h"

#include "database.h"
#include "ledvikdati.h"
#include "ui_services.h"

#include <QHeaderView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kCannotOpenDatabase = QStringLiteral("Nevarēju atvērt datu bāzi ");

QLineEdit* lineField(QFormLayout* form, const QString& caption, const QString& name, int maxLength = 0) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    if (maxLength > 0) edit->setMaxLength(maxLength);
    form->addRow(caption, edit);
    return edit;
}

QCheckBox* flagField(QFormLayout* form, const QString& caption, const QString& name) {
    auto* check = new QCheckBox(caption);
    check->setObjectName(name);
    form->addRow(check);
    return check;
}

QTableView* grid(const char* name) {
    auto* view = new QTableView;
    view->setObjectName(QLatin1String(name));
    // Each column as wide as its heading and the values it shows.
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

QComboBox* tillCombo(const char* name, TillList& kases) {
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    combo->setModel(&kases);
    combo->setModelColumn(TillList::GNOS);
    return combo;
}

// The four buttons of a list, named bt<Action><list> as the form has always named them.
QHBoxLayout* listButtons(EditorList* list, const QString& listName, bool withNew = true) {
    struct Action {
        const char* name;
        const char* caption;
        void (EditorList::*run)();
    };
    static const Action actions[] = {{"New", "Jauns", &EditorList::New},
                                     {"Edit", "Labot", &EditorList::Edit},
                                     {"Save", "Saglabāt", &EditorList::Save},
                                     {"Del", "Dzēst", &EditorList::Delete}};
    auto* row = new QHBoxLayout;
    for (const Action& a : actions) {
        if (!withNew && std::string_view(a.name) != "Save") continue;
        auto* button = new QPushButton(QString::fromUtf8(a.caption));
        button->setObjectName(QStringLiteral("bt") + QLatin1String(a.name) + listName);
        QObject::connect(button, &QPushButton::clicked, list, a.run);
        row->addWidget(button);
    }
    row->addStretch();
    return row;
}

EditField text(QLineEdit* edit, const QString& column) { return {column, edit, FieldKind::Text}; }
EditField number(QLineEdit* edit, const QString& column, int decimals = -1) { return {column, edit, FieldKind::Number, decimals}; }
EditField flag(QCheckBox* check, const QString& column) { return {column, check, FieldKind::Flag}; }

}  // namespace

QWidget* TLedvik::buildTillList() {
    auto* group = new QGroupBox(QStringLiteral("Kases"));
    DBGrid1 = grid("DBGrid1");
    auto* form = new QFormLayout;
    GNOS = lineField(form, QStringLiteral("Kases vārds"), QStringLiteral("GNOS"), 10);
    PATH = lineField(form, QStringLiteral("Katalogs"), QStringLiteral("PATH"), 200);
    NEAKTIVA = flagField(form, QStringLiteral("Kase neaktīva"), QStringLiteral("NEAKTIVA"));
    LOGO_EKR = lineField(form, QStringLiteral("Logo"), QStringLiteral("LOGO_EKR"), 200);
    btPosFails = new QPushButton(QStringLiteral("1. POS fails"));
    btPosFails->setObjectName(QStringLiteral("btPosFails"));
    btLogoFails = new QPushButton(QStringLiteral("Logo fails"));
    btLogoFails->setObjectName(QStringLiteral("btLogoFails"));
    connect(btPosFails, &QPushButton::clicked, this, &TLedvik::btPosFailsClick);
    connect(btLogoFails, &QPushButton::clicked, this, &TLedvik::btLogoFailsClick);
    auto* files = new QHBoxLayout;
    files->addWidget(btPosFails);
    files->addWidget(btLogoFails);
    files->addStretch();

    Kases = new EditorList({.fields = {text(GNOS, "GNOS"), text(PATH, "PATH"), flag(NEAKTIVA, "NEAKTIVA"), text(LOGO_EKR, "LOGO_EKR")},
                            .required = {{"GNOS", QStringLiteral("Nav ievadīts kases vārds !!!")},
                                         {"PATH", QStringLiteral("Nav ievadīts kases failu atrašanās vieta !!!")}},
                            .gridColumns = {{"GNOS", QStringLiteral("Kases v.")}, {"PATH", QStringLiteral("Katalogs")}, {"NEAKTIVA", QStringLiteral("Neat.")}}},
                           DBGrid1, this);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(DBGrid1);
    layout->addLayout(form);
    layout->addLayout(files);
    layout->addLayout(listButtons(Kases, QStringLiteral("Kase")));
    return group;
}

void TLedvik::buildEditorPages() {
    TillList& kases = dati_.KasesList();

    // Cashiers and currencies.
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    DBLKasesKasieri = tillCombo("DBLKasesKasieri", kases);
    DBGrid2 = grid("DBGrid2");
    auto* cashier = new QFormLayout;
    QLineEdit* kasieris = lineField(cashier, QStringLiteral("Kasieris"), QStringLiteral("Kasieri_GNOS"), 20);
    QLineEdit* fullName = lineField(cashier, QStringLiteral("Pilns vārds"), QStringLiteral("Kasieri_FULLNAME"), 40);
    QLineEdit* password = lineField(cashier, QStringLiteral("Parole"), QStringLiteral("Kasieri_PASWORD"), 30);
    QLineEdit* maxDiscount = lineField(cashier, QStringLiteral("MAX atlaide"), QStringLiteral("Kasieri_MAXATLAIDE"));
    QCheckBox* returns = flagField(cashier, QStringLiteral("Var atgriezt"), QStringLiteral("Kasieri_VARATGREIZT"));
    QCheckBox* zReport = flagField(cashier, QStringLiteral("Var ņemt Z atskaiti"), QStringLiteral("Kasieri_VAR_Z_ATSKAITI"));
    QCheckBox* discount = flagField(cashier, QStringLiteral("Var mainīt atlaidi"), QStringLiteral("Kasieri_VARMAINITATLAIDI"));
    QCheckBox* deleting = flagField(cashier, QStringLiteral("Var dzēst no čeka"), QStringLiteral("Kasieri_VARDZEST"));
    QCheckBox* electronic = flagField(cashier, QStringLiteral("Klientu izvēle tikai elektroniski"), QStringLiteral("Kasieri_KL_ELEKTRON"));
    Kasieri = new EditorList({.fields = {text(kasieris, "GNOS"), text(fullName, "FULLNAME"), text(password, "PASWORD"),
                                         number(maxDiscount, "MAXATLAIDE", 2), flag(returns, "VARATGREIZT"), flag(zReport, "VAR_Z_ATSKAITI"),
                                         flag(discount, "VARMAINITATLAIDI"), flag(deleting, "VARDZEST"), flag(electronic, "KL_ELEKTRON")},
                              .required = {{"GNOS", QStringLiteral("Nav ievadīts kasiera vārds !!!")}},
                              .gridColumns = {{"GNOS", QStringLiteral("Kasieris")},
                                              {"FULLNAME", QStringLiteral("Pilnais vārds")},
                                              {"MAXATLAIDE", QStringLiteral("MAX atlaide")}},
                              .editOnTyping = false,
                              .afterSave = [this] { PieslegtKasieri(); },
                              .afterDelete = [this] { PieslegtKasieri(); }},
                             DBGrid2, this);
    DBGrid3 = grid("DBGrid3");
    auto* currency = new QFormLayout;
    QLineEdit* code = lineField(currency, QStringLiteral("Valūta"), QStringLiteral("Valutas_VAL_KODS"), 3);
    QLineEdit* rate = lineField(currency, QStringLiteral("Kurss"), QStringLiteral("Valutas_KURSS"));
    Valutas = new EditorList({.fields = {text(code, "VAL_KODS"), number(rate, "KURSS")},
                              .required = {{"VAL_KODS", QStringLiteral("Nav ievadīts valūtas nosaukums !!!")},
                                           {"KURSS", QStringLiteral("Nav ievadīts valūtas kurss !!!"), true}},
                              .gridColumns = {{"VAL_KODS", QStringLiteral("Valūta")}, {"KURSS", QStringLiteral("Kurss")}},
                              .afterSave = [this] { PieslegtKasieri(); },
                              .afterDelete = [this] { PieslegtKasieri(); }},
                             DBGrid3, this);
    {
        auto* layout = new QGridLayout(TabSheet2);
        layout->addWidget(DBLKasesKasieri, 0, 0);
        layout->addWidget(DBGrid2, 1, 0);
        layout->addLayout(cashier, 2, 0);
        layout->addLayout(listButtons(Kasieri, QStringLiteral("Kasieris")), 3, 0);
        layout->addWidget(DBGrid3, 1, 1);
        layout->addLayout(currency, 2, 1);
        layout->addLayout(listButtons(Valutas, QStringLiteral("Valuta")), 3, 1);
    }

    // Items.
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    DBLKasesPreces = tillCombo("DBLKasesPreces", kases);
    shMekletPreces = new QLineEdit;
    shMekletPreces->setObjectName(QStringLiteral("shMekletPreces"));
    shMekletPreces->installEventFilter(this);
    DBGrid4 = grid("DBGrid4");
    auto* item = new QFormLayout;
    QLineEdit* article = lineField(item, QStringLiteral("Artikuls"), QStringLiteral("Preces_ARTIKULS"), 30);
    QLineEdit* name = lineField(item, QStringLiteral("Nosaukums"), QStringLiteral("Preces_GNOS"), 60);
    QLineEdit* unit = lineField(item, QStringLiteral("Mērv."), QStringLiteral("Preces_MERVIENIBA"), 13);
    QLineEdit* department = lineField(item, QStringLiteral("Nodaļas kods"), QStringLiteral("Preces_NODALA"));
    QLineEdit* price = lineField(item, QStringLiteral("Cena"), QStringLiteral("Preces_CENA"));
    QLineEdit* itemDiscount = lineField(item, QStringLiteral("Atlaide"), QStringLiteral("Preces_ATLAIDE"));
    QLineEdit* shortKey = lineField(item, QStringLiteral("Ātrais taustiņš"), QStringLiteral("Preces_SHORTKEY"), 10);
    QLineEdit* quantity2 = lineField(item, QStringLiteral("Nepieciešamais daudzums 2. cenai"), QStringLiteral("Preces_DAUDZUMS2"));
    QLineEdit* price2 = lineField(item, QStringLiteral("2. Cena"), QStringLiteral("Preces_CENA2"));
    QLineEdit* warning = lineField(item, QStringLiteral("Paziņojums POS logā"), QStringLiteral("Preces_WARNING"), 250);
    auto* saleFrom = new QLineEdit;
    saleFrom->setObjectName(QStringLiteral("Preces_IZP_SAK_D"));
    auto* saleTo = new QLineEdit;
    saleTo->setObjectName(QStringLiteral("Preces_IZP_BEIG_D"));
    {
        auto* period = new QHBoxLayout;
        period->addWidget(saleFrom);
        period->addWidget(new QLabel(QStringLiteral("-")));
        period->addWidget(saleTo);
        item->addRow(QStringLiteral("Izpārdošanas periods :"), period);
    }
    QLineEdit* boxEan = lineField(item, QStringLiteral("Kastes EAN"), QStringLiteral("Preces_EAN_KASTE"), 50);
    QLineEdit* boxCount = lineField(item, QStringLiteral("Skaits kastē"), QStringLiteral("Preces_SKKASTE"));
    QLineEdit* bigBoxEan = lineField(item, QStringLiteral("Lielās kastes EAN"), QStringLiteral("Preces_EAN_KASTELIELA"), 50);
    QLineEdit* bigBoxCount = lineField(item, QStringLiteral("Skaits kastē (lielajā)"), QStringLiteral("Preces_SKKASTELIELA"));
    QLineEdit* palletEan = lineField(item, QStringLiteral("Paletes EAN"), QStringLiteral("Preces_EAN_PALETE"), 50);
    QLineEdit* palletCount = lineField(item, QStringLiteral("Skaits paletē"), QStringLiteral("Preces_SKPALETE"));
    QCheckBox* packaging = flagField(item, QStringLiteral("Tara"), QStringLiteral("Preces_TARA"));
    QCheckBox* noDiscount = flagField(item, QStringLiteral("Nedot atlaidi 1"), QStringLiteral("Preces_NEDOT_ATL"));
    QCheckBox* noDiscount2 = flagField(item, QStringLiteral("Nedot atlaidi 2 cenai"), QStringLiteral("Preces_NEDOT_ATL2"));
    QCheckBox* showPrice = flagField(item, QStringLiteral("Pogā atspoguļot arī cenu"), QStringLiteral("Preces_KEY_RADITCENU"));
    auto* quickButton = new QComboBox;
    quickButton->setObjectName(QStringLiteral("Preces_KEY_BUTTON"));
    quickButton->addItem(QString());
    for (const char row : QByteArrayLiteral("ABCDEF"))
        for (int n = 1; n <= 6; ++n) quickButton->addItem(QChar(row) + QString::number(n));
    item->addRow(QStringLiteral("Ātrās pogas"), quickButton);
    Preces = new EditorList({.fields = {text(article, "ARTIKULS"),
                                        text(name, "GNOS"),
                                        text(unit, "MERVIENIBA"),
                                        {"NODALA", department, FieldKind::Integer},
                                        number(price, "CENA", 2),
                                        number(itemDiscount, "ATLAIDE", 2),
                                        text(shortKey, "SHORTKEY"),
                                        number(quantity2, "DAUDZUMS2"),
                                        number(price2, "CENA2"),
                                        text(warning, "WARNING"),
                                        {"IZP_SAK_D", saleFrom, FieldKind::Date},
                                        {"IZP_BEIG_D", saleTo, FieldKind::Date},
                                        text(boxEan, "EAN_KASTE"),
                                        number(boxCount, "SKKASTE"),
                                        text(bigBoxEan, "EAN_KASTELIELA"),
                                        number(bigBoxCount, "SKKASTELIELA"),
                                        text(palletEan, "EAN_PALETE"),
                                        number(palletCount, "SKPALETE"),
                                        flag(packaging, "TARA"),
                                        flag(noDiscount, "NEDOT_ATL"),
                                        flag(noDiscount2, "NEDOT_ATL2"),
                                        flag(showPrice, "KEY_RADITCENU"),
                                        {"KEY_BUTTON", quickButton, FieldKind::Choice}},
                             .required = {{"GNOS", QStringLiteral("Nav ievadīts preces nosaukums !!!")},
                                          {"ARTIKULS", QStringLiteral("Nav ievadīts preces artikuls !!!")},
                                          {"NODALA", QStringLiteral("Nav ievadīts nodaļas kods !!!")}},
                             .gridColumns = {{"ARTIKULS", QStringLiteral("Artikuls")},
                                             {"GNOS", QStringLiteral("Nosaukums")},
                                             {"CENA", QStringLiteral("Cena")},
                                             {"NODALA", QStringLiteral("Nodaļa")},
                                             {"MERVIENIBA", QStringLiteral("Mērvienība")}},
                             .gridShowsOthers = true,
                             .afterSave = [this] { PieslegtPreces(); }},
                            DBGrid4, this);
    {
        btLVL_to_EUR = new QPushButton(QStringLiteral("Pārrēkināt LVL->EUR"));
        btLVL_to_EUR->setObjectName(QStringLiteral("btLVL_to_EUR"));
        btLVL_to_EUR->setVisible(false);
        connect(btLVL_to_EUR, &QPushButton::clicked, this, &TLedvik::btLVL_to_EURClick);
        auto* top = new QHBoxLayout;
        top->addWidget(DBLKasesPreces);
        top->addWidget(btLVL_to_EUR);
        top->addWidget(new QLabel(QStringLiteral("Meklēt")));
        top->addWidget(shMekletPreces);
        auto* layout = new QVBoxLayout(TabSheet3);
        layout->addLayout(top);
        auto* body = new QHBoxLayout;
        body->addWidget(DBGrid4, 3);
        body->addLayout(item, 2);
        layout->addLayout(body);
        layout->addLayout(listButtons(Preces, QStringLiteral("Prece")));
    }

    // Customers.
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    DBLKasesKlienti = tillCombo("DBLKasesKlienti", kases);
    shMekletKlientu = new QLineEdit;
    shMekletKlientu->setObjectName(QStringLiteral("shMekletKlientu"));
    shMekletKlientu->installEventFilter(this);
    DBGrid5 = grid("DBGrid5");
    auto* customer = new QFormLayout;
    QLineEdit* customerCode = lineField(customer, QStringLiteral("Kods"), QStringLiteral("Klienti_KODS"), 30);
    // As long as the columns: a shorter edit would show a long name or address cut, and a save
    // after typing in it would store the cut text.
    QLineEdit* customerName = lineField(customer, QStringLiteral("Nosaukums"), QStringLiteral("Klienti_GNOS"), 140);
    QLineEdit* address = lineField(customer, QStringLiteral("Adrese"), QStringLiteral("Klienti_ADRESE"), 100);
    QLineEdit* vat = lineField(customer, QStringLiteral("PVN kods"), QStringLiteral("Klienti_PVN_KODS"), 20);
    QLineEdit* customerDiscount = lineField(customer, QStringLiteral("Atlaide"), QStringLiteral("Klienti_ATLAIDE"));
    auto* pharmacy = new QGroupBox(QStringLiteral("Speciālīe atlaižu dati - atlaides aptiekām"));
    auto* pharmacyForm = new QFormLayout(pharmacy);
    QLineEdit* noDiscountSum = lineField(pharmacyForm, QStringLiteral("Summa, no kuras nedod atlaidi"), QStringLiteral("Klienti_BEZATLAIDES"));
    QLineEdit* maxSum = lineField(pharmacyForm, QStringLiteral("MAX summa, kurai dod atlaidi"), QStringLiteral("Klienti_ATLSUMMAX"));
    QLineEdit* insurance = lineField(pharmacyForm, QStringLiteral("Apmaksā SK (%)"), QStringLiteral("Klienti_SLIMOKASE_ATL"));
    customer->addRow(pharmacy);
    Klienti = new EditorList({.fields = {text(customerCode, "KODS"), text(customerName, "GNOS"), text(address, "ADRESE"), text(vat, "PVN_KODS"),
                                         number(customerDiscount, "ATLAIDE", 3), number(noDiscountSum, "BEZATLAIDES", 2),
                                         number(maxSum, "ATLSUMMAX", 2), number(insurance, "SLIMOKASE_ATL", 2)},
                              .required = {{"GNOS", QStringLiteral("Nav ievadīts klienta nosaukums !!!")},
                                           {"KODS", QStringLiteral("Nav ievadīts klienta kods !!!")}},
                              .gridColumns = {{"KODS", QStringLiteral("Kods")},
                                              {"GNOS", QStringLiteral("Nosaukums")},
                                              {"ADRESE", QStringLiteral("Adrese")},
                                              {"PVN_KODS", QStringLiteral("PVN kods")},
                                              {"ATLAIDE", QStringLiteral("Atlaide")}},
                              .gridShowsOthers = true,
                              .afterSave = [this] { PieslegtKlienti(); }},
                             DBGrid5, this);
    {
        auto* top = new QHBoxLayout;
        top->addWidget(DBLKasesKlienti);
        top->addWidget(new QLabel(QStringLiteral("Meklēt")));
        top->addWidget(shMekletKlientu);
        auto* layout = new QVBoxLayout(TabSheet4);
        layout->addLayout(top);
        auto* body = new QHBoxLayout;
        body->addWidget(DBGrid5, 3);
        body->addLayout(customer, 2);
        layout->addLayout(body);
        layout->addLayout(listButtons(Klienti, QStringLiteral("Klients")));
    }

    // Add-on items of the settings row; the row has no grid of its own.
    tabPievPreces = new QWidget;
    tabPievPreces->setObjectName(QStringLiteral("tabPievPreces"));
    auto* addOns = new QGroupBox(QStringLiteral("Pievienojamās preces atkarībā no čeka summas"));
    auto* addOnForm = new QFormLayout(addOns);
    std::vector<EditField> addOnFields;
    for (int n = 1; n <= 3; ++n) {
        const QString suffix = QString::number(n);
        addOnFields.push_back(text(lineField(addOnForm, suffix + QStringLiteral(". preces artikuls"), "N_ISI_PIEVARTIK" + suffix, 30),
                                   "PIEVARTIK" + suffix));
        addOnFields.push_back(number(lineField(addOnForm, QStringLiteral("No summas"), "N_ISI_PIEVSUMMA" + suffix), "PIEVSUMMA" + suffix, 2));
    }
    auto* settingsRow = grid("N_ISI_Rows");
    settingsRow->hide();
    N_ISI = new EditorList({.fields = addOnFields}, settingsRow, this);
    {
        auto* layout = new QVBoxLayout(tabPievPreces);
        layout->addWidget(addOns);
        layout->addWidget(settingsRow);
        auto* save = listButtons(N_ISI, QStringLiteral("PievPreces"), false);
        layout->addLayout(save);
        layout->addStretch();
        btSavePievPreces = static_cast<QPushButton*>(save->itemAt(0)->widget());
    }

    PageControl->addTab(TabSheet2, QStringLiteral("Kasieri un valūtas"));
    PageControl->addTab(TabSheet3, QStringLiteral("Preču saraksts"));
    PageControl->addTab(TabSheet4, QStringLiteral("Klientu saraksts"));
    PageControl->addTab(tabPievPreces, QStringLiteral("Pievienojamās preces"));
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        QWidget* page = PageControl->widget(index);
        if (page == TabSheet2) TabSheet2Show();
        if (page == TabSheet3) TabSheet3Show();
        if (page == TabSheet4) TabSheet4Show();
        if (page == tabPievPreces) tabPievPrecesShow();
    });
    connect(DBLKasesKasieri, &QComboBox::activated, this, &TLedvik::DBLKasesKasieriCloseUp);
    connect(DBLKasesPreces, &QComboBox::activated, this, &TLedvik::DBLKasesPrecesCloseUp);
    connect(DBLKasesKlienti, &QComboBox::activated, this, &TLedvik::DBLKasesKlientiCloseUp);
}

// ---------------------------------------------------------------- connecting a page

void TLedvik::closeTillLists() {
    for (EditorList* list : {Kasieri, Valutas, Preces, Klienti, N_ISI}) list->setRows(nullptr);
}

void TLedvik::connectTill(std::initializer_list<TillQuery> queries) {
    closeTillLists();
    const int row = Kases->currentRow();
    const QString path = row >= 0 ? dati_.KasesList().row(row).PATH : QString();
    QSqlDatabase db;
    try {
        db = ConnectTill(path);
    } catch (const std::exception& e) {
        platform::ui::showMessage(kCannotOpenDatabase + QString::fromStdString(e.what()));
        return;
    }
    for (const TillQuery& q : queries) {
        auto rows = std::make_unique<SqlRows>(db, q.table, q.orderBy);
        const QString error = rows->readError();
        if (!error.isEmpty()) {
            platform::ui::showMessage(error);
            return;
        }
        q.list->setRows(std::move(rows));
    }
}

void TLedvik::PieslegtKasieri() { connectTill({{Kasieri, QStringLiteral("O_USERS"), {}}, {Valutas, QStringLiteral("N_VALUTAS"), {}}}); }

void TLedvik::PieslegtPreces() { connectTill({{Preces, QStringLiteral("N_PRECE"), QStringLiteral("ARTIKULS")}}); }

void TLedvik::PieslegtKlienti() { connectTill({{Klienti, QStringLiteral("N_KLIENTI"), QStringLiteral("GNOS")}}); }

void TLedvik::showCurrentTill(QComboBox* combo) {
    const int row = Kases->currentRow();
    combo->setCurrentIndex(row >= 0 ? dati_.KasesList().firstWithPath(dati_.KasesList().row(row).PATH) : -1);
}

void TLedvik::pickTill(QComboBox* combo) {
    const int picked = combo->currentIndex();
    if (picked < 0) return;
    const int first = dati_.KasesList().firstWithPath(dati_.KasesList().row(picked).PATH);
    Kases->setCurrentRow(first);
    combo->setCurrentIndex(first);
}

void TLedvik::TabSheet2Show() {
    showCurrentTill(DBLKasesKasieri);
    PieslegtKasieri();
}

void TLedvik::TabSheet3Show() {
    showCurrentTill(DBLKasesPreces);
    PieslegtPreces();
}

void TLedvik::TabSheet4Show() {
    showCurrentTill(DBLKasesKlienti);
    PieslegtKlienti();
}

void TLedvik::tabPievPrecesShow() { connectTill({{N_ISI, QStringLiteral("N_ISI"), {}}}); }

void TLedvik::DBLKasesKasieriCloseUp() {
    pickTill(DBLKasesKasieri);
    PieslegtKasieri();
}

void TLedvik::DBLKasesPrecesCloseUp() {
    pickTill(DBLKasesPreces);
    PieslegtPreces();
}

void TLedvik::DBLKasesKlientiCloseUp() {
    pickTill(DBLKasesKlienti);
    PieslegtKlienti();
}

void TLedvik::btSavePievPrecesClick() { N_ISI->Save(); }

// ---------------------------------------------------------------- searches

bool TLedvik::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != shMekletPreces && watched != shMekletKlientu))
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // Keys that type nothing (arrows, shifts) are no key presses of the search.
    if (!enter && key->text().isEmpty()) return false;
    const QChar typed = enter ? QChar(u'\r') : key->text().front();
    if (watched == shMekletPreces) {
        shMekletPrecesKeyPress(typed);
        return enter;
    }
    shMekletKlientuKeyPress(typed);
    return enter;
}

void TLedvik::shMekletPrecesKeyPress(QChar key) {
    if (key != u'\r') return;
    const QString wanted = shMekletPreces->text();
    const auto same = [&](const QString& value) { return value.compare(wanted, Qt::CaseInsensitive) == 0; };
    int row = Preces->findRow(QStringLiteral("ARTIKULS"), same);
    if (row < 0) row = Preces->findRow(QStringLiteral("GNOS"), same);
    if (row >= 0) Preces->setCurrentRow(row);
}

void TLedvik::shMekletKlientuKeyPress(QChar key) {
    if (key == u'\r') {
        DBGrid5->setFocus();
        return;
    }
    // The key is not in the field yet: the search runs ahead of the field's own text.
    const QString wanted = shMekletKlientu->text() + key;
    const auto starts = [&](const QString& value) { return value.startsWith(wanted, Qt::CaseSensitive); };
    int row = Klienti->findRow(QStringLiteral("KODS"), starts);
    if (row < 0) row = Klienti->findRow(QStringLiteral("GNOS"), starts);
    if (row >= 0) Klienti->setCurrentRow(row);
}

// ---------------------------------------------------------------- file dialogs

void TLedvik::Button3Click() {
    if (const auto file = platform::ui::openFileName(
            {QStringLiteral("Kur atrodas ITEMS.DBF ?"), QStringLiteral("DBF fails (ITEMS.DBF)|*.DBF"), shDBFDir->text()}))
        shDBFDir->setText(*file);
}

void TLedvik::btPosFailsClick() {
    if (Kases->state() == EditorList::State::Browse) return;
    if (const auto file =
            platform::ui::openFileName({QStringLiteral("Kur atrodas POS_DATI.GDB ?"), QStringLiteral("POS fails|*.GDB"), PATH->text()}))
        PATH->setText(*file);
}

void TLedvik::btLogoFailsClick() {
    if (Kases->state() == EditorList::State::Browse) return;
    if (const auto file =
            platform::ui::openFileName({QStringLiteral("Kur atrodas attēla JPG fails ?"), QStringLiteral("JPG fails|*.JPG"), LOGO_EKR->text()}))
        LOGO_EKR->setText(*file);
}
