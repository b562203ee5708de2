#include "settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace platform {
namespace {

const char* const kRootPrefix = "HKEY_CURRENT_USER\\";

struct Value {
    std::string name;
    ValueType type = ValueType::Text;
    std::string text;
    std::int32_t number = 0;
};

struct Key {
    std::string path;
    std::vector<Value> values;
};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

// "Software\\TOVEL\\" and "\Software\TOVEL" both mean "Software\TOVEL".
std::string normaliseKey(const std::string& key) {
    std::string out;
    for (char c : key) {
        if (c == '/') c = '\\';
        if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

bool isBelow(const std::string& key, const std::string& ancestor) {
    return key.size() > ancestor.size() && key[ancestor.size()] == '\\' && sameName(key.substr(0, ancestor.size()), ancestor);
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        if (c == '\n') { out += "\\n"; continue; }
        if (c == '\r') { out += "\\r"; continue; }
        out += c;
    }
    return out + "\"";
}

// Reads a quoted string starting at line[pos] == '"'; pos ends after the closing quote.
bool unquote(const std::string& line, std::size_t& pos, std::string& out) {
    if (pos >= line.size() || line[pos] != '"') return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') { ++pos; return true; }
        if (c == '\\' && pos + 1 < line.size()) {
            char n = line[++pos];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += c;
        }
    }
    return false;
}

class Tree {
public:
    std::vector<Key> keys;

    static Tree load(const std::filesystem::path& file) {
        Tree tree;
        std::ifstream in(file, std::ios::binary);
        if (!in) return tree;
        std::string line;
        Key* current = nullptr;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
                std::string path = line.substr(1, line.size() - 2);
                if (path.rfind(kRootPrefix, 0) == 0) path = path.substr(std::string(kRootPrefix).size());
                current = &tree.ensure(normaliseKey(path));
                continue;
            }
            if (!current || line.empty() || line[0] != '"') continue;
            std::size_t pos = 0;
            Value value;
            if (!unquote(line, pos, value.name) || pos >= line.size() || line[pos] != '=') continue;
            ++pos;
            if (line.compare(pos, 6, "dword:") == 0) {
                value.type = ValueType::Integer;
                value.number = std::int32_t(std::uint32_t(std::strtoul(line.c_str() + pos + 6, nullptr, 16)));
            } else if (!unquote(line, pos, value.text)) {
                continue;
            }
            current->values.push_back(std::move(value));
        }
        return tree;
    }

    void save(const std::filesystem::path& file) const {
        std::ostringstream out;
        out << "REGEDIT4\n";
        for (const Key& key : keys) {
            out << "\n[" << kRootPrefix << key.path << "]\n";
            for (const Value& v : key.values) {
                out << quote(v.name) << '=';
                if (v.type == ValueType::Integer) {
                    char buf[16];
                    std::snprintf(buf, sizeof buf, "dword:%08x", std::uint32_t(v.number));
                    out << buf << '\n';
                } else {
                    out << quote(v.text) << '\n';
                }
            }
        }
        std::filesystem::path temp = file;
        temp += ".tmp" + std::to_string(::getpid());
        {
            std::ofstream f(temp, std::ios::binary | std::ios::trunc);
            f << out.str();
            f.flush();
            if (!f) throw std::runtime_error("cannot write settings store " + temp.string());
        }
        std::filesystem::rename(temp, file);
    }

    Key* find(const std::string& path) {
        for (Key& k : keys)
            if (sameName(k.path, path)) return &k;
        return nullptr;
    }
    const Key* find(const std::string& path) const { return const_cast<Tree*>(this)->find(path); }

    Key& ensure(const std::string& path) {
        if (Key* k = find(path)) return *k;
        keys.push_back(Key{path, {}});
        return keys.back();
    }

    bool exists(const std::string& path) const {
        if (path.empty()) return true;
        for (const Key& k : keys)
            if (sameName(k.path, path) || isBelow(k.path, path)) return true;
        return false;
    }

    const Value* value(const std::string& key, const std::string& name) const {
        const Key* k = find(key);
        if (!k) return nullptr;
        for (const Value& v : k->values)
            if (sameName(v.name, name)) return &v;
        return nullptr;
    }

    void set(const std::string& key, Value value) {
        Key& k = ensure(key);
        for (Value& v : k.values)
            if (sameName(v.name, value.name)) {
                // The stored name keeps its spelling, as the registry's does.
                value.name = v.name;
                v = std::move(value);
                return;
            }
        k.values.push_back(std::move(value));
    }
};

