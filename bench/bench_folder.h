// The folder a bench run works in: the working folder, with the COM-port links and the settings
// store inside it, as a till's own folder has them.
#pragma once

#include "settings_store.h"

#include <cstdlib>
#include <filesystem>

inline platform::SettingsStore& enterBenchFolder(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "ports");
    std::filesystem::current_path(dir);
    ::setenv("TILLORA_PORTS", (dir / "ports").c_str(), 1);
    platform::SettingsStore::setCurrent(dir / "registry.reg");
    return platform::SettingsStore::current();
}
