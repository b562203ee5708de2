// The reports menu, the receipt journal review and the goods browser on the real sale window,
// offscreen, over a journal made by sales on the window; previews go to PDF files.
#include "cekulentas_caurskate.h"
#include "get_datums_form.h"
#include "posmain.h"
#include "precu_caurskate.h"
#include "receipt_summary.h"
#include "report.h"

#include "till_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <algorithm>

namespace {

class JournalWindowTest : public testsupport::TillWindowTest {
protected:
    JournalWindowTest() : TillWindowTest({.printerType = 6, .display = false, .openingRecord = true}) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(TillWindowTest::SetUp());
        ASSERT_TRUE(startTill()) << messages().texts().join(" | ").toStdString();
        messages().clear();
        platform::report::setPreviewHandler([this](const platform::report::Report& report) {
            previews << report.title;
            const QString file = QString::fromStdString((dir() / ("preview" + std::to_string(previews.size()) + ".pdf")).string());
            EXPECT_TRUE(platform::report::writePdf(report, file));
            return true;
        });
    }

    void TearDown() override
    {
        platform::report::setPreviewHandler({});
        TillWindowTest::TearDown();
    }

    // Runs a menu command whose period dialog is closed at once.
    void withPeriod(void (TPOSMain::*command)())
    {
        QTimer::singleShot(0, [] {
            if (GetDatumsForm) GetDatumsForm->btOK->click();
        });
        (w().*command)();
    }

    void sell()
    {
        enter("4750001000017");  // 2.15 in department 1
        enter("/0=2.15");
        enter("2*4750001000017");
        enter("/0=5");
        ASSERT_EQ(w().RinduSkaits, 0);
    }

    QStringList previews;
};

TEST_F(JournalWindowTest, EveryReportPreviewsFromTheMenu)
{
    sell();
    for (auto command : {&TPOSMain::Atlaidessummaspaklientiem1Click, &TPOSMain::Realizcijapakasieriem1Click,
                         &TPOSMain::Realizcijaparklientiem1Click, &TPOSMain::Realizcijaparnodokulikmm1Click,
                         &TPOSMain::Nobdesnodefintscenas1Click, &TPOSMain::Realizcijaparstundm1Click,
                         &TPOSMain::Realizcijaparklientiemsummrforma1Click,
                         &TPOSMain::Kopsavilkumsparnodokulikmmunprecm1Click})
        withPeriod(command);
    ASSERT_EQ(previews.size(), 8);
    const QString period = GetDatumsForm->DatumsNo->date().toString("dd.MM.yyyy") + "-" +
                           GetDatumsForm->DatumsLidz->date().toString("dd.MM.yyyy");
    EXPECT_EQ(previews[1], "REALIZĀCIJA PAR KASIERIEM " + period);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();

    // The receipt summary after the day's Z report, and its CSV file beside the program.
    w().Zatskaite1Click();
    const QString csv = QCoreApplication::applicationDirPath() + "/" + kSummaryCsvFile;
    QFile::remove(csv);
    withPeriod(&TPOSMain::ekukopsavilkumaatskaite1Click);
    EXPECT_EQ(previews.last(), "ČEKU KOPSAVILKUMA ATSKAITE " + period);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray line = file.readLine();
    EXPECT_TRUE(line.startsWith(GetDatumsForm->DatumsNo->date().toString("dd.MM.yyyy").toLatin1() + ";"));
    EXPECT_TRUE(line.contains(";6.45;")) << line.toStdString();  // the day's total
    file.close();
    QFile::remove(csv);
}

TEST_F(JournalWindowTest, TheReviewPrintsACopyOfTheSelectedReceipt)
{
    sell();
    int rows = 0;
    QTimer::singleShot(0, [&rows] {
        CekuLentasCaurskate->CekuLenta.FetchAll();
        rows = CekuLentasCaurskate->CekuLenta.rowCount();
        CekuLentasCaurskate->grdCeki->selectRow(1);
        CekuLentasCaurskate->btPrCekaKopijaClick();
        CekuLentasCaurskate->BitBtn2Click();  // the journal print
        CekuLentasCaurskate->accept();
    });
    w().ekulentascaurskate1Click();
    EXPECT_EQ(rows, 2);
    const auto receipt = value("SELECT MAX(CEKA_NR) FROM REALIZ").toString().toStdString();
    EXPECT_TRUE(printed("             KOPIJA ČEKAM Nr " + receipt)) << messages().texts().join(" | ").toStdString();
    EXPECT_TRUE(printed("Kopā apmaksai EUR            4.30"));
    ASSERT_EQ(previews.size(), 1);
    EXPECT_TRUE(previews[0].startsWith("ČEKU LENTAS IZDRUKA "));
}

TEST_F(JournalWindowTest, TheBrowserHandsAnArticleToTheItemField)
{
    w().edArtikuls->setText("3*");
    QTimer::singleShot(0, [] {
        PrecuCaurskate->SearchTyped("4750001000024");
        PrecuCaurskate->ChooseCurrent();
    });
    w().Preusarakstacaurskate1Click();
    EXPECT_EQ(w().edArtikuls->text(), "3*4750001000024");
}

}  // namespace
