// The till database's scripts (built into the binary) and the databases made from them: an
// empty till database, a till database with demo data, the stock product's database, and the
// second database the back office sends receipts to.
#pragma once

#include "database.h"

#include <filesystem>
#include <string_view>

namespace schema {

std::string_view tillSchemaScript();
std::string_view demoDataScript();
std::string_view stockaraSchemaScript();
std::string_view autoDirekcijaSchemaScript();

// Each makes a new embedded database file and refuses one that exists (platform::DatabaseError,
// as for any other failure; no partial file is left behind).
void createTillDatabase(const std::filesystem::path& file);
void createDemoDatabase(const std::filesystem::path& file);
void createStockaraDatabase(const std::filesystem::path& file);
void createAutoDirekcijaDatabase(const std::filesystem::path& file);

}  // namespace schema
