#include "hosts/com/orvane_object.h"

#include <new>

#include "hosts/com/server_state.h"

namespace orvane::com {
namespace {

using windows::BstrOf;
using windows::ComPtr;
using windows::TextOfBstr;

// Every entry point ends here: nothing thrown inside reaches the host.
template <typename Call>
HRESULT Guarded(Call call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// Replaces the caller's in/out text when the call changed it.
HRESULT HandBackText(BSTR* target, const std::u16string& before, const std::u16string& after) {
  if (after == before) return S_OK;
  BSTR text = BstrOf(after);
  if (text == nullptr) return E_OUTOFMEMORY;
  SysFreeString(*target);
  *target = text;
  return S_OK;
}

// Raises the events on one host sink through its IDispatch, arguments by value.
class DispatchSink final : public ExportEvents {
 public:
  explicit DispatchSink(ComPtr<IDispatch> sink) : sink_(std::move(sink)) {}

  void ExportProgress(int16_t TotalCount, int16_t CurrentCount,
                      const std::u16string& Text) override {
    VARIANT arguments[3];  // last first
    VariantInit(&arguments[0]);
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) = BstrOf(Text);
    V_VT(&arguments[1]) = VT_I2;
    V_I2(&arguments[1]) = CurrentCount;
    V_VT(&arguments[2]) = VT_I2;
    V_I2(&arguments[2]) = TotalCount;
    Raise(kDispidExportProgress, arguments, 3);
    VariantClear(&arguments[0]);
  }

  void ExportDone(const std::u16string& Result, const std::u16string& LogFile) override {
    VARIANT arguments[2];
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) = BstrOf(LogFile);
    V_VT(&arguments[1]) = VT_BSTR;
    V_BSTR(&arguments[1]) = BstrOf(Result);
    Raise(kDispidExportDone, arguments, 2);
    VariantClear(&arguments[0]);
    VariantClear(&arguments[1]);
  }

 private:
  void Raise(DISPID event, VARIANT* arguments, UINT count) {
    DISPPARAMS parameters{arguments, nullptr, count, 0};
    EXCEPINFO exception{};
    // What the handler answers is the host's business; the run goes on.
    sink_->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr,
                  &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }

  ComPtr<IDispatch> sink_;
};

// Hands out the one connection point.
class ConnectionPointEnumerator final : public IEnumConnectionPoints {
 public:
  ConnectionPointEnumerator(IConnectionPoint* point, ULONG position)
      : point_(ComPtr<IConnectionPoint>::AddingReference(point)), position_(position) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IEnumConnectionPoints) {
      *object = static_cast<IEnumConnectionPoints*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
    if (points == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG given = 0;
    if (count > 0 && position_ == 0) {
      points[0] = point_.get();
      points[0]->AddRef();
      given = 1;
      position_ = 1;
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (count == 0) return S_OK;
    const bool had_one = position_ == 0;
    position_ = 1;
    return had_one && count == 1 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override {
    if (copy == nullptr) return E_POINTER;
    *copy = new (std::nothrow) ConnectionPointEnumerator(point_.get(), position_);
    return *copy == nullptr ? E_OUTOFMEMORY : S_OK;
  }

 private:
  long references_ = 1;
  ComPtr<IConnectionPoint> point_;
  ULONG position_;
};

}  // namespace

// ---- EventConnectionPoint

HRESULT EventConnectionPoint::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (id == IID_IUnknown || id == IID_IConnectionPoint) {
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG EventConnectionPoint::AddRef() { return owner_.AddRef(); }
ULONG EventConnectionPoint::Release() { return owner_.Release(); }

HRESULT EventConnectionPoint::GetConnectionInterface(IID* id) {
  if (id == nullptr) return E_POINTER;
  *id = kEventsId;
  return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = &owner_;
  owner_.AddRef();
  return S_OK;
}

HRESULT EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  return owner_.AdviseSink(sink, cookie);
}

HRESULT EventConnectionPoint::Unadvise(DWORD cookie) { return owner_.UnadviseSink(cookie); }

HRESULT EventConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections != nullptr) *connections = nullptr;
  return E_NOTIMPL;
}

