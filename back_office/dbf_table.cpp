#include "dbf_table.h"

#include <shapefil.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

DBFHandle dbf(void* handle) { return static_cast<DBFHandle>(handle); }

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string_view trimmedBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::filesystem::path FindFileAnyCase(const std::filesystem::path& folder, std::string_view name) {
    std::error_code error;
    const auto exact = folder / std::string(name);
    if (std::filesystem::exists(exact, error)) return exact;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end; it.increment(error))
        if (sameName(it->path().filename().string(), name)) return folder / it->path().filename();
    return exact;
}

DbfTable::DbfTable(void* handle, std::filesystem::path file) : handle_(handle), file_(std::move(file)) {
    const int count = DBFGetFieldCount(dbf(handle_));
    // The record starts with the deletion flag; the fields follow in their order.
    int offset = 1;
    for (int i = 0; i < count; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0, decimals = 0;
        DBFGetFieldInfo(dbf(handle_), i, name, &width, &decimals);
        columns_.push_back({name, DBFGetNativeFieldType(dbf(handle_), i), width, decimals});
        offsets_.push_back(offset);
        offset += width;
    }
}

DbfTable DbfTable::open(const std::filesystem::path& file) {
    DBFHandle handle = DBFOpen(file.c_str(), "rb+");
    if (!handle) handle = DBFOpen(file.c_str(), "rb");
    if (!handle) throw DbfError("Cannot open dBase table " + file.string());
    return DbfTable(handle, file);
}

DbfTable DbfTable::create(const std::filesystem::path& file, const std::vector<Column>& columns) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    // Language driver 0xCC: Windows-1257, the code page of the texts the back office writes.
    DBFHandle handle = DBFCreateEx(file.c_str(), "LDID/204");
    if (!handle) throw DbfError("Cannot create dBase table " + file.string());
    // shapelib names the file with a lower-case ".dbf"; the readers expect the name asked for.
    auto made = file;
    made.replace_extension(".dbf");
    if (made != file) std::filesystem::rename(made, file, ignored);
    for (const Column& c : columns) {
        if (DBFAddNativeFieldType(handle, c.name.c_str(), c.type, c.width, c.decimals) < 0) {
            DBFClose(handle);
            throw DbfError("Cannot add the column " + c.name + " to " + file.string());
        }
    }
    return DbfTable(handle, file);
}

DbfTable::DbfTable(DbfTable&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), file_(std::move(other.file_)), columns_(std::move(other.columns_)),
      offsets_(std::move(other.offsets_)) {}

DbfTable& DbfTable::operator=(DbfTable&& other) noexcept {
    if (this != &other) {
        if (handle_) DBFClose(dbf(handle_));
        handle_ = std::exchange(other.handle_, nullptr);
        file_ = std::move(other.file_);
        columns_ = std::move(other.columns_);
        offsets_ = std::move(other.offsets_);
    }
    return *this;
}

DbfTable::~DbfTable() {
    if (handle_) DBFClose(dbf(handle_));
}

int DbfTable::recordCount() const { return DBFGetRecordCount(dbf(handle_)); }

bool DbfTable::deleted(int record) const { return DBFIsRecordDeleted(dbf(handle_), record) != 0; }

int DbfTable::column(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (sameName(columns_[i].name, name)) return int(i);
    throw DbfError("Field '" + std::string(name) + "' not found");
}

std::string_view DbfTable::field(int record, int column) const {
    // The raw record: shapelib's string reader would also strip leading blanks, which are data.
    const char* raw = DBFReadTuple(dbf(handle_), record);
    if (!raw) throw DbfError("Cannot read record " + std::to_string(record + 1) + " of " + file_.string());
    return std::string_view(raw + offsets_[std::size_t(column)], std::size_t(columns_[std::size_t(column)].width));
}

std::string DbfTable::text(int record, int column) const {
    std::string_view value = field(record, column);
    const auto last = value.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? std::string_view() : value.substr(0, last + 1));
}

double DbfTable::number(int record, int column) const {
    std::string_view value = trimmedBlanks(field(record, column));
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    double parsed = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), parsed);
    return result.ec == std::errc() ? parsed : 0.0;
}

QDate DbfTable::date(int record, int column) const {
    const std::string_view value = trimmedBlanks(field(record, column));
    int year = 0, month = 0, day = 0;
    if (value.size() != 8 || std::from_chars(value.data(), value.data() + 4, year).ec != std::errc() ||
        std::from_chars(value.data() + 4, value.data() + 6, month).ec != std::errc() ||
        std::from_chars(value.data() + 6, value.data() + 8, day).ec != std::errc())
        return ZeroDate();
    const QDate date(year, month, day);
    return date.isValid() ? date : ZeroDate();
}

int DbfTable::append() {
    const int record = recordCount();
    // Writing the first field makes the record; the others start blank.
    if (!columns_.empty()) setField(record, 0, {});
    return record;
}

void DbfTable::markDeleted(int record) {
    if (!DBFMarkRecordDeleted(dbf(handle_), record, 1))
        throw DbfError("Cannot delete record " + std::to_string(record + 1) + " of " + file_.string());
}

void DbfTable::setField(int record, int column, const std::string& value) {
    if (!DBFWriteAttributeDirectly(dbf(handle_), record, column, const_cast<char*>(value.c_str())))
        throw DbfError("Cannot write record " + std::to_string(record + 1) + " of " + file_.string());
}

void DbfTable::setText(int record, int column, std::string_view bytes) {
    setField(record, column, std::string(bytes.substr(0, std::size_t(columns_[std::size_t(column)].width))));
}

void DbfTable::setNumber(int record, int column, double value) {
    const Column& c = columns_[std::size_t(column)];
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::isfinite(value) ? value : 0.0, std::chars_format::fixed, c.decimals);
    std::string text(digits, result.ptr);
    if (int(text.size()) > c.width) throw DbfError("The value " + text + " does not fit the column " + c.name);
    setField(record, column, std::string(std::size_t(c.width) - text.size(), ' ') + text);
}

void DbfTable::setDate(int record, int column, const QDate& value) {
    setField(record, column, value.isValid() ? value.toString(QStringLiteral("yyyyMMdd")).toStdString() : std::string());
}
