// The till list "KASES.DBF" as the editor and the pass see it: the live records in the file's
// order, each remembering its record, so a saved row is rewritten in place and a deleted one is
// flagged in the file rather than the file being made anew.
#pragma once

#include "transfer_steps.h"

#include <QAbstractTableModel>

#include <filesystem>
#include <optional>
#include <vector>

inline constexpr const char* kKasesFile = "KASES.DBF";

class TillList : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns, in the order of the query "SELECT GNOS, PATH, NEAKTIVA, LOGO_EKR".
    enum Column { GNOS, PATH, NEAKTIVA, LOGO_EKR, ColumnCount };

    explicit TillList(std::filesystem::path folder, QObject* parent = nullptr);
    // The column of a field name, -1 for none.
    static int ColumnOf(const QString& name);

    // Reads the file anew. Throws DbfError (a missing file, a missing column); the list is then
    // empty.
    void load();
    // The saved rows in order (a row being added is not one yet).
    std::vector<TillRow> rows() const;
    const TillRow& row(int index) const { return entries_[std::size_t(index)].values; }
    // The first row whose PATH is `path`, -1 when none.
    int firstWithPath(const QString& path) const;

    // An empty row at the end, saved to the file only by save().
    int appendEmptyRow();
    // Writes the row's values (texts in Windows-1257, cut to the columns' widths) over its record,
    // or as a new record. Throws DbfError; the row keeps its former values then.
    void save(int index, const TillRow& values);
    // Flags the row's record deleted, or drops a row never saved. Throws DbfError.
    void remove(int index);
    // Drops rows never saved.
    void dropUnsaved();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role = Qt::EditRole) override;

private:
    struct Entry {
        TillRow values;
        int record = -1;  // -1: not in the file yet
    };
    std::filesystem::path file() const;

    std::filesystem::path folder_;
    std::vector<Entry> entries_;
    QString captions_[ColumnCount];
};

// A column's value of a till row.
QString TillValue(const TillRow& row, TillList::Column column);
void SetTillValue(TillRow& row, TillList::Column column, const QString& value);
