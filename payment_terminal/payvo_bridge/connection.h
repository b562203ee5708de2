// CCom: the bridge's one connection to the terminal in the process, with its settings from
// "payvo.ini", the transport they choose, the open state, the operation marker and the cancel flag.
#pragma once

#include "transport.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

namespace payvo_bridge {

// What the operation marker says is running.
enum Operation : int {
    kIdle = 0,
    kAuthorisation = 1,
    kBatch = 2,
    kOtherRequest = 3,
    kCancelRunning = 4,
    kEncash = 5,
};

struct BridgeSettings {
    std::string serialPort = "COM1";
    std::string serialSpeed = "9600";
    std::string ipAddress = "127.0.0.1";
    std::string ipPort = "2000";
    bool tcp = false;
};

// Section "PayvoBridge" of payvo.ini in folder. The stored fields are the limits: a port name or
// speed longer than 9 characters, an address longer than 19 or a port longer than 9 is refused
// (emptied), so the open fails rather than reach a device named by a cut text.
BridgeSettings readBridgeSettings(const std::filesystem::path& folder);

class CCom {
public:
    // The process's one connection, set up from payvo.ini in the current folder when the library
    // is loaded.
    static CCom& instance();

    // Takes new settings (closing the link): what loading the library does.
    void configure(const BridgeSettings& settings);
    const BridgeSettings& settings() const { return settings_; }

    // 0, or -1 when the link cannot be opened.
    int open();
    void close();
    void clear();
    int send(std::string_view message, std::string& held, int seconds);
    int receive(std::string& answer, std::string& held, int seconds);

    int operation() const { return operation_; }
    void setOperation(int value) { operation_ = value; }
    void setCancel() { cancel_ = true; }
    bool cancelPending() const { return cancel_; }
    int lastConnectionState() const { return lastConnectionState_; }
    void setLastConnectionState(int value) { lastConnectionState_ = value; }

private:
    CCom();

    BridgeSettings settings_;
    std::unique_ptr<Transport> transport_;
    bool open_ = false;
    std::atomic<int> operation_{kIdle};
    std::atomic<bool> cancel_{false};
    std::atomic<int> lastConnectionState_{0};
};

}  // namespace payvo_bridge
