// A library of ours in place of the outside vendor's "arccom.dll": its one entry "ProcessOw" keeps
// the request block it was handed, writes the slip and returns the result that the control file
// beside the library names (outside_terminal_control.h). Built a second time without the entry.
#include "outside_terminal_control.h"

#include <dlfcn.h>

#include <algorithm>

#include <fstream>
#include <string>

#ifndef OUTSIDE_TERMINAL_WITHOUT_ENTRY
namespace {

std::filesystem::path ownFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ownFolder), &info) == 0 || !info.dli_fname) return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

sim::OutsideTerminalControl readControl(const std::filesystem::path& folder) {
    sim::OutsideTerminalControl control;
    std::ifstream in(folder / sim::kOutsideTerminalControlFile, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        const std::size_t blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (word == "result") control.results.push_back(std::stoi(rest));
        if (word == "slip") control.slipFile = rest;
        if (word == "line") control.slipLines.push_back(rest);
    }
    return control;
}

// Keeps the block and returns the call's number.
std::size_t keepRequest(const std::filesystem::path& folder, const void* request) {
    const std::filesystem::path file = folder / sim::kOutsideTerminalRequestsFile;
    std::error_code error;
    const auto before = std::filesystem::exists(file, error) ? std::filesystem::file_size(file, error) : 0;
    std::ofstream(file, std::ios::binary | std::ios::app)
        .write(static_cast<const char*>(request), std::streamsize(sim::kOutsideTerminalRequestSize));
    return std::size_t(before) / sim::kOutsideTerminalRequestSize + 1;
}

void writeSlip(const sim::OutsideTerminalControl& control, std::size_t call) {
    if (control.slipFile.empty()) return;
    std::ofstream out(control.slipFile, std::ios::binary | std::ios::trunc);
    for (std::string line : control.slipLines) {
        for (std::size_t at; (at = line.find("%n")) != std::string::npos;) line.replace(at, 2, std::to_string(call));
        out << line << "\r\n";
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int ProcessOw(void* request) {
    const std::filesystem::path folder = ownFolder();
    const sim::OutsideTerminalControl control = readControl(folder);
    const std::size_t call = keepRequest(folder, request);
    writeSlip(control, call);
    // The vendor's software answers into the block; the call's number stands for that.
    static_cast<unsigned char*>(request)[12] = static_cast<unsigned char>(call);
    if (control.results.empty()) return 0;
    return control.results[std::min(call, control.results.size()) - 1];
}
#else
// The library loads, but "ProcessOw" is not among its symbols.
extern "C" __attribute__((visibility("default"))) int ProcessOwMissing() { return 0; }
#endif
