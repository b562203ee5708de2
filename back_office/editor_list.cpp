#include "editor_list.h"

#include "till_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSqlError>
#include <QSqlTableModel>
#include <QTableView>

#include "ui_services.h"

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QVariant nullOf(QMetaType::Type type) { return QVariant(QMetaType(type)); }

bool emptyValue(const QVariant& value) { return value.isNull() || value.toString().isEmpty(); }

QString shown(const EditField& f, const QVariant& value) {
    if (value.isNull()) return {};
    switch (f.kind) {
    case FieldKind::Number:
        return f.decimals >= 0 ? QString::number(value.toDouble(), 'f', f.decimals) : QString::number(value.toDouble(), 'g', 15);
    case FieldKind::Integer: return QString::number(value.toLongLong());
    case FieldKind::Date: return value.toDate().toString(kDateFormat);
    default: return value.toString();
    }
}

QVariant stored(const EditField& f) {
    switch (f.kind) {
    case FieldKind::Flag: return QString::fromLatin1(static_cast<QCheckBox*>(f.widget)->isChecked() ? "T" : "F");
    case FieldKind::Choice: {
        const QString text = static_cast<QComboBox*>(f.widget)->currentText();
        return text.isEmpty() ? nullOf(QMetaType::QString) : QVariant(text);
    }
    default: break;
    }
    const QString text = static_cast<QLineEdit*>(f.widget)->text().trimmed();
    switch (f.kind) {
    case FieldKind::Number: return text.isEmpty() ? nullOf(QMetaType::Double) : QVariant(text.toDouble());
    case FieldKind::Integer: return text.isEmpty() ? nullOf(QMetaType::Int) : QVariant(text.toInt());
    case FieldKind::Date: {
        const QDate date = QDate::fromString(text, kDateFormat);
        return date.isValid() ? QVariant(date) : nullOf(QMetaType::QDate);
    }
    default: {
        const QString raw = static_cast<QLineEdit*>(f.widget)->text();
        return raw.isEmpty() ? nullOf(QMetaType::QString) : QVariant(raw);
    }
    }
}

// What an edit holds now, to tell whether the user changed it since it showed its row.
QString heldState(const EditField& f) {
    switch (f.kind) {
    case FieldKind::Flag: return QString::fromLatin1(static_cast<QCheckBox*>(f.widget)->isChecked() ? "T" : "F");
    case FieldKind::Choice: return static_cast<QComboBox*>(f.widget)->currentText();
    default: return static_cast<QLineEdit*>(f.widget)->text();
    }
}

void show(const EditField& f, const QVariant& value) {
    switch (f.kind) {
    case FieldKind::Flag: static_cast<QCheckBox*>(f.widget)->setChecked(value.toString() == u"T"); return;
    case FieldKind::Choice: {
        auto* combo = static_cast<QComboBox*>(f.widget);
        combo->setCurrentIndex(std::max(0, combo->findText(value.toString())));
        return;
    }
    default: static_cast<QLineEdit*>(f.widget)->setText(shown(f, value)); return;
    }
}

// Escape in an edit cancels the row's editing, as it does in a data grid.
class EscapeCancels : public QObject {
public:
    EscapeCancels(EditorList* list) : QObject(list), list_(list) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            list_->state() != EditorList::State::Browse) {
            list_->Cancel();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    EditorList* list_;
};

}  // namespace

// ---------------------------------------------------------------- rows of a till table

SqlRows::SqlRows(const QSqlDatabase& db, const QString& table, const QString& orderBy)
    : model_(std::make_unique<QSqlTableModel>(nullptr, db)) {
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model_->setTable(table);
    if (!orderBy.isEmpty()) model_->setSort(model_->fieldIndex(orderBy), Qt::AscendingOrder);
    model_->select();
}

SqlRows::~SqlRows() = default;

QAbstractItemModel* SqlRows::model() { return model_.get(); }

int SqlRows::column(const QString& name) const { return model_->fieldIndex(name); }

QString SqlRows::readError() const { return model_->lastError().isValid() ? model_->lastError().text() : QString(); }

void SqlRows::fetchAll() {
    while (model_->canFetchMore()) model_->fetchMore();
}

int SqlRows::appendEmptyRow() {
    const int row = model_->rowCount();
    model_->insertRow(row);
    model_->setData(model_->index(row, model_->fieldIndex(QStringLiteral("ISN"))), 1);
    return row;
}

std::optional<QString> SqlRows::save(int row, const std::vector<std::pair<int, QVariant>>& values) {
    for (const auto& [column, value] : values) model_->setData(model_->index(row, column), value);
    if (model_->submitAll()) return std::nullopt;
    return model_->lastError().text();
}

