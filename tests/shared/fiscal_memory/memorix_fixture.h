// A fiscal-memory module simulator on COM3, its store emptied, with the settings naming it.
#pragma once

#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "session.h"
#include "test_environment.h"

#include <memory>
#include <string>

class MemorixKind : public testsupport::TestEnvironment {
protected:
    static constexpr int kPort = 3;

    void SetUp() override
    {
        TestEnvironment::SetUp();
        memorix::setReadTimeoutMs(300);
        module_ = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
        ASSERT_TRUE(module_->loaded());
        ASSERT_TRUE(module_->start(portsDir(), "COM" + std::to_string(kPort)));
        setupInteger("FMTips", 1);
        setupInteger("FMPort", kPort);
        ASSERT_EQ(MEMORIX_OpenComPort(kPort, 115200), 0);
        ASSERT_EQ(HT_ClearAll(), 0);
    }

    void TearDown() override
    {
        MEMORIX_CloseComPort();
        module_.reset();
        memorix::setReadTimeoutMs(5000);
        TestEnvironment::TearDown();
    }

    // A record's stored size, -1 when the store does not hold it.
    static int storedSize(const std::string& name)
    {
        int index = -1, size = -1;
        return HT_Find(name.c_str(), &index, &size) == 0 ? size : -1;
    }

    static std::string storedBytes(const std::string& name)
    {
        int index = -1, size = -1;
        if (HT_Find(name.c_str(), &index, &size) != 0)
            return {};
        std::string bytes(std::size_t(size), '\0');
        return HT_Read(index, bytes.data(), 0, size) == 0 ? bytes : std::string();
    }

    static int fileCount()
    {
        int count = -1;
        HT_Get_NumberOfFiles(&count);
        return count;
    }

    sim::FiscalMemorySim& module() { return *module_; }

private:
    std::unique_ptr<sim::FiscalMemorySim> module_;
};
