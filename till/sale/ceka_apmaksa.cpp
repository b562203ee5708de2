#include "ceka_apmaksa.h"

#include "fmproc.h"
#include "frame_objects.h"
#include "keypad.h"
#include "posmain.h"
#include "printclass.h"

#include "ui_services.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

QPointer<TCekaApmaksa> CekaApmaksaForm;

namespace {

const char* const kKeypad[] = {"C", "<-", "Enter", "7", "8", "9", "4", "5", "6", "1", "2", "3", "0", "00", "."};

// The start-up makes the one payment dialog through the frame's maker.
const bool kMakerInstalled = [] {
    ObjectMakers().CekaApmaksa = [](TPOSMain* window) -> QDialog* {
        CekaApmaksaForm = new TCekaApmaksa(window);
        return CekaApmaksaForm;
    };
    return true;
}();

}  // namespace

bool PaymentKindShown(const QString& name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && !trimmed.contains(QStringLiteral("Apmaksas v"));
}

int AddSummaryDiscount(std::span<TCekaRinda> lines, double value, double maxAtlaide) {
    int refused = 0;
    for (TCekaRinda& line : lines) {
        if (line.Atlaide + value > maxAtlaide) ++refused;
        else line.Atlaide += value;
    }
    return refused;
}

TCekaApmaksa::TCekaApmaksa(TPOSMain* owner) : QDialog(owner), w_(owner) {
    (void)kMakerInstalled;
    setObjectName("CekaApmaksa");
    setWindowTitle(QStringLiteral("Čeka apmaksa"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("Čeka summa"), this), 0, 0);
    shCekaSumma = new QLabel(this);
    shCekaSumma->setObjectName("shCekaSumma");
    grid->addWidget(shCekaSumma, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Vēl jāmaksā :"), this), 1, 0);
    shVelJamaksa = new QLabel(this);
    shVelJamaksa->setObjectName("shVelJamaksa");
    grid->addWidget(shVelJamaksa, 1, 1);
    for (int kind = 0; kind < 13; ++kind) {
        captions[std::size_t(kind)] = new QLabel(this);
        edApmSum[std::size_t(kind)] = new QLineEdit(this);
        edApmSum[std::size_t(kind)]->setObjectName(QStringLiteral("edApmSum%1").arg(kind));
        edApmSum[std::size_t(kind)]->installEventFilter(this);
        grid->addWidget(captions[std::size_t(kind)], kind + 2, 0);
        grid->addWidget(edApmSum[std::size_t(kind)], kind + 2, 1);
    }
    captions[0]->setObjectName("lbSkaidraNauda");
    captions[1]->setObjectName("lbBankasKarte");
    for (int kind = 2; kind <= 11; ++kind) captions[std::size_t(kind)]->setObjectName(QStringLiteral("Label%1").arg(kind));
    captions[12]->setObjectName("lbSkaidraNaudaLVL");

    pnlCipari = new QWidget(this);
    pnlCipari->setObjectName("pnlCipari");
    auto* keys = new QGridLayout(pnlCipari);
    int at = 0;
    for (const char* caption : kKeypad) {
        auto* button = new QPushButton(QString::fromLatin1(caption), pnlCipari);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, button] { KeypadClick(button->text()); });
        keys->addWidget(button, at / 3, at % 3);
        ++at;
    }
    layout->addWidget(pnlCipari);

    pnlSummaUnOK = new QWidget(this);
    auto* bottom = new QGridLayout(pnlSummaUnOK);
    bottom->addWidget(new QLabel(QStringLiteral("Summārā atlaide"), pnlSummaUnOK), 0, 0);
    shAtlaide = new QLineEdit(pnlSummaUnOK);
    shAtlaide->setObjectName("shAtlaide");
    shAtlaide->installEventFilter(this);
    bottom->addWidget(shAtlaide, 0, 1);
    btClose = new QPushButton(QStringLiteral("OK"), pnlSummaUnOK);
    connect(btClose, &QPushButton::clicked, this, &TCekaApmaksa::btOKClick);
    bottom->addWidget(btClose, 0, 2);
    layout->addWidget(pnlSummaUnOK);
    FormCreate();
}

