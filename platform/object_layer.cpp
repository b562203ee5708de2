#include "object_layer.h"

#include "settings_store.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace platform::com {
namespace {

const std::string kClasses = "Software\\Classes";
// PSOAInterface, the Automation marshaler that serves every dual and dispatch interface.
const std::string kAutomationMarshaler = "{00020424-0000-0000-C000-000000000046}";

std::mutex& tableMutex() {
    static std::mutex m;
    return m;
}

std::vector<ClassInfo>& classTable() {
    static std::vector<ClassInfo> table;
    return table;
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void writeClass(SettingsStore& store, const ClassInfo& c, const std::string& modulePath, const std::string& typeLibId) {
    const std::string key = kClasses + "\\CLSID\\" + c.clsid;
    store.writeText(key, "", c.typeName);
    store.writeText(key + "\\ProgID", "", c.progId);
    store.writeText(key + "\\InprocServer32", "", modulePath);
    store.writeText(key + "\\InprocServer32", "ThreadingModel", "Apartment");
    if (c.miscStatus) store.writeText(key + "\\MiscStatus", "", std::to_string(c.miscStatus));
    if (!typeLibId.empty()) store.writeText(key + "\\TypeLib", "", typeLibId);
    store.writeText(key + "\\Version", "", c.version);
    store.writeText(kClasses + "\\" + c.progId, "", c.typeName);
    store.writeText(kClasses + "\\" + c.progId + "\\CLSID", "", c.clsid);
    if (c.programmable) store.createKey(key + "\\Programmable");
    if (!c.versionIndependentProgId.empty()) {
        const std::string independent = kClasses + "\\" + c.versionIndependentProgId;
        store.writeText(key + "\\VersionIndependentProgID", "", c.versionIndependentProgId);
        store.writeText(independent, "", c.typeName);
        store.writeText(independent + "\\CLSID", "", c.clsid);
        store.writeText(independent + "\\CurVer", "", c.progId);
    }
    if (!c.appId.empty()) {
        store.writeText(key, "AppID", c.appId);
        store.writeText(kClasses + "\\AppID\\" + c.appId, "", c.appName);
    }
}

}  // namespace

std::optional<std::int32_t> toInteger(const Variant& value) {
    if (auto b = std::get_if<bool>(&value)) return *b ? 1 : 0;
    if (auto s = std::get_if<std::int16_t>(&value)) return *s;
    if (auto l = std::get_if<std::int32_t>(&value)) return *l;
    return std::nullopt;
}

std::optional<std::string> toText(const Variant& value) {
    if (auto s = std::get_if<std::string>(&value)) return *s;
    return std::nullopt;
}

std::optional<std::int32_t> DispatchObject::idOfName(std::string_view name) const {
    for (const auto& m : members())
        if (sameText(m.name, name)) return m.dispid;
    return std::nullopt;
}

HResult DispatchObject::get(std::string_view name, Variant& value) {
    auto id = idOfName(name);
    return id ? getProperty(*id, value) : kDispUnknownName;
}

HResult DispatchObject::put(std::string_view name, const Variant& value) {
    auto id = idOfName(name);
    return id ? putProperty(*id, value) : kDispUnknownName;
}

HResult DispatchObject::call(std::string_view name, std::vector<Variant>& args, Variant& result) {
    auto id = idOfName(name);
    return id ? invoke(*id, args, result) : kDispUnknownName;
}

std::uint32_t DispatchObject::advise(std::shared_ptr<EventSink> sink) {
    std::lock_guard lock(sinksMutex_);
    const std::uint32_t cookie = nextCookie_++;
    sinks_[cookie] = std::move(sink);
    return cookie;
}

bool DispatchObject::unadvise(std::uint32_t cookie) {
    std::lock_guard lock(sinksMutex_);
    return sinks_.erase(cookie) > 0;
}

void DispatchObject::fire(std::int32_t dispid, std::vector<Variant>& args) {
    // The sinks are copied out so a handler may advise or unadvise while it runs.
    std::vector<std::shared_ptr<EventSink>> sinks;
    {
        std::lock_guard lock(sinksMutex_);
        for (auto& [cookie, sink] : sinks_) sinks.push_back(sink);
    }
    for (auto& sink : sinks) sink->onEvent(dispid, args);
}

void registerClass(const ClassInfo& info) {
    std::lock_guard lock(tableMutex());
    auto& table = classTable();
    auto it = std::find_if(table.begin(), table.end(), [&](const ClassInfo& c) { return sameText(c.clsid, info.clsid); });
    if (it != table.end())
        *it = info;
    else
        table.push_back(info);
}

const ClassInfo* findClassById(std::string_view clsid) {
    std::lock_guard lock(tableMutex());
    for (const auto& c : classTable())
        if (sameText(c.clsid, clsid)) return &c;
    return nullptr;
}

std::unique_ptr<DispatchObject> createObject(std::string_view progId, HResult* code) {
    auto fail = [code] {
        if (code) *code = kClassNotRegistered;
        return nullptr;
    };
    const auto clsid = SettingsStore::current().readText(kClasses + "\\" + std::string(progId) + "\\CLSID", "");
    if (!clsid) return fail();
    const ClassInfo* info = findClassById(*clsid);
    if (!info || !info->create) return fail();
    if (code) *code = 0;
    return info->create();
}

bool isWellFormedGuid(std::string_view t) {
    // {8-4-4-4-12} hexadecimal digits
    if (t.size() != 38 || t.front() != '{' || t.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? t[i] != '-' : !std::isxdigit(static_cast<unsigned char>(t[i]))) return false;
    }
    return true;
}

