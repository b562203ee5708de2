// The object layer in place of COM for the suite's in-process servers (the payment-terminal
// control, the scale server): a class table keyed by CLSID and ProgID, creation by ProgID,
// properties and methods reached by name or DISPID over a small variant, event sinks with
// advise/unadvise, and the register/unregister entries kept in the settings store.
//
// How a server plugs in:
//   1. Describe each class with a ClassInfo (CLSID and ProgID as text, type name, misc status,
//      type-library id, and a function that creates the object) and add it to the class table
//      with registerClass(), for instance from a static object in the server's library.
//   2. Derive the object from DispatchObject: give members() a table of DispatchMember (DISPID,
//      name, property or method) and implement getProperty/putProperty/invoke by DISPID. Events
//      go out with fire(); a host subscribes with advise() and an EventSink.
//   3. The server's DllRegisterServer/DllUnregisterServer call registerServer/unregisterServer
//      with its ServerModule (its type library and classes); createObject(progId) then finds the
//      class through the settings store, as a COM client finds it through the registry.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform::com {

using HResult = std::int32_t;
inline constexpr HResult kDispUnknownName = std::int32_t(0x80020006);   // DISP_E_UNKNOWNNAME
inline constexpr HResult kDispMemberNotFound = std::int32_t(0x80020003);  // DISP_E_MEMBERNOTFOUND
inline constexpr HResult kDispTypeMismatch = std::int32_t(0x80020005);   // DISP_E_TYPEMISMATCH
inline constexpr HResult kDispBadParamCount = std::int32_t(0x8002000E);  // DISP_E_BADPARAMCOUNT
inline constexpr HResult kClassNotRegistered = std::int32_t(0x80040154);  // REGDB_E_CLASSNOTREG
inline constexpr HResult kSelfRegTypeLib = std::int32_t(0x80040200);     // SELFREG_E_TYPELIB
inline constexpr HResult kSelfRegClass = std::int32_t(0x80040201);       // SELFREG_E_CLASS

// The small variant: empty, BOOL, short, long, double or a string (8-bit text inside the suite).
// A by-reference argument is an element of the argument vector that the callee may overwrite.
using Variant = std::variant<std::monostate, bool, std::int16_t, std::int32_t, std::string, double>;

// A number out of any numeric variant (a bool gives 0 or 1); nothing for empty or text.
std::optional<std::int32_t> toInteger(const Variant& value);
// The text of a string variant; nothing for other kinds.
std::optional<std::string> toText(const Variant& value);

enum class MemberKind { Property, Method };

struct DispatchMember {
    std::int32_t dispid;
    const char* name;
    MemberKind kind;
};

// Receives the events an object fires; by-reference arguments may be changed in args.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void onEvent(std::int32_t dispid, std::vector<Variant>& args) = 0;
};

// An object with a dispatch interface and an event interface.
class DispatchObject {
public:
    virtual ~DispatchObject() = default;

    virtual const std::vector<DispatchMember>& members() const = 0;
    virtual HResult getProperty(std::int32_t dispid, Variant& value) = 0;
    virtual HResult putProperty(std::int32_t dispid, const Variant& value) = 0;
    virtual HResult invoke(std::int32_t dispid, std::vector<Variant>& args, Variant& result) = 0;

    // DISPID of a member by name, compared without regard to case as IDispatch does.
    std::optional<std::int32_t> idOfName(std::string_view name) const;
    HResult get(std::string_view name, Variant& value);
    HResult put(std::string_view name, const Variant& value);
    HResult call(std::string_view name, std::vector<Variant>& args, Variant& result);

    // Connection point: a cookie (above 0) for each sink; unadvise returns false for an unknown one.
    std::uint32_t advise(std::shared_ptr<EventSink> sink);
    bool unadvise(std::uint32_t cookie);

protected:
    // Calls every advised sink in turn on the calling thread.
    void fire(std::int32_t dispid, std::vector<Variant>& args);

private:
    std::mutex sinksMutex_;
    std::map<std::uint32_t, std::shared_ptr<EventSink>> sinks_;
    std::uint32_t nextCookie_ = 1;
};

struct ClassInfo {
    std::string clsid;     // "{CC324109-...}"
    std::string progId;    // "PAYVO.PayvoCtrl.1"
    std::string typeName;  // the class's display name
    std::uint32_t miscStatus = 0;
    std::string typeLibId;
    std::string version = "1.0";
    std::function<std::unique_ptr<DispatchObject>()> create;
    // Optional entries: the version-independent ProgID (its CurVer names progId), the class's
    // application identifier and name, and the "Programmable" mark of automation classes.
    std::string versionIndependentProgId = {};
    std::string appId = {};
    std::string appName = {};
    bool programmable = false;
};

// An interface the type library describes as dual (or as a dispatch interface): registered under
// Interface\{IID} with the Automation marshaler as its proxy/stub, as registering the type library
// does, so a client in another apartment or process can call it.
struct InterfaceInfo {
    std::string iid;  // must be a well-formed GUID in braces
    std::string name;
};

struct TypeLibInfo {
    std::string id;  // must be a well-formed GUID in braces
    std::string version = "1.0";
    std::string helpString;
    std::vector<InterfaceInfo> interfaces = {};
};

struct ServerModule {
    std::string path;  // the module's file, written as InprocServer32
    TypeLibInfo typeLib;
    std::vector<const ClassInfo*> classes;
};

// The in-process class table. Adding a class whose CLSID is there already replaces it.
void registerClass(const ClassInfo& info);
const ClassInfo* findClassById(std::string_view clsid);

// Creates an object of the class the settings store names for progId (Software\Classes\<ProgID>\CLSID).
// Nothing, with code kClassNotRegistered, when the ProgID is not registered or its class is not
// in the class table.
std::unique_ptr<DispatchObject> createObject(std::string_view progId, HResult* code = nullptr);

// DllRegisterServer: the type library with its interfaces (kSelfRegTypeLib when it cannot be
// registered; no class is touched then), then every class (kSelfRegClass). 0 on success.
HResult registerServer(const ServerModule& module);
// DllUnregisterServer: removes the type library's, its interfaces' and the classes' entries.
HResult unregisterServer(const ServerModule& module);

bool isWellFormedGuid(std::string_view text);

}  // namespace platform::com
