#include "data_object.h"

#include <stdexcept>

namespace razevedu {
namespace {

// What a required number or flag holds before it is assigned.
std::string initialText(const ElementDef& e) {
    if (!e.required) return {};
    switch (e.type) {
    case WireType::Int:
    case WireType::Long:
    case WireType::Decimal: return "0";
    case WireType::Boolean: return "false";
    default: return {};
    }
}

}  // namespace

DataObject::DataObject(const ClassDef& definition) : typeName_(definition.name) {
    const ClassElements all = elementsOf(definition);
    for (std::size_t i = 0; i < all.size(); ++i) elements_.push_back(all[i]);
    slots_.resize(elements_.size());
    for (std::size_t i = 0; i < elements_.size(); ++i) slots_[i].text = initialText(elements_[i]);
}

DataObject::DataObject(const OperationDef& operation)
    : typeName_(operation.name), elements_(operation.parameters.begin(), operation.parameters.end()) {
    slots_.resize(elements_.size());
    for (std::size_t i = 0; i < elements_.size(); ++i) slots_[i].text = initialText(elements_[i]);
}

std::unique_ptr<DataObject> DataObject::make(std::string_view className) {
    const ClassDef* definition = findClass(className);
    if (!definition) throw std::logic_error("unknown data class " + std::string(className));
    return std::make_unique<DataObject>(*definition);
}

int DataObject::indexOf(std::string_view name) const {
    for (std::size_t i = 0; i < elements_.size(); ++i)
        if (elements_[i].name == name) return int(i);
    return -1;
}

std::size_t DataObject::slotOf(std::string_view name) const {
    const int i = indexOf(name);
    if (i < 0) throw std::logic_error(std::string(typeName_) + " has no element " + std::string(name));
    return std::size_t(i);
}

void DataObject::setText(std::size_t i, std::string value) {
    slots_[i].text = std::move(value);
    slots_[i].present = true;
}

void DataObject::setObject(std::size_t i, std::unique_ptr<DataObject> value) {
    slots_[i].object = std::move(value);
    slots_[i].present = true;
}

void DataObject::addItem(std::size_t i, std::unique_ptr<DataObject> item) {
    slots_[i].items.push_back(std::move(item));
    slots_[i].present = true;
}

void DataObject::setText(std::string_view name, std::string value) { setText(slotOf(name), std::move(value)); }
void DataObject::setObject(std::string_view name, std::unique_ptr<DataObject> value) { setObject(slotOf(name), std::move(value)); }
void DataObject::addItem(std::string_view name, std::unique_ptr<DataObject> item) { addItem(slotOf(name), std::move(item)); }
bool DataObject::present(std::string_view name) const { return present(slotOf(name)); }
const std::string& DataObject::text(std::string_view name) const { return text(slotOf(name)); }
const DataObject* DataObject::object(std::string_view name) const { return object(slotOf(name)); }
const std::vector<std::unique_ptr<DataObject>>& DataObject::items(std::string_view name) const { return items(slotOf(name)); }

}  // namespace razevedu