std::optional<QString> SqlRows::remove(int row) {
    model_->removeRow(row);
    if (model_->submitAll()) return std::nullopt;
    const QString error = model_->lastError().text();
    model_->revertAll();
    return error;
}

void SqlRows::revert() { model_->revertAll(); }

// ---------------------------------------------------------------- rows of the till list

QAbstractItemModel* TillRows::model() { return &list_; }

int TillRows::column(const QString& name) const { return TillList::ColumnOf(name); }

int TillRows::appendEmptyRow() { return list_.appendEmptyRow(); }

std::optional<QString> TillRows::save(int row, const std::vector<std::pair<int, QVariant>>& values) {
    TillRow till = list_.row(row);
    for (const auto& [column, value] : values) SetTillValue(till, TillList::Column(column), value.toString());
    try {
        list_.save(row, till);
        return std::nullopt;
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    }
}

std::optional<QString> TillRows::remove(int row) {
    try {
        list_.remove(row);
        return std::nullopt;
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    }
}

void TillRows::revert() { list_.dropUnsaved(); }

// ---------------------------------------------------------------- the list

EditorList::EditorList(ListRules rules, QTableView* grid, QObject* parent) : QObject(parent), rules_(std::move(rules)), grid_(grid) {
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* escape = new EscapeCancels(this);
    static const QRegularExpression number(QStringLiteral("-?[0-9]*([.][0-9]*)?")), whole(QStringLiteral("-?[0-9]*"));
    for (const EditField& f : rules_.fields) {
        f.widget->installEventFilter(escape);
        if (auto* edit = qobject_cast<QLineEdit*>(f.widget)) {
            connect(edit, &QLineEdit::textEdited, this, &EditorList::startEditingOnTyping);
            if (f.kind == FieldKind::Number) edit->setValidator(new QRegularExpressionValidator(number, edit));
            if (f.kind == FieldKind::Integer) edit->setValidator(new QRegularExpressionValidator(whole, edit));
            if (f.kind == FieldKind::Date) {
                edit->setInputMask(QStringLiteral("99.99.9999;_"));
                // Room for a whole date, its frame and the cursor.
                edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 12);
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(f.widget)) {
            connect(check, &QCheckBox::clicked, this, &EditorList::startEditingOnTyping);
        } else if (auto* combo = qobject_cast<QComboBox*>(f.widget)) {
            connect(combo, &QComboBox::activated, this, &EditorList::startEditingOnTyping);
        }
    }
    setState(State::Browse);
}

EditorList::~EditorList() {
    // The window may already have taken the grid down.
    if (grid_) grid_->setModel(nullptr);
}

void EditorList::setRows(std::unique_ptr<RowStore> rows) {
    // The view leaves its former selection model to whoever set the model.
    std::unique_ptr<QItemSelectionModel> former(grid_->selectionModel());
    grid_->setModel(rows ? rows->model() : nullptr);
    rows_ = std::move(rows);
    state_ = State::Browse;
    if (rows_) {
        applyGridColumns();
        connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
            showRow(current.row());
            emit currentRowChanged(current.row());
        });
        connect(rows_->model(), &QAbstractItemModel::modelReset, this, [this] { setCurrentRow(0); });
    }
    setState(State::Browse);
    setCurrentRow(0);
}

void EditorList::applyGridColumns() {
    QAbstractItemModel* model = rows_->model();
    QHeaderView* header = grid_->horizontalHeader();
    std::vector<int> shownColumns;
    for (const GridColumn& g : rules_.gridColumns) {
        const int column = rows_->column(g.column);
        if (column < 0) continue;
        model->setHeaderData(column, Qt::Horizontal, g.caption);
        shownColumns.push_back(column);
    }
    for (int c = 0; c < model->columnCount(); ++c) {
        const bool listed = std::find(shownColumns.begin(), shownColumns.end(), c) != shownColumns.end();
        grid_->setColumnHidden(c, !listed && (!rules_.gridShowsOthers || c == rows_->column(QStringLiteral("ISN"))));
    }
    for (std::size_t i = 0; i < shownColumns.size(); ++i) header->moveSection(header->visualIndex(shownColumns[i]), int(i));
}

