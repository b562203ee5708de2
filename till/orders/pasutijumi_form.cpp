// The orders window's components, menus and life: creation with the stored service settings,
// the first activation's position, closing (hidden) and the settings written at the end.
#include "pasutijumi.h"

#include "menu_shortcuts.h"

#include "datumodelis.h"
#include "klaviatura.h"
#include "order_list_model.h"
#include "radio_group.h"

#include "clock.h"
#include "settings_store.h"
#include "ui_services.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

QPointer<TPasutijumi> Pasutijumi;

namespace {

// The entry line's keys: Enter, and "p", which enters the line as Enter does.
class EntryKeys : public QObject {
public:
    explicit EntryKeys(TPasutijumi& form) : QObject(&form), form_(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            form_.shArtikulsKeyPress(13);
            return true;
        }
        if (key->text() == QStringLiteral("p")) {
            form_.shArtikulsKeyPress('p');
            return true;
        }
        return false;
    }

private:
    TPasutijumi& form_;
};

QDate Today() {
    const platform::LocalTime now = platform::localNow();
    return QDate(now.year, now.month, now.day);
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

QDateEdit* datePicker(QWidget* parent, const char* name) {
    auto* picker = named(new QDateEdit(parent), name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return picker;
}

}  // namespace

TPasutijumi::TPasutijumi(QWidget* owner) : QMainWindow(owner) {
    setObjectName("Pasutijumi");
    setWindowTitle("Pasūtījumu sastādīšana");
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    BuildForm();
    BuildMenus();
    ConnectPrinting();
    setFixedSize(1000, 520 + menuBar()->sizeHint().height());

    // FormCreate
    ReadStoredSettings();
    {
        const QSignalBlocker from(DatumsNo), to(DatumsLidz);
        DatumsNo->setDate(Today());
        DatumsLidz->setDate(Today());
    }
    Guarded([this] {
        LoadBarmeni();
        LoadGaldi();
        RefreshPasutijumi(0);
        LoadQuickItems();
    });
    if (!Klaviatura) Klaviatura = new TKlaviatura(this);
}

TPasutijumi::~TPasutijumi() {
    // FormDestroy
    auto& store = platform::SettingsStore::current();
    store.writeInteger(kPasutijumiKey, "Top", y());
    store.writeInteger(kPasutijumiKey, "Left", x());
    store.writeText(kPasutijumiKey, "Apkalposana", shApkalposana->text().toStdString());
    store.writeText(kPasutijumiKey, "ApkArtikuls", shApkArtikuls->text().toStdString());
}

void TPasutijumi::BuildForm() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* columns = new QHBoxLayout(central);

    // Left: the tabs around the grid, the total.
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);
    tabBarmeni = named(new QTabBar(central), "tabBarmeni");
    tabGaldi = named(new QTabBar(central), "tabGaldi");
    for (QTabBar* tabs : {tabBarmeni, tabGaldi}) {
        tabs->setExpanding(false);
        tabs->setUsesScrollButtons(true);
        tabs->setDrawBase(true);
    }
    grdO_PASUT = named(new QTableView(central), "grdO_PASUT");
    model_ = new OrderListModel(this);
    grdO_PASUT->setModel(model_);
    grdO_PASUT->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdO_PASUT->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdO_PASUT->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdO_PASUT->verticalHeader()->setVisible(false);
    grdO_PASUT->verticalHeader()->setDefaultSectionSize(18);
    // Each column at its designed width, wider where its heading or a listed value needs more.
    const auto fitColumns = [this] {
        const QAbstractItemView& grid = *grdO_PASUT;
        for (int c = 0; c < model_->columnCount(); ++c)
            grdO_PASUT->setColumnWidth(c, std::max({OrderListModel::columnWidth(c), grdO_PASUT->horizontalHeader()->sectionSizeHint(c),
                                                    grid.sizeHintForColumn(c)}));
    };
    fitColumns();
    connect(model_, &QAbstractItemModel::modelReset, this, fitColumns);
    left->addWidget(tabBarmeni);
    left->addWidget(tabGaldi);
    left->addWidget(grdO_PASUT, 1);
    auto* total = new QHBoxLayout;
    Label6 = named(new QLabel("Summa", central), "Label6");
    shSumma = named(new QLineEdit(central), "shSumma");
    shSumma->setReadOnly(true);
    shSumma->setAlignment(Qt::AlignRight);
    total->addStretch(1);
    total->addWidget(Label6);
    total->addWidget(shSumma);
    left->addLayout(total);

    // Right: the next line's fields, the corrections, the period and filter, printing.
    auto* right = new QGridLayout;
    columns->addLayout(right);
    int row = 0;
    BitBtn6 = button(central, "BitBtn6", "Bārmenis");
    cmbBarmens = named(new QComboBox(central), "cmbBarmens");
    cmbBarmens->setEditable(true);
    right->addWidget(BitBtn6, row, 0);
    right->addWidget(cmbBarmens, row++, 1, 1, 2);
    BitBtn8 = button(central, "BitBtn8", "Galds");
    cmbGalds = named(new QComboBox(central), "cmbGalds");
    cmbGalds->setEditable(true);
    right->addWidget(BitBtn8, row, 0);
    right->addWidget(cmbGalds, row++, 1, 1, 2);
    Label2 = named(new QLabel("Vieta", central), "Label2");
    shVieta = named(new QLineEdit(central), "shVieta");
    right->addWidget(Label2, row, 0);
    right->addWidget(shVieta, row++, 1, 1, 2);
    Label7 = named(new QLabel("Atlaide", central), "Label7");
    shAtlaide = named(new QLineEdit(central), "shAtlaide");
    btAtlaideVisam = button(central, "btAtlaideVisam", "Atlaide &Visam");
    right->addWidget(Label7, row, 0);
    right->addWidget(shAtlaide, row, 1);
    right->addWidget(btAtlaideVisam, row++, 2);
    btPrece = button(central, "btPrece", "Prece");
    shArtikuls = named(new QLineEdit(central), "shArtikuls");
    shArtikuls->setToolTip(QStringLiteral("ALT+P Rēķina apkalpošanu \">\" - Klienta kods"));
    shArtikuls->installEventFilter(new EntryKeys(*this));
    right->addWidget(btPrece, row, 0);
    right->addWidget(shArtikuls, row++, 1, 1, 2);
    chkNewPasut = named(new QCheckBox("&Jauns pasūtījums", central), "chkNewPasut");
    btDzest = button(central, "btDzest", "&Dzēst");
    right->addWidget(chkNewPasut, row, 0, 1, 2);
    right->addWidget(btDzest, row++, 2);

    GroupBox1 = named(new QGroupBox("Pasūtījumu apvienošana un dalīšana", central), "GroupBox1");
    auto* merge = new QGridLayout(GroupBox1);
    Label3 = named(new QLabel("No pasūtījuma", GroupBox1), "Label3");
    shPasutNo = named(new QLineEdit(GroupBox1), "shPasutNo");
    Label4 = named(new QLabel("uz", GroupBox1), "Label4");
    shPasutUz = named(new QLineEdit(GroupBox1), "shPasutUz");
    BitBtn3 = button(GroupBox1, "BitBtn3", "Apvienot");
    BitBtn2 = button(GroupBox1, "BitBtn2", "Iezīmētos - jaunā pasūtījumā");
    merge->addWidget(Label3, 0, 0);
    merge->addWidget(shPasutNo, 0, 1);
    merge->addWidget(Label4, 0, 2);
    merge->addWidget(shPasutUz, 0, 3);
    merge->addWidget(BitBtn3, 0, 4);
    merge->addWidget(BitBtn2, 1, 0, 1, 5);
    right->addWidget(GroupBox1, row++, 0, 1, 3);

    GroupBox2 = named(new QGroupBox("Laika periods", central), "GroupBox2");
    auto* period = new QHBoxLayout(GroupBox2);
    DatumsNo = datePicker(GroupBox2, "DatumsNo");
    DatumsLidz = datePicker(GroupBox2, "DatumsLidz");
    period->addWidget(DatumsNo);
    period->addWidget(DatumsLidz);
    right->addWidget(GroupBox2, row++, 0, 1, 3);
    AtlaseApmaksa = named(new TRadioGroup("AtlaseApmaksa", {"Neapmaskātie", "Apmaksātie", "Visi"}, 3, central),
                          "AtlaseApmaksa");
    AtlaseApmaksa->SetItemIndex(0);
    right->addWidget(AtlaseApmaksa, row++, 0, 1, 3);

    // The service charge on one row, the printing and closing buttons on two: the column fits
    // the form's 520 pixels.
    BitBtn5 = button(central, "BitBtn5", "A&pklpošana %");
    shApkalposana = named(new QLineEdit("10", central), "shApkalposana");
    Label8 = named(new QLabel("Artikuls", central), "Label8");
    shApkArtikuls = named(new QLineEdit(central), "shApkArtikuls");
    auto* service = new QHBoxLayout;
    service->addWidget(BitBtn5);
    service->addWidget(shApkalposana, 1);
    service->addWidget(Label8);
    service->addWidget(shApkArtikuls, 2);
    right->addLayout(service, row++, 0, 1, 3);

    btPrnBars = button(central, "btPrnBars", "Bāram");
    btPrnVirtuvei = button(central, "btPrnVirtuvei", "Virtuvei");
    btPrnBarsVirtuve = button(central, "btPrnBarsVirtuve", "Bāram un virtuvei");
    btPrnPasut = button(central, "btPrnPasut", "Pasūtījums");
    btPrnRekins = button(central, "btPrnRekins", "Rēķins");
    btLogoff = button(central, "btLogoff", "&Logoff");
    btClose = button(central, "btClose", "&Aizvērt");
    right->addWidget(btPrnBars, row, 0);
    right->addWidget(btPrnVirtuvei, row, 1);
    right->addWidget(btPrnBarsVirtuve, row++, 2);
    auto* last = new QHBoxLayout;
    for (QPushButton* b : {btPrnPasut, btPrnRekins, btLogoff, btClose}) last->addWidget(b);
    right->addLayout(last, row++, 0, 1, 3);
    right->setRowStretch(row, 1);

    connect(tabBarmeni, &QTabBar::currentChanged, this, [this] { tabBarmeniChange(); });
    connect(tabGaldi, &QTabBar::currentChanged, this, [this] { tabGaldiChange(); });
    connect(DatumsNo, &QDateEdit::dateChanged, this, [this] { DatumsNoChange(); });
    connect(DatumsLidz, &QDateEdit::dateChanged, this, [this] { DatumsLidzChange(); });
    connect(AtlaseApmaksa, &TRadioGroup::Clicked, this, [this] { AtlaseApmaksaClick(); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
    connect(BitBtn8, &QPushButton::clicked, this, [this] { BitBtn8Click(); });
    connect(btDzest, &QPushButton::clicked, this, [this] { btDzestClick(); });
    connect(btAtlaideVisam, &QPushButton::clicked, this, [this] { btAtlaideVisamClick(); });
    connect(btClose, &QPushButton::clicked, this, [this] { btCloseClick(); });
    connect(btLogoff, &QPushButton::clicked, this, [this] { btCloseClick(); });
}

void TPasutijumi::BuildMenus() {
    Atskaites1 = named(menuBar()->addMenu("Atskaites"), "Atskaites1");
    Brmeuatskaite1 = named(Atskaites1->addAction("Viesmīļu atskaite"), "Brmeuatskaite1");
    trietaustii1 = named(menuBar()->addMenu("Ātrie taustiņi (precēm)"), "trietaustii1");
    for (int i = 0; i < kQuickItemCount; ++i) {
        QAction* item = trietaustii1->addAction(QStringLiteral("Prece %1").arg(i + 1));
        item->setObjectName(QStringLiteral("Prece") + QString::number(i + 1) + u'1');
        // The shortcut works wherever the focus is in this window, as a menu key does.
        item->setShortcutContext(Qt::WindowShortcut);
        addAction(item);
        connect(item, &QAction::triggered, this, [this, i] { PreceClick(i); });
        Prece[std::size_t(i)] = item;
    }
    Prece[2]->setShortcut(QKeySequence(Qt::Key_F3));
    new MenuShortcutsFirst(*this);
}

void TPasutijumi::ReadStoredSettings() {
    const auto& store = platform::SettingsStore::current();
    if (!store.keyExists(kPasutijumiKey)) return;
    // A missing value empties its field; a value of the other kind leaves the layout's text.
    const auto read = [&](const char* name, QLineEdit* field) {
        if (store.valueType(kPasutijumiKey, name) == platform::ValueType::Integer) return;
        field->setText(QString::fromStdString(store.readText(kPasutijumiKey, name).value_or(std::string())));
    };
    read("Apkalposana", shApkalposana);
    read("ApkArtikuls", shApkArtikuls);
}

void TPasutijumi::LoadQuickItems() {
    for (QAction* item : Prece) item->setVisible(false);
    const std::vector<QuickItem> items = ReadQuickItems(Db(), kQuickItemCount);
    for (std::size_t n = 0; n < items.size(); ++n) {
        QAction* item = Prece[n];
        item->setText(items[n].gnos);
        const QKeySequence key = QKeySequence::fromString(items[n].shortkey, QKeySequence::PortableText);
        const bool namesKey = key.count() == 1 && key[0].key() != Qt::Key_unknown;
        item->setShortcut(namesKey ? key : QKeySequence());
        item->setVisible(true);
    }
}

void TPasutijumi::FormActivate() {
    if (!Aktivizets) {
        Aktivizets = true;
        const auto& store = platform::SettingsStore::current();
        if (store.keyExists(kPasutijumiKey)) {
            const auto top = store.readInteger(kPasutijumiKey, "Top");
            const auto leftPos = store.readInteger(kPasutijumiKey, "Left");
            if (top && leftPos) move(*leftPos, *top);
        }
    }
    btDzest->setEnabled(VarAtgreizt);
}

void TPasutijumi::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormActivate();
}

void TPasutijumi::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TPasutijumi::closeEvent(QCloseEvent* event) {
    // FormClose: the window is only hidden; its filters and fields stay for the next opening.
    if (Klaviatura) Klaviatura->hide();
    event->accept();
}

void TPasutijumi::btCloseClick() { close(); }

QSqlDatabase TPasutijumi::Db() const { return DatuModelis->POS_DB(); }

void TPasutijumi::Guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& e) {
        platform::ui::showMessage(QString::fromUtf8(e.what()), {}, platform::ui::Buttons::Ok, platform::ui::Icon::Error);
    }
}
