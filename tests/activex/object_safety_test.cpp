// IObjectSafety as script hosts ask it, including a C caller's null identifier.
#include <objsafe.h>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

// The slots of IObjectSafety called as C does, with a pointer that may be null.
using GetOptions = HRESULT(STDMETHODCALLTYPE*)(IObjectSafety*, const IID*, DWORD*, DWORD*);
using SetOptions = HRESULT(STDMETHODCALLTYPE*)(IObjectSafety*, const IID*, DWORD, DWORD);

class ObjectSafetyTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    safety_ = NewControl().As<IObjectSafety>(IID_IObjectSafety);
    ASSERT_TRUE(safety_);
  }
  void TearDown() override {
    safety_.Reset();
    ComTest::TearDown();
  }
  void* Slot(int index) { return (*reinterpret_cast<void***>(safety_.Get()))[index]; }

  ComPtr<IObjectSafety> safety_;
};

TEST_F(ObjectSafetyTest, SafeForScriptingThroughIDispatchOnly) {
  DWORD supported = 0, enabled = 0;
  ASSERT_EQ(safety_->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(enabled, 1u);

  EXPECT_EQ(safety_->SetInterfaceSafetyOptions(IID_IDispatch, 1, 1), S_OK);
  EXPECT_EQ(safety_->SetInterfaceSafetyOptions(IID_IDispatch, 3, 3), E_FAIL);
  EXPECT_EQ(safety_->SetInterfaceSafetyOptions(IID_IDispatch, 0, 1), E_FAIL);
  EXPECT_EQ(safety_->SetInterfaceSafetyOptions(IID_IDispatch, 2, 2), E_FAIL);
}

TEST_F(ObjectSafetyTest, SafeForInitialisationThroughTheFourPersistenceInterfaces) {
  for (REFIID iid :
       {IID_IPersistStorage, IID_IPersistStream, IID_IPersistStreamInit, IID_IPersistPropertyBag}) {
    SCOPED_TRACE(GuidText(iid).c_str());
    DWORD supported = 0, enabled = 0;
    ASSERT_EQ(safety_->GetInterfaceSafetyOptions(iid, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, 3u);
    EXPECT_EQ(enabled, 2u);
    EXPECT_EQ(safety_->SetInterfaceSafetyOptions(iid, 2, 2), S_OK);
    EXPECT_EQ(safety_->SetInterfaceSafetyOptions(iid, 2, 0), E_FAIL);
    EXPECT_EQ(safety_->SetInterfaceSafetyOptions(iid, 1, 1), E_FAIL);
  }
}

TEST_F(ObjectSafetyTest, OtherInterfacesAreRefusedAfterNamingTheSupportedOptions) {
  DWORD supported = 0, enabled = 77;
  EXPECT_EQ(safety_->GetInterfaceSafetyOptions(IID_IUnknown, &supported, &enabled), E_NOINTERFACE);
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(enabled, 77u);
  EXPECT_EQ(safety_->SetInterfaceSafetyOptions(IID_IUnknown, 1, 1), E_NOINTERFACE);
  EXPECT_EQ(safety_->SetInterfaceSafetyOptions(IID__Vantiq, 1, 1), E_NOINTERFACE);
}

TEST_F(ObjectSafetyTest, NullIdentifierSucceedsAndLeavesEnabledUntouched) {
  auto get = reinterpret_cast<GetOptions>(Slot(3));
  auto set = reinterpret_cast<SetOptions>(Slot(4));
  DWORD supported = 0, enabled = 55;
  EXPECT_EQ(get(safety_.Get(), nullptr, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(enabled, 55u);
  EXPECT_EQ(set(safety_.Get(), nullptr, 3, 3), S_OK);
}

}  // namespace
}  // namespace vantiq::activex::testing
