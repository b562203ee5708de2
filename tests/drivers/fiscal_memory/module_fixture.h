// A fiscal-memory module simulator on COM3 with the library's port open on it.
#pragma once

#include "commands.h"
#include "fiscal_memory_sim.h"
#include "link.h"
#include "memorix.h"
#include "session.h"
#include "test_environment.h"

#include <memory>
#include <string>
#include <vector>

class ModuleTest : public testsupport::TestEnvironment {
protected:
    static constexpr int kPort = 3;

    void SetUp() override {
        TestEnvironment::SetUp();
        // Silence is recognised after this instead of the line's 5000 ms.
        memorix::setReadTimeoutMs(300);
        startModule();
        ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    }

    void TearDown() override {
        MEMORIX_CloseComPort();
        module_.reset();
        memorix::setReadTimeoutMs(5000);
        TestEnvironment::TearDown();
    }

    // A running module is stopped first: its pseudo-terminal link would go with it.
    void startModule(sim::FiscalMemorySim::Options options = {}) {
        module_.reset();
        module_ = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin", options);
        ASSERT_TRUE(module_->loaded());
        ASSERT_TRUE(module_->start(portsDir(), "COM" + std::to_string(kPort)));
    }

    // The module switched off and on again: a new simulator on the same memory file.
    void restartModule() { startModule(); }

    // A new module with erased memories, on a port opened anew.
    void freshModule(sim::FiscalMemorySim::Options options = {}) {
        MEMORIX_CloseComPort();
        module_.reset();
        std::filesystem::remove(dir() / "fiscal-memory.bin");
        startModule(options);
        ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    }

    // A program started afresh: the port opened anew, nothing remembered from before.
    void reopenPort() {
        MEMORIX_CloseComPort();
        ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
    }

    sim::FiscalMemorySim& module() { return *module_; }

    // Names of the commands the module received, in order.
    std::vector<std::string> commands() const {
        std::vector<std::string> names;
        for (const auto& line : module_->trace().lines())
            if (line.rfind("<- ", 0) == 0) names.push_back(line.substr(line.find("  ") + 2));
        return names;
    }

    // The wire bytes of the requests the module received, as "02 03 01 00 04".
    std::vector<std::string> requests() const {
        std::vector<std::string> frames;
        for (const auto& line : module_->trace().lines())
            if (line.rfind("<- ", 0) == 0) frames.push_back(line.substr(3, line.find("  ") - 3));
        return frames;
    }

    static std::string wire(const memorix::Request& request) {
        memorix::MemorixFrame frame;
        memorix::encodeRequest(request.payload, frame);
        return sim::hex(frame.bytes());
    }

private:
    std::unique_ptr<sim::FiscalMemorySim> module_;
};