void TCekaApmaksa::FormCreate() {
    captions[0]->setText(w_->CekaValuta == 1 ? QStringLiteral("0-Skaidra nauda EUR") : QStringLiteral("0-Skaidra nauda"));
    captions[1]->setText(QStringLiteral("1-Bankas karte"));
    for (int n = 1; n <= 10; ++n) {
        QString name;
        if (w_->FMProc) w_->FMProc->FMRead(QStringLiteral("APMVEID%1").arg(n), name);
        captions[std::size_t(n + 1)]->setText(name);
    }
    captions[12]->setText(QStringLiteral("Skaidra nauda LVL"));
    for (int kind = 2; kind <= 11; ++kind) {
        // A kind that is not in use has no row.
        const bool used = PaymentKindShown(captions[std::size_t(kind)]->text());
        captions[std::size_t(kind)]->setVisible(used);
        edApmSum[std::size_t(kind)]->setVisible(used);
    }
    captions[12]->setVisible(w_->CekaValuta == 1);
    edApmSum[12]->setVisible(w_->CekaValuta == 1);
    pnlCipari->setVisible(!w_->NeraditTouchPogas);
    shAtlaide->setEnabled(w_->VarMainitAtlaidi);
    AktivaisEdit = edApmSum[0];
    adjustSize();
}

void TCekaApmaksa::FormActivate() {
    for (QLineEdit* edit : edApmSum) edit->clear();
    LastKey = 0;
    ApmaksasTeksts.clear();
    PedejaisVeids = 0;
    shAtlaide->setText(QStringLiteral("0"));
    AktivaisEdit = edApmSum[0];
    edApmSum[0]->setFocus();
}

PaymentFields TCekaApmaksa::fields() const {
    PaymentFields out;
    for (std::size_t kind = 0; kind < out.size(); ++kind) out[kind] = edApmSum[kind]->text();
    return out;
}

void TCekaApmaksa::RefreshSummas() {
    shCekaSumma->setText(QString::asprintf("%7.2f", w_->CekaSumma));
    Samaksats = PaymentDialogSum(fields(), w_->EUR_Kurss);
    shVelJamaksa->setText(QString::asprintf("%7.2f", w_->CekaSumma - Samaksats));
}

bool TCekaApmaksa::cardAmountAccepted(bool onEnter) {
    const std::optional<double> card = ParseAmount(edApmSum[1]->text());
    if (!card) return true;
    // Enter keeps half a cent of tolerance; leaving the field keeps none.
    const double left = w_->CekaSumma - *card;
    if (onEnter ? left > -0.005 : left >= 0) return true;
    platform::ui::showMessage(kCardAboveTotal);
    return false;
}

void TCekaApmaksa::btOKClick() {
    ApmaksasTeksts.clear();
    if (LastKey != 27) std::tie(ApmaksasTeksts, PedejaisVeids) = PaymentDialogText(fields());
    accept();
}

void TCekaApmaksa::KeypadClick(const QString& pressed) {
    if (!AktivaisEdit) return;
    if (const std::optional<QString> text = KeypadText(AktivaisEdit->text(), pressed)) AktivaisEdit->setText(*text);
    else btOKClick();
}

void TCekaApmaksa::shAtlaideExit() {
    const std::optional<double> value = ParseAmount(shAtlaide->text());
    if (!value || !(*value > 0 && *value < 100)) return;
    if (platform::ui::showMessage(kDiscountQuestion, {}, platform::ui::Buttons::YesNo, platform::ui::Icon::Question) !=
        platform::ui::Yes)
        return;
    const int refused = AddSummaryDiscount({w_->CekaRindas.data(), std::size_t(w_->RinduSkaits)}, *value, w_->MaxAtlaide);
    for (int i = 0; i < refused; ++i) w_->ShowPazinojums(kDiscountAboveMaximum, false);
    w_->RefreshPirkumuSaraksts();
    w_->ShowSummas();
    RefreshSummas();
    if (w_->PrintClass)
        w_->PrintClass->PrintUzDispleja(QStringLiteral("Čeka summa"), QString::asprintf("EUR %7.2f", w_->CekaSumma));
    edApmSum[0]->setFocus();
}

bool TCekaApmaksa::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return false;
    if (event->type() == QEvent::FocusIn) {
        AktivaisEdit = edit;
    } else if (event->type() == QEvent::FocusOut) {
        // Focus taken by another window (this dialog's own message box among them) is not the
        // cashier leaving the field: the field still has the focus once the box is gone.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason) return false;
        if (edit == shAtlaide) {
            shAtlaideExit();
        } else if (edit != edApmSum[1] || cardAmountAccepted(false)) {
            RefreshSummas();
        }
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (edit == shAtlaide) {
            if (enter) edApmSum[0]->setFocus();
            return enter;
        }
        if (!enter && key != Qt::Key_Escape) return false;
        LastKey = enter ? 13 : 27;
        if (edit == edApmSum[1] && !cardAmountAccepted(true)) return true;
        btOKClick();
        return true;
    }
    return false;
}
