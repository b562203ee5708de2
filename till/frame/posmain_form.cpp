// The sale window's components and menus, as its form lays them out.
#include "posmain.h"

#include "menu_shortcuts.h"
#include "receipt_list.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// The receipt list's rows end with their line's key past 100 blanks; the list measures and draws
// each row without it, so a line shows whole and no scroll bar leads to the keys.
class ReceiptListRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = RindasTeksts(option->text);
    }
};

}  // namespace

void TPOSMain::BuildForm() {
    setObjectName("POSMain");
    baseCaption_ = QStringLiteral("Tillora");
    setWindowTitle(baseCaption_);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    // The customer, the item field and the sums across the top; the receipt list across the whole
    // width, so that its fixed-pitch rows show whole on a 1024-pixel screen; the quick-item keys
    // and the keypad along the bottom.
    auto* rows = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    auto* entry = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    auto* bottom = new QHBoxLayout;
    rows->addLayout(top);

    // Customer panel and the sale / return switch.
    auto* customer = new QGroupBox("Klients", central);
    customer->setObjectName("pnlKlients");
    auto* cgrid = new QGridLayout(customer);
    dblKlientuSaraksts = new QComboBox(customer);
    dblKlientuSaraksts->setObjectName("dblKlientuSaraksts");
    shKlKods = edit(customer, "shKlKods");
    btKlKods = button(customer, "btKlKods", "Klienta kods F3");
    BitBtn1 = button(customer, "BitBtn1", "X");
    KlCitasZinas = edit(customer, "KlCitasZinas");
    // The payer fields: filled from the chosen customer, or typed by hand.
    shKlientaNosaukums = edit(customer, "shKlientaNosaukums");
    shAdrese = edit(customer, "shAdrese");
    shRegNr = edit(customer, "shRegNr");
    btMaksatajs = button(customer, "btMaksatajs", "Maksātājs");
    btRegNr = button(customer, "btRegNr", "Reģ.Nr");
    btAdrese = button(customer, "btAdrese", "Adrese");
    edAtlaide = edit(customer, "edAtlaide");
    cgrid->addWidget(dblKlientuSaraksts, 0, 0, 1, 2);
    cgrid->addWidget(btKlKods, 0, 2);
    cgrid->addWidget(shKlKods, 0, 3);
    cgrid->addWidget(BitBtn1, 0, 4);
    cgrid->addWidget(btMaksatajs, 1, 0);
    cgrid->addWidget(shKlientaNosaukums, 1, 1);
    cgrid->addWidget(btRegNr, 1, 2);
    cgrid->addWidget(shRegNr, 1, 3, 1, 2);
    cgrid->addWidget(btAdrese, 2, 0);
    cgrid->addWidget(shAdrese, 2, 1);
    cgrid->addWidget(label(customer, "lbAtlaide", "Atlaide F9"), 2, 2);
    cgrid->addWidget(edAtlaide, 2, 3, 1, 2);
    cgrid->addWidget(KlCitasZinas, 3, 0, 1, 5);
    cgrid->setColumnStretch(1, 2);
    cgrid->setColumnStretch(3, 1);
    top->addWidget(customer, 3);

    rdPirkumsStorno = new TRadioGroup("F6", {"&Pirkums", "Pirkuma at&griezšana     no čeka Nr."}, 1, central);
    rdPirkumsStorno->setObjectName("rdPirkumsStorno");
    rdPirkumsStorno->SetItemIndex(0);
    shAtgrnr = edit(rdPirkumsStorno, "shAtgrnr");
    shAtgrnr->setToolTip("Pēc ENTER taustiņa nospiešanas veiks atgriešanu no šī čeka");
    shAtgrnr->setVisible(false);
    static_cast<QGridLayout*>(rdPirkumsStorno->layout())->addWidget(shAtgrnr, 1, 1);
    entry->addWidget(rdPirkumsStorno);

    // The item field and the receipt list.
    edArtikuls = edit(central, "edArtikuls");
    QFont entryFont = edArtikuls->font();
    entryFont.setPixelSize(20);
    edArtikuls->setFont(entryFont);
    entry->addWidget(label(central, "lbArtikuls", "Daudzums/Artikuls/Kods F4"));
    entry->addWidget(edArtikuls);
    entry->addStretch(1);
    top->addLayout(entry, 2);
    top->addLayout(right, 2);
    PirkumuSaraksts = new QListWidget(central);
    PirkumuSaraksts->setObjectName("PirkumuSaraksts");
    QFont listFont("Courier New");
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPixelSize(16);
    PirkumuSaraksts->setFont(listFont);
    PirkumuSaraksts->setContextMenuPolicy(Qt::CustomContextMenu);
    PirkumuSaraksts->setItemDelegate(new ReceiptListRows(PirkumuSaraksts));
    // The column headings over the list, in its font; the list's refresh sets them for one-row
    // or two-row lines.
    const TPirkumuSaraksts empty = VeidotPirkumuSarakstu({}, true);
    lbHeader1 = label(central, "lbHeader1", empty.Virsraksts1);
    lbHeader2 = label(central, "lbHeader2", empty.Virsraksts2);
    for (QLabel* header : {lbHeader1, lbHeader2}) {
        header->setFont(listFont);
        rows->addWidget(header);
    }
    rows->addWidget(PirkumuSaraksts, 1);
    rows->addLayout(bottom);

    // Sums, payment kinds and the indicators.
    auto* sums = new QGridLayout;
    shCekaSumma = label(central, "shCekaSumma", "0.00");
    shSanemts = label(central, "shSanemts", "0.00");
    shIzdot = label(central, "shIzdot", "0.00");
    QFont sumFont = shCekaSumma->font();
    sumFont.setPixelSize(28);
    sumFont.setBold(true);
    for (QLabel* sum : {shCekaSumma, shSanemts, shIzdot}) {
        sum->setFont(sumFont);
        sum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    shSanetanaudaTXT = label(central, "shSanetanaudaTXT", "Saņemtā nauda :");
    Label4 = label(central, "Label4", "Izdot klientam :");
    sums->addWidget(label(central, "lbCekaSumma", "Čeka summa :"), 0, 0);
    sums->addWidget(shCekaSumma, 0, 1);
    sums->addWidget(shSanetanaudaTXT, 1, 0);
    sums->addWidget(shSanemts, 1, 1);
    sums->addWidget(Label4, 2, 0);
    sums->addWidget(shIzdot, 2, 1);
    right->addLayout(sums);
    cmbApmaksasVeids = new QComboBox(central);
    cmbApmaksasVeids->setObjectName("cmbApmaksasVeids");
    right->addWidget(cmbApmaksasVeids);
    shNodotKasi = label(central, "shNodotKasi", "Nododiet kasi !!!");
    shNodotKasi->setStyleSheet("color: red; font-weight: bold");
    shNodotKasi->setVisible(false);
    lbSversana = label(central, "lbSversana", "Svēršana...");
    lbSversana->setStyleSheet("color: red");
    lbSversana->setVisible(false);
    shAtlikums = label(central, "shAtlikums");
    right->addWidget(shNodotKasi);
    right->addWidget(lbSversana);
    right->addWidget(shAtlikums);
    right->addStretch(1);

    // Touch keys: the 36 quick-item keys (105 x 40, six columns) and the keypad with weighing
    // and card payment.
    pnlQuickButton = new QWidget(central);
    pnlQuickButton->setObjectName("pnlQuickButton");
    pnlQuickButton->setFixedSize(677, 266);
    for (int i = 0; i < kQuickKeyCount; ++i) {
        constexpr int lefts[6] = {4, 116, 229, 342, 455, 568};
        constexpr int tops[6] = {2, 46, 90, 134, 178, 222};
        const QString code = QuickKeyCode(i);
        auto* key = button(pnlQuickButton, qPrintable("bt" + code), {});
        key->setGeometry(lefts[i / 6], tops[i % 6], 105, 40);
        auto* caption = label(key, qPrintable("lb" + code), "-");
        caption->setGeometry(1, 1, 102, 38);
        caption->setAlignment(Qt::AlignCenter);
        caption->setWordWrap(true);
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        QuickButtons[std::size_t(i)] = key;
        QuickLabels[std::size_t(i)] = caption;
        connect(key, &QPushButton::clicked, this, [this, i] { QuickKeyClick(i); });
    }
    bottom->addWidget(pnlQuickButton);
    pnlPogas = new QWidget(central);
    pnlPogas->setObjectName("pnlPogas");
    btSvert = button(pnlPogas, "btSvert", "Svērt F1");
    Panel3 = button(pnlPogas, "Panel3", "Bankas karte F12");
    BuildKeypad();
    bottom->addWidget(pnlPogas, 1);

    // Status bar: the status line (panel 0) and the clock (panel 1), 500 and 50 pixels.
    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    for (int i = 0; i < 2; ++i) {
        StatusPanels[std::size_t(i)] = label(StatusBar1, i == 0 ? "StatusPanel0" : "StatusPanel1");
        StatusBar1->addWidget(StatusPanels[std::size_t(i)]);
    }
    // The clock's 50 pixels, or more where this font needs them for a whole time.
    const int clockWidth = StatusPanels[1]->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 4;
    StatusPanels[0]->setFixedWidth(500);
    StatusPanels[1]->setFixedWidth(std::max(50, clockWidth));

    TimerPulkstenis = new QTimer(this);
    TimerPulkstenis->setObjectName("TimerPulkstenis");
    TimerPulkstenis->setInterval(500);
    TimerFiskPrinteris = new QTimer(this);
    TimerFiskPrinteris->setObjectName("TimerFiskPrinteris");
    TimerFiskPrinteris->setInterval(400);

    connect(TimerPulkstenis, &QTimer::timeout, this, &TPOSMain::TimerPulkstenisTimer);
    connect(TimerFiskPrinteris, &QTimer::timeout, this, &TPOSMain::TimerFiskPrinterisTimer);
    connect(edArtikuls, &QLineEdit::returnPressed, this, [this] { edArtikulsKeyPress(13); });
    InstallSaleKeys();
    connect(rdPirkumsStorno, &TRadioGroup::Clicked, this, &TPOSMain::rdPirkumsStornoClick);
    ConnectCustomerPanel();
    connect(btSvert, &QPushButton::clicked, this, &TPOSMain::Svrtpreci1Click);
    connect(Panel3, &QPushButton::clicked, this, &TPOSMain::ApmaksaArKartiEFTClick);
    connect(PirkumuSaraksts, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(PirkumuSaraksts->viewport()->mapToGlobal(at)); });
    // The switch records the mode it had when it got the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now && rdPirkumsStorno->isAncestorOf(now) && !(old && rdPirkumsStorno->isAncestorOf(old))) rdPirkumsStornoEnter();
    });
    BuildMenus();
    // The window's active control: the cashier types and scans into the item field from the start.
    edArtikuls->setFocus();
}

