// Which simulated device stands on which port, from a till's settings.
#pragma once

#include "serial_device.h"
#include "settings_store.h"
#include "voucher_service_sim.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace devices {

struct Options {
    std::filesystem::path portsDir;
    std::filesystem::path stateDir;
    bool pace = false;
    std::string scalePort{};  // "COM5": a scale stands there
};

struct RunningDevice {
    std::string port;         // "COM2", or the device path the settings name
    std::string description;  // "receipt printer type 0"
    std::unique_ptr<sim::SerialDevice> device;
    // The voucher web service, on loopback rather than a port (its "port" is its address).
    std::unique_ptr<sim::VoucherServiceSim> voucherService;
    // What the device shows now (paper, display lines), kept in stateDir/<viewFile>.
    std::function<std::string()> view;
    std::string viewFile;
    std::filesystem::path viewDir;
    std::string lastSaved;
    // What a person does to the device (goods on the scale, a code scanned): the text of
    // stateDir/<inputFile> is handed over and the file removed.
    std::function<void(const std::string&)> input;
    std::string inputFile;
};

using Running = std::vector<std::unique_ptr<RunningDevice>>;

// Reads the Setup key and starts each device it names; a device that cannot start is reported on
// the error stream and left out.
Running startConfigured(const platform::SettingsStore& settings, const Options& options);

// Rewrites each device's view file when what it shows has changed.
void saveViews(Running& running);
// Hands each device the input file waiting for it.
void readInputs(Running& running);

// A Setup value the programs store either as an integer or as text holding one.
std::optional<int> setupNumber(const platform::SettingsStore& settings, const std::string& name);

}  // namespace devices
