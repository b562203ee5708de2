// Per-user settings tree in place of the Windows registry: typed values under backslash key paths,
// kept in a REGEDIT4-style text file shared by every program of the suite.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class ValueType { Missing, Text, Integer };

// Keys are paths such as "Software\TOVEL\Tillora\Setup" under the current user; names and keys
// compare without regard to case, as the registry does. Every call reads the file afresh, so a
// value written by another program is seen at once. Writes take an exclusive lock on a lock file
// beside the store, re-read it, and replace it atomically (temporary file and rename).
class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file);

    // The store named by TILLORA_REGISTRY, else ~/.config/tillora/registry.reg.
    static std::filesystem::path defaultPath();
    // The process-wide store the programs use; tests may point it elsewhere.
    static SettingsStore& current();
    static void setCurrent(const std::filesystem::path& file);

    const std::filesystem::path& path() const { return file_; }

    bool keyExists(const std::string& key) const;
    bool valueExists(const std::string& key, const std::string& name) const;
    ValueType valueType(const std::string& key, const std::string& name) const;

    // Empty when the key or the value is missing or the value is of the other type.
    std::optional<std::string> readText(const std::string& key, const std::string& name) const;
    std::optional<std::int32_t> readInteger(const std::string& key, const std::string& name) const;
    std::vector<std::string> valueNames(const std::string& key) const;
    std::vector<std::string> subkeyNames(const std::string& key) const;

    // Writing a value creates its key (and the keys above it) when missing.
    void createKey(const std::string& key);
    void writeText(const std::string& key, const std::string& name, const std::string& value);
    void writeInteger(const std::string& key, const std::string& name, std::int32_t value);
    bool deleteValue(const std::string& key, const std::string& name);
    // Deletes the key with its values and subkeys.
    bool deleteKey(const std::string& key);

private:
    std::filesystem::path file_;
};

}  // namespace platform
