// PRG against a real till database: new items inserted, existing ones updated in place.
#include "command_file_messages.h"
#include "command_interpreter.h"
#include "fake_till.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace command_file;
using command_file_test::FakeTill;

namespace {

class ProgramPlu : public testsupport::DatabaseTest {
protected:
    QString serve(const QString& line) {
        till.db = db();
        QStringList& reply = till.StartReply();
        CommandInterpreter(till).Serve({line}, reply);
        return reply.join('|');
    }
    QVariant column(const QString& name, const QString& code) {
        return value("SELECT " + name + " FROM N_PRECE WHERE ARTIKULS=:A", {{":A", code}});
    }
    FakeTill till;
};

}  // namespace

TEST_F(ProgramPlu, NewCodeInsertsARow) {
    EXPECT_EQ(serve("PRG:PLU=4750;GNOS=Ābolu sula 1l;MERV=gab.;NODALA=2;CENA=1.35;"), "OK");
    EXPECT_EQ(column("GNOS", "4750").toString(), QStringLiteral("Ābolu sula 1l"));
    EXPECT_EQ(column("MERVIENIBA", "4750").toString(), "gab.");
    EXPECT_EQ(column("NODALA", "4750").toInt(), 2);
    EXPECT_DOUBLE_EQ(column("CENA", "4750").toDouble(), 1.35);
    EXPECT_GT(column("ISN", "4750").toInt(), 0);
}

TEST_F(ProgramPlu, ExistingCodeIsUpdatedInPlace) {
    ASSERT_EQ(serve("PRG:PLU=4750;GNOS=Sula;CENA=1;"), "OK");
    const int isn = column("ISN", "4750").toInt();
    exec("UPDATE N_PRECE SET SHORTKEY='K1' WHERE ISN=:I", {{":I", isn}});
    EXPECT_EQ(serve("PRG:PLU=4750;GNOS=Sula 2;MERV=l;NODALA=x;CENA=2.5;"), "OK");
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_PRECE").toInt(), 1);
    EXPECT_EQ(column("ISN", "4750").toInt(), isn);
    EXPECT_EQ(column("GNOS", "4750").toString(), "Sula 2");
    EXPECT_EQ(column("NODALA", "4750").toInt(), 1);  // not a number: department 1
    EXPECT_DOUBLE_EQ(column("CENA", "4750").toDouble(), 2.5);
    EXPECT_EQ(column("SHORTKEY", "4750").toString(), "K1");  // other columns untouched
}

TEST_F(ProgramPlu, UnitIsCutToThirteenCharacters) {
    EXPECT_EQ(serve("PRG:PLU=1;GNOS=Audums;MERV=kvadrātmetri garumā;"), "OK");
    EXPECT_EQ(column("MERVIENIBA", "1").toString(), QStringLiteral("kvadrātmetri "));
}

TEST_F(ProgramPlu, MissingCodeOrNameIsRefused) {
    EXPECT_EQ(serve("PRG:GNOS=Sula;"), messages::kNavArtikula);
    EXPECT_EQ(serve("PRG:PLU=;"), messages::kNavArtikula);
    EXPECT_EQ(serve("PRG:PLU=5;GNOS=;"), messages::kNavNosaukuma);
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_PRECE").toInt(), 0);
    EXPECT_TRUE(till.calls.isEmpty());
}

TEST_F(ProgramPlu, DatabaseRefusalIsTheAnswer) {
    // An article code longer than its column: the database's own error text answers the line.
    const QString answer = serve("PRG:PLU=" + QString(40, u'7') + ";GNOS=Sula;");
    EXPECT_NE(answer, "OK");
    EXPECT_FALSE(answer.isEmpty());
    EXPECT_EQ(value("SELECT COUNT(*) FROM N_PRECE").toInt(), 0);
}
