// One object of a data class of the voucher service (or the parameters of one operation): a slot
// per element of the class table, each an optional value with its presence flag.
#pragma once

#include "service_types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace razevedu {

class DataObject {
public:
    // The elements of a class, or the parameters of an operation (a request).
    explicit DataObject(const ClassDef& definition);
    explicit DataObject(const OperationDef& operation);
    static std::unique_ptr<DataObject> make(std::string_view className);

    std::string_view typeName() const { return typeName_; }
    std::size_t size() const { return slots_.size(); }
    const ElementDef& element(std::size_t i) const { return elements_[i]; }
    // The slot of an element by name; -1 when the class has none.
    int indexOf(std::string_view name) const;

    // Assigning raises the presence flag; nothing lowers it. Numbers, dates and base64 content
    // are held as their XML text. An object is handed over, not copied; a null item is nil.
    void setText(std::string_view name, std::string value);
    void setObject(std::string_view name, std::unique_ptr<DataObject> value);
    void addItem(std::string_view name, std::unique_ptr<DataObject> item);
    void setText(std::size_t i, std::string value);
    void setObject(std::size_t i, std::unique_ptr<DataObject> value);
    void addItem(std::size_t i, std::unique_ptr<DataObject> item);

    bool present(std::size_t i) const { return slots_[i].present; }
    bool present(std::string_view name) const;
    // The text of an element; empty when it is absent (present() tells the two apart).
    const std::string& text(std::size_t i) const { return slots_[i].text; }
    const std::string& text(std::string_view name) const;
    const DataObject* object(std::size_t i) const { return slots_[i].object.get(); }
    const DataObject* object(std::string_view name) const;
    const std::vector<std::unique_ptr<DataObject>>& items(std::size_t i) const { return slots_[i].items; }
    const std::vector<std::unique_ptr<DataObject>>& items(std::string_view name) const;

private:
    struct Slot {
        bool present = false;
        std::string text;
        std::unique_ptr<DataObject> object;
        std::vector<std::unique_ptr<DataObject>> items;
    };
    std::size_t slotOf(std::string_view name) const;

    std::string_view typeName_;
    std::vector<ElementDef> elements_;
    std::vector<Slot> slots_;
};

}  // namespace razevedu
