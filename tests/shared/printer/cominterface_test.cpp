// The serial-port wrapper against pseudo-terminal ports.
#include "cominterface.h"
#include "serial_device.h"
#include "test_environment.h"

#include <thread>

namespace {

// A device that answers each byte it gets with the byte plus one.
class Echo : public sim::SerialDevice {
protected:
    void received(const sim::Bytes& bytes) override {
        sim::Bytes reply;
        for (auto b : bytes) reply.push_back(std::uint8_t(b + 1));
        send(reply);
    }
};

class ComInterface : public testsupport::TestEnvironment {};

TEST_F(ComInterface, OpenWriteReadClose) {
    Echo echo;
    ASSERT_TRUE(echo.start(portsDir(), "COM3"));
    ComHandle h = ComOpen(3, 9600, "n");
    ASSERT_NE(h, kComNotOpen);
    EXPECT_EQ(ComOpen(3, 9600, "n"), kComNotOpen);  // not shared
    EXPECT_EQ(ComWrite(h, "A", 0), kComWriteNothing);
    EXPECT_EQ(ComWrite(h, std::string("A")), kComWriteOk);
    EXPECT_EQ(ComRead(h), "B");
    // Nothing more came: an empty answer, not the previous byte.
    EXPECT_EQ(ComRead(h), "");
    EXPECT_EQ(ComClose(h), 0);
    EXPECT_EQ(ComWrite(h, std::string("A")), kComWriteFailed);
    EXPECT_EQ(ComRead(h), "");
    h = ComOpen(3, 9600, "n");  // free again after the close
    EXPECT_NE(h, kComNotOpen);
    ComClose(h);
    echo.stop();
}

TEST_F(ComInterface, MissingPortAndClosedHandle) {
    EXPECT_EQ(ComOpen(8, 9600, "n"), kComNotOpen);
    EXPECT_EQ(ComWrite(kComNotOpen, std::string("x")), kComWriteFailed);
    EXPECT_EQ(ComClose(kComNotOpen), 0);
}

TEST_F(ComInterface, ReadersOnTwoThreadsKeepTheirOwnBytes) {
    Echo scanner, scale;
    ASSERT_TRUE(scanner.start(portsDir(), "COM4"));
    ASSERT_TRUE(scale.start(portsDir(), "COM5"));
    ComHandle a = ComOpen(4, 9600, "n"), b = ComOpen(5, 4800, "n");
    ASSERT_NE(a, kComNotOpen);
    ASSERT_NE(b, kComNotOpen);
    std::string gotA, gotB;
    std::thread t([&] {
        for (int i = 0; i < 20; ++i) {
            ComWrite(a, std::string("a"));
            gotA += ComRead(a);
        }
    });
    for (int i = 0; i < 20; ++i) {
        ComWrite(b, std::string("x"));
        gotB += ComRead(b);
    }
    t.join();
    EXPECT_EQ(gotA, std::string(20, 'b'));
    EXPECT_EQ(gotB, std::string(20, 'y'));
    ComClose(a);
    ComClose(b);
}

}  // namespace
