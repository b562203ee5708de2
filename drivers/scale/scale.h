// Scalvia's class Scale: connects to a price-computing scale, polls it, and keeps the weight,
// stability, cost and unit price of its last valid answer; with its registration identifiers and
// its dispatch table as data for the object layer that registers it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace scalvia {

class ScaleLink;

// Results of the members (COM statuses).
constexpr std::int32_t kDone = 0;
constexpr std::int32_t kNoPort = -1;    // Connect: the port cannot be opened; any call before Connect
constexpr std::int32_t kNoAnswer = -2;  // Update: no valid answer

struct ScaleIdentity {
    std::string_view typeLibrary = "{C52D9F9E-7A3D-440D-9FC5-3C07822F690B}";
    std::string_view typeLibraryName = "ScalviaLib";
    std::string_view typeLibraryHelp = "Scalvia 1.0 Type Library";
    int typeLibraryMajor = 1, typeLibraryMinor = 0;
    std::string_view classId = "{38E50395-70BA-4732-BF71-C902F94E7178}";
    std::string_view className = "Scale";
    std::string_view classHelp = "Scale Class";
    std::string_view interfaceId = "{2247A38F-A929-4B35-AB08-D1FCB420D40A}";
    std::string_view interfaceName = "IScale";
    std::string_view interfaceHelp = "IScale Interface";
    std::string_view progId = "Scalvia.Scale.1";
    std::string_view versionIndependentProgId = "Scalvia.Scale";
    std::string_view appId = "{3E8C1901-EEDC-44B4-ADF8-0FF3453C7930}";
    std::string_view appName = "Scalvia";
    std::string_view threadingModel = "Apartment";
};
inline constexpr ScaleIdentity kScaleIdentity{};

enum class MemberKind { Method, PropertyGet };

// One member of IScale: its DISPID (also its slot after IDispatch), name, kind, help text and
// argument names.
struct ScaleMember {
    int dispId;
    std::string_view name;
    MemberKind kind;
    std::string_view help;
    std::array<std::string_view, 2> arguments;
};

inline constexpr std::array<ScaleMember, 7> kScaleMembers{{
    {1, "Connect", MemberKind::Method, "method Connect", {"nCom", "timeout"}},
    {2, "Disconnect", MemberKind::Method, "method Disconnect", {}},
    {3, "Update", MemberKind::Method, "method Update", {}},
    {4, "Weight", MemberKind::PropertyGet, "property Weight", {"pVal"}},
    {5, "Stable", MemberKind::PropertyGet, "property Stable", {"pVal"}},
    {6, "Cost", MemberKind::PropertyGet, "property Cost", {"pVal"}},
    {7, "Price", MemberKind::PropertyGet, "property Price", {"pVal"}},
}};

class Scale {
public:
    Scale();
    ~Scale();
    Scale(const Scale&) = delete;
    Scale& operator=(const Scale&) = delete;

    // Opens "COM<nCom>" (2 to 8; COM1 for any other number) with read time-outs of timeout ms
    // (5 when 0). A second Connect closes the first port. 0, or -1 when the port cannot be opened.
    std::int32_t Connect(std::int32_t nCom, std::int32_t timeout);
    // Closes the port; nothing to do when not connected. Always 0.
    std::int32_t Disconnect();
    // Polls the scale: 0 with the answer's values kept, -2 when no valid answer was read (the
    // values of the answer before stay), -1 before Connect.
    std::int32_t Update();

    // The last valid answer's values (0 before any): status 0, or -1 before Connect (or for a
    // null pVal).
    std::int32_t Weight(double* pVal) const;
    std::int32_t Stable(std::int32_t* pVal) const;
    std::int32_t Cost(double* pVal) const;
    std::int32_t Price(double* pVal) const;

    // The link's read time-out in ms, 0 when not connected.
    int readTimeoutMs() const;

private:
    template <class T, class Get>
    std::int32_t property(T* pVal, Get get) const;

    std::unique_ptr<ScaleLink> link_;
};

}  // namespace scalvia
