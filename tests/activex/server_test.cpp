// The library as an in-process server: its class factory, what keeps it loaded, the
// object's identity and interfaces, aggregation, and the safety answers a script host
// asks for (the rules are the core's: here, that each interface reaches them).
#include <objsafe.h>
#include <ocidl.h>

#include "activex_test_support.h"

namespace vantiq::activex::testing {
namespace {

class ServerTest : public ComTest {
 protected:
  ComPtr<IClassFactory> Factory() {
    ComPtr<IClassFactory> factory;
    EXPECT_HRESULT_SUCCEEDED(ControlLibrary::Get().GetClassObject(
        CLSID_Vantiq, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())));
    return factory;
  }
  HRESULT CanUnload() { return ControlLibrary::Get().CanUnloadNow(); }
};

TEST_F(ServerTest, ServesOnlyTheVantiqClass) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(ControlLibrary::Get().GetClassObject(IID_IDispatch, IID_IClassFactory, &out),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(ControlLibrary::Get().GetClassObject(CLSID_Vantiq, IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
}

TEST_F(ServerTest, StaysLoadedWhileAnObjectOrALockLives) {
  ASSERT_EQ(CanUnload(), S_OK);

  ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(CanUnload(), S_FALSE);

  ComPtr<IUnknown> object;
  ASSERT_HRESULT_SUCCEEDED(
      factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.Put())));
  ASSERT_HRESULT_SUCCEEDED(factory->LockServer(TRUE));
  factory.Reset();
  EXPECT_EQ(CanUnload(), S_FALSE);  // the object and the lock

  object.Reset();
  EXPECT_EQ(CanUnload(), S_FALSE);  // the lock alone

  factory = Factory();
  ASSERT_HRESULT_SUCCEEDED(factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(CanUnload(), S_OK);
}

TEST_F(ServerTest, AnObjectKeepsTheLibraryThroughEveryInterface) {
  ComPtr<_Vantiq> control = NewControl();
  ASSERT_TRUE(control);
  ComPtr<IProvideClassInfo2> classInfo = control.As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ASSERT_TRUE(classInfo);
  ComPtr<IEnumConnectionPoints> points;  // and what it hands out
  ASSERT_EQ(control.As<IConnectionPointContainer>(IID_IConnectionPointContainer)->EnumConnectionPoints(points.Put()),
            S_OK);
  control.Reset();
  EXPECT_EQ(CanUnload(), S_FALSE);
  classInfo.Reset();
  EXPECT_EQ(CanUnload(), S_FALSE);
  points.Reset();
  EXPECT_EQ(CanUnload(), S_OK);
}

TEST_F(ServerTest, AnswersItsInterfacesWithOneIdentity) {
  ComPtr<_Vantiq> control = NewControl();
  ASSERT_TRUE(control);
  ComPtr<IUnknown> identity = control.As<IUnknown>(IID_IUnknown);
  ASSERT_TRUE(identity);
  for (REFIID iid : {IID_IDispatch, IID__Vantiq, IID_IProvideClassInfo, IID_IProvideClassInfo2,
                     IID_ISupportErrorInfo, IID_IObjectSafety}) {
    ComPtr<IUnknown> part;
    ASSERT_HRESULT_SUCCEEDED(control->QueryInterface(iid, reinterpret_cast<void**>(part.Put())))
        << GuidText(iid).c_str();
    EXPECT_EQ(part.As<IUnknown>(IID_IUnknown).Get(), identity.Get()) << GuidText(iid).c_str();
  }
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(control->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
}

TEST_F(ServerTest, ProvidesItsClassAndDefaultEventInterface) {
  ComPtr<_Vantiq> control = NewControl();
  ComPtr<IProvideClassInfo2> classInfo = control.As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ASSERT_TRUE(classInfo);
  GUID events{};
  ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(GuidText(events), GuidText(DIID___Vantiq));
  EXPECT_EQ(classInfo->GetGUID(0, &events), E_INVALIDARG);

  ComPtr<ITypeInfo> coclass;
  ASSERT_HRESULT_SUCCEEDED(classInfo->GetClassInfo(coclass.Put()));
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attr));
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(GuidText(attr->guid), GuidText(CLSID_Vantiq));
  coclass->ReleaseTypeAttr(attr);
}

TEST_F(ServerTest, ReportsErrorInfoForItsPropertiesOnly) {
  ComPtr<_Vantiq> control = NewControl();
  ComPtr<ISupportErrorInfo> support = control.As<ISupportErrorInfo>(IID_ISupportErrorInfo);
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__Vantiq), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IObjectSafety), S_FALSE);
}

