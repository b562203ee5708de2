// dBase tables, the back office's exchange files, through shapelib's DBF layer: reading columns by
// name, making a table and appending records. Texts are the file's bytes (the callers know the
// code page); numbers and dates are read and written here without the locale.
#pragma once

#include <QDate>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class DbfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file `name` in `folder` matched without regard to case, as the exchange files are named on
// Windows ("items.dbf" is ITEMS.DBF); `folder / name` when no file matches.
std::filesystem::path FindFileAnyCase(const std::filesystem::path& folder, std::string_view name);

// A date column's empty value: the zero of the date-time type the exchange programs use.
inline QDate ZeroDate() { return QDate(1899, 12, 30); }

class DbfTable {
public:
    // dBase field types: 'C' text, 'N' and 'F' numbers, 'D' date (YYYYMMDD), 'L' logical.
    struct Column {
        std::string name;  // at most 10 characters
        char type = 'C';
        int width = 10;
        int decimals = 0;
    };

    // Opens an existing table for reading and appending. Throws DbfError naming the file.
    static DbfTable open(const std::filesystem::path& file);
    // Makes a new empty table, replacing a file that exists. Throws DbfError.
    static DbfTable create(const std::filesystem::path& file, const std::vector<Column>& columns);

    DbfTable(DbfTable&& other) noexcept;
    DbfTable& operator=(DbfTable&& other) noexcept;
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;
    ~DbfTable();

    // Every record, deleted ones too; read the live ones only.
    int recordCount() const;
    bool deleted(int record) const;
    const std::vector<Column>& columns() const { return columns_; }
    // The column's position by name without regard to case; DbfError "Field 'NAME' not found"
    // when the table has no such column.
    int column(std::string_view name) const;

    // A text column's bytes with trailing blanks removed (leading blanks are data).
    std::string text(int record, int column) const;
    // A number column; an empty or unreadable value is 0.
    double number(int record, int column) const;
    // A date column; an empty value is ZeroDate().
    QDate date(int record, int column) const;

    // Appends a blank record and returns its number; the setters fill it. They also rewrite an
    // existing record in place.
    int append();
    // Sets the record's deletion flag: readers skip it, and the record keeps its place.
    void markDeleted(int record);
    // Text cut to the column's width; numbers right-aligned with the column's decimals.
    void setText(int record, int column, std::string_view bytes);
    void setNumber(int record, int column, double value);
    void setDate(int record, int column, const QDate& value);

private:
    explicit DbfTable(void* handle, std::filesystem::path file);
    std::string_view field(int record, int column) const;
    void setField(int record, int column, const std::string& value);

    void* handle_ = nullptr;
    std::filesystem::path file_;
    std::vector<Column> columns_;
    std::vector<int> offsets_;
};
