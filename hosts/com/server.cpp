// The DLL's entry points: the class factory, unloading and self-registration.

#include <new>

#include "hosts/com/orvane_object.h"
#include "hosts/com/registration.h"
#include "hosts/com/server_state.h"

namespace orvane::com {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is static; handing it out keeps the server locked instead.
  ULONG STDMETHODCALLTYPE AddRef() override {
    LockServer(true);
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    LockServer(false);
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    try {
      Orvane2Object* created = new Orvane2Object();
      const HRESULT result = created->QueryInterface(id, object);
      created->Release();
      return result;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    com::LockServer(lock != FALSE);
    return S_OK;
  }
};

ClassFactory factory;

}  // namespace
}  // namespace orvane::com

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    orvane::com::SetThisModule(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID class_id, REFIID id, LPVOID* object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (class_id != orvane::com::kClassId) return CLASS_E_CLASSNOTAVAILABLE;
  return orvane::com::factory.QueryInterface(id, object);
}

STDAPI DllCanUnloadNow() { return orvane::com::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return orvane::com::RegisterServer(); }

STDAPI DllUnregisterServer() { return orvane::com::UnregisterServer(); }

}  // extern "C"
