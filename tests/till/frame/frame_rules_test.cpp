#include "frame_rules.h"
#include "klaviatura.h"
#include "quick_keys.h"

#include "captured_log.h"
#include "test_environment.h"

#include <QPushButton>

#include <fstream>

namespace {

using testsupport::TestEnvironment;

// ---------------------------------------------------------------- message service

class MessageService : public TestEnvironment {};

TEST_F(MessageService, CommandFileModeShowsOnlyForcedMessagesAndAlwaysFillsTheReply) {
    struct Case {
        bool fiskPrinteris, force, withReply, shown;
    };
    const Case cases[] = {
        {false, false, false, true}, {false, true, false, true},  {true, false, false, false}, {true, true, false, true},
        {false, false, true, true},  {true, false, true, false},  {true, true, true, true},
    };
    for (const Case& c : cases) {
        messages().clear();
        QStringList reply{"earlier line"};
        ShowPazinojums("Sākumā jānobeidz čeks !!!", c.force, c.fiskPrinteris, c.withReply ? &reply : nullptr);
        EXPECT_EQ(messages().shown("Sākumā jānobeidz čeks !!!"), c.shown)
            << "mode " << c.fiskPrinteris << " force " << c.force << " reply " << c.withReply;
        if (c.withReply) {
            EXPECT_EQ(reply, (QStringList{"earlier line", "Sākumā jānobeidz čeks !!!"}));
        }
    }
}

// ---------------------------------------------------------------- clock tick

TEST(ClockTick, AWeighingThatNeverEndsIsClearedOnTheSixthTick) {
    WeighingState state;
    state.SversanaNotiek = true;
    for (int tick = 1; tick <= 5; ++tick) {
        EXPECT_TRUE(WeighingTick(state)) << tick;
        EXPECT_TRUE(state.SversanaNotiek) << tick;
        EXPECT_EQ(state.SversanaTaimeris, tick);
    }
    EXPECT_TRUE(WeighingTick(state));  // sixth tick: label still shown, flag cleared
    EXPECT_FALSE(state.SversanaNotiek);
    EXPECT_FALSE(WeighingTick(state));  // the label goes on the next tick
    EXPECT_EQ(state.SversanaTaimeris, 0);
}

TEST(ClockTick, AWeighingThatEndsEarlyHidesTheLabelAndResetsTheCount) {
    WeighingState state;
    state.SversanaNotiek = true;
    WeighingTick(state);
    WeighingTick(state);
    state.SversanaNotiek = false;
    EXPECT_FALSE(WeighingTick(state));
    EXPECT_EQ(state.SversanaTaimeris, 0);
}

// ---------------------------------------------------------------- wheel

TEST(Wheel, OneRowPerMessageUnclamped) {
    EXPECT_EQ(WheelSelection(3, 120), 2);
    EXPECT_EQ(WheelSelection(3, 480), 2);
    EXPECT_EQ(WheelSelection(3, -120), 4);
    EXPECT_EQ(WheelSelection(0, 120), -1);
    EXPECT_EQ(WheelSelection(3, 0), 3);
}

// ---------------------------------------------------------------- keyboard

TEST(KeyboardKeys, CaptionsAreAppendedAsCaptioned) {
    struct Case {
        const char *line, *caption, *after;
    };
    const Case cases[] = {
        {"", "<-", ""},          {"AB", "<-", "A"},      {"A", "SPACE", "A "}, {"A", ";", "A;"},
        {"A", ".", "A."},        {"A", "<", "A<"},       {"A", "&Q", "AQ"},    {"A", "&<-", ""},
        {"12", "*", "12*"},
    };
    for (const Case& c : cases) EXPECT_EQ(KlaviaturaKey(c.line, c.caption), QString(c.after)) << c.line << " + " << c.caption;
}

class Keyboard : public TestEnvironment {};

TEST_F(Keyboard, EnterClosesWithoutAddingAndThePositionIsKeptOnlyOnceShown) {
    {
        TKlaviatura never(nullptr);
    }
    EXPECT_FALSE(settings().keyExists(kKlaviaturaKey));

    auto* keyboard = new TKlaviatura(nullptr);
    keyboard->shRinda->setText("AB");
    keyboard->show();
    keyboard->btClose->click();
    EXPECT_EQ(keyboard->shRinda->text(), "AB");
    EXPECT_FALSE(keyboard->isVisible());
    keyboard->move(40, 30);
    const int left = keyboard->x(), top = keyboard->y();
    delete keyboard;
    EXPECT_EQ(settings().readInteger(kKlaviaturaKey, "Left"), left);
    EXPECT_EQ(settings().readInteger(kKlaviaturaKey, "Top"), top);
}

TEST_F(Keyboard, AStoreThatCannotBeWrittenIsLoggedWhenTheKeyboardGoes) {
    auto* keyboard = new TKlaviatura(nullptr);
    keyboard->show();
    const std::filesystem::path store = settings().path();
    // A store whose folder is a plain file: neither its lock nor the store can be made.
    std::ofstream(dir() / "plain-file") << "x";
    platform::SettingsStore::setCurrent(dir() / "plain-file" / "registry.reg");
    testsupport::CapturedLog log;
    delete keyboard;  // must not end the process
    platform::SettingsStore::setCurrent(store);
    EXPECT_TRUE(log.has("The keyboard's place was not kept"));
    EXPECT_FALSE(settings().keyExists(kKlaviaturaKey));
}

TEST_F(Keyboard, HasFortyEightKeys) {
    TKlaviatura keyboard(nullptr);
    EXPECT_EQ(keyboard.findChildren<QPushButton*>().size(), 48);
}

// ---------------------------------------------------------------- quick keys

TEST(QuickKeys, CodesAndIndexes) {
    EXPECT_EQ(QuickKeyIndex("A1"), 0);
    EXPECT_EQ(QuickKeyIndex("A6"), 5);
    EXPECT_EQ(QuickKeyIndex("B1"), 6);
    EXPECT_EQ(QuickKeyIndex("F6"), 35);
    for (const char* other : {"a1", "A1 ", "G1", "A7", "A0", "", "A"}) EXPECT_EQ(QuickKeyIndex(other), -1) << other;
    for (int i = 0; i < kQuickKeyCount; ++i) EXPECT_EQ(QuickKeyIndex(QuickKeyCode(i)), i);
}

TEST(QuickKeys, LastRowWinsPriceOnlyForExactT) {
    const QuickKeys keys = BuildQuickKeys({
        {"100", "Maize", 1.5, "C3", "T"},
        {"200", "Piens", 0.99, "C3", ""},
        {"300", "Maize", 1.5, "A1", "T"},
        {"400", "Siers", 4.0, "A2", "t"},
        {"500", "Nekas", 1.0, "a3", "T"},
    });
    EXPECT_EQ(keys.articles[std::size_t(QuickKeyIndex("C3"))], "200");
    EXPECT_EQ(keys.captions[std::size_t(QuickKeyIndex("C3"))], "Piens");
    EXPECT_EQ(keys.captions[0], "Maize 1.50");
    EXPECT_EQ(keys.captions[1], "Siers");
    EXPECT_EQ(keys.captions[2], "-");
    EXPECT_TRUE(keys.articles[2].isEmpty());
    EXPECT_EQ(keys.captions[35], "-");
}

}  // namespace
