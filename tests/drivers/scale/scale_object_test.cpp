// Scalvia through the object layer, as a client program reaches it: the module registers itself,
// "Scalvia.Scale.1" creates a Scale, and IScale's members by name and DISPID read the simulated
// scale.
#include "object_layer.h"
#include "scale_object.h"
#include "scale_sim.h"
#include "test_environment.h"

#include <memory>

namespace {

namespace com = platform::com;

class ScaleObjectTest : public testsupport::TestEnvironment {
protected:
    void SetUp() override {
        TestEnvironment::SetUp();
        scale_ = std::make_unique<sim::ScaleSim>();
        ASSERT_TRUE(scale_->start(portsDir(), "COM3"));
        scale_->place(1.25, 2.40);
    }
    void TearDown() override {
        scale_.reset();
        TestEnvironment::TearDown();
    }

    // A member by name with its arguments; the result is the member's status.
    com::HResult call(com::DispatchObject& object, const char* name, std::vector<com::Variant> args = {}) {
        com::Variant result;
        return object.call(name, args, result);
    }

    std::unique_ptr<sim::ScaleSim> scale_;
};

TEST_F(ScaleObjectTest, TheModuleRegistersTheClassUnderItsIdentifiers) {
    EXPECT_EQ(com::createObject("Scalvia.Scale.1"), nullptr);
    ASSERT_EQ(DllRegisterServer(), 0);

    const std::string clsid = "Software\\Classes\\CLSID\\{38E50395-70BA-4732-BF71-C902F94E7178}";
    EXPECT_EQ(settings().readText(clsid, ""), "Scale Class");
    EXPECT_EQ(settings().readText(clsid + "\\ProgID", ""), "Scalvia.Scale.1");
    EXPECT_EQ(settings().readText(clsid + "\\VersionIndependentProgID", ""), "Scalvia.Scale");
    EXPECT_EQ(settings().readText(clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(settings().readText(clsid + "\\TypeLib", ""), "{C52D9F9E-7A3D-440D-9FC5-3C07822F690B}");
    EXPECT_EQ(settings().readText(clsid, "AppID"), "{3E8C1901-EEDC-44B4-ADF8-0FF3453C7930}");
    EXPECT_TRUE(settings().keyExists(clsid + "\\Programmable"));
    EXPECT_EQ(settings().readText("Software\\Classes\\Scalvia.Scale\\CurVer", ""), "Scalvia.Scale.1");
    EXPECT_EQ(settings().readText("Software\\Classes\\AppID\\{3E8C1901-EEDC-44B4-ADF8-0FF3453C7930}", ""), "Scalvia");
    EXPECT_EQ(settings().readText("Software\\Classes\\TypeLib\\{C52D9F9E-7A3D-440D-9FC5-3C07822F690B}\\1.0", ""),
              "Scalvia 1.0 Type Library");
    // The dual interface, marshalled by the Automation marshaler and pointing at the type library.
    const std::string iid = "Software\\Classes\\Interface\\{2247A38F-A929-4B35-AB08-D1FCB420D40A}";
    const std::string automationMarshaler = "{00020424-0000-0000-C000-000000000046}";
    EXPECT_EQ(settings().readText(iid, ""), "IScale");
    EXPECT_EQ(settings().readText(iid + "\\ProxyStubClsid32", ""), automationMarshaler);
    EXPECT_EQ(settings().readText(iid + "\\ProxyStubClsid", ""), automationMarshaler);
    EXPECT_EQ(settings().readText(iid + "\\TypeLib", ""), "{C52D9F9E-7A3D-440D-9FC5-3C07822F690B}");
    EXPECT_EQ(settings().readText(iid + "\\TypeLib", "Version"), "1.0");

    EXPECT_NE(com::createObject("Scalvia.Scale.1"), nullptr);
    EXPECT_NE(com::createObject("Scalvia.Scale"), nullptr);
    ASSERT_EQ(DllUnregisterServer(), 0);
    EXPECT_EQ(com::createObject("Scalvia.Scale.1"), nullptr);
    EXPECT_EQ(com::createObject("Scalvia.Scale"), nullptr);
    EXPECT_FALSE(settings().keyExists(clsid));
    EXPECT_FALSE(settings().keyExists(iid));
}

TEST_F(ScaleObjectTest, MembersCarryDispidsOneToSeven) {
    ASSERT_EQ(DllRegisterServer(), 0);
    auto object = com::createObject("Scalvia.Scale.1");
    ASSERT_NE(object, nullptr);
    const char* names[] = {"Connect", "Disconnect", "Update", "Weight", "Stable", "Cost", "Price"};
    for (int dispid = 1; dispid <= 7; ++dispid) {
        SCOPED_TRACE(names[dispid - 1]);
        EXPECT_EQ(object->idOfName(names[dispid - 1]), dispid);
    }
    EXPECT_EQ(object->idOfName("weight"), 4);
    EXPECT_EQ(object->idOfName("Tare"), std::nullopt);
}

TEST_F(ScaleObjectTest, AnUpdateThroughTheDispatchInterfaceReadsTheScale) {
    ASSERT_EQ(DllRegisterServer(), 0);
    auto object = com::createObject("Scalvia.Scale.1");
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(call(*object, "Connect", {std::int32_t(3), std::int32_t(20)}), 0);
    ASSERT_EQ(call(*object, "Update"), 0);

    struct Expected {
        std::int32_t dispid;
        double value;
    };
    for (const Expected& e : {Expected{4, 1.25}, Expected{6, 3.00}, Expected{7, 2.40}}) {
        SCOPED_TRACE(e.dispid);
        com::Variant value;
        ASSERT_EQ(object->getProperty(e.dispid, value), 0);
        ASSERT_TRUE(std::holds_alternative<double>(value));
        EXPECT_DOUBLE_EQ(std::get<double>(value), e.value);
    }
    com::Variant stable;
    ASSERT_EQ(object->get("Stable", stable), 0);
    EXPECT_EQ(com::toInteger(stable), 1);
    // Read-only properties, and arguments a member does not take.
    EXPECT_EQ(object->put("Weight", 2.0), com::kDispMemberNotFound);
    EXPECT_EQ(call(*object, "Connect", {std::int32_t(3)}), com::kDispBadParamCount);
    EXPECT_EQ(call(*object, "Connect", {std::string("COM3"), std::int32_t(20)}), com::kDispTypeMismatch);
    EXPECT_EQ(call(*object, "Disconnect"), 0);
}

TEST_F(ScaleObjectTest, CallsBeforeConnectAndAnUnopenablePortReturnTheirStatuses) {
    ASSERT_EQ(DllRegisterServer(), 0);
    auto object = com::createObject("Scalvia.Scale.1");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(call(*object, "Update"), -1);
    com::Variant value;
    EXPECT_EQ(object->get("Price", value), -1);
    EXPECT_EQ(call(*object, "Disconnect"), 0);
    EXPECT_EQ(call(*object, "Connect", {std::int32_t(6), std::int32_t(5)}), -1);  // COM6: no such port
    EXPECT_EQ(call(*object, "Update"), -2);
}

}  // namespace
