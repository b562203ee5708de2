// The editor's lists: a grid, the edits of the current row, and the buttons "Jauns", "Labot",
// "Saglabāt" and "Dzēst", all working alike. What differs from list to list (the rows, the
// fields and how they show, the required fields with their messages, what follows a save or a
// delete) is the ListRules a list is made with.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTableView>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAbstractItemModel;
class QSqlDatabase;
class QSqlTableModel;
class QWidget;
class TillList;

// Where a list's rows live and how a row is written back. Columns are the model's columns.
class RowStore {
public:
    virtual ~RowStore() = default;
    virtual QAbstractItemModel* model() = 0;
    // The column of a field by name, -1 when the rows have none.
    virtual int column(const QString& name) const = 0;
    // Reads every row the source holds (a database hands rows over in batches).
    virtual void fetchAll() = 0;
    // An empty row at the end, not saved yet.
    virtual int appendEmptyRow() = 0;
    // Writes the row with these column values; the error's text when the source refuses.
    virtual std::optional<QString> save(int row, const std::vector<std::pair<int, QVariant>>& values) = 0;
    virtual std::optional<QString> remove(int row) = 0;
    // Forgets what was not saved.
    virtual void revert() = 0;
};

// A table of the till connection, edited live; new rows carry the key placeholder 1, which the
// till database's trigger replaces.
class SqlRows : public RowStore {
public:
    SqlRows(const QSqlDatabase& db, const QString& table, const QString& orderBy = {});
    ~SqlRows() override;
    QAbstractItemModel* model() override;
    int column(const QString& name) const override;
    void fetchAll() override;
    int appendEmptyRow() override;
    std::optional<QString> save(int row, const std::vector<std::pair<int, QVariant>>& values) override;
    std::optional<QString> remove(int row) override;
    void revert() override;
    // The error of the first read, empty when it worked.
    QString readError() const;

private:
    std::unique_ptr<QSqlTableModel> model_;
};

// The till list KASES.DBF.
class TillRows : public RowStore {
public:
    explicit TillRows(TillList& list) : list_(list) {}
    QAbstractItemModel* model() override;
    int column(const QString& name) const override;
    void fetchAll() override {}
    int appendEmptyRow() override;
    std::optional<QString> save(int row, const std::vector<std::pair<int, QVariant>>& values) override;
    std::optional<QString> remove(int row) override;
    void revert() override;

private:
    TillList& list_;
};

// How an edit shows its column: text as it stands, a number (with a fixed count of decimals
// where the form gives one), a whole number, a date, a flag 'T'/'F' in a check box, one entry of
// a drop-down.
enum class FieldKind { Text, Number, Integer, Flag, Date, Choice };

struct EditField {
    QString column;
    QWidget* widget = nullptr;  // QLineEdit, QCheckBox (Flag) or QComboBox (Choice)
    FieldKind kind = FieldKind::Text;
    int decimals = -1;  // Number: the shown decimals, -1 for as many as the value has
};

struct RequiredField {
    QString column;
    QString message;
    bool nonZero = false;  // a number that must not be 0 (empty counts as 0)
};

struct GridColumn {
    QString column;
    QString caption;
};

struct ListRules {
    std::vector<EditField> fields;
    std::vector<RequiredField> required{};
    std::vector<GridColumn> gridColumns{};  // shown first, in this order
    bool gridShowsOthers = false;         // the other columns after them (the key never)
    bool editOnTyping = true;             // typing into an edit starts editing the row
    std::function<void()> afterSave = [] {};
    std::function<void()> afterDelete = [] {};
};

class EditorList : public QObject {
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    EditorList(ListRules rules, QTableView* grid, QObject* parent = nullptr);
    ~EditorList() override;

    // The rows to work on; none while the list is closed (its till is not connected).
    void setRows(std::unique_ptr<RowStore> rows);
    RowStore* rows() const { return rows_.get(); }
    State state() const { return state_; }
    int currentRow() const;
    // Moving to another row cancels an edit.
    void setCurrentRow(int row);

    // "Jauns", "Labot", "Saglabāt", "Dzēst"; cancelling an edit (Escape).
    void New();
    void Edit();
    void Save();
    void Delete();
    void Cancel();

    // The first row whose column satisfies `matches`, reading every row first; -1 when none.
    int findRow(const QString& column, const std::function<bool(const QString&)>& matches);

signals:
    void currentRowChanged(int row);

private:
    void setState(State state);
    void showRow(int row);
    void startEditingOnTyping();
    // What the edits held when they showed their row (or were saved), field by field.
    void rememberShown();
    // Whether the field's value goes back on saving: the user changed its edit, or the row is new.
    bool changed(std::size_t field) const;
    // The field's value after a save: the edit's when changed, else the row's own.
    QVariant savedValue(std::size_t field) const;
    // The changed fields' columns and values.
    std::vector<std::pair<int, QVariant>> fieldValues() const;
    void applyGridColumns();

    ListRules rules_;
    QPointer<QTableView> grid_;
    std::unique_ptr<RowStore> rows_;
    State state_ = State::Browse;
    bool showing_ = false;  // filling the edits from a row is no typing
    std::vector<QString> shown_;
};
