// Message boxes where no screen can show them: Qt's offscreen platform (the demo's headless run,
// these tests) says the text on standard error and takes the box's default answer at once.
#include "ui_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

using platform::ui::Buttons;

TEST(MessageBoxes, OffscreenTheTextGoesToStandardErrorWithTheDefaultAnswer) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    platform::ui::setMessageHandler({});
    // A box that did open is closed again, so a fault fails the test instead of hanging it.
    bool boxOpened = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxOpened = true;
            box->close();
        }
    });
    closer.start(20);

    const struct {
        Buttons buttons;
        int answer;
    } cases[] = {
        {Buttons::Ok, platform::ui::Ok},
        {Buttons::OkCancel, platform::ui::Ok},
        {Buttons::YesNo, platform::ui::Yes},
        {Buttons::YesNoCancel, platform::ui::Yes},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStderr();
        const int answer = platform::ui::showMessage(QStringLiteral("Fiskālā bloka kopsummu atmiņa ir tukša !!!"), {}, c.buttons);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << int(c.buttons);
        EXPECT_EQ(said, "Fiskālā bloka kopsummu atmiņa ir tukša !!!\n") << int(c.buttons);
    }
    EXPECT_FALSE(boxOpened);
}

TEST(MessageBoxes, AnUnattendedScopeTakesEveryMessageAndRunsItsLastWordsBeforeTheEnd) {
    QStringList delivered;
    int lastWords = 0;
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest&) -> int {
        ADD_FAILURE() << "a box was asked for";
        return platform::ui::No;
    });
    platform::ui::setEndProgramThrows(true);
    {
        const platform::ui::UnattendedScope scope([&](const QString& text) { delivered << text; }, [&] { ++lastWords; });
        EXPECT_EQ(platform::ui::showMessage(QStringLiteral("Vai drukāt Z atskaiti ?"), {}, Buttons::YesNo), platform::ui::Yes);
        EXPECT_EQ(platform::ui::showMessage(QStringLiteral("Darbs tiek pārtraukts !!!")), platform::ui::Ok);
        EXPECT_THROW(platform::ui::endProgram(1), platform::ui::ProgramEnded);
    }
    EXPECT_EQ(delivered, (QStringList{QStringLiteral("Vai drukāt Z atskaiti ?"), QStringLiteral("Darbs tiek pārtraukts !!!")}));
    EXPECT_EQ(lastWords, 1);

    // Once the scope is gone, messages go where they went before it.
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest&) { return int(platform::ui::No); });
    EXPECT_EQ(platform::ui::showMessage(QStringLiteral("?"), {}, Buttons::YesNo), platform::ui::No);
    platform::ui::setMessageHandler({});
    platform::ui::setEndProgramThrows(false);
}

}  // namespace