HResult registerServer(const ServerModule& module) {
    auto& store = SettingsStore::current();
    try {
        if (!isWellFormedGuid(module.typeLib.id)) return kSelfRegTypeLib;
        const std::string key = kClasses + "\\TypeLib\\" + module.typeLib.id + "\\" + module.typeLib.version;
        store.writeText(key, "", module.typeLib.helpString);
        store.writeText(key + "\\0\\win32", "", module.path);
        for (const InterfaceInfo& i : module.typeLib.interfaces) {
            if (!isWellFormedGuid(i.iid)) return kSelfRegTypeLib;
            const std::string interfaceKey = kClasses + "\\Interface\\" + i.iid;
            store.writeText(interfaceKey, "", i.name);
            store.writeText(interfaceKey + "\\ProxyStubClsid", "", kAutomationMarshaler);
            store.writeText(interfaceKey + "\\ProxyStubClsid32", "", kAutomationMarshaler);
            store.writeText(interfaceKey + "\\TypeLib", "", module.typeLib.id);
            store.writeText(interfaceKey + "\\TypeLib", "Version", module.typeLib.version);
        }
    } catch (const std::exception&) {
        return kSelfRegTypeLib;
    }
    try {
        for (const ClassInfo* c : module.classes) {
            if (!isWellFormedGuid(c->clsid)) return kSelfRegClass;
            writeClass(store, *c, module.path, module.typeLib.id);
        }
    } catch (const std::exception&) {
        return kSelfRegClass;
    }
    return 0;
}

HResult unregisterServer(const ServerModule& module) {
    auto& store = SettingsStore::current();
    try {
        if (!isWellFormedGuid(module.typeLib.id)) return kSelfRegTypeLib;
        const std::string key = kClasses + "\\TypeLib\\" + module.typeLib.id;
        store.deleteKey(key + "\\" + module.typeLib.version);
        if (store.subkeyNames(key).empty()) store.deleteKey(key);
        for (const InterfaceInfo& i : module.typeLib.interfaces) store.deleteKey(kClasses + "\\Interface\\" + i.iid);
    } catch (const std::exception&) {
        return kSelfRegTypeLib;
    }
    try {
        for (const ClassInfo* c : module.classes) {
            store.deleteKey(kClasses + "\\CLSID\\" + c->clsid);
            store.deleteKey(kClasses + "\\" + c->progId);
            if (!c->versionIndependentProgId.empty()) store.deleteKey(kClasses + "\\" + c->versionIndependentProgId);
            if (!c->appId.empty()) store.deleteKey(kClasses + "\\AppID\\" + c->appId);
        }
    } catch (const std::exception&) {
        return kSelfRegClass;
    }
    return 0;
}

}  // namespace platform::com
