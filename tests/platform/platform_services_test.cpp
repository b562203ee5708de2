// The layers in place of Windows interfaces the payment-terminal control uses: profile strings
// from INI files, Base64, local message pipes, and the object layer.
#include "base64.h"
#include "ini_file.h"
#include "local_pipe.h"
#include "object_layer.h"
#include "test_environment.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <thread>

using testsupport::TestEnvironment;

namespace {

class PlatformServicesTest : public TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        platform::setClock(nullptr);
    }
};

}  // namespace

TEST_F(PlatformServicesTest, ProfileStringsFollowTheWindowsRules) {
    std::ofstream(dir() / "payvo.ini") << "[other]\nSERIAL=COM9\n[payvobridge]\n  serial =  \"COM5\"  \nSERIAL=COM6\nSPEED=123456789012345\n";
    const auto ini = dir() / "payvo.ini";
    EXPECT_EQ(platform::readProfileString(ini, "PayvoBridge", "SERIAL", "COM1", 50), "COM5");
    EXPECT_EQ(platform::readProfileString(ini, "PayvoBridge", "SPEED", "", 5), "12345");
    EXPECT_EQ(platform::readProfileString(ini, "PayvoBridge", "MISSING", "115200", 20), "115200");
    EXPECT_EQ(platform::readProfileString(dir() / "none.ini", "PayvoBridge", "SERIAL", "COM1", 50), "COM1");
}

TEST(Base64, RoundTripsEveryPaddingAndRefusesBadText) {
    for (std::size_t n = 0; n <= 5; ++n) {
        std::vector<std::uint8_t> data;
        for (std::size_t i = 0; i < n; ++i) data.push_back(std::uint8_t(0xF0 + i));
        const std::string text = platform::base64Encode(data);
        EXPECT_EQ(text.size() % 4, 0u);
        EXPECT_EQ(platform::base64Decode(text), data) << text;
    }
    EXPECT_EQ(platform::base64Encode(std::vector<std::uint8_t>{'M', 'a'}), "TWE=");
    EXPECT_EQ(platform::base64Decode("TWE=\r\n"), (std::vector<std::uint8_t>{'M', 'a'}));
    for (const char* bad : {"TWE", "T=WE", "TW!=", "TWE=TWE="}) EXPECT_FALSE(platform::base64Decode(bad).has_value()) << bad;
}

TEST_F(PlatformServicesTest, PipesKeepMessageBoundaries) {
    platform::LocalPipeServer server;
    ASSERT_TRUE(server.listen("test_pipe"));
    platform::LocalPipeServer second;
    EXPECT_FALSE(second.listen("test_pipe")) << "one pipe of a name per process";
    platform::LocalPipe client = platform::connectLocalPipe("test_pipe", 1000);
    ASSERT_TRUE(client.isOpen());
    platform::LocalPipe end = server.accept(1000);
    ASSERT_TRUE(end.isOpen());
    ASSERT_TRUE(client.send({1, 2, 3}));
    ASSERT_TRUE(client.send({4}));
    ASSERT_TRUE(client.send(platform::PipeMessage(9000, 7)));
    EXPECT_EQ(end.receiveWithin(1000), (platform::PipeMessage{1, 2, 3}));
    EXPECT_EQ(end.receiveWithin(1000), (platform::PipeMessage{4}));
    EXPECT_EQ(end.receiveWithin(1000)->size(), platform::kPipeMessageMax);
    EXPECT_FALSE(end.receive().has_value());
    EXPECT_FALSE(platform::connectLocalPipe("no_such_pipe", 0).isOpen());
}

// The pipes link threads of one program: a connection from another user's process is refused, and
// what it sent is never read.
TEST_F(PlatformServicesTest, PipesRefuseAnotherUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a child as another user";
    platform::LocalPipeServer server;
    ASSERT_TRUE(server.listen("guarded_pipe"));
    const std::string name = "tillora-" + std::to_string(::getpid()) + "-guarded_pipe";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // nobody: connect to the parent's pipe by its address and send the shut-down code.
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) ::_exit(2);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) ::_exit(3);
        const std::uint8_t shutdown[4] = {23, 0, 0, 0};
        ::_exit(::send(fd, shutdown, sizeof shutdown, 0) == 4 ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the other user's connection went through";
    EXPECT_FALSE(server.accept(200).isOpen());

    platform::LocalPipe client = platform::connectLocalPipe("guarded_pipe", 1000);
    ASSERT_TRUE(client.isOpen());
    platform::LocalPipe end = server.accept(1000);
    ASSERT_TRUE(end.isOpen());
    ASSERT_TRUE(client.send({7}));
    EXPECT_EQ(end.receiveWithin(1000), (platform::PipeMessage{7}));
}

