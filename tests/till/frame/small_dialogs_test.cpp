#include "small_dialogs.h"

#include "test_environment.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {

TEST(GetKvitsNumurs, CountsDownAndTimesOutWithResultTwo) {
    TGetKvitsNumurs form(nullptr);
    form.setWindowTitle("Gaidu numuru...");
    form.Sekundes = 2;
    form.show();
    form.tmTimer->stop();  // the test ticks by hand
    EXPECT_EQ(form.Rezultats, 2);
    // The full count shows at once; each tick takes one second off; the tick that shows 0 closes.
    EXPECT_EQ(form.windowTitle(), "(2) Gaidu numuru...");
    form.tmTimerTimer();
    EXPECT_EQ(form.windowTitle(), "(1) Gaidu numuru...");
    EXPECT_TRUE(form.isVisible());
    form.tmTimerTimer();
    EXPECT_EQ(form.windowTitle(), "(0) Gaidu numuru...");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Rezultats, 2);
    EXPECT_EQ(form.Sekundes, 0);
}

TEST(GetKvitsNumurs, EnterInTheFieldAcceptsAtOnce) {
    TGetKvitsNumurs form(nullptr);
    form.Sekundes = 30;
    form.show();
    form.edKvitsNumurs->setText("1234");
    QTest::keyClick(form.edKvitsNumurs, Qt::Key_Return);
    EXPECT_EQ(form.Rezultats, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.edKvitsNumurs->text(), "1234");
}

TEST(VaiParbaudijat, EnterRightAwayLeavesItOpen) {
    TVaiParbaudijat form(nullptr);
    form.show();
    QApplication::setActiveWindow(&form);
    form.FormActivate();
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    form.btParbaudiju->click();
    EXPECT_FALSE(form.isVisible());
}

TEST(PinKods, FieldIsEmptyAtEveryShowing) {
    TPinKods form(nullptr);
    form.show();
    form.shPinKods->setText("9999");
    QTest::keyClick(form.shPinKods, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_TRUE(form.shPinKods->text().isEmpty());
}

TEST(DavanuKartes, NumberFieldFollowsTheModeAndResetGoesBackToNav) {
    TDavanuKartes form(nullptr);
    EXPECT_EQ(form.grpDAvKartes->ItemIndex(), 0);
    EXPECT_FALSE(form.shDMNumurs->isEnabled());
    form.grpDAvKartes->Item(1)->click();
    EXPECT_TRUE(form.shDMNumurs->isEnabled());
    form.shDMNumurs->setText("777");
    form.grpDAvKartes->Item(0)->click();
    EXPECT_FALSE(form.shDMNumurs->isEnabled());
    form.grpDAvKartes->Item(2)->click();
    form.Reset();
    EXPECT_EQ(form.grpDAvKartes->ItemIndex(), 0);
    EXPECT_TRUE(form.shDMNumurs->text().isEmpty());
    EXPECT_FALSE(form.shDMNumurs->isEnabled());
}

}  // namespace
