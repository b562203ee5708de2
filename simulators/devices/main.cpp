// tillora-devices: starts the simulated devices that a till's settings name, links each as its COM
// port in the TILLORA_PORTS folder, and keeps what each device shows (printed paper, the pole
// display) in text files of a state folder until it is stopped.
#include "device_table.h"

#include "settings_store.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

int usage() {
    std::fprintf(stderr,
                 "usage: tillora-devices [--state DIR] [--pace] [--scale COMn]\n"
                 "  Starts the devices named under Software\\TOVEL\\Tillora\\Setup of the settings store\n"
                 "  (TILLORA_REGISTRY) and links their COM ports in the folder TILLORA_PORTS.\n"
                 "  --state DIR  where the devices keep their memories and what they show (default: .)\n"
                 "  --pace       send replies at the port's baud rate, as a real line would\n"
                 "  --scale COMn a price-computing scale on that port (no setting names one)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    devices::Options options;
    options.stateDir = ".";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--state" && i + 1 < argc) options.stateDir = argv[++i];
        else if (a == "--pace") options.pace = true;
        else if (a == "--scale" && i + 1 < argc) options.scalePort = argv[++i];
        else return usage();
    }
    const char* ports = std::getenv("TILLORA_PORTS");
    if (!ports || !*ports) {
        std::fprintf(stderr, "tillora-devices: TILLORA_PORTS names no folder for the COM port links\n");
        return 2;
    }
    options.portsDir = ports;
    std::filesystem::create_directories(options.stateDir);

    devices::Running running = devices::startConfigured(platform::SettingsStore::current(), options);
    if (running.empty()) {
        std::fprintf(stderr, "tillora-devices: the settings name no device to simulate\n");
        return 1;
    }
    for (const auto& d : running) std::printf("%s: %s\n", d->port.c_str(), d->description.c_str());
    std::fflush(stdout);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!stopRequested) {
        devices::readInputs(running);
        devices::saveViews(running);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    devices::saveViews(running);
    return 0;
}
