// The working-record viewer "Atmiņas karte": the day counters read at every activation.
#include "atminas_karte.h"
#include "setup_fixture.h"

#include <QTimer>

namespace setuptest {
namespace {

QStringList items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

class SetupViewer : public SetupTest {};

TEST_P(SetupViewer, ShowsTheDayCountersAndRereadsThemAtEachActivation)
{
    putRecord("NOD_D_SUM", QStringLiteral(" 5   12345-1    1000xx    abcd"));
    putRecord("VALUT_D_S", QStringLiteral("eur00000100EUR00000250   00000000"));
    putRecord("STORNO_SUM", QStringLiteral("000001250"));
    putRecord("IELIKTS", QStringLiteral("      500"));
    putRecord("IZNEMTS", QStringLiteral("    xx"));
    putRecord("ATGRTARA", QStringLiteral("   3    4500"));
    ASSERT_TRUE(openForm());
    // Shown modally: the check runs while it is up, then closes it.
    QStringList departments, currencies;
    QString storno, ielikts, iznemts, korekcija, taraCount, taraSum;
    QTimer::singleShot(0, [&] {
        TAtminasKarte& v = *form->AtminasKarte;
        v.FormActivate();  // activated again while shown
        departments = items(v.lstSumPaNodalam);
        currencies = items(v.lstSumValuta);
        storno = v.shStorno->text();
        ielikts = v.shIelikts->text();
        iznemts = v.shIznemts->text();
        korekcija = v.shKorekcija->text();
        taraCount = v.shAtgrTaraSkaits->text();
        taraSum = v.shAtgrTaraSumma->text();
        v.BitBtn1Click();
    });
    form->btMemCardClick();
    ASSERT_EQ(departments.size(), 25);
    EXPECT_EQ(departments[0], QStringLiteral(" 1 PVN= 5  S=  123.45"));
    EXPECT_EQ(departments[1], QStringLiteral(" 2 PVN=b/n S=   10.00"));
    EXPECT_EQ(departments[2], QStringLiteral(" 3 PVN= 0  S=    0.00"));
    EXPECT_EQ(departments[24], QStringLiteral("25 PVN= 0  S=    0.00"));
    ASSERT_EQ(currencies.size(), 30);
    EXPECT_EQ(currencies[0], QStringLiteral(" 1"));
    EXPECT_EQ(currencies[1], QStringLiteral(" 2 EUR S=    2.50"));
    EXPECT_EQ(currencies[2], QStringLiteral(" 3     S=    0.00"));
    EXPECT_EQ(storno, QStringLiteral("12.5"));
    EXPECT_EQ(ielikts, QStringLiteral("5"));  // 500 cents in characters 5 to 12, blanks around
    EXPECT_EQ(iznemts, QString());
    EXPECT_EQ(korekcija, QString());
    EXPECT_EQ(taraCount, QStringLiteral("   3"));
    EXPECT_EQ(taraSum, QStringLiteral("45"));

    // A second opening shows the same form with 25 and 30 lines again.
    int second = 0, secondCurrencies = 0;
    QTimer::singleShot(0, [&] {
        second = form->AtminasKarte->lstSumPaNodalam->count();
        secondCurrencies = form->AtminasKarte->lstSumValuta->count();
        form->AtminasKarte->BitBtn1Click();
    });
    form->btMemCardClick();
    EXPECT_EQ(second, 25);
    EXPECT_EQ(secondCurrencies, 30);
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetupViewer, ::testing::Values(kModule, kUsb), kindName);

}  // namespace
}  // namespace setuptest
