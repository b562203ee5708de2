#include "klient_lielais_ekrans.h"

#include "datumodelis.h"

#include "jpeg_image.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSqlQuery>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kRowTickMs = 500;
constexpr int kLogoHeight = 107;
constexpr int kRowPixels = 24;  // the receipt's rows and their heading

QFont PixelFont(int pixels, bool bold = false, bool fixedPitch = false) {
    QFont font = fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont();
    if (fixedPitch) font.setFamilies({QStringLiteral("Courier New"), font.family()});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

}  // namespace

TKlientLielaisEkrans::TKlientLielaisEkrans(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("KlientLielaisEkrans"));
    setWindowTitle(QStringLiteral("TOVEL Tillora 2013"));
    resize(1284, 691);
    BuildForm();
    FormCreate();
}

void TKlientLielaisEkrans::BuildForm() {
    const QFont caption = PixelFont(19, true);
    const QFont sum = PixelFont(32, true);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("Čeka summa"), caption);
    shCekaSumma = MakeLabel(this, "shCekaSumma", QStringLiteral("0000.00"), sum);
    shSanetanaudaTXT = MakeLabel(this, "shSanetanaudaTXT", QStringLiteral("Saņemtā nauda"), caption);
    shSanemts = MakeLabel(this, "shSanemts", QStringLiteral("0000.00"), sum);
    Label4 = MakeLabel(this, "Label4", QStringLiteral("Izdot klientam :"), caption);
    shIzdot = MakeLabel(this, "shIzdot", QStringLiteral("0000.00"), sum);
    for (QLabel* label : {shCekaSumma, shSanemts, shIzdot}) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Shape1 = new QWidget(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFixedHeight(2);
    Shape1->setStyleSheet(QStringLiteral("background: black"));
    Label1 = MakeLabel(this, "Label1", QStringLiteral("Maksātājs"), caption);
    Label5 = MakeLabel(this, "Label5", QStringLiteral("Adrese"), caption);
    Label6 = MakeLabel(this, "Label6", QStringLiteral("Reģ.Nr"), caption);
    PirkumuSaraksts = new QListWidget(this);
    PirkumuSaraksts->setObjectName(QStringLiteral("PirkumuSaraksts"));
    PirkumuSaraksts->setFont(PixelFont(kRowPixels, false, true));
    shKlientaNosaukums = MakeEdit(this, "shKlientaNosaukums");
    shAdrese = MakeEdit(this, "shAdrese");
    shRegNr = MakeEdit(this, "shRegNr");
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(6);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("TOVEL Tillora 2013"), QFont());
    lbHeader = MakeLabel(this, "lbHeader",
                         QStringLiteral("Mērv.                 Nosaukums                       Daudzums   Cena   Atlaide   Summa"),
                         PixelFont(kRowPixels, false, true));
    shSkrRinda1 = MakeLabel(this, "shSkrRinda1", {}, PixelFont(19));
    shSkrRinda2 = MakeLabel(this, "shSkrRinda2", {}, PixelFont(19));
    for (QLabel* row : {shSkrRinda1, shSkrRinda2}) {
        row->setFixedHeight(32);
        row->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);  // the text never widens the window
    }
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedHeight(kLogoHeight);
    Image1->setAlignment(Qt::AlignCenter);

    // Rows, logo and header at the top; the list stretches; payer (left) and totals (right) at
    // the bottom; the strip along the right edge.
    auto* payer = new QGridLayout;
    payer->addWidget(Label1, 0, 0);
    payer->addWidget(shKlientaNosaukums, 0, 1);
    payer->addWidget(Label5, 1, 0);
    payer->addWidget(shAdrese, 1, 1);
    payer->addWidget(Label6, 2, 0);
    payer->addWidget(shRegNr, 2, 1);
    auto* totals = new QGridLayout;
    totals->addWidget(Label2, 0, 0);
    totals->addWidget(shCekaSumma, 0, 1);
    totals->addWidget(shSanetanaudaTXT, 1, 0);
    totals->addWidget(shSanemts, 1, 1);
    totals->addWidget(Shape1, 2, 0, 1, 2);
    totals->addWidget(Label4, 3, 0);
    totals->addWidget(shIzdot, 3, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(payer, 1);
    bottom->addLayout(totals, 1);
    auto* column = new QVBoxLayout;
    column->addWidget(shSkrRinda1);
    column->addWidget(shSkrRinda2);
    column->addWidget(Image1);
    column->addWidget(lbHeader);
    column->addWidget(PirkumuSaraksts, 1);
    column->addLayout(bottom);
    column->addWidget(Label3);
    auto* whole = new QHBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    // The window takes the size it is given (the second monitor's), whatever its texts ask for.
    whole->setSizeConstraint(QLayout::SetNoConstraint);
    whole->addLayout(column, 1);
    whole->addWidget(Panel2);

    RindaTimer1 = new QTimer(this);
    RindaTimer2 = new QTimer(this);
    RindaTimer1->setInterval(kRowTickMs);
    RindaTimer2->setInterval(kRowTickMs);
    connect(RindaTimer1, &QTimer::timeout, this, &TKlientLielaisEkrans::RindaTimer1Timer);
    connect(RindaTimer2, &QTimer::timeout, this, &TKlientLielaisEkrans::RindaTimer2Timer);
    RindaTimer1->start();
    RindaTimer2->start();
}

