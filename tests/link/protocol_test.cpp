#include "support/communication_helpers.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using namespace test_support;

TEST(CommunicationFactory, NeverReturnsNull) {
    CCommunicationFactory factory;
    for (int32_t kind : {1, 2, 3, 4, 5, 6, 7, 0, 8, -1}) EXPECT_NE(factory.CreateFacory(portOfKind(kind)), nullptr) << kind;
}

TEST(CommunicationFactory, UnknownKindFailsAtOpen) {
    for (int32_t kind : {0, 8, -1}) {
        CCommunicationFactory factory;
        CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(kind));
        EXPECT_EQ(thrownCode([&] { protocol->Open(portOfKind(kind)); }), CommunicationError::UnknownPortKind);
        EXPECT_EQ(protocol->GetErrorCode(), int(CommunicationError::UnknownPortKind));
    }
}

TEST(CommunicationProtocol, ReadAndWriteNeedAnOpenPort) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(7));
    EXPECT_EQ(protocol->GetErrorCode(), 0);
    EXPECT_EQ(thrownCode([&] { readOnce(*protocol); }), CommunicationError::NotOpen);
    size_t count = 99;
    const unsigned char byte = 0;
    EXPECT_EQ(thrownCode([&] { protocol->Write(&byte, 1, count); }), CommunicationError::NotOpen);
    EXPECT_EQ(count, 0u) << "a failed write reports no bytes";
    EXPECT_EQ(protocol->GetErrorCode(), int(CommunicationError::NotOpen));
    EXPECT_TRUE(protocol->Close());
    EXPECT_TRUE(protocol->Close()) << "closing twice is harmless";
}

TEST(CommunicationProtocol, ExceptionIsCaughtByReferenceAndCarriesTheCode) {
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(1));
    try {
        protocol->Open(serialPort("PRN"));
        FAIL() << "opened a port named PRN";
    } catch (const CommunicationException &failure) {
        EXPECT_EQ(failure.GetErrorCode(), int(CommunicationError::InvalidPortName));
        EXPECT_NE(std::string(failure.what()).find("PRN"), std::string::npos) << failure.what();
    }
}

TEST(CommunicationProtocol, EnumerationBuffersMustExist) {
    TempDir noDevices;
    ScopedEnv sys("KDX_SYS_ROOT", noDevices.path().string());
    CCommunicationFactory factory;
    CCommunicationProtocol *protocol = factory.CreateFacory(portOfKind(3));
    EXPECT_EQ(thrownCode([&] { protocol->EnumUSBClassPrinters(nullptr, 1024); }), CommunicationError::InvalidArgument);
}

}  // namespace