// An outer object that counts the references its aggregated control passes to it.
class Outer final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown) {
      *out = this;
      AddRef();
      return S_OK;
    }
    // Everything else is the inner object's.
    return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }

  ULONG refs = 1;
  IUnknown* inner = nullptr;
};

TEST_F(ServerTest, JoinsAnAggregateThroughItsInnerUnknown) {
  ComPtr<IClassFactory> factory = Factory();
  Outer outer;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(&outer, IID__Vantiq, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);

  ASSERT_HRESULT_SUCCEEDED(
      factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
  ASSERT_NE(outer.inner, nullptr);
  EXPECT_EQ(outer.refs, 1u);  // the inner object holds no reference on its outer

  _Vantiq* control = nullptr;
  ASSERT_HRESULT_SUCCEEDED(
      outer.inner->QueryInterface(IID__Vantiq, reinterpret_cast<void**>(&control)));
  EXPECT_EQ(outer.refs, 2u);  // references through its interfaces go to the outer object
  IUnknown* identity = nullptr;
  ASSERT_HRESULT_SUCCEEDED(
      control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
  EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
  identity->Release();
  double value = -1;
  EXPECT_HRESULT_SUCCEEDED(control->get_value(&value));
  EXPECT_EQ(value, 0);
  control->Release();
  EXPECT_EQ(outer.refs, 1u);

  factory.Reset();
  EXPECT_EQ(CanUnload(), S_FALSE);
  EXPECT_EQ(outer.inner->Release(), 0u);
  outer.inner = nullptr;
  EXPECT_EQ(CanUnload(), S_OK);
}

TEST_F(ServerTest, SafetyOptionsForEachInterfaceAndForACallersNullIdentifier) {
  ComPtr<IObjectSafety> safety = NewControl().As<IObjectSafety>(IID_IObjectSafety);
  ASSERT_TRUE(safety);
  const struct {
    const IID& iid;
    HRESULT hr;
    DWORD enabled;
  } rows[] = {{IID_IDispatch, S_OK, 1},          {IID_IPersistStorage, S_OK, 2},
              {IID_IPersistStream, S_OK, 2},     {IID_IPersistStreamInit, S_OK, 2},
              {IID_IPersistPropertyBag, S_OK, 2}, {IID_IUnknown, E_NOINTERFACE, 77}};
  for (const auto& row : rows) {
    SCOPED_TRACE(GuidText(row.iid).c_str());
    DWORD supported = 0, enabled = 77;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(row.iid, &supported, &enabled), row.hr);
    EXPECT_EQ(supported, 3u);
    EXPECT_EQ(enabled, row.enabled);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(row.iid, 3, row.enabled), row.hr == S_OK ? S_OK : E_NOINTERFACE);
    if (row.hr == S_OK) EXPECT_EQ(safety->SetInterfaceSafetyOptions(row.iid, 3, 3), E_FAIL);
  }
  // A C caller may pass a null identifier: the slots called as C does.
  void** slots = *reinterpret_cast<void***>(safety.Get());
  DWORD supported = 0, enabled = 55;
  EXPECT_EQ(reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(IObjectSafety*, const IID*, DWORD*, DWORD*)>(slots[3])(
                safety.Get(), nullptr, &supported, &enabled), S_OK);
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(enabled, 55u);
  EXPECT_EQ(reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(IObjectSafety*, const IID*, DWORD, DWORD)>(slots[4])(
                safety.Get(), nullptr, 3, 3), S_OK);
}

}  // namespace
}  // namespace vantiq::activex::testing
