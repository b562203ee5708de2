#include "test_environment.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace testsupport {

ScriptedMessages::ScriptedMessages() {
    platform::ui::setMessageHandler([this](const platform::ui::MessageRequest& r) {
        std::lock_guard lock(mutex_);
        texts_ << r.text;
        if (!answers_.empty()) {
            int a = answers_.front();
            answers_.pop_front();
            return a;
        }
        return (r.buttons == platform::ui::Buttons::YesNo || r.buttons == platform::ui::Buttons::YesNoCancel) ? int(platform::ui::Yes)
                                                                                                         : int(platform::ui::Ok);
    });
    platform::ui::setEndProgramThrows(true);
}

ScriptedMessages::~ScriptedMessages() {
    platform::ui::setMessageHandler({});
    platform::ui::setEndProgramThrows(false);
}

void ScriptedMessages::answerNext(int answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

QStringList ScriptedMessages::texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
}

bool ScriptedMessages::shown(const QString& text) const { return texts().contains(text); }

void ScriptedMessages::clear() {
    std::lock_guard lock(mutex_);
    texts_.clear();
}

void TestEnvironment::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    dir_ = std::filesystem::temp_directory_path() / ("tillora-test-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "ports");
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    ::setenv("TILLORA_PORTS", portsDir().c_str(), 1);
    ::setenv("TILLORA_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
    platform::SettingsStore::setCurrent(dir_ / "registry.reg");
    // 2026-03-02 10:15:00 local time: a fixed day, away from midnight and month ends.
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 2;
    tm.tm_hour = 10;
    tm.tm_min = 15;
    tm.tm_isdst = -1;
    clock_ = std::make_unique<platform::ManualClock>(std::chrono::system_clock::from_time_t(std::mktime(&tm)));
    platform::setClock(clock_.get());
    messages_ = std::make_unique<ScriptedMessages>();
}

void TestEnvironment::TearDown() {
    messages_.reset();
    platform::setClock(nullptr);
    std::filesystem::current_path(previousDir_);
    if (!HasFailure()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        std::filesystem::remove(dir_.parent_path(), ec);  // only when no other test's folder is left
    }
}

void TestEnvironment::setupInteger(const std::string& name, int value) { settings().writeInteger(kSetupKey, name, value); }

void TestEnvironment::setupText(const std::string& name, const std::string& value) { settings().writeText(kSetupKey, name, value); }

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
