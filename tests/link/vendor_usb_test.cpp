#include "support/communication_helpers.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

namespace {

using namespace test_support;

TEST(VendorUsb, WithoutAVendorIdNoDeviceCounts) {
    ScopedEnv vendor("KDX_USB_VENDOR_ID", nullptr);
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(4));
    EXPECT_EQ(protocol->GetOnlinePrinters(), 0);
    EXPECT_EQ(thrownCode([&] { protocol->Open(portOfKind(4)); }), CommunicationError::DeviceNotFound);
}

TEST(VendorUsb, MalformedVendorIdIsReported) {
    for (const char *value : {"xyz", "0x1FFFF", "-1", "12 34"}) {
        ScopedEnv vendor("KDX_USB_VENDOR_ID", value);
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(4));
        EXPECT_EQ(thrownCode([&] { protocol->GetOnlinePrinters(); }), CommunicationError::InvalidConfiguration) << value;
    }
}

TEST(VendorUsb, DeviceNumberBeyondTheAttachedDevicesFails) {
    // No device carries this id here, so every number is beyond the list.
    ScopedEnv vendor("KDX_USB_VENDOR_ID", "0xfffe");
    ScopedEnv product("KDX_USB_PRODUCT_ID", "fffe");
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(4));
    const int attached = protocol->GetOnlinePrinters();
    printer_link::tagPORTINFO port = portOfKind(4);
    for (int index : {attached, attached + 1, -1}) {
        port.USBAPIIndex = index;
        EXPECT_EQ(thrownCode([&] { protocol->Open(port); }), CommunicationError::DeviceNotFound) << index;
    }
}

}  // namespace