void TKlientLielaisEkrans::FormCreate() {
    // The picture stored with the form is never shown: the band holds the settings row's logo
    // or nothing.
    Image1->clear();
    if (!DatuModelis) return;
    QSqlQuery query;
    try {
        query = QSqlQuery(DatuModelis->POS_DB());
    } catch (const std::exception&) {
        return;  // the form reports nothing: without the database it shows no rows and no logo
    }
    if (!query.exec(QStringLiteral("SELECT DEMORINDA_1, DEMORINDA_2, LOGO_EKRANS FROM N_ISI")) || !query.next()) return;
    shSkrRinda1->setText(query.value(0).toString().trimmed());
    shSkrRinda2->setText(query.value(1).toString().trimmed());
    rinda1_.SetText(shSkrRinda1->text());
    rinda2_.SetText(shSkrRinda2->text());
    const QByteArray logo = query.value(2).toByteArray();
    const auto picture = platform::decodeJpeg(reinterpret_cast<const std::uint8_t*>(logo.constData()), std::size_t(logo.size()));
    if (!picture) return;  // no logo, or a damaged one: the band stays empty
    const QImage image(picture->rgb.data(), picture->width, picture->height, picture->width * 3, QImage::Format_RGB888);
    Image1->setPixmap(QPixmap::fromImage(image.copy()));
}

void TKlientLielaisEkrans::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // In a window narrower than a whole row at the form's own size (a 1024-pixel second screen)
    // the rows and their heading take the largest pixel size at which a row fits; a size the sale
    // window has set for its screen stays.
    if (lbHeader->font().pixelSize() <= 0) return;
    const int chrome = 2 * PirkumuSaraksts->frameWidth() + PirkumuSaraksts->verticalScrollBar()->sizeHint().width() + 8;
    const int room = event->size().width() - Panel2->width() - chrome;
    const int wide = QFontMetrics(PixelFont(kRowPixels, false, true)).horizontalAdvance(lbHeader->text());
    const int pixels = std::min(kRowPixels, kRowPixels * room / std::max(1, wide));
    if (pixels == lbHeader->font().pixelSize()) return;
    for (QWidget* rows : {static_cast<QWidget*>(PirkumuSaraksts), static_cast<QWidget*>(lbHeader)})
        rows->setFont(PixelFont(std::max(1, pixels), false, true));
}

void TKlientLielaisEkrans::Scroll(QLabel* label, ScrollingRow& row) {
    const QFontMetrics metrics(label->font());
    label->setText(row.Tick(label->width(), [&](const QString& text) { return metrics.horizontalAdvance(text); }));
}

void TKlientLielaisEkrans::RindaTimer1Timer() { Scroll(shSkrRinda1, rinda1_); }
void TKlientLielaisEkrans::RindaTimer2Timer() { Scroll(shSkrRinda2, rinda2_); }