namespace {

// A small class: one property "Weight" (1), one method "Tare" (2) that fires event 1.
class Scale : public platform::com::DispatchObject {
public:
    const std::vector<platform::com::DispatchMember>& members() const override {
        static const std::vector<platform::com::DispatchMember> m{{1, "Weight", platform::com::MemberKind::Property},
                                                                   {2, "Tare", platform::com::MemberKind::Method}};
        return m;
    }
    platform::com::HResult getProperty(std::int32_t id, platform::com::Variant& v) override {
        if (id != 1) return platform::com::kDispMemberNotFound;
        v = weight;
        return 0;
    }
    platform::com::HResult putProperty(std::int32_t id, const platform::com::Variant& v) override {
        if (id != 1) return platform::com::kDispMemberNotFound;
        weight = platform::com::toInteger(v).value_or(0);
        return 0;
    }
    platform::com::HResult invoke(std::int32_t id, std::vector<platform::com::Variant>& args, platform::com::Variant& result) override {
        if (id != 2) return platform::com::kDispMemberNotFound;
        std::vector<platform::com::Variant> eventArgs{weight, std::int32_t(0)};
        fire(1, eventArgs);
        args.assign(1, eventArgs[1]);  // what the sink left in the by-reference argument
        result = true;
        return 0;
    }
    std::int32_t weight = 0;
};

struct Sink : platform::com::EventSink {
    void onEvent(std::int32_t dispid, std::vector<platform::com::Variant>& args) override {
        calls.push_back(dispid);
        args[1] = std::int32_t(42);
    }
    std::vector<std::int32_t> calls;
};

const platform::com::ClassInfo kScaleClass{"{11111111-2222-3333-4444-555555555555}", "TEST.Scale.1", "Test scale", 0, "", "1.0",
                                           [] { return std::unique_ptr<platform::com::DispatchObject>(new Scale); }};

}  // namespace

TEST_F(PlatformServicesTest, ObjectsByProgIdWithPropertiesMethodsAndEvents) {
    platform::com::registerClass(kScaleClass);
    platform::com::ServerModule module{"libscale.so", {"{99999999-2222-3333-4444-555555555555}", "1.0", "scale"}, {&kScaleClass}};
    EXPECT_EQ(platform::com::createObject("TEST.Scale.1"), nullptr);
    ASSERT_EQ(platform::com::registerServer(module), 0);
    auto scale = platform::com::createObject("TEST.Scale.1");
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->put("weight", std::int32_t(1500)), 0);
    platform::com::Variant v;
    EXPECT_EQ(scale->getProperty(1, v), 0);
    EXPECT_EQ(platform::com::toInteger(v), 1500);

    auto sink = std::make_shared<Sink>();
    const auto cookie = scale->advise(sink);
    std::vector<platform::com::Variant> args;
    platform::com::Variant result;
    ASSERT_EQ(scale->call("Tare", args, result), 0);
    EXPECT_EQ(sink->calls, std::vector<std::int32_t>{1});
    EXPECT_EQ(platform::com::toInteger(args[0]), 42);
    EXPECT_TRUE(scale->unadvise(cookie));
    scale->call("Tare", args, result);
    EXPECT_EQ(sink->calls.size(), 1u);
    EXPECT_EQ(scale->call("Weigh", args, result), platform::com::kDispUnknownName);

    ASSERT_EQ(platform::com::unregisterServer(module), 0);
    EXPECT_EQ(platform::com::createObject("TEST.Scale.1"), nullptr);
    module.typeLib.id = "bad";
    EXPECT_EQ(platform::com::registerServer(module), platform::com::kSelfRegTypeLib);
    EXPECT_FALSE(settings().keyExists("Software\\Classes\\TEST.Scale.1"));
}
