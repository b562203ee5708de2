// Weighing, the scanner and the second screen on the real sale window, against the simulators.
#include "till_window.h"

#include "ceka_apmaksa.h"
#include "klient_lielais_ekrans.h"
#include "posmain.h"
#include "spoken_amounts.h"
#include "weighing.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

using testsupport::TillOptions;
using testsupport::TillWindowTest;

constexpr const char* kBread = "4750001000017";

// ---------------------------------------------------------------- weighing

class WeighingWindow : public TillWindowTest {
protected:
    WeighingWindow() : TillWindowTest(TillOptions{.scaleModel = 2}) {}
    void SetUp() override {
        TillWindowTest::SetUp();
        ASSERT_TRUE(startTill());
        w().TimerPulkstenis->stop();  // the test ticks the clock itself
    }
    bool labelShown() const { return !POSMain->lbSversana->isHidden(); }
};

TEST_F(WeighingWindow, AWeightGoesInFrontOfTheCodeAndEntersTheLine) {
    scale->place(0.5);
    w().edArtikuls->setText(kBread);
    w().Svrtpreci1Click();
    ASSERT_EQ(w().RinduSkaits, 1) << messages().texts().join(" | ").toStdString();
    EXPECT_EQ(w().CekaRindas[0].Artikuls, kBread);
    EXPECT_DOUBLE_EQ(w().CekaRindas[0].Daudzums, 0.5);
    EXPECT_FALSE(w().SversanaNotiek);
    scale->place(1.2345);
    w().edArtikuls->setText(kBread);
    w().Svrtpreci1Click();
    ASSERT_EQ(w().RinduSkaits, 2);
    EXPECT_DOUBLE_EQ(w().CekaRindas[1].Daudzums, 1.234);  // 00001.234 from the scale's text
}

TEST_F(WeighingWindow, ARefusedWeightLocksF1UntilTheSixthTick) {
    scale->place(15.001);
    w().edArtikuls->setText(kBread);
    w().Svrtpreci1Click();
    EXPECT_TRUE(messages().shown(QString::fromUtf8(kOutOfRange) + "00015.001"));
    EXPECT_EQ(w().edArtikuls->text(), kBread);  // nothing written on failure
    EXPECT_TRUE(w().SversanaNotiek);

    scale->place(0.5);
    for (int tick = 1; tick <= 5; ++tick) {
        w().TimerPulkstenisTimer();
        EXPECT_TRUE(labelShown()) << tick;
        w().Svrtpreci1Click();  // locked: nothing happens
        EXPECT_EQ(w().RinduSkaits, 0) << tick;
    }
    w().TimerPulkstenisTimer();  // the sixth clears the mark; the label still shows
    EXPECT_FALSE(w().SversanaNotiek);
    EXPECT_TRUE(labelShown());
    w().TimerPulkstenisTimer();
    EXPECT_FALSE(labelShown());
    EXPECT_EQ(w().SversanaTaimeris, 0);
    w().Svrtpreci1Click();
    ASSERT_EQ(w().RinduSkaits, 1);
    EXPECT_DOUBLE_EQ(w().CekaRindas[0].Daudzums, 0.5);
}

TEST_F(WeighingWindow, ANumberThatIsNoneIsSaid) {
    scale->faults().arm("not-a-number");
    w().Svrtpreci1Click();
    EXPECT_TRUE(messages().shown(QString::fromUtf8(kNotANumber) + "-----.---"));
    EXPECT_EQ(w().RinduSkaits, 0);
}

class NoScaleWindow : public TillWindowTest {};

TEST_F(NoScaleWindow, WithoutAScalePortF1SaysSoAndDoesNotLock) {
    ASSERT_TRUE(startTill());
    w().Svrtpreci1Click();
    w().Svrtpreci1Click();
    EXPECT_EQ(messages().texts().count(QString::fromUtf8(kNoScalePort)), 2);
    EXPECT_FALSE(w().SversanaNotiek);
}

// ---------------------------------------------------------------- scanner

class ScannerWindow : public TillWindowTest {
protected:
    ScannerWindow() : TillWindowTest(TillOptions{.scanner = true}) {}
    // The till started, its scanner thread listening on the port.
    bool startScanningTill() {
        return startTill() && QTest::qWaitFor([&] { return scanner->openings() > 0; }, 5000);
    }
    bool linesBecome(int count) {
        return QTest::qWaitFor([&] { return POSMain->RinduSkaits == count; }, 5000);
    }
};

