// Opening the shared port, the exchange on the wire and the replies that fail.
#include "module_fixture.h"
#include "serial_port.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

class MemorixPortTest : public ModuleTest {};

TEST_F(MemorixPortTest, StatusRequestGoesOutAsTheCapturedBytes) {
    int count = -1;
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    EXPECT_EQ(count, 0);
    int serial = 0;
    ASSERT_EQ(FM_GetSerialNumber(&serial), 0);
    EXPECT_EQ(serial, 20240117);
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_EQ(requests()[0], "02 03 01 00 04");
    EXPECT_EQ(requests()[1], "02 03 00 00 14");
}

TEST_F(MemorixPortTest, SecondOpenReturnsZeroWithoutReopeningWhateverItNames) {
    EXPECT_EQ(MEMORIX_OpenComPort(9, 2400), 0);
    EXPECT_EQ(MEMORIX_OpenComPort(-1, 115200), 0);
    int size = 0;
    EXPECT_EQ(FM_GetSize(&size), 0);  // still talking on COM3
    EXPECT_EQ(size, 0x10000);
}

TEST_F(MemorixPortTest, SpeedsOutsideTheListAreRefusedAndLeaveThePortClosed) {
    struct Case {
        int speed;
        int code;
    };
    for (const Case c : {Case{2400, MEMORIX_BAD_PARAMETERS}, Case{230400, MEMORIX_BAD_PARAMETERS}, Case{14400, 0},
                         Case{4800, 0}, Case{57600, 0}}) {
        MEMORIX_CloseComPort();
        EXPECT_EQ(MEMORIX_OpenComPort(kPort, c.speed), c.code) << c.speed;
        int count = -1;
        EXPECT_EQ(FM_GetRecordCount(&count), c.code ? MEMORIX_COM_PORT : 0) << c.speed;
    }
}

// The line as another program left it: 9600 baud, 7 data bits, even parity, reads that wait for
// 5 bytes or 0.3 s. The close call puts it back after the library's own set-up.
TEST_F(MemorixPortTest, CloseLeavesTheLineAsOpenFoundIt) {
    MEMORIX_CloseComPort();
    const std::string line = platform::resolvePortName("COM3");
    const int fd = ::open(line.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(fd, &before), 0);
    ::cfsetispeed(&before, B9600);
    ::cfsetospeed(&before, B9600);
    before.c_cflag = (before.c_cflag & ~(CSIZE | PARODD | CRTSCTS)) | CS7 | PARENB;
    before.c_cc[VMIN] = 5;
    before.c_cc[VTIME] = 3;
    ASSERT_EQ(::tcsetattr(fd, TCSANOW, &before), 0);
    ASSERT_EQ(::tcgetattr(fd, &before), 0);

    ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    int size = 0;
    EXPECT_EQ(FM_GetSize(&size), 0);
    termios during{};
    ASSERT_EQ(::tcgetattr(fd, &during), 0);
    EXPECT_EQ(::cfgetospeed(&during), speed_t(B115200));
    MEMORIX_CloseComPort();

    termios after{};
    ASSERT_EQ(::tcgetattr(fd, &after), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&after), speed_t(B9600));
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_cc[VMIN], 5);
    EXPECT_EQ(after.c_cc[VTIME], 3);
}

TEST_F(MemorixPortTest, BadPortNumberOrMissingPortIsRefused) {
    MEMORIX_CloseComPort();
    EXPECT_EQ(MEMORIX_OpenComPort(-1, 9600), MEMORIX_BAD_PARAMETERS);
    EXPECT_EQ(MEMORIX_OpenComPort(8, 9600), MEMORIX_COM_PORT);  // nothing linked as COM8
    int count = -1;
    EXPECT_EQ(FM_GetRecordCount(&count), MEMORIX_COM_PORT);
    EXPECT_EQ(MEMORIX_OpenComPort(kPort, 9600), 0);
    EXPECT_EQ(FM_GetRecordCount(&count), 0);
}

TEST_F(MemorixPortTest, AnotherProcessSharesTheOpenPortAndReachesTheModule) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another program: its open names another port and speed, returns 0 and uses the module.
        int code = MEMORIX_OpenComPort(7, 2400);
        const char data[] = "from another program";
        if (code == 0) code = FM_AppendRecord("OTHER", data, sizeof data);
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    int count = 0;
    ASSERT_EQ(FM_GetRecordCount(&count), 0);
    EXPECT_EQ(count, 1);
}

struct FaultCase {
    const char* fault;
    int code;
};

