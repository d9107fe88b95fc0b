#include <olectl.h>

#include <cwctype>

#include "activex/saved_picture.h"
#include "container/container.h"

namespace vantiq::container {

struct PropertyBag::Entry {
  std::wstring name;
  Value value;                        // when not an object
  bool isObject = false;
  std::vector<std::uint8_t> object;   // what the object's IPersistStream wrote
  ComPtr<IUnknown> reference;         // an object that cannot save itself
};

ComPtr<PropertyBag> PropertyBag::Create() { return ComPtr<PropertyBag>::Adopt(new PropertyBag); }

PropertyBag::PropertyBag() = default;
PropertyBag::~PropertyBag() = default;

STDMETHODIMP PropertyBag::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PropertyBag::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) PropertyBag::Release() {
  const ULONG refs = InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

PropertyBag::Entry* PropertyBag::Find(const std::wstring& name) {
  for (auto& entry : entries_)
    if (_wcsicmp(entry->name.c_str(), name.c_str()) == 0) return entry.get();
  return nullptr;
}

const PropertyBag::Entry* PropertyBag::Find(const std::wstring& name) const {
  return const_cast<PropertyBag*>(this)->Find(name);
}

STDMETHODIMP PropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  const Entry* entry = Find(name);
  if (!entry) return E_INVALIDARG;
  const VARTYPE wanted = V_VT(value);
  Value read;
  if (!entry->isObject) {
    const HRESULT hr = VariantCopy(&read, const_cast<Value*>(&entry->value));
    if (FAILED(hr)) return hr;
  } else if (entry->reference) {
    ComPtr<IDispatch> dispatch = entry->reference.As<IDispatch>(IID_IDispatch);
    V_VT(&read) = dispatch ? VT_DISPATCH : VT_UNKNOWN;
    V_UNKNOWN(&read) = dispatch ? dispatch.Detach() : ComPtr<IUnknown>(entry->reference).Detach();
  } else if (entry->object.empty()) {
    V_VT(&read) = VT_DISPATCH;  // Nothing
    V_DISPATCH(&read) = nullptr;
  } else {
    // A new object each time, as a form file makes one.
    ComPtr<IStream> stream = NewStream(entry->object);
    ComPtr<IDispatch> object;
    const HRESULT hr =
        OleLoadFromStream(stream.Get(), IID_IDispatch, reinterpret_cast<void**>(object.Put()));
    if (FAILED(hr)) return hr;
    V_VT(&read) = VT_DISPATCH;
    V_DISPATCH(&read) = object.Detach();
  }
  if (wanted != VT_EMPTY && wanted != V_VT(&read)) {
    const HRESULT hr = VariantChangeType(&read, &read, 0, wanted);
    if (FAILED(hr)) return hr;
  }
  // The caller owns the result.
  *value = read;
  VariantInit(&read);
  return S_OK;
}

STDMETHODIMP PropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  Value copy;
  HRESULT hr = VariantCopyInd(&copy, value);
  if (FAILED(hr)) return hr;
  Entry* entry = Find(name);
  if (!entry) {
    entries_.push_back(std::make_unique<Entry>());
    entry = entries_.back().get();
    entry->name = name;
  }
  VariantClear(&entry->value);
  entry->object.clear();
  entry->reference.Reset();
  entry->isObject = V_VT(&copy) == VT_UNKNOWN || V_VT(&copy) == VT_DISPATCH;
  if (!entry->isObject) return VariantCopy(&entry->value, &copy);
  IUnknown* object = V_UNKNOWN(&copy);
  if (!object) return S_OK;
  // As OleSaveToStream: the class, then what the object saves. A bitmap picture is
  // written in its saved form directly (activex/saved_picture.h).
  ComPtr<IPicture> picture;
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (SUCCEEDED(object->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.Put()))) &&
      SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
      SUCCEEDED(picture->get_Handle(&handle))) {
    const std::vector<std::uint8_t> saved =
        activex::SaveBitmapPicture(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    ComPtr<IStream> stream = NewStream();
    if (!saved.empty() && stream && SUCCEEDED(WriteClassStm(stream.Get(), CLSID_StdPicture))) {
      ULONG written = 0;
      stream->Write(saved.data(), static_cast<ULONG>(saved.size()), &written);
      entry->object = StreamBytes(stream.Get());
      return S_OK;
    }
  }
  ComPtr<IPersistStream> persist;
  ComPtr<IStream> stream = NewStream();
  if (SUCCEEDED(object->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.Put()))) &&
      stream && SUCCEEDED(OleSaveToStream(persist.Get(), stream.Get())))
    entry->object = StreamBytes(stream.Get());
  else
    entry->reference = ComPtr<IUnknown>(object);
  return S_OK;
}

std::vector<std::wstring> PropertyBag::Names() const {
  std::vector<std::wstring> names;
  for (const auto& entry : entries_) names.push_back(entry->name);
  return names;
}

bool PropertyBag::Contains(const std::wstring& name) const { return Find(name) != nullptr; }

HRESULT PropertyBag::Get(const std::wstring& name, VARIANT& value) {
  VariantClear(&value);
  const HRESULT hr = Read(name.c_str(), &value, nullptr);
  if (hr == E_INVALIDARG) VariantInit(&value);
  return hr;
}

void PropertyBag::Remove(const std::wstring& name) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (_wcsicmp((*it)->name.c_str(), name.c_str()) == 0) {
      entries_.erase(it);
      return;
    }
  }
}

}  // namespace vantiq::container
