// A chip-card reader simulator on COM4, the library's waits turning a pump the test chooses, and
// readers of what crossed the line and of the exchange log.
#pragma once

#include "card_reader_sim.h"
#include "cardeon.h"
#include "test_environment.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class ReaderTest : public testsupport::TestEnvironment {
protected:
    static constexpr int kPort = 4;

    void SetUp() override {
        TestEnvironment::SetUp();
        reader_ = std::make_unique<sim::CardReaderSim>();
        ASSERT_TRUE(reader_->start(portsDir(), "COM" + std::to_string(kPort)));
        realStart_ = std::chrono::steady_clock::now();
        CardeonSetMessagePump(&ReaderTest::pump, this);
    }

    void TearDown() override {
        CardeonSetMessagePump(nullptr, nullptr);
        reader_.reset();
        TestEnvironment::TearDown();
    }

    sim::CardReaderSim& reader() { return *reader_; }

    // The reader stays silent: each turn of a wait moves the clock by this much, so the waits run
    // out without the test waiting for them.
    void letWaitsRunOut(std::chrono::milliseconds perTurn) { perTurn_ = perTurn; }
    // Switched off once it has received this many frames (the line goes dead under the library).
    void switchOffAfter(int frames) { switchOffAfter_ = frames; }

    // What the computer sent, one entry per frame or control byte, as "02 49 30 35 31 03 7E".
    std::vector<std::string> hostWrites() const { return lines("<- "); }
    std::vector<std::string> readerReplies() const { return lines("-> "); }

    // The lines of "Draveldll.log" without their time stamps and zero bytes.
    std::vector<std::string> logTexts() const {
        std::vector<std::string> texts;
        for (const std::string& line : logLines()) texts.push_back(line.substr(line.find('-') + 1));
        return texts;
    }
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        const std::string log = testsupport::readFile(dir() / "Draveldll.log");
        std::size_t at = 0;
        while (at < log.size()) {
            std::size_t end = log.find(std::string("\n\0", 2), at);
            if (end == std::string::npos) {
                lines.push_back("unterminated: " + log.substr(at));
                break;
            }
            lines.push_back(log.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }

private:
    static void pump(void* context) {
        auto* self = static_cast<ReaderTest*>(context);
        if (self->switchOffAfter_ > 0 && self->reader_ && int(self->hostWrites().size()) >= self->switchOffAfter_) {
            self->savedTrace_ = self->reader_->trace().lines();
            self->reader_.reset();
        }
        if (self->perTurn_.count() > 0) {
            self->clock().advance(self->perTurn_);
        } else if (std::chrono::steady_clock::now() - self->realStart_ > std::chrono::seconds(30)) {
            // A test waiting for an answer that never comes fails instead of hanging.
            self->clock().advance(std::chrono::seconds(60));
        }
    }

    std::vector<std::string> lines(const std::string& direction) const {
        std::vector<std::string> out;
        for (const auto& line : reader_ ? reader_->trace().lines() : savedTrace_)
            if (line.rfind(direction, 0) == 0) out.push_back(line.substr(3, line.find("  ") - 3));
        return out;
    }

    std::unique_ptr<sim::CardReaderSim> reader_;
    std::vector<std::string> savedTrace_;  // the trace of a reader switched off
    std::chrono::steady_clock::time_point realStart_;
    std::chrono::milliseconds perTurn_{0};
    int switchOffAfter_ = 0;
};