// Serialises writers across processes with an exclusive lock on "<store>.lock".
class WriteLock {
public:
    explicit WriteLock(const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path().empty() ? "." : file.parent_path());
        std::string lockName = file.string() + ".lock";
        fd_ = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) throw std::runtime_error("cannot open settings lock " + lockName);
        while (::flock(fd_, LOCK_EX) != 0) {
        }
    }
    ~WriteLock() {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }

private:
    int fd_ = -1;
};

template <typename Change>
auto modify(const std::filesystem::path& file, Change change) {
    WriteLock lock(file);
    Tree tree = Tree::load(file);
    auto result = change(tree);
    tree.save(file);
    return result;
}

std::mutex currentMutex;
std::unique_ptr<SettingsStore> currentStore;

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path SettingsStore::defaultPath() {
    if (const char* env = std::getenv("TILLORA_REGISTRY"); env && *env) return env;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base = (config && *config) ? std::filesystem::path(config)
                                                     : std::filesystem::path(std::getenv("HOME") ? std::getenv("HOME") : ".") / ".config";
    return base / "tillora" / "registry.reg";
}

SettingsStore& SettingsStore::current() {
    std::lock_guard lock(currentMutex);
    if (!currentStore) currentStore = std::make_unique<SettingsStore>(defaultPath());
    return *currentStore;
}

void SettingsStore::setCurrent(const std::filesystem::path& file) {
    std::lock_guard lock(currentMutex);
    currentStore = std::make_unique<SettingsStore>(file);
}

bool SettingsStore::keyExists(const std::string& key) const { return Tree::load(file_).exists(normaliseKey(key)); }

bool SettingsStore::valueExists(const std::string& key, const std::string& name) const {
    return Tree::load(file_).value(normaliseKey(key), name) != nullptr;
}

ValueType SettingsStore::valueType(const std::string& key, const std::string& name) const {
    const Tree tree = Tree::load(file_);
    const Value* v = tree.value(normaliseKey(key), name);
    return v ? v->type : ValueType::Missing;
}

std::optional<std::string> SettingsStore::readText(const std::string& key, const std::string& name) const {
    const Tree tree = Tree::load(file_);
    const Value* v = tree.value(normaliseKey(key), name);
    if (!v || v->type != ValueType::Text) return std::nullopt;
    return v->text;
}

std::optional<std::int32_t> SettingsStore::readInteger(const std::string& key, const std::string& name) const {
    const Tree tree = Tree::load(file_);
    const Value* v = tree.value(normaliseKey(key), name);
    if (!v || v->type != ValueType::Integer) return std::nullopt;
    return v->number;
}

std::vector<std::string> SettingsStore::valueNames(const std::string& key) const {
    const Tree tree = Tree::load(file_);
    std::vector<std::string> names;
    if (const Key* k = tree.find(normaliseKey(key)))
        for (const Value& v : k->values) names.push_back(v.name);
    return names;
}

std::vector<std::string> SettingsStore::subkeyNames(const std::string& key) const {
    const Tree tree = Tree::load(file_);
    const std::string parent = normaliseKey(key);
    std::vector<std::string> names;
    for (const Key& k : tree.keys) {
        if (!parent.empty() && !isBelow(k.path, parent)) continue;
        std::string rest = parent.empty() ? k.path : k.path.substr(parent.size() + 1);
        rest = rest.substr(0, rest.find('\\'));
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return sameName(n, rest); }))
            names.push_back(rest);
    }
    return names;
}

void SettingsStore::createKey(const std::string& key) {
    modify(file_, [&](Tree& tree) { tree.ensure(normaliseKey(key)); return 0; });
}

void SettingsStore::writeText(const std::string& key, const std::string& name, const std::string& value) {
    modify(file_, [&](Tree& tree) { tree.set(normaliseKey(key), Value{name, ValueType::Text, value, 0}); return 0; });
}

void SettingsStore::writeInteger(const std::string& key, const std::string& name, std::int32_t value) {
    modify(file_, [&](Tree& tree) { tree.set(normaliseKey(key), Value{name, ValueType::Integer, {}, value}); return 0; });
}

bool SettingsStore::deleteValue(const std::string& key, const std::string& name) {
    return modify(file_, [&](Tree& tree) {
        Key* k = tree.find(normaliseKey(key));
        if (!k) return false;
        auto it = std::find_if(k->values.begin(), k->values.end(), [&](const Value& v) { return sameName(v.name, name); });
        if (it == k->values.end()) return false;
        k->values.erase(it);
        return true;
    });
}

bool SettingsStore::deleteKey(const std::string& key) {
    const std::string path = normaliseKey(key);
    return modify(file_, [&](Tree& tree) {
        auto before = tree.keys.size();
        std::erase_if(tree.keys, [&](const Key& k) { return sameName(k.path, path) || isBelow(k.path, path); });
        return tree.keys.size() != before;
    });
}

}  // namespace platform
