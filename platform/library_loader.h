// Run-time loading of shared libraries by the names the programs know them by.
#pragma once

#include <map>
#include <string>

namespace platform {

// A Windows library path such as "c:\Arcus2\dll\arccom.dll" is looked up in the substitution
// table first (tests map it to a .so), then in the settings store's path table (windows_paths.h,
// where an installation names the file); other names go to dlopen as they are.
class LoadedLibrary {
public:
    LoadedLibrary() = default;
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool load(const std::string& name);
    bool isLoaded() const { return handle_ != nullptr; }
    void* symbol(const std::string& name) const;
    void unload();
    const std::string& error() const { return error_; }

    // Maps a program's library name to the file to load in its place.
    static void substitute(const std::string& name, const std::string& file);
    static void clearSubstitutions();

private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace platform
