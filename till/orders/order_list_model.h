// The orders grid's model: the listed order lines in the grid's twelve columns, with their titles,
// widths and number masks.
#pragma once

#include "order_list.h"

#include <QAbstractTableModel>

#include <vector>

class OrderListModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setLines(std::vector<OrderLine> lines);
    const std::vector<OrderLine>& lines() const { return lines_; }
    // The row of the line with this key; -1 when it is not listed.
    int rowOf(int isn) const;
    // Width in pixels of each column, left to right.
    static int columnWidth(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<OrderLine> lines_;
};
