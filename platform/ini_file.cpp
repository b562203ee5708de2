#include "ini_file.h"

#include <ini.h>

#include <strings.h>

namespace platform {
namespace {

struct Lookup {
    const std::string& section;
    const std::string& key;
    std::string value;
    bool found = false;
};

int takeFirstMatch(void* user, const char* section, const char* name, const char* value) {
    auto* lookup = static_cast<Lookup*>(user);
    if (!lookup->found && ::strcasecmp(section, lookup->section.c_str()) == 0 && ::strcasecmp(name, lookup->key.c_str()) == 0) {
        lookup->value = value;
        lookup->found = true;
    }
    return 1;  // a bad line further on must not lose what was found
}

std::string unquoted(std::string text) {
    if (text.size() >= 2 && ((text.front() == '"' && text.back() == '"') || (text.front() == '\'' && text.back() == '\'')))
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

std::string readProfileString(const std::filesystem::path& file, const std::string& section, const std::string& key,
                              const std::string& fallback, std::size_t maxChars) {
    Lookup lookup{section, key, {}};
    // inih trims the blanks around names and values; its return value only says whether some
    // line could not be parsed, which the profile-string read never reports either.
    ::ini_parse(file.c_str(), takeFirstMatch, &lookup);
    std::string value = lookup.found ? unquoted(lookup.value) : fallback;
    if (value.size() > maxChars) value.resize(maxChars);
    return value;
}

}  // namespace platform
