#include "windows_paths.h"

#include <algorithm>

namespace platform {

std::filesystem::path mappedFile(const std::string& windowsPath, const SettingsStore& store) {
    const auto value = store.readText(kWindowsPathsKey, windowsPath);
    const bool blank = !value || std::all_of(value->begin(), value->end(), [](unsigned char c) { return c == ' ' || c == '\t'; });
    return blank ? std::filesystem::path(windowsPath) : std::filesystem::path(*value);
}

void mapWindowsPath(const std::string& windowsPath, const std::string& file, SettingsStore& store) {
    store.writeText(kWindowsPathsKey, windowsPath, file);
}

}  // namespace platform