// ---- Orvane2Object

Orvane2Object::Orvane2Object() : core_(TheModule()), connection_point_(*this) { ObjectCreated(); }

Orvane2Object::~Orvane2Object() { ObjectDestroyed(); }

HRESULT Orvane2Object::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (id == IID_IUnknown || id == IID_IDispatch || id == kInterfaceId) {
    *object = static_cast<_Orvane2*>(this);
  } else if (id == IID_IConnectionPointContainer) {
    *object = static_cast<IConnectionPointContainer*>(this);
  } else if (id == IID_IProvideClassInfo || id == IID_IProvideClassInfo2) {
    *object = static_cast<IProvideClassInfo2*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG Orvane2Object::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG Orvane2Object::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT Orvane2Object::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT Orvane2Object::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return TypeInfoOf(kInterfaceId, info);
}

HRESULT Orvane2Object::GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (id != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const MethodDescription* method = names[0] == nullptr ? nullptr : MethodByName(names[0]);
  if (method == nullptr) return DISP_E_UNKNOWNNAME;
  ids[0] = method->id;
  HRESULT result = S_OK;
  for (UINT i = 1; i < count; ++i) {
    if (names[i] != nullptr) ids[i] = ParameterIdByName(*method, names[i]);
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

HRESULT Orvane2Object::Invoke(DISPID member, REFIID id, LCID, WORD flags, DISPPARAMS* parameters,
                              VARIANT* result, EXCEPINFO*, UINT* argument_error) {
  return Guarded([&]() -> HRESULT {
    if (id != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    const MethodDescription* method = MethodById(member);
    if (method == nullptr) return DISP_E_MEMBERNOTFOUND;
    if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    BoundArguments arguments;
    const HRESULT bound = arguments.Bind(*method, parameters ? *parameters : none, argument_error);
    if (FAILED(bound)) return bound;
    const ComPtr<IDispatch> keep_alive = ComPtr<IDispatch>::AddingReference(this);
    if (result != nullptr) VariantInit(result);
    const HRESULT called = InvokeMethod(*method, arguments, result);
    if (SUCCEEDED(called)) arguments.HandBack();
    return called;
  });
}

HRESULT Orvane2Object::InvokeMethod(const MethodDescription& method, BoundArguments& arguments,
                                    VARIANT* result) {
  auto set_long = [&](long value) {
    if (result == nullptr) return;
    V_VT(result) = VT_I4;
    V_I4(result) = value;
  };
  switch (method.id) {
    case kDispidExportItem2: {
      long outcome = 0;
      const HRESULT called = ExportItem2(&V_I2(&arguments[0]), &V_I2(&arguments[1]),
                                         &V_BSTR(&arguments[2]), &outcome);
      set_long(outcome);
      return called;
    }
    case kDispidGetItem: {
      long outcome = 0;
      const HRESULT called = GetItem(&V_I2(&arguments[0]), &V_I2(&arguments[1]),
                                     &V_BSTR(&arguments[2]), &V_DATE(&arguments[3]), &outcome);
      set_long(outcome);
      return called;
    }
    case kDispidItemcount: {
      short count = 0;
      const HRESULT called = itemcount(&V_I2(&arguments[0]), &count);
      if (result != nullptr) {
        V_VT(result) = VT_I2;
        V_I2(result) = count;
      }
      return called;
    }
    case kDispidExport2: {
      long outcome = 0;
      const HRESULT called =
          Export2(&V_BSTR(&arguments[0]), &V_BSTR(&arguments[1]), &V_I2(&arguments[2]),
                  &V_I2(&arguments[3]), &V_BSTR(&arguments[4]), &V_BSTR(&arguments[5]), &outcome);
      set_long(outcome);
      return called;
    }
    case kDispidExportBreak:
      return ExportBreak();
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT Orvane2Object::ExportItem2(short* ItemIdx, short* ExportType, BSTR* filename,
                                   long* result) {
  return Guarded([&]() -> HRESULT {
    if (!ItemIdx || !ExportType || !filename || !result) return E_POINTER;
    const ComPtr<IDispatch> keep_alive = ComPtr<IDispatch>::AddingReference(this);
    const std::u16string before = TextOfBstr(*filename);
    std::u16string target = before;
    *result = core_.ExportItem2(*ItemIdx, *ExportType, target);
    return HandBackText(filename, before, target);
  });
}

HRESULT Orvane2Object::GetItem(short* ItemIdx, short* ExportType, BSTR* Title, DATE* ModifyTime,
                               long* result) {
  return Guarded([&]() -> HRESULT {
    if (!ItemIdx || !ExportType || !Title || !ModifyTime || !result) return E_POINTER;
    const ComPtr<IDispatch> keep_alive = ComPtr<IDispatch>::AddingReference(this);
    const std::u16string before = TextOfBstr(*Title);
    std::u16string title = before;
    AutomationDate modified = *ModifyTime;
    *result = core_.GetItem(*ItemIdx, *ExportType, title, modified);
    *ModifyTime = modified;
    return HandBackText(Title, before, title);
  });
}

HRESULT Orvane2Object::itemcount(short* ExportType, short* result) {
  return Guarded([&]() -> HRESULT {
    if (!ExportType || !result) return E_POINTER;
    const ComPtr<IDispatch> keep_alive = ComPtr<IDispatch>::AddingReference(this);
    *result = core_.itemcount(*ExportType);
    return S_OK;
  });
}

HRESULT Orvane2Object::Export2(BSTR* Destination, BSTR* Exportname, short* ExportType,
                               short* ExportMode, BSTR* LogName, BSTR* LogPath, long* result) {
  return Guarded([&]() -> HRESULT {
    if (!Destination || !Exportname || !ExportType || !result) return E_POINTER;
    const ComPtr<IDispatch> keep_alive = ComPtr<IDispatch>::AddingReference(this);
    const std::optional<int16_t> mode =
        ExportMode ? std::optional<int16_t>(*ExportMode) : std::optional<int16_t>(int16_t{0});
    *result = core_.Export2(TextOfBstr(*Destination), TextOfBstr(*Exportname), *ExportType, mode,
                            LogName ? TextOfBstr(*LogName) : std::u16string(),
                            LogPath ? TextOfBstr(*LogPath) : std::u16string());
    return S_OK;
  });
}

HRESULT Orvane2Object::ExportBreak() {
  return Guarded([&]() -> HRESULT {
    core_.ExportBreak();
    return S_OK;
  });
}

HRESULT Orvane2Object::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points == nullptr) return E_POINTER;
  *points = new (std::nothrow) ConnectionPointEnumerator(&connection_point_, 0);
  return *points == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT Orvane2Object::FindConnectionPoint(REFIID id, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (id != kEventsId) return CONNECT_E_NOCONNECTION;
  *point = &connection_point_;
  connection_point_.AddRef();
  return S_OK;
}

HRESULT Orvane2Object::GetClassInfo(ITypeInfo** info) { return TypeInfoOf(kClassId, info); }

HRESULT Orvane2Object::GetGUID(DWORD kind, GUID* id) {
  if (id == nullptr) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *id = GUID_NULL;
    return E_INVALIDARG;
  }
  *id = kEventsId;
  return S_OK;
}

HRESULT Orvane2Object::AdviseSink(IUnknown* sink, DWORD* cookie) {
  return Guarded([&]() -> HRESULT {
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(kEventsId, reinterpret_cast<void**>(events.Put()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(events.Put())))) {
      return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = core_.Advise(std::make_shared<DispatchSink>(std::move(events)));
    cookies_.insert(*cookie);
    return S_OK;
  });
}

HRESULT Orvane2Object::UnadviseSink(DWORD cookie) {
  return Guarded([&]() -> HRESULT {
    if (cookies_.erase(cookie) == 0) return CONNECT_E_NOCONNECTION;
    core_.Unadvise(cookie);
    return S_OK;
  });
}

}  // namespace orvane::com
