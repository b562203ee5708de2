#include "scale_object.h"

#include <dlfcn.h>

namespace scalvia {
namespace com = platform::com;

namespace {

enum Dispid : std::int32_t { kConnect = 1, kDisconnect, kUpdate, kWeight, kStable, kCost, kPrice };

}  // namespace

const std::vector<com::DispatchMember>& ScaleObject::members() const {
    static const std::vector<com::DispatchMember> table = [] {
        std::vector<com::DispatchMember> members;
        for (const ScaleMember& m : kScaleMembers)
            members.push_back({m.dispId, m.name.data(),
                               m.kind == MemberKind::Method ? com::MemberKind::Method : com::MemberKind::Property});
        return members;
    }();
    return table;
}

com::HResult ScaleObject::getProperty(std::int32_t dispid, com::Variant& value) {
    double real = 0;
    std::int32_t status = kDone;
    switch (dispid) {
    case kWeight: status = scale_.Weight(&real); break;
    case kCost: status = scale_.Cost(&real); break;
    case kPrice: status = scale_.Price(&real); break;
    case kStable: {
        std::int32_t stable = 0;
        status = scale_.Stable(&stable);
        value = stable;
        return status;
    }
    default: return com::kDispMemberNotFound;
    }
    value = real;
    return status;
}

com::HResult ScaleObject::putProperty(std::int32_t, const com::Variant&) {
    // Every property of IScale is read-only.
    return com::kDispMemberNotFound;
}

com::HResult ScaleObject::invoke(std::int32_t dispid, std::vector<com::Variant>& args, com::Variant& result) {
    result = std::monostate{};
    switch (dispid) {
    case kConnect: {
        if (args.size() != 2) return com::kDispBadParamCount;
        const auto nCom = com::toInteger(args[0]);
        const auto timeout = com::toInteger(args[1]);
        if (!nCom || !timeout) return com::kDispTypeMismatch;
        return scale_.Connect(*nCom, *timeout);
    }
    case kDisconnect:
        if (!args.empty()) return com::kDispBadParamCount;
        return scale_.Disconnect();
    case kUpdate:
        if (!args.empty()) return com::kDispBadParamCount;
        return scale_.Update();
    default:
        return com::kDispMemberNotFound;
    }
}

const com::ClassInfo& scaleClassInfo() {
    static const com::ClassInfo info = [] {
        com::ClassInfo c;
        c.clsid = kScaleIdentity.classId;
        c.progId = kScaleIdentity.progId;
        c.typeName = kScaleIdentity.classHelp;
        c.typeLibId = kScaleIdentity.typeLibrary;
        c.create = [] { return std::unique_ptr<com::DispatchObject>(std::make_unique<ScaleObject>()); };
        c.versionIndependentProgId = kScaleIdentity.versionIndependentProgId;
        c.appId = kScaleIdentity.appId;
        c.appName = kScaleIdentity.appName;
        c.programmable = true;
        return c;
    }();
    return info;
}

com::ServerModule scaleServerModule() {
    Dl_info where{};
    std::string path;
    if (::dladdr(reinterpret_cast<void*>(&scaleServerModule), &where) && where.dli_fname) path = where.dli_fname;
    return {path,
            {std::string(kScaleIdentity.typeLibrary), "1.0", std::string(kScaleIdentity.typeLibraryHelp),
             {{std::string(kScaleIdentity.interfaceId), std::string(kScaleIdentity.interfaceName)}}},
            {&scaleClassInfo()}};
}

namespace {

// The class enters the object layer's table when the library is loaded, as a server's class
// factories are there once its module is loaded.
const bool classAdded = [] {
    com::registerClass(scaleClassInfo());
    return true;
}();

}  // namespace

}  // namespace scalvia

std::int32_t DllRegisterServer() { return platform::com::registerServer(scalvia::scaleServerModule()); }

std::int32_t DllUnregisterServer() { return platform::com::unregisterServer(scalvia::scaleServerModule()); }
