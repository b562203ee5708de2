// The voucher service's interface as data: its data classes with their elements in wire order,
// and its operations with their parameters. The request writer and the answer reader work from
// these tables alone.
#pragma once

#include <span>
#include <string_view>

namespace razevedu {

enum class WireType { String, Int, Long, Decimal, DateTime, Boolean, Base64, Object, Enumeration };

struct ElementDef {
    std::string_view name;
    WireType type = WireType::String;
    std::string_view className;  // the class of an Object element or of the items of a list
    bool required = false;       // written always, holds no presence flag
    bool list = false;           // repeats once per item
    // A wrapped list: one element of the list's name holding one element of this name per item.
    std::string_view wrappedItem;
};

struct ClassDef {
    std::string_view name;
    std::string_view base;  // empty for the plain remotable base
    std::span<const ElementDef> own;
};

struct OperationDef {
    std::string_view name;
    std::span<const ElementDef> parameters;  // `context` first
    std::string_view result;
};

const ClassDef* findClass(std::string_view name);
const OperationDef* findOperation(std::string_view name);
std::span<const ClassDef> allClasses();
std::span<const OperationDef> allOperations();

// The class's elements with those of its base first (at most one level of base).
struct ClassElements {
    std::span<const ElementDef> base;
    std::span<const ElementDef> own;
    std::size_t size() const { return base.size() + own.size(); }
    const ElementDef& operator[](std::size_t i) const { return i < base.size() ? base[i] : own[i - base.size()]; }
};
ClassElements elementsOf(const ClassDef& definition);

// The names of the service description's service and port the binding is made through.
inline constexpr std::string_view kServiceName = "ERSClientInterfaceImplService";
inline constexpr std::string_view kPortName = "ERSClientInterfaceImplPort";
// The path of the endpoint on the service's host; the description is the same with "?wsdl".
inline constexpr std::string_view kEndpointPath = "/extclientproxy/client";

}  // namespace razevedu
