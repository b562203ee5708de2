// Fixed Windows paths that outside software dictates (a vendor's library, the file it leaves its
// slip in) mapped to files of this system through the settings store, as database aliases are:
// one text value per path under kWindowsPathsKey, named by the Windows path.
#pragma once

#include "settings_store.h"

#include <filesystem>
#include <string>

namespace platform {

inline constexpr const char* kWindowsPathsKey = "Software\\TOVEL\\Paths";

// The file that stands for `windowsPath`: the store's value of that name when it is set and not
// blank, else the path as it stands.
std::filesystem::path mappedFile(const std::string& windowsPath, const SettingsStore& store = SettingsStore::current());
void mapWindowsPath(const std::string& windowsPath, const std::string& file, SettingsStore& store = SettingsStore::current());

}  // namespace platform