TEST_F(ScannerWindow, ScannedCodesEnterTheSale) {
    ASSERT_TRUE(startScanningTill());
    scanner->scan(kBread);
    ASSERT_TRUE(linesBecome(1));
    EXPECT_EQ(w().CekaRindas[0].Artikuls, kBread);
    w().edArtikuls->setText("2*");  // typed first: the code goes after it
    scanner->scan(kBread);
    ASSERT_TRUE(linesBecome(2));
    EXPECT_DOUBLE_EQ(w().CekaRindas[1].Daudzums, 2);
    scanner->sendBytes("F4750001000024\r\n");  // a line feed after the return is no part of the next code
    ASSERT_TRUE(linesBecome(3));
    scanner->sendBytes(std::string(kBread) + "\r");
    ASSERT_TRUE(linesBecome(4));
    EXPECT_EQ(w().CekaRindas[2].Artikuls, "4750001000024");
    EXPECT_EQ(w().CekaRindas[3].Artikuls, kBread);
    EXPECT_NE(w().CekaRindas[3].Nosaukums, "---");
}

TEST_F(ScannerWindow, ACodeScannedDuringThePaymentDialogWaitsForItToClose) {
    ASSERT_TRUE(startScanningTill());
    enter(kBread);
    ASSERT_EQ(w().RinduSkaits, 1);
    int linesWhileOpen = -1;
    QString fieldWhileOpen;
    QTimer::singleShot(0, [&] {
        scanner->scan(kBread);
        QTest::qWait(400);
        linesWhileOpen = POSMain->RinduSkaits;
        fieldWhileOpen = POSMain->edArtikuls->text();
        QTest::keyClick(CekaApmaksaForm->edApmSum[0], Qt::Key_Escape);
    });
    QTest::keyClick(w().edArtikuls, '/');
    EXPECT_EQ(linesWhileOpen, 1);
    EXPECT_EQ(fieldWhileOpen, "");
    EXPECT_TRUE(linesBecome(2));
}

TEST_F(ScannerWindow, TheThreadEndsWithTheWindow) {
    ASSERT_TRUE(startTill());
    QPointer<QThread> thread = w().ScanerThread;
    ASSERT_TRUE(thread && thread->isRunning());
    delete POSMain.data();
    EXPECT_TRUE(thread.isNull());
}

class ScannerSettingWindow : public TillWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(ScannerSettingWindow, PortZeroAndOneMeanNoScanner) {
    setupInteger("SkanerisCom", GetParam());
    ASSERT_TRUE(startTill());
    ASSERT_TRUE(w().ScanerThread);
    EXPECT_TRUE(w().ScanerThread->wait(5000));
}

INSTANTIATE_TEST_SUITE_P(Ports, ScannerSettingWindow, ::testing::Values(0, 1));

// ---------------------------------------------------------------- spoken totals

class SpokenTotals : public TillWindowTest {};

TEST_F(SpokenTotals, TheTotalIsSaidBeforeThePaymentDialogAndTheMoneyAfterThePayment) {
    setupInteger("SummuVardiem", 1);
    ASSERT_TRUE(startTill());
    enter(kBread);
    QStringList beforeDialog;
    QTimer::singleShot(0, [&] {
        beforeDialog = messages().texts();
        QTest::keyClick(CekaApmaksaForm->edApmSum[0], Qt::Key_Escape);
    });
    QTest::keyClick(w().edArtikuls, '/');
    ASSERT_FALSE(beforeDialog.isEmpty());
    EXPECT_EQ(beforeDialog.first(), "Nav atrodams fails Summa.wav");  // no word files in this folder
    messages().clear();
    enter("/0=100");
    ASSERT_EQ(w().RinduSkaits, 0) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(messages().shown("Nav atrodams fails Sanemts.wav"));
    EXPECT_TRUE(messages().shown("Nav atrodams fails Izdots.wav"));
}

TEST_F(SpokenTotals, AMissingWordGoesIntoTheCommandFileReplyWhereNobodyClosesABox) {
    ASSERT_TRUE(startTill());
    w().SummuVardiem = true;
    w().FiskPrinteris = true;
    w().RetPosList = std::make_unique<QStringList>();
    SpeakAmounts({{kSpokenTotal, 1.0}});
    EXPECT_TRUE(messages().texts().isEmpty());
    ASSERT_FALSE(w().RetPosList->isEmpty());
    EXPECT_EQ(w().RetPosList->first(), "Nav atrodams fails Summa.wav");
    w().SummuVardiem = false;
    w().RetPosList->clear();
    SpeakAmounts({{kSpokenTotal, 1.0}});
    EXPECT_TRUE(w().RetPosList->isEmpty());
}

// ---------------------------------------------------------------- second screen

