#include "till_database.h"

#include <string>

namespace schema {
namespace scripts {
extern const std::string_view till;
extern const std::string_view demo;
extern const std::string_view stockara;
extern const std::string_view autodirekcija;
}  // namespace scripts

namespace {

void create(const std::filesystem::path& file, std::string_view script) {
    platform::DatabaseLocation location;
    location.path = std::filesystem::absolute(file).lexically_normal().string();
    platform::createDatabase(location, script);
}

}  // namespace

std::string_view tillSchemaScript() { return scripts::till; }
std::string_view demoDataScript() { return scripts::demo; }
std::string_view stockaraSchemaScript() { return scripts::stockara; }
std::string_view autoDirekcijaSchemaScript() { return scripts::autodirekcija; }

void createTillDatabase(const std::filesystem::path& file) { create(file, scripts::till); }

void createDemoDatabase(const std::filesystem::path& file) {
    create(file, std::string(scripts::till) + "\n" + std::string(scripts::demo));
}

void createStockaraDatabase(const std::filesystem::path& file) { create(file, scripts::stockara); }
void createAutoDirekcijaDatabase(const std::filesystem::path& file) { create(file, scripts::autodirekcija); }

}  // namespace schema
