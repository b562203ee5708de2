// The command file's life cycle in a working folder: taking, serving, the reply file and the
// Windows-1257 text at the file boundary.
#include "codepage_1257.h"
#include "command_file_exchange.h"
#include "fake_till.h"
#include "test_environment.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace command_file;
using command_file_test::FakeTill;
namespace fs = std::filesystem;

namespace {

class Exchange : public testsupport::TestEnvironment {
protected:
    void write(const char* name, const std::string& bytes) {
        std::ofstream out(dir() / name, std::ios::binary);
        out << bytes;
    }
    bool exists(const char* name) const { return fs::exists(dir() / name); }
    std::string read(const char* name) const { return testsupport::readFile(dir() / name); }

    FakeTill till;
};

}  // namespace

TEST_F(Exchange, NoCommandFileTouchesNothing) {
    write(kReplyFileName, "OK\r\n");
    EXPECT_FALSE(ServeCommandFile(dir(), till));
    EXPECT_EQ(read(kReplyFileName), "OK\r\n");
    EXPECT_FALSE(till.reply);
}

TEST_F(Exchange, EmptyCommandFileGivesAnEmptyReply) {
    write(kReplyFileName, "old reply\r\n");
    write(kCommandFileName, "");
    EXPECT_TRUE(ServeCommandFile(dir(), till));
    EXPECT_TRUE(exists(kReplyFileName));
    EXPECT_EQ(read(kReplyFileName), "");
    EXPECT_FALSE(exists(kCommandFileName));
    EXPECT_TRUE(exists(kTakenFileName));
}

TEST_F(Exchange, TakenFileReplacesThePreviousOneAndTheReplyIsWhole) {
    write(kTakenFileName, "older\r\n");
    write(kCommandFileName, "OPENCASH:\r\nDISPLAY:LINE1=a;LINE2=b;\r\n");
    EXPECT_TRUE(ServeCommandFile(dir(), till));
    EXPECT_EQ(read(kTakenFileName), "OPENCASH:\r\nDISPLAY:LINE1=a;LINE2=b;\r\n");
    EXPECT_EQ(read(kReplyFileName), "OK\r\nOK\r\n");
    EXPECT_FALSE(exists("ret.pos.part"));
    EXPECT_EQ(till.calls, (QStringList{"drawer", "display [a][b]"}));
}

TEST_F(Exchange, ReplyListIsEmptiedForEveryFileButKeptBetween) {
    write(kCommandFileName, "OPENCASH:\n");
    ServeCommandFile(dir(), till);
    till.ShowPazinojums("between files");
    EXPECT_EQ(*till.reply, (QStringList{"OK", "between files"}));
    write(kCommandFileName, "RESET:");
    ServeCommandFile(dir(), till);
    EXPECT_EQ(read(kReplyFileName), "OK\r\n");
}

TEST_F(Exchange, NextCommandFileWrittenDuringServingIsNotDeleted) {
    // The driving program is quick: its next request lands while this one is served.
    till.onEntry = [&](const QString&) { write(kCommandFileName, "OPENCASH:\r\n"); };
    write(kCommandFileName, "RESET:\r\n");
    ServeCommandFile(dir(), till);
    EXPECT_EQ(read(kCommandFileName), "OPENCASH:\r\n");
    EXPECT_EQ(read(kTakenFileName), "RESET:\r\n");
    ServeCommandFile(dir(), till);
    EXPECT_EQ(read(kReplyFileName), "OK\r\n");
    EXPECT_FALSE(exists(kCommandFileName));
}

