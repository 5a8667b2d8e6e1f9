#pragma once

#include <set>

#include "component/orvane2.h"
#include "hosts/com/dispatch_arguments.h"
#include "hosts/com/orvane_interfaces.h"
#include "platform/windows/com_support.h"

namespace orvane::com {

class Orvane2Object;

// The object's one connection point, for __Orvane2. It lives inside its
// object and shares its reference count.
class EventConnectionPoint final : public IConnectionPoint {
 public:
  explicit EventConnectionPoint(Orvane2Object& owner) : owner_(owner) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* id) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  Orvane2Object& owner_;
};

// Orvane2 as a COM object: a thin layer over the component's class. No call
// lets an exception or a failure of the component reach the host.
class Orvane2Object final : public _Orvane2,
                            public IConnectionPointContainer,
                            public IProvideClassInfo2 {
 public:
  Orvane2Object();
  ~Orvane2Object();
  Orvane2Object(const Orvane2Object&) = delete;
  Orvane2Object& operator=(const Orvane2Object&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override;

  // _Orvane2
  HRESULT STDMETHODCALLTYPE ExportItem2(short* ItemIdx, short* ExportType, BSTR* filename,
                                        long* result) override;
  HRESULT STDMETHODCALLTYPE GetItem(short* ItemIdx, short* ExportType, BSTR* Title,
                                    DATE* ModifyTime, long* result) override;
  HRESULT STDMETHODCALLTYPE itemcount(short* ExportType, short* result) override;
  HRESULT STDMETHODCALLTYPE Export2(BSTR* Destination, BSTR* Exportname, short* ExportType,
                                    short* ExportMode, BSTR* LogName, BSTR* LogPath,
                                    long* result) override;
  HRESULT STDMETHODCALLTYPE ExportBreak() override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID id, IConnectionPoint** point) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* id) override;

  HRESULT AdviseSink(IUnknown* sink, DWORD* cookie);
  HRESULT UnadviseSink(DWORD cookie);

 private:
  HRESULT InvokeMethod(const MethodDescription& method, BoundArguments& arguments, VARIANT* result);

  LONG references_ = 1;
  Orvane2 core_;
  EventConnectionPoint connection_point_;
  std::set<DWORD> cookies_;
};

}  // namespace orvane::com