QByteArray logoJpeg() {
    QImage image(60, 20, QImage::Format_RGB888);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

class SecondScreen : public TillWindowTest {
protected:
    TKlientLielaisEkrans& screen() { return *static_cast<TKlientLielaisEkrans*>(::KlientLielaisEkrans.data()); }
};

TEST_F(SecondScreen, RowsTrimmedAndTheLogoShownOrLeftOut) {
    exec("UPDATE N_ISI SET DEMORINDA_1 = '  Akcija  ', LOGO_EKRANS = :LOGO", {{":LOGO", logoJpeg()}});
    {
        TKlientLielaisEkrans form(nullptr);
        EXPECT_EQ(form.shSkrRinda1->text(), "Akcija");
        EXPECT_EQ(form.shSkrRinda2->text(), "Paldies par pirkumu");
        EXPECT_EQ(form.Image1->pixmap().width(), 60);
    }
    QByteArray damaged = logoJpeg();
    damaged.truncate(damaged.size() / 2);
    for (const QVariant& logo : {QVariant(damaged), QVariant(QByteArray("garbage")), QVariant(QMetaType::fromType<QByteArray>())}) {
        exec("UPDATE N_ISI SET LOGO_EKRANS = :LOGO", {{":LOGO", logo}});
        TKlientLielaisEkrans form(nullptr);
        EXPECT_TRUE(form.Image1->pixmap().isNull());
    }
}

TEST_F(SecondScreen, AnAdvertisingRowFillsItsLabelAndScrolls) {
    exec("UPDATE N_ISI SET DEMORINDA_1 = 'ABC'");
    TKlientLielaisEkrans form(nullptr);
    const QFontMetrics metrics(form.shSkrRinda1->font());
    form.shSkrRinda1->setFixedWidth(metrics.horizontalAdvance("ABC ABC ABC"));
    form.RindaTimer1Timer();
    EXPECT_EQ(form.shSkrRinda1->text(), "BC ABC ABC ABC A");
    EXPECT_TRUE(form.RindaTimer1->isActive());
    // The copies stay a blank apart as the row turns on, also when the window widens.
    form.shSkrRinda1->setFixedWidth(metrics.horizontalAdvance("ABC ABC ABC ABC ABC ABC"));
    const QStringList next{"C ABC ABC ABC ABC ABC ABC ABC AB", " ABC ABC ABC ABC ABC ABC ABC ABC", "ABC ABC ABC ABC ABC ABC ABC ABC "};
    for (const QString& shown : next) {
        form.RindaTimer1Timer();
        EXPECT_EQ(form.shSkrRinda1->text(), shown);
    }
}

TEST_F(SecondScreen, NotShownWithSettingZeroYetTheSaleWritesIntoIt) {
    ASSERT_TRUE(startTill());
    w().FormActivate();
    ASSERT_TRUE(::KlientLielaisEkrans);
    EXPECT_FALSE(screen().isVisible());
    enter(kBread);
    enter("2*" + QString(kBread));
    ASSERT_EQ(w().RinduSkaits, 2);
    EXPECT_EQ(screen().PirkumuSaraksts->count(), 2);
    EXPECT_EQ(screen().PirkumuSaraksts->currentRow(), 1);
    EXPECT_EQ(screen().shCekaSumma->text(), w().shCekaSumma->text());
    EXPECT_EQ(screen().shSanemts->text(), w().shSanemts->text());
    EXPECT_EQ(screen().shIzdot->text(), w().shIzdot->text());
    // A payer typed at the till shows on the second screen as it is typed.
    w().shKlientaNosaukums->setText("SIA Pircējs");
    w().shAdrese->setText("Rīga, Brīvības iela 1");
    w().shRegNr->setText("LV40003000009");
    for (const char* name : {"shKlientaNosaukums", "shAdrese", "shRegNr"}) {
        const QLineEdit* mirror = screen().findChild<QLineEdit*>(name);
        ASSERT_TRUE(mirror) << name;
        EXPECT_EQ(mirror->text(), w().findChild<QLineEdit*>(name)->text()) << name;
    }
}

class SecondScreenSetting : public SecondScreen, public ::testing::WithParamInterface<int> {};

TEST_P(SecondScreenSetting, PlacedRightOfTheMainScreen) {
    setupInteger("KlientLielaisEkrans", GetParam());
    setupInteger("KlScreenWidth", 1024);
    setupInteger("KlScreenHeight", 768);
    ASSERT_TRUE(startTill());
    w().FormActivate();
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(screen().isVisible());
    EXPECT_EQ(screen().geometry().topLeft(), QPoint(primary.width() + 1, 0));
    if (GetParam() == 1) {
        EXPECT_EQ(screen().size(), primary.size());
    } else {
        EXPECT_EQ(screen().size(), QSize(1024, 768));
        EXPECT_EQ(screen().PirkumuSaraksts->font().pointSize(), 11);
        EXPECT_EQ(screen().lbHeader->font().pointSize(), 11);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SecondScreenSetting, ::testing::Values(1, 2));

}  // namespace