TEST_F(Exchange, LatvianTextCrossesTheFilesInWindows1257) {
    const QString line1 = QStringLiteral("Ābols ŠŽČ");
    const QString line2 = QStringLiteral("Kopā: 1.20 €");
    write(kCommandFileName, toCp1257("DISPLAY:LINE1=" + line1 + ";LINE2=" + line2 + ";") + "\r\n" +
                                toCp1257("INOUTCASH:SUM=5;") + "\r\n");
    till.lines = 1;
    ServeCommandFile(dir(), till);
    EXPECT_EQ(till.calls.first(), "display [" + line1 + "][" + line2 + "]");
    const std::string expected = "OK\r\n" + toCp1257(QStringLiteral("Sākumā jānobeidz čeks !!!")) + "\r\n" +
                                 toCp1257(QStringLiteral("Sākumā jānobeidz čeks !!!")) + "\r\n";
    EXPECT_EQ(read(kReplyFileName), expected);
    // One byte per letter: 'ā' is 0xE2 in the Baltic code page.
    EXPECT_NE(read(kReplyFileName).find("S\xE2kum\xE2"), std::string::npos);
}

TEST_F(Exchange, AnswerHoldingALineBreakSpansTwoLines) {
    till.zResult = -2;
    write(kCommandFileName, "Z_REPORT:\r\n");
    ServeCommandFile(dir(), till);
    EXPECT_EQ(read(kReplyFileName), toCp1257(QStringLiteral("Nevarēju izdrukāt Z atskaiti !!!")) +
                                        "\r\n (Fiscal Printer Z atskaite \r\n");
}

TEST_F(Exchange, UnreadableCommandFileIsServedEmpty) {
    fs::create_directory(dir() / kCommandFileName);
    EXPECT_TRUE(ServeCommandFile(dir(), till));
    EXPECT_EQ(read(kReplyFileName), "");
    EXPECT_TRUE(till.calls.isEmpty());
}

TEST_F(Exchange, MessagesOfAServedFileGoIntoTheReplyNotIntoBoxes) {
    write(kCommandFileName, "SALE:PLU=1;QNTY=1;\r\nOPENCASH:\r\n");
    till.onEntry = [](const QString&) {
        if (platform::ui::showMessage(QStringLiteral("Vai pievienot preci ?"), {}, platform::ui::Buttons::YesNo) != platform::ui::Yes)
            ADD_FAILURE() << "not the default answer";
        platform::ui::showMessage(QStringLiteral("Problēmas ar fiskālo bloku !!!\n\nNav atbildes"));
    };
    EXPECT_TRUE(ServeCommandFile(dir(), till));
    EXPECT_EQ(read(kReplyFileName), toCp1257(QStringLiteral("Vai pievienot preci ?\r\nProblēmas ar fiskālo bloku !!!\r\n\r\n"
                                                            "Nav atbildes\r\nOK\r\nOK\r\n")));
    EXPECT_TRUE(messages().texts().isEmpty()) << messages().texts().join(" | ").toStdString();
    // Between files the boxes are back.
    platform::ui::showMessage(QStringLiteral("Ārpus komandu faila"));
    EXPECT_EQ(messages().texts(), QStringList{QStringLiteral("Ārpus komandu faila")});
}

TEST_F(Exchange, AProgramEndWhileServingStillAnswers) {
    const struct {
        bool closingPending;
        const char* reply;  // nothing when the next start answers
    } cases[] = {{false, "Problēma ar Fiskālo atmiņu vai datiem. Darbs tiek pārtraukts !!!\r\nDarbs tiek pārtraukts !!!\r\n"},
                 {true, nullptr}};
    for (const auto& c : cases) {
        fs::remove(dir() / kReplyFileName);
        write(kCommandFileName, "PAYM:MEDIA=0;AMOUNT=5.00;\r\nOPENCASH:\r\n");
        till.closingPending = c.closingPending;
        till.onEntry = [](const QString&) {
            platform::ui::showMessage(QStringLiteral("Problēma ar Fiskālo atmiņu vai datiem. Darbs tiek pārtraukts !!!"));
            platform::ui::endProgram(1);
        };
        EXPECT_THROW(ServeCommandFile(dir(), till), platform::ui::ProgramEnded);
        EXPECT_EQ(exists(kReplyFileName), c.reply != nullptr) << c.closingPending;
        if (c.reply) { EXPECT_EQ(read(kReplyFileName), toCp1257(QString::fromUtf8(c.reply))); }
        EXPECT_FALSE(till.calls.contains("drawer"));
    }
}
