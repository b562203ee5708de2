#include "decimal_symbol.h"

#include "test_environment.h"

namespace {

using testsupport::TestEnvironment;

class DecimalSymbol : public TestEnvironment {};

TEST_F(DecimalSymbol, OnlyAPointAlonePasses) {
    struct Case {
        const char* stored;  // nullptr: value missing
        bool accepted;
    };
    for (const Case& c : {Case{".", true}, Case{",", false}, Case{"", false}, Case{". ", false}, Case{nullptr, false}}) {
        settings().deleteKey(kInternationalKey);
        settings().createKey(kInternationalKey);
        if (c.stored) settings().writeText(kInternationalKey, "sDecimal", c.stored);
        EXPECT_EQ(DecimalSymbolAccepted(settings()), c.accepted) << (c.stored ? c.stored : "(missing)");
    }
}

TEST_F(DecimalSymbol, MissingKeySkipsTheCheck) {
    settings().deleteKey(kInternationalKey);
    EXPECT_TRUE(DecimalSymbolAccepted(settings()));
}

}  // namespace
