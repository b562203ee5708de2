// tillora-db: makes the suite's database files (an empty till database, one with demo data, the
// stock product's database, the back office's second database) from the scripts built into the
// program.
#include "till_database.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

int usage() {
    std::cerr << "Usage: tillora-db create FILE     an empty till database\n"
                 "       tillora-db demo FILE       a till database with demo data\n"
                 "       tillora-db stockara FILE   an empty database of the stock product\n"
                 "       tillora-db autodirekcija FILE   an empty second database (table KASE) for the back office\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    const std::string command = argv[1];
    const std::filesystem::path file = argv[2];
    void (*make)(const std::filesystem::path&) = nullptr;
    if (command == "create") make = schema::createTillDatabase;
    else if (command == "demo") make = schema::createDemoDatabase;
    else if (command == "stockara") make = schema::createStockaraDatabase;
    else if (command == "autodirekcija") make = schema::createAutoDirekcijaDatabase;
    else return usage();

    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        std::cerr << "tillora-db: " << file.string() << " exists already; it is not replaced\n";
        return 1;
    }
    try {
        make(file);
    } catch (const std::exception& e) {
        std::cerr << "tillora-db: " << e.what() << "\n";
        return 1;
    }
    std::cout << "Created " << std::filesystem::absolute(file).string() << "\n";
    return 0;
}