TEST_F(MemorixPortTest, ReplyFailuresReturnTheirCodes) {
    const FaultCase cases[] = {
        {"silent", MEMORIX_TIMEOUT},
        {"drop", MEMORIX_TIMEOUT},
        {sim::FiscalMemorySim::kBadCheck, MEMORIX_INTERFACE_CRC},
        {"status=23", 23},
        {"status=5", 5},
    };
    for (const auto& c : cases) {
        module().faults().arm(c.fault);
        int count = -1;
        EXPECT_EQ(FM_GetRecordCount(&count), c.code) << c.fault;
        EXPECT_EQ(count, 0) << c.fault;
        // Nothing is retried, and the next command starts clean.
        EXPECT_EQ(FM_GetRecordCount(&count), 0) << c.fault;
    }
}

TEST_F(MemorixPortTest, FiveHundredBytesAreReadInPiecesOf247) {
    std::vector<std::uint8_t> buffer(500);
    ASSERT_EQ(FM_FillReadBuf(0, 500, buffer.data()), 0);
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(500, 0xFF));  // an empty module is erased memory
    const std::vector<std::string> expected{wire(memorix::setAddressRequest(0).request), wire(memorix::readRequest(247).request),
                                            wire(memorix::readRequest(247).request), wire(memorix::readRequest(6).request)};
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(requests()[1], "02 04 04 F7 00 10");
    EXPECT_EQ(requests()[3], "02 04 04 06 00 00");
}

TEST_F(MemorixPortTest, RawReadRefusesBadArguments) {
    std::uint8_t byte;
    EXPECT_EQ(FM_FillReadBuf(-1, 1, &byte), MEMORIX_BAD_PARAMETERS);
    EXPECT_EQ(FM_FillReadBuf(0x1000000, 1, &byte), MEMORIX_INVALID_PARAMETER);
    EXPECT_EQ(FM_FillReadBuf(0, 65536, &byte), MEMORIX_BAD_PARAMETERS);
    EXPECT_EQ(FM_FillReadBuf(0, 1, nullptr), MEMORIX_NO_MEMORY);
}

TEST_F(MemorixPortTest, IdentityOfTheModule) {
    char* model = nullptr;
    ASSERT_EQ(FM_GetModel(&model), 0);
    EXPECT_STREQ(model, "FISCAL MEM SIM01");
    char first = 0, second = 0;
    ASSERT_EQ(FM_GetFirmwareVer(&first, &second), 0);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 7);
    int free = 0;
    ASSERT_EQ(FM_GetFreeBytesCount(&free), 0);
    EXPECT_EQ(free, 0x10000);
}

TEST(MemorixErrorTexts, EveryCodeHasItsText) {
    struct Text {
        int code;
        const char* text;
    };
    const Text texts[] = {
        {0, "OK"},
        {2, "FM: Interface error"},
        {3, "FM: Interface CRC"},
        {4, "FM: Interface timeout"},
        {5, "FM: Unknown command"},
        {20, "FM: No room in buf"},
        {21, "FM: CRC of PROM error"},
        {22, "FM: Locate error"},
        {23, "FM: No such record"},
        {24, "FM: Was error with PROM adress"},
        {25, "FM: Invalid record found"},
        {26, "FM: Invalid write address"},
        {27, "FM: Write fail"},
        {28, "FM: First two bytes in PROM is not empty"},
        {99, "FM: Internal error"},
        {100, "FMDRV: Invalid record length"},
        {101, "FMDRV: No such record"},
        {102, "FMDRV: Rewrite record error"},
        {103, "FMDRV: No room in Fiscal Memory"},
        {104, "FMDRV: PROM(s) is not empty"},
        {105, "FMDRV: It is not a development version of FM"},
        {106, "FMDRV: Too long record name"},
        {107, "FMDRV: Unknown record format"},
        {108, "FMDRV: File already exists"},
        {109, "FMDRV: Record CRC"},
        {150, "FMDRV: Trn already in progress"},
        {151, "FMDRV: No trn in progress"},
        {152, "FMDRV: No such file"},
        {200, "FMDRV: Interface"},
        {201, "FMDRV: Interface CRC"},
        {202, "FMDRV: Invalid paramater"},
        {203, "FMDRV: Acknowledge timeout"},
        {204, "FMDRV: Timeout"},
        {205, "FMDRV: Bad data from device"},
        {206, "FMDRV: No memory"},
        {207, "FMDRV: Bad parameters"},
        {208, "FMDRV: COM port error"},
        {255, "FMDRV: Internal error"},
        {-1, "Unknown !!!"},
        {1, "Unknown !!!"},
        {6, "Unknown !!!"},
        {256, "Unknown !!!"},
    };
    for (const auto& t : texts) EXPECT_STREQ(FM_GetErrorText(t.code), t.text) << t.code;
}

}  // namespace