void TPOSMain::BuildMenus() {
    using Handler = void (TPOSMain::*)();
    struct Item {
        const char* name;
        const char* caption;  // "-" a separator
        QKeySequence shortcut;
        Handler handler;
    };
    struct Menu {
        const char* name;
        const char* caption;
        std::vector<Item> items;
    };
    const std::vector<Menu> menus{
        {"MenuItem1", "Iestādīšana",
         {{"MenuItem6", "Parametri", {}, &TPOSMain::Parametri1Click},
          {"Veidotekakopijufail1", "Veidot čeka kopiju failā", {}, nullptr}}},
        {"MenuItem7", "Taustiņi",
         {{"Svrtpreci1", "Svērt preci", Qt::Key_F1, &TPOSMain::Svrtpreci1Click},
          {"N3", "-", {}, nullptr},
          {"MenuItem8", "Klients", Qt::Key_F2, &TPOSMain::Klients1Click},
          {"MenuItem9", "Klienta kods", Qt::Key_F3, &TPOSMain::Klientakods1Click},
          {"MenuItem10", "Daudzums/Artikuls/Kods", Qt::Key_F4, &TPOSMain::DaudzumsArtikulsKods1Click},
          {"Artikulaapstiprinana1", "Artikula apstiprināšana", Qt::CTRL | Qt::Key_F4, &TPOSMain::Artikulaapstiprinana1Click},
          {"MenuItem12", "Klienta dati", Qt::Key_F5, &TPOSMain::Klientadati1Click},
          {"MenuItem15", "Pirkums/Atgriešana", Qt::Key_F6, &TPOSMain::PirkumsAtgrieana1Click},
          {"MenuItem13", "Veidot čeka lopiju failā", Qt::Key_F8, nullptr},
          {"Atlaideslogs1", "Atlaides logs", Qt::Key_F9, &TPOSMain::Atlaideslogs1Click},
          {"ApmaksaArKartiEFT", "Apmaksas ar bankas karti", Qt::Key_F12, &TPOSMain::ApmaksaArKartiEFTClick},
          {"MOLAlojalitteskarte1", "MOLA lojalitātes karte", Qt::CTRL | Qt::Key_L, &TPOSMain::MOLAlojalitteskarte1Click},
          {"MenuItem16", "-", {}, nullptr},
          {"MenuItem19", "Maiņa/Inkasācija", Qt::CTRL | Qt::Key_M, &TPOSMain::MaiaInkascija1Click},
          {"MenuItem20", "Atvēr kasi", Qt::CTRL | Qt::Key_K, &TPOSMain::MenuItem20Click},
          {"MenuItem21", "Aizvērt sistēmu", Qt::SHIFT | Qt::Key_F4, &TPOSMain::Aizvrtsistmu1Click},
          {"Dvanukartes1", "Dāvanu kartes", Qt::CTRL | Qt::Key_D, &TPOSMain::Dvanukartes1Click},
          {"N2", "-", {}, nullptr},
          {"Precesatlikums1", "Preces atlikums", Qt::CTRL | Qt::Key_T, &TPOSMain::Precesatlikums1Click},
          {"Pastjumasastdana1", "Pasūtījuma sastādīšana", Qt::CTRL | Qt::Key_P, &TPOSMain::Pastjumasastdana1Click},
          {"Kasieramaia1", "Kasiera maiņa", Qt::CTRL | Qt::Key_I, &TPOSMain::Kasieramaia1Click}}},
        {"Atskaites1", "Atskaites",
         {{"MenuItem18", "X atskaite", Qt::CTRL | Qt::Key_X, &TPOSMain::Xatskaite1Click},
          {"MenuItem17", "Z atskaite", Qt::CTRL | Qt::Key_Z, &TPOSMain::Zatskaite1Click},
          {"IngenicoTMS1", "Ingenico TMS", {}, &TPOSMain::IngenicoTMS1Click},
          {"Zatskaitekoparanultajiemekiem1", "Z atskaite kopā ar anulētajiem čekiem", {}, &TPOSMain::Zatskaitekoparanultajiemekiem1Click},
          {"Atlaidessummaspaklientiem1", "Atlaides summas par klientiem", {}, &TPOSMain::Atlaidessummaspaklientiem1Click},
          {"Realizcijapakasieriem1", "Realizācija par kasieriem", {}, &TPOSMain::Realizcijapakasieriem1Click},
          {"Realizcijaparklientiem1", "Realizācija par klientiem", {}, &TPOSMain::Realizcijaparklientiem1Click},
          {"Realizcijaparklientiemsummrforma1", "Realizācija par klientiem (summārā forma)", {},
           &TPOSMain::Realizcijaparklientiemsummrforma1Click},
          {"Anultieeki1", "Anulētie čeki", {}, &TPOSMain::Anultieeki1Click},
          {"Realizcijaparnodokulikmm1", "Realizācija par nodokļu likmēm", {}, &TPOSMain::Realizcijaparnodokulikmm1Click},
          {"Nobdesnodefintscenas1", "Nobīdes no definētās cenas", {}, &TPOSMain::Nobdesnodefintscenas1Click},
          {"Realizcijaparstundm1", "Realizācija par stundām", {}, &TPOSMain::Realizcijaparstundm1Click},
          {"Kopsavilkumsparnodokulikmmunprecm1", "Kopsavilkums par apmaksas veidiem, nodokļu likmēm un precēm", {},
           &TPOSMain::Kopsavilkumsparnodokulikmmunprecm1Click},
          {"ekukopsavilkumaatskaite1", "Čeku kopsavilkuma atskaite", {}, &TPOSMain::ekukopsavilkumaatskaite1Click},
          {"N4", "-", {}, nullptr},
          {"Iepriekjekakopija1", "Pēdējā čeka kopija", Qt::CTRL | Qt::Key_O, &TPOSMain::Iepriekjekakopija1Click},
          {"PdjsZatskaiteskopija1", "Pēdējās Z atskaites kopija", Qt::CTRL | Qt::ALT | Qt::Key_Z,
           &TPOSMain::PdjsZatskaiteskopija1Click},
          {"PdjsBankaskarteskopija1", "Pēdējās norēķina ar Bankas kartes čeka kopija", {},
           &TPOSMain::PdjsBankaskarteskopija1Click},
          {"PdjPrepaidekakopija1", "Pēdējā Prepaid čeka kopija", {}, &TPOSMain::PdjPrepaidekakopija1Click},
          {"Bankaskaruatskaite1", "Bankas karšu atskaite", {}, &TPOSMain::Bankaskaruatskaite1Click}}},
        {"Palgs1", "Palīgs",
         {{"Papildustaustii1", "Papildus taustiņi", {}, &TPOSMain::Papildustaustii1Click},
          {"N1", "-", {}, nullptr},
          {"Preusarakstacaurskate1", "Preču saraksta caurskate", Qt::CTRL | Qt::Key_S, &TPOSMain::Preusarakstacaurskate1Click},
          {"ekulentascaurskate1", "Čeku lentas caurskate", {}, &TPOSMain::ekulentascaurskate1Click}}},
    };
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    for (const auto& m : menus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(m.name);
        for (const auto& item : m.items) {
            QAction* action = std::string_view(item.caption) == "-" ? menu->addSeparator() : menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(item.name);
            action->setShortcut(item.shortcut);
            if (item.handler) connect(action, &QAction::triggered, this, item.handler);
        }
    }
    new MenuShortcutsFirst(*this);
    MenuItem17 = findChild<QAction*>("MenuItem17");
    Bankaskaruatskaite1 = findChild<QAction*>("Bankaskaruatskaite1");
    Veidotekakopijufail1 = findChild<QAction*>("Veidotekakopijufail1");
    // A checkable action toggles its own mark when chosen, which is all its handler does.
    Veidotekakopijufail1->setCheckable(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Dzstierakstu1 = PopupMenu1->addAction("Dzēst ierakstu");
    Dzstierakstu1->setObjectName("Dzstierakstu1");
    connect(Dzstierakstu1, &QAction::triggered, this, &TPOSMain::Dzstierakstu1Click);
}
