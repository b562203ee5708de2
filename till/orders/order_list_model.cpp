#include "order_list_model.h"

#include "report.h"

#include <iterator>

namespace {

struct GridColumn {
    const char* title;
    int width;
    QVariant (*value)(const OrderLine&);
};

QVariant masked(double value, const char* mask) { return platform::report::formatMask(value, QString::fromLatin1(mask)); }

// Left to right as the grid shows them; CENA keeps the grid's default width.
const GridColumn kColumns[] = {
    {"Bārmenis", 71, [](const OrderLine& l) -> QVariant { return l.barmenis; }},
    {"Galds", 34, [](const OrderLine& l) -> QVariant { return l.galds; }},
    {"Datums", 58, [](const OrderLine& l) -> QVariant { return l.datums.toString(QStringLiteral("dd.MM.yyyy")); }},
    {"Pasūtījuma Nr", 43, [](const OrderLine& l) -> QVariant { return l.pasutNr; }},
    {"Vieta", 31, [](const OrderLine& l) -> QVariant { return l.vieta; }},
    {"Artikuls", 102, [](const OrderLine& l) -> QVariant { return l.artikuls; }},
    {"Nosaukums", 248, [](const OrderLine& l) -> QVariant { return l.nosaukums; }},
    {"Cena", 64, [](const OrderLine& l) { return masked(l.cena, "#0.00"); }},
    {"Daudzums", 43, [](const OrderLine& l) { return masked(l.daudzums, "#0.000"); }},
    {"Atlaide", 39, [](const OrderLine& l) { return masked(l.atlaide, "#0.00"); }},
    {"Summa", 44, [](const OrderLine& l) { return masked(l.summa(), "#0.00"); }},
    {"Apm(T/F)", 52, [](const OrderLine& l) -> QVariant { return l.apmaksats; }},
};

}  // namespace

void OrderListModel::setLines(std::vector<OrderLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int OrderListModel::rowOf(int isn) const {
    for (std::size_t row = 0; row < lines_.size(); ++row)
        if (lines_[row].isn == isn) return int(row);
    return -1;
}

int OrderListModel::columnWidth(int column) { return kColumns[column].width; }

int OrderListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(lines_.size()); }

int OrderListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(std::size(kColumns)); }

QVariant OrderListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(lines_.size())) return {};
    if (role == Qt::DisplayRole) return kColumns[index.column()].value(lines_[std::size_t(index.row())]);
    if (role == Qt::TextAlignmentRole && index.column() >= 7 && index.column() <= 10)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant OrderListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < int(std::size(kColumns)))
        return QString::fromUtf8(kColumns[section].title);
    return QAbstractTableModel::headerData(section, orientation, role);
}