int EditorList::currentRow() const {
    if (!rows_) return -1;
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void EditorList::setCurrentRow(int row) {
    // Another row (a search, a till picked on another page) ends the editing unsaved: the edits
    // belong to the row they were typed on, and a save must pass the list's checks.
    if (state_ != State::Browse && row != currentRow()) Cancel();
    if (!rows_ || row < 0 || row >= rows_->model()->rowCount()) {
        showRow(-1);
        return;
    }
    const QModelIndex index = rows_->model()->index(row, grid_->horizontalHeader()->logicalIndex(0));
    if (grid_->currentIndex().row() == row) {
        showRow(row);
        return;
    }
    grid_->setCurrentIndex(index);
    grid_->scrollTo(index);
}

void EditorList::showRow(int row) {
    showing_ = true;
    for (const EditField& f : rules_.fields) {
        const int column = rows_ && row >= 0 ? rows_->column(f.column) : -1;
        show(f, column >= 0 ? rows_->model()->data(rows_->model()->index(row, column), Qt::EditRole) : QVariant());
    }
    showing_ = false;
    rememberShown();
}

void EditorList::rememberShown() {
    shown_.clear();
    for (const EditField& f : rules_.fields) shown_.push_back(heldState(f));
}

bool EditorList::changed(std::size_t field) const {
    return state_ == State::Insert || field >= shown_.size() || heldState(rules_.fields[field]) != shown_[field];
}

QVariant EditorList::savedValue(std::size_t field) const {
    if (changed(field)) return stored(rules_.fields[field]);
    const int column = rows_->column(rules_.fields[field].column);
    return column >= 0 ? rows_->model()->data(rows_->model()->index(currentRow(), column), Qt::EditRole) : QVariant();
}

void EditorList::setState(State state) {
    state_ = state;
    const bool editable = state != State::Browse || rules_.editOnTyping;
    for (const EditField& f : rules_.fields) {
        if (auto* edit = qobject_cast<QLineEdit*>(f.widget))
            edit->setReadOnly(!editable);
        else
            f.widget->setEnabled(editable);
    }
    // The row being edited stays the current one until it is saved or cancelled.
    grid_->setEnabled(state == State::Browse);
}

void EditorList::startEditingOnTyping() {
    if (showing_ || state_ != State::Browse || !rules_.editOnTyping || currentRow() < 0) return;
    setState(State::Edit);
}

void EditorList::New() {
    if (!rows_ || state_ != State::Browse) return;
    const int row = rows_->appendEmptyRow();
    setCurrentRow(row);
    showRow(row);
    setState(State::Insert);
}

void EditorList::Edit() {
    if (!rows_ || state_ != State::Browse || currentRow() < 0) return;
    setState(State::Edit);
}

std::vector<std::pair<int, QVariant>> EditorList::fieldValues() const {
    // An edit shows its column rounded (a price to two decimals) or cut to the edit's length:
    // written back untouched, it would change the stored value. Only what the user changed goes.
    std::vector<std::pair<int, QVariant>> values;
    for (std::size_t i = 0; i < rules_.fields.size(); ++i)
        if (const int column = rows_->column(rules_.fields[i].column); column >= 0 && changed(i))
            values.emplace_back(column, stored(rules_.fields[i]));
    return values;
}

void EditorList::Save() {
    if (!rows_ || state_ == State::Browse) return;
    const auto values = fieldValues();
    for (const RequiredField& r : rules_.required) {
        const auto field = std::find_if(rules_.fields.begin(), rules_.fields.end(), [&](const EditField& f) { return f.column == r.column; });
        const QVariant value = field != rules_.fields.end() ? savedValue(std::size_t(field - rules_.fields.begin())) : QVariant();
        if (emptyValue(value) || (r.nonZero && value.toDouble() == 0)) {
            platform::ui::showMessage(r.message);
            if (field != rules_.fields.end()) field->widget->setFocus();
            return;
        }
    }
    // A refused row stays in editing with what the user typed, so it can be mended and saved again.
    if (const auto error = rows_->save(currentRow(), values)) {
        platform::ui::showMessage(*error);
        return;
    }
    rememberShown();
    setState(State::Browse);
    rules_.afterSave();
}

void EditorList::Delete() {
    if (!rows_) return;
    if (state_ == State::Insert) {
        Cancel();
        return;
    }
    const int row = currentRow();
    if (row < 0) return;
    setState(State::Browse);
    if (const auto error = rows_->remove(row)) {
        platform::ui::showMessage(*error);
        return;
    }
    setCurrentRow(std::min(row, rows_->model()->rowCount() - 1));
    rules_.afterDelete();
}

void EditorList::Cancel() {
    if (!rows_ || state_ == State::Browse) return;
    const int row = currentRow();
    rows_->revert();
    setState(State::Browse);
    setCurrentRow(std::min(row, rows_->model()->rowCount() - 1));
    showRow(currentRow());
}

int EditorList::findRow(const QString& column, const std::function<bool(const QString&)>& matches) {
    if (!rows_) return -1;
    const int c = rows_->column(column);
    if (c < 0) return -1;
    rows_->fetchAll();
    QAbstractItemModel* model = rows_->model();
    for (int row = 0, count = model->rowCount(); row < count; ++row)
        if (matches(model->data(model->index(row, c), Qt::EditRole).toString())) return row;
    return -1;
}
