// The one fixture tests start from: a temporary folder that is the working folder, a settings
// store and a COM-port folder inside it, a settable clock, scripted message-box answers and
// caught program exits.
#pragma once

#include "clock.h"
#include "settings_store.h"
#include "ui_services.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>

namespace testsupport {

// Records every message a program shows and answers from a queue (Ok, or Yes for questions,
// when the queue is empty).
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    void answerNext(int answer);
    QStringList texts() const;
    bool shown(const QString& text) const;
    void clear();

private:
    mutable std::mutex mutex_;
    QStringList texts_;
    std::deque<int> answers_;
};

class TestEnvironment : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The temporary folder of this test; also the process's working folder while it runs.
    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path portsDir() const { return dir_ / "ports"; }
    platform::SettingsStore& settings() { return platform::SettingsStore::current(); }
    platform::ManualClock& clock() { return *clock_; }
    ScriptedMessages& messages() { return *messages_; }

    // Sets a value under "Software\TOVEL\Tillora\Setup".
    void setupInteger(const std::string& name, int value);
    void setupText(const std::string& name, const std::string& value);

private:
    std::filesystem::path dir_;
    std::filesystem::path previousDir_;
    std::unique_ptr<platform::ManualClock> clock_;
    std::unique_ptr<ScriptedMessages> messages_;
};

// The test's Setup key.
inline const char* const kSetupKey = "Software\\TOVEL\\Tillora\\Setup";

// Reads a whole file as bytes (empty when missing).
std::string readFile(const std::filesystem::path& file);

}  // namespace testsupport
