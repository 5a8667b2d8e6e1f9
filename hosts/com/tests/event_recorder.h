#pragma once

// An event sink for __Orvane2 that records what it receives, and can act on
// an event (stop the run, call the component again) through a hook.

#include <functional>
#include <string>
#include <vector>

#include "hosts/com/orvane_interfaces.h"

namespace orvane::com_test {

struct Event {
  DISPID id;
  short total = 0;
  short current = 0;
  std::wstring text;      // ExportProgress: Text; ExportDone: Result
  std::wstring log_file;  // ExportDone only
  bool by_value = true;   // every argument arrived by value, with the right type
};

class EventRecorder final : public IDispatch {
 public:
  std::vector<Event> events;
  std::function<void(const Event&)> on_event;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IDispatch || id == com::kEventsId) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                   DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override {
    Event event{};
    event.id = member;
    event.by_value = flags == DISPATCH_METHOD && parameters->cNamedArgs == 0;
    VARIANT* arguments = parameters->rgvarg;  // last first
    if (member == com::kDispidExportProgress && parameters->cArgs == 3) {
      event.by_value = event.by_value && V_VT(&arguments[2]) == VT_I2 &&
                       V_VT(&arguments[1]) == VT_I2 && V_VT(&arguments[0]) == VT_BSTR;
      event.total = V_I2(&arguments[2]);
      event.current = V_I2(&arguments[1]);
      event.text = Wide(V_BSTR(&arguments[0]));
    } else if (member == com::kDispidExportDone && parameters->cArgs == 2) {
      event.by_value = event.by_value && V_VT(&arguments[1]) == VT_BSTR &&
                       V_VT(&arguments[0]) == VT_BSTR;
      event.text = Wide(V_BSTR(&arguments[1]));
      event.log_file = Wide(V_BSTR(&arguments[0]));
    } else {
      event.by_value = false;
    }
    events.push_back(event);
    if (on_event) on_event(event);
    return S_OK;
  }

  ULONG references() const { return references_; }

 private:
  static std::wstring Wide(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  }
  ULONG references_ = 0;
};

// Attaches a recorder to an object's event connection point for one scope.
class Connection {
 public:
  Connection(IUnknown* object, EventRecorder& sink) {
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer,
                                         reinterpret_cast<void**>(&container)))) {
      container->FindConnectionPoint(com::kEventsId, &point_);
      container->Release();
    }
    if (point_ != nullptr) advised_ = point_->Advise(&sink, &cookie_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() {
    if (point_ == nullptr) return;
    if (SUCCEEDED(advised_)) point_->Unadvise(cookie_);
    point_->Release();
  }
  bool connected() const { return point_ != nullptr && SUCCEEDED(advised_); }
  DWORD cookie() const { return cookie_; }

 private:
  IConnectionPoint* point_ = nullptr;
  HRESULT advised_ = E_FAIL;
  DWORD cookie_ = 0;
};

}  // namespace orvane::com_test
