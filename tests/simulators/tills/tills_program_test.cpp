// tillora-tills: the demo fleet's exchange tables hold the texts meant, byte for byte.
#include "codepage_1257.h"
#include "dbf_table.h"
#include "latdosrm.h"

#include "test_environment.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

using testsupport::TestEnvironment;

class TillsProgramTest : public TestEnvironment {};

// Names with Latvian letters reach USERS.DBF (in the Latvian DOS code page) whole: a hex escape followed by a letter that is also
// a hex digit ("\xB7a") would be read as one out-of-range byte and lose the letter.
TEST_F(TillsProgramTest, TheDemoCashiersNameIsWrittenWhole) {
    QProcess tills;
    tills.setProcessChannelMode(QProcess::ForwardedChannels);
    tills.start(QStringLiteral(TILLS_PROGRAM), {QString::fromStdString(dir().string())});
    ASSERT_TRUE(tills.waitForFinished(120000));
    ASSERT_EQ(tills.exitCode(), 0);

    const DbfTable users = DbfTable::open(dir() / "USERS.DBF");
    QStringList names;
    for (int r = 0; r < users.recordCount(); ++r) names << fromCp1257(LatDosToWin(users.text(r, 2))).trimmed();
    EXPECT_EQ(names, QStringList({QStringLiteral("Administrators"), QStringLiteral("Anna Bērziņa")}));
}

}  // namespace
