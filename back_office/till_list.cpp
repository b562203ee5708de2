#include "till_list.h"

#include "codepage_1257.h"
#include "dbf_table.h"

namespace {

constexpr const char* kColumnNames[TillList::ColumnCount] = {"GNOS", "PATH", "NEAKTIVA", "LOGO_EKR"};

}  // namespace

int TillList::ColumnOf(const QString& name) {
    for (int c = 0; c < ColumnCount; ++c)
        if (name == QLatin1String(kColumnNames[c])) return c;
    return -1;
}

QString TillValue(const TillRow& row, TillList::Column column) {
    switch (column) {
    case TillList::GNOS: return row.GNOS;
    case TillList::PATH: return row.PATH;
    case TillList::NEAKTIVA: return row.NEAKTIVA;
    case TillList::LOGO_EKR: return row.LOGO_EKR;
    case TillList::ColumnCount: break;
    }
    return {};
}

void SetTillValue(TillRow& row, TillList::Column column, const QString& value) {
    switch (column) {
    case TillList::GNOS: row.GNOS = value; break;
    case TillList::PATH: row.PATH = value; break;
    case TillList::NEAKTIVA: row.NEAKTIVA = value; break;
    case TillList::LOGO_EKR: row.LOGO_EKR = value; break;
    case TillList::ColumnCount: break;
    }
}

TillList::TillList(std::filesystem::path folder, QObject* parent) : QAbstractTableModel(parent), folder_(std::move(folder)) {
    for (int c = 0; c < ColumnCount; ++c) captions_[c] = QString::fromLatin1(kColumnNames[c]);
}

std::filesystem::path TillList::file() const { return FindFileAnyCase(folder_, kKasesFile); }

void TillList::load() {
    beginResetModel();
    entries_.clear();
    try {
        const DbfTable kases = DbfTable::open(file());
        int columns[ColumnCount];
        for (int c = 0; c < ColumnCount; ++c) columns[c] = kases.column(kColumnNames[c]);
        for (int record = 0; record < kases.recordCount(); ++record) {
            if (kases.deleted(record)) continue;
            Entry entry{{}, record};
            for (int c = 0; c < ColumnCount; ++c)
                SetTillValue(entry.values, Column(c), fromCp1257(kases.text(record, columns[c])));
            entries_.push_back(std::move(entry));
        }
    } catch (...) {
        entries_.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

std::vector<TillRow> TillList::rows() const {
    std::vector<TillRow> out;
    for (const Entry& e : entries_)
        if (e.record >= 0) out.push_back(e.values);
    return out;
}

int TillList::firstWithPath(const QString& path) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].values.PATH == path) return int(i);
    return -1;
}

int TillList::appendEmptyRow() {
    const int index = int(entries_.size());
    beginInsertRows({}, index, index);
    entries_.push_back({});
    endInsertRows();
    return index;
}

void TillList::save(int index, const TillRow& values) {
    Entry& entry = entries_.at(std::size_t(index));
    DbfTable kases = DbfTable::open(file());
    const int record = entry.record >= 0 ? entry.record : kases.append();
    for (int c = 0; c < ColumnCount; ++c)
        kases.setText(record, kases.column(kColumnNames[c]), toCp1257(TillValue(values, Column(c))));
    entry = {values, record};
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1));
}

void TillList::remove(int index) {
    const Entry& entry = entries_.at(std::size_t(index));
    if (entry.record >= 0) DbfTable::open(file()).markDeleted(entry.record);
    beginRemoveRows({}, index, index);
    entries_.erase(entries_.begin() + index);
    endRemoveRows();
}

void TillList::dropUnsaved() {
    for (int i = int(entries_.size()) - 1; i >= 0; --i) {
        if (entries_[std::size_t(i)].record >= 0) continue;
        beginRemoveRows({}, i, i);
        entries_.erase(entries_.begin() + i);
        endRemoveRows();
    }
}

int TillList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(entries_.size()); }

int TillList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TillList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return TillValue(entries_[std::size_t(index.row())].values, Column(index.column()));
}

QVariant TillList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
    return captions_[section];
}

bool TillList::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 || section >= ColumnCount) return false;
    captions_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
