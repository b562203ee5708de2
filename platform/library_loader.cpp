#include "library_loader.h"
#include "windows_paths.h"

#include <dlfcn.h>

#include <mutex>

namespace platform {
namespace {

std::mutex tableMutex;
std::map<std::string, std::string>& table() {
    static std::map<std::string, std::string> substitutions;
    return substitutions;
}

}  // namespace

LoadedLibrary::~LoadedLibrary() { unload(); }

bool LoadedLibrary::load(const std::string& name) {
    unload();
    std::string file;
    {
        std::lock_guard lock(tableMutex);
        if (auto it = table().find(name); it != table().end()) file = it->second;
    }
    if (file.empty()) file = mappedFile(name).string();
    handle_ = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = ::dlerror();
        error_ = why ? why : "cannot load " + file;
        return false;
    }
    error_.clear();
    return true;
}

void* LoadedLibrary::symbol(const std::string& name) const { return handle_ ? ::dlsym(handle_, name.c_str()) : nullptr; }

void LoadedLibrary::unload() {
    if (handle_) ::dlclose(handle_);
    handle_ = nullptr;
}

void LoadedLibrary::substitute(const std::string& name, const std::string& file) {
    std::lock_guard lock(tableMutex);
    table()[name] = file;
}

void LoadedLibrary::clearSubstitutions() {
    std::lock_guard lock(tableMutex);
    table().clear();
}

}  // namespace platform
