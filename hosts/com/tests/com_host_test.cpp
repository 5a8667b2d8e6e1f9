// A C++ host of Orvane.dll, run under Wine after regsvr32: it creates
// Orvane.Orvane2 by ProgID and calls every method through the vtable and
// through IDispatch::Invoke (by dispid and by name), and receives the events
// through a connection point.
//
// Usage: com_host_test bare|address-book|sample-book|mail-client WORK_FOLDER
//   bare:         neither the mail client nor kwab.dll is there
//   address-book: kwab.dll lies beside Orvane.dll
//   sample-book:  exports the address book into WORK_FOLDER\cards, logging to export.log there
//   mail-client:  the fake mail client is registered
// Prints one line per failed check and a last line "RESULT: PASS n" or "RESULT: FAIL n of m".

#include "hosts/com/orvane_interfaces.h"
#include "hosts/com/tests/com_host_checks.h"
#include "hosts/com/tests/event_recorder.h"

namespace orvane::com_test {
namespace {

using com::kDispidExport2;
using com::kDispidExportBreak;
using com::kDispidExportDone;
using com::kDispidExportItem2;
using com::kDispidExportProgress;
using com::kDispidGetItem;
using com::kDispidItemcount;

std::wstring work;  // the work folder, with a trailing "\"

_Orvane2* Create(const wchar_t* prog_id = com::kProgId) {
  CLSID class_id{};
  if (FAILED(CLSIDFromProgID(prog_id, &class_id))) return nullptr;
  _Orvane2* object = nullptr;
  if (FAILED(CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER, com::kInterfaceId,
                              reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return object;
}

short Count(_Orvane2* object, short type) {
  short count = 99;
  CHECK_EQ(object->itemcount(&type, &count), S_OK);
  return count;
}

long ExportItem(_Orvane2* object, short index, short type, std::wstring& filename) {
  Text name(filename.c_str());
  long result = -99;
  CHECK_EQ(object->ExportItem2(&index, &type, &name, &result), S_OK);
  filename = name.str();
  return result;
}

long Export(_Orvane2* object, const std::wstring& destination, short type,
            const std::wstring& log_name = L"", const std::wstring& log_path = L"") {
  Text folder(destination.c_str());
  Text stem(L"");
  Text log(log_name.c_str());
  Text log_folder(log_path.c_str());
  short mode = 0;
  long result = -99;
  CHECK_EQ(object->Export2(&folder, &stem, &type, &mode, &log, &log_folder, &result), S_OK);
  return result;
}

// ---- Invoke helpers

struct Arguments {
  std::vector<VARIANT> values;  // natural order
  ~Arguments() {
    for (VARIANT& value : values) VariantClear(&value);
  }
  Arguments& Short(short number) {
    VARIANT value;
    V_VT(&value) = VT_I2;
    V_I2(&value) = number;
    values.push_back(value);
    return *this;
  }
  Arguments& String(const wchar_t* text) {
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(text);
    values.push_back(value);
    return *this;
  }
  Arguments& Reference(VARIANT* variable) {
    VARIANT value;
    V_VT(&value) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&value) = variable;
    values.push_back(value);
    return *this;
  }
  Arguments& Raw(VARIANT value) {
    values.push_back(value);
    return *this;
  }
  Arguments& Missing() {
    VARIANT value;
    V_VT(&value) = VT_ERROR;
    V_ERROR(&value) = DISP_E_PARAMNOTFOUND;
    values.push_back(value);
    return *this;
  }
};

struct Outcome {
  HRESULT result;
  VARIANT value;
  UINT argument_error;
};

// `named` names the dispids of the last arguments given, in the order given.
Outcome Call(IDispatch* object, DISPID member, Arguments& arguments,
             std::vector<DISPID> named = {}, WORD flags = DISPATCH_METHOD) {
  std::vector<VARIANT> reversed(arguments.values.rbegin(), arguments.values.rend());
  // IDispatch wants the named ones first, in reverse too.
  std::vector<DISPID> named_reversed(named.rbegin(), named.rend());
  DISPPARAMS parameters{reversed.data(), named_reversed.empty() ? nullptr : named_reversed.data(),
                        static_cast<UINT>(reversed.size()), static_cast<UINT>(named.size())};
  Outcome outcome{};
  VariantInit(&outcome.value);
  outcome.argument_error = 999;
  EXCEPINFO exception{};
  outcome.result = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                  &outcome.value, &exception, &outcome.argument_error);
  return outcome;
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = 0;
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))
             ? id
             : DISPID_UNKNOWN;
}

// ---- checks common to both phases

void CheckCreationAndInterfaces() {
  for (const wchar_t* prog_id : {com::kProgId, com::kVersionedProgId}) {
    _Orvane2* object = Create(prog_id);
    CHECK(object != nullptr);
    if (object == nullptr) continue;
    IUnknown* found = nullptr;
    for (const IID& id : {IID_IDispatch, IID_IConnectionPointContainer, IID_IProvideClassInfo2,
                          IID_IProvideClassInfo}) {
      CHECK_EQ(object->QueryInterface(id, reinterpret_cast<void**>(&found)), S_OK);
      if (found) found->Release();
    }
    CHECK_EQ(object->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&found)),
             E_NOINTERFACE);
    object->Release();
  }
}

void CheckTypeInformation(_Orvane2* object) {
  UINT count = 0;
  CHECK_EQ(object->GetTypeInfoCount(&count), S_OK);
  CHECK_EQ(count, 1u);
  ITypeInfo* info = nullptr;
  CHECK_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  if (info == nullptr) return;
  // Export2 by name: its optional parameters carry their defaults.
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Export2")};
  MEMBERID member = 0;
  CHECK_EQ(info->GetIDsOfNames(names, 1, &member), S_OK);
  CHECK_EQ(member, kDispidExport2);
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  bool found_export2 = false;
  std::vector<MEMBERID> members;
  for (UINT i = 0; attributes != nullptr && i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    members.push_back(function->memid);
    if (function->memid == kDispidExport2) {
      found_export2 = true;
      const ELEMDESC* log_name = &function->lprgelemdescParam[4];
      const USHORT flags = log_name->paramdesc.wParamFlags;
      CHECK((flags & PARAMFLAG_FOPT) && (flags & PARAMFLAG_FHASDEFAULT));
      if ((flags & PARAMFLAG_FHASDEFAULT) && log_name->paramdesc.pparamdescex) {
        const VARIANT& fallback = log_name->paramdesc.pparamdescex->varDefaultValue;
        CHECK(V_VT(&fallback) == VT_BSTR && SysStringLen(V_BSTR(&fallback)) == 0);
      }
      CHECK_EQ(function->lprgelemdescParam[0].tdesc.vt, VT_PTR);
    }
    info->ReleaseFuncDesc(function);
  }
  CHECK(found_export2);
  // The dual interface's own slots: the five methods in order after IDispatch's seven.
  HREFTYPE dual_reference = 0;
  ITypeInfo* dual = nullptr;
  CHECK_EQ(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &dual_reference), S_OK);
  CHECK_EQ(info->GetRefTypeInfo(dual_reference, &dual), S_OK);
  if (dual != nullptr) {
    const DISPID order[] = {kDispidExportItem2, kDispidGetItem, kDispidItemcount, kDispidExport2,
                            kDispidExportBreak};
    for (UINT i = 0; i < 5; ++i) {
      FUNCDESC* function = nullptr;
      if (FAILED(dual->GetFuncDesc(i, &function))) {
        CHECK(false);
        continue;
      }
      CHECK(function->memid == order[i] && function->oVft == static_cast<SHORT>((7 + i) * 8) &&
            function->elemdescFunc.tdesc.vt == VT_HRESULT);
      dual->ReleaseFuncDesc(function);
    }
    dual->Release();
  }
  for (DISPID id : {kDispidExportItem2, kDispidGetItem, kDispidItemcount, kDispidExport2,
                    kDispidExportBreak}) {
    CHECK(std::find(members.begin(), members.end(), id) != members.end());
  }
  if (attributes) info->ReleaseTypeAttr(attributes);
  info->Release();

  IProvideClassInfo2* class_info = nullptr;
  object->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&class_info));
  if (class_info == nullptr) return;
  GUID events{};
  CHECK_EQ(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  CHECK(IsEqualGUID(events, com::kEventsId));
  ITypeInfo* coclass = nullptr;
  CHECK_EQ(class_info->GetClassInfo(&coclass), S_OK);
  if (coclass) {
    TYPEATTR* coclass_attributes = nullptr;
    coclass->GetTypeAttr(&coclass_attributes);
    CHECK(coclass_attributes && coclass_attributes->typekind == TKIND_COCLASS &&
          IsEqualGUID(coclass_attributes->guid, com::kClassId) &&
          coclass_attributes->cImplTypes == 2);
    if (coclass_attributes) coclass->ReleaseTypeAttr(coclass_attributes);
    // The event interface: the coclass's default source, two events with their dispids,
    // every parameter by value.
    INT flags = 0;
    HREFTYPE source_reference = 0;
    ITypeInfo* source = nullptr;
    CHECK_EQ(coclass->GetImplTypeFlags(1, &flags), S_OK);
    CHECK_EQ(flags, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
    if (SUCCEEDED(coclass->GetRefTypeOfImplType(1, &source_reference)) &&
        SUCCEEDED(coclass->GetRefTypeInfo(source_reference, &source))) {
      struct EventShape {
        DISPID id;
        std::vector<VARTYPE> parameters;
      };
      const EventShape events_expected[] = {{kDispidExportProgress, {VT_I2, VT_I2, VT_BSTR}},
                                            {kDispidExportDone, {VT_BSTR, VT_BSTR}}};
      // The dispinterface lists IDispatch's own members first.
      TYPEATTR* source_attributes = nullptr;
      source->GetTypeAttr(&source_attributes);
      const UINT members_count = source_attributes ? source_attributes->cFuncs : 0;
      if (source_attributes) source->ReleaseTypeAttr(source_attributes);
      for (const EventShape& expected : events_expected) {
        bool found = false;
        for (UINT i = 0; i < members_count && !found; ++i) {
          FUNCDESC* function = nullptr;
          if (FAILED(source->GetFuncDesc(i, &function))) continue;
          if (function->memid == expected.id) {
            found = function->funckind == FUNC_DISPATCH &&
                    static_cast<size_t>(function->cParams) == expected.parameters.size();
            for (SHORT p = 0; found && p < function->cParams; ++p) {
              found = function->lprgelemdescParam[p].tdesc.vt == expected.parameters[p] &&
                      (function->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FOUT) == 0;
            }
          }
          source->ReleaseFuncDesc(function);
        }
        CHECK(found);
      }
      source->Release();
    } else {
      CHECK(false);
    }
    coclass->Release();
  }
  class_info->Release();

  ITypeLib* library = nullptr;
  CHECK_EQ(LoadRegTypeLib(com::kLibraryId, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
  if (library) {
    ITypeInfo* record = nullptr;
    CHECK_EQ(library->GetTypeInfoOfGuid(com::kSystemTimeRecordId, &record), S_OK);
    if (record) {
      TYPEATTR* record_attributes = nullptr;
      record->GetTypeAttr(&record_attributes);
      CHECK(record_attributes && record_attributes->typekind == TKIND_RECORD &&
            record_attributes->cVars == 8 && record_attributes->cbSizeInstance == 16 &&
            record_attributes->cbAlignment == 2);
      if (record_attributes) record->ReleaseTypeAttr(record_attributes);
      record->Release();
    }
    BSTR name = nullptr;
    CHECK_EQ(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
    CHECK(name != nullptr && std::wstring(name) == L"Orvane");
    SysFreeString(name);
    library->Release();
  }
}

void CheckConnectionPoints(_Orvane2* object) {
  IConnectionPointContainer* container = nullptr;
  object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (container == nullptr) return CHECK(false);
  IConnectionPoint* point = nullptr;
  CHECK_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
  CHECK_EQ(container->FindConnectionPoint(com::kEventsId, &point), S_OK);
  IEnumConnectionPoints* points = nullptr;
  CHECK_EQ(container->EnumConnectionPoints(&points), S_OK);
  if (points) {
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    CHECK_EQ(points->Next(2, listed, &fetched), S_FALSE);
    CHECK_EQ(fetched, 1u);
    if (listed[0]) listed[0]->Release();
    points->Release();
  }
  container->Release();
  if (point == nullptr) return;

  // Two sinks hear the same run; after Unadvise only the other one does.
  EventRecorder first;
  EventRecorder second;
  DWORD first_cookie = 0;
  DWORD second_cookie = 0;
  CHECK_EQ(point->Advise(&first, &first_cookie), S_OK);
  CHECK_EQ(point->Advise(&second, &second_cookie), S_OK);
  CHECK(first_cookie != second_cookie);
  Export(object, work + L"two-sinks", 4);
  CHECK_EQ(first.events.size(), 2u);
  CHECK_EQ(second.events.size(), 2u);
  CHECK_EQ(point->Unadvise(first_cookie), S_OK);
  CHECK_EQ(point->Unadvise(first_cookie), CONNECT_E_NOCONNECTION);
  Export(object, work + L"two-sinks", 4);
  CHECK_EQ(first.events.size(), 2u);
  CHECK_EQ(second.events.size(), 4u);
  CHECK_EQ(point->Unadvise(second_cookie), S_OK);
  CHECK_EQ(first.references(), 0u);
  CHECK_EQ(second.references(), 0u);
  point->Release();
}

// An export of an unknown type still prepares the run, logs and reports.
void CheckExportWithLogAndEvents(_Orvane2* object) {
  EventRecorder sink;
  Connection connection(object, sink);
  CHECK(connection.connected());
  const std::wstring destination = work + L"unknown-type";
  const std::wstring logs = work + L"logs";
  CHECK_EQ(Export(object, destination, 4, L"run.log", logs), 0);
  CHECK(FolderExists(destination));
  CHECK_EQ(sink.events.size(), 2u);
  if (sink.events.size() == 2) {
    const Event& progress = sink.events[0];
    CHECK(progress.id == kDispidExportProgress && progress.total == 0 && progress.current == 0 &&
          progress.text.empty() && progress.by_value);
    const Event& done = sink.events[1];
    CHECK(done.id == kDispidExportDone && done.text.empty() && done.by_value);
    CHECK(done.log_file == logs + L"\\run.log");
  }
  const std::string log = ReadFileBytes(logs + L"\\run.log");
  CHECK(log.size() > 4 && log[0] == '[' && log.substr(log.size() - 2) == "\r\n");
}

void CheckPerThreadState() {
  _Orvane2* running = Create();
  _Orvane2* same_thread = Create();
  if (!running || !same_thread) return CHECK(false);
  EventRecorder sink;
  Connection connection(running, sink);
  long on_same_thread = -1;
  long on_other_thread = -1;
  sink.on_event = [&](const Event& event) {
    if (event.id != kDispidExportDone) return;
    std::wstring name;
    // The run is still active on this thread: another object here shares its state.
    on_same_thread = ExportItem(same_thread, 1, 4, name);
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* outcome) -> DWORD {
          CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
          if (_Orvane2* elsewhere = Create()) {
            std::wstring other_name;
            *static_cast<long*>(outcome) = ExportItem(elsewhere, 1, 4, other_name);
            elsewhere->Release();
          }
          CoUninitialize();
          return 0;
        },
        &on_other_thread, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  };
  Export(running, work + L"threads", 4);
  CHECK_EQ(on_same_thread, 10);
  CHECK_EQ(on_other_thread, 0);
  same_thread->Release();
  running->Release();
}

// A host that lets go of the object inside an event handler: the run still ends
// normally and the object goes when it has returned.
void CheckReleaseInsideEvent() {
  _Orvane2* object = Create();
  if (object == nullptr) return CHECK(false);
  EventRecorder sink;
  IConnectionPointContainer* container = nullptr;
  IConnectionPoint* point = nullptr;
  DWORD cookie = 0;
  object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (container) container->FindConnectionPoint(com::kEventsId, &point);
  if (point) point->Advise(&sink, &cookie);
  if (point) point->Release();
  if (container) container->Release();
  sink.on_event = [&](const Event& event) {
    if (event.id == kDispidExportProgress) object->Release();
  };
  CHECK_EQ(Export(object, work + L"released", 4), 0);
  CHECK_EQ(sink.events.size(), 2u);
  CHECK_EQ(sink.references(), 0u);
}

void CheckNullPointers(_Orvane2* object) {
  short type = 4;
  short index = 1;
  long result = 0;
  short count = 0;
  CHECK_EQ(object->itemcount(nullptr, &count), E_POINTER);
  CHECK_EQ(object->itemcount(&type, nullptr), E_POINTER);
  CHECK_EQ(object->ExportItem2(&index, &type, nullptr, &result), E_POINTER);
  CHECK_EQ(object->GetItem(&index, &type, nullptr, nullptr, &result), E_POINTER);
  CHECK_EQ(object->Export2(nullptr, nullptr, &type, nullptr, nullptr, nullptr, &result), E_POINTER);
  // The optional ones may be left out in the vtable too.
  Text destination((work + L"no-optionals").c_str());
  Text stem(L"");
  CHECK_EQ(object->Export2(&destination, &stem, &type, nullptr, nullptr, nullptr, &result), S_OK);
  CHECK_EQ(result, 0);
}

void CheckDispatch(_Orvane2* object) {
  struct NameCase {
    const wchar_t* name;
    DISPID id;
  };
  for (const NameCase& c : {NameCase{L"ExportItem2", kDispidExportItem2},
                            NameCase{L"getitem", kDispidGetItem},
                            NameCase{L"ITEMCOUNT", kDispidItemcount},
                            NameCase{L"Export2", kDispidExport2},
                            NameCase{L"ExportBreak", kDispidExportBreak},
                            NameCase{L"Export3", DISPID_UNKNOWN}}) {
    CHECK_EQ(IdOf(object, c.name), c.id);
  }
  LPOLESTR with_parameters[] = {const_cast<LPOLESTR>(L"Export2"), const_cast<LPOLESTR>(L"logname"),
                                const_cast<LPOLESTR>(L"Nothing")};
  DISPID ids[3] = {};
  CHECK_EQ(object->GetIDsOfNames(IID_NULL, with_parameters, 3, 0, ids), DISP_E_UNKNOWNNAME);
  CHECK(ids[0] == kDispidExport2 && ids[1] == 4 && ids[2] == DISPID_UNKNOWN);

  // itemcount: by value, as text, by reference to a variant.
  {
    Arguments a;
    a.Short(4);
    Outcome o = Call(object, kDispidItemcount, a);
    CHECK(o.result == S_OK && V_VT(&o.value) == VT_I2 && V_I2(&o.value) == 0);
  }
  {
    Arguments a;
    a.String(L"4");
    Outcome o = Call(object, IdOf(object, L"itemcount"), a, {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    CHECK(o.result == S_OK && V_VT(&o.value) == VT_I2 && V_I2(&o.value) == 0);
  }
  struct FailureCase {
    const char* what;
    DISPID member;
    std::vector<int> shape;  // per argument: 0 value 4, 1 text "abc", 2 missing, 3 null
                             // reference, 4 a 32-bit 100000
    WORD flags;
    HRESULT expected;
    UINT argument_error;  // 999: not set
  };
  const FailureCase failures[] = {
      {"no argument", kDispidItemcount, {}, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT, 999},
      {"two arguments", kDispidItemcount, {0, 0}, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT, 999},
      {"text for a number", kDispidItemcount, {1}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH, 0},
      {"second of three", kDispidExportItem2, {0, 1, 0}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH, 1},
      {"required left out", kDispidItemcount, {2}, DISPATCH_METHOD, DISP_E_PARAMNOTOPTIONAL, 0},
      {"null reference", kDispidItemcount, {3}, DISPATCH_METHOD, DISP_E_TYPEMISMATCH, 0},
      {"too large for 16 bits", kDispidGetItem, {4, 0, 0, 0}, DISPATCH_METHOD, DISP_E_OVERFLOW, 3},
      {"unknown member", 77, {0}, DISPATCH_METHOD, DISP_E_MEMBERNOTFOUND, 999},
      {"property put", kDispidItemcount, {0}, DISPATCH_PROPERTYPUT, DISP_E_MEMBERNOTFOUND, 999},
      {"seven for Export2", kDispidExport2, {0, 0, 0, 0, 0, 0, 0}, DISPATCH_METHOD,
       DISP_E_BADPARAMCOUNT, 999},
  };
  for (const FailureCase& c : failures) {
    Arguments a;
    for (int shape : c.shape) {
      if (shape == 0) a.Short(4);
      if (shape == 1) a.String(L"abc");
      if (shape == 2) a.Missing();
      if (shape == 4) {
        VARIANT large;
        V_VT(&large) = VT_I4;
        V_I4(&large) = 100000;
        a.Raw(large);
      }
      if (shape == 3) {
        VARIANT null_reference;
        V_VT(&null_reference) = VT_BYREF | VT_I2;
        V_I2REF(&null_reference) = nullptr;
        a.Raw(null_reference);
      }
    }
    Outcome o = Call(object, c.member, a, {}, c.flags);
    if (o.result != c.expected || o.argument_error != c.argument_error) {
      std::printf("  case: %s: 0x%08lX, argument %u\n", c.what, static_cast<unsigned long>(o.result),
                  o.argument_error);
    }
    CHECK_EQ(o.result, c.expected);
    CHECK_EQ(o.argument_error, c.argument_error);
  }
  {
    // A null object, an array and no place for the result or the failing argument.
    VARIANT nothing;
    V_VT(&nothing) = VT_DISPATCH;
    V_DISPATCH(&nothing) = nullptr;
    Arguments a;
    a.Raw(nothing);
    CHECK_EQ(Call(object, kDispidItemcount, a).result, DISP_E_TYPEMISMATCH);
    VARIANT list;
    V_VT(&list) = VT_ARRAY | VT_I2;
    V_ARRAY(&list) = SafeArrayCreateVector(VT_I2, 0, 2);
    Arguments b;
    b.Raw(list);
    CHECK_EQ(Call(object, kDispidItemcount, b).result, DISP_E_TYPEMISMATCH);
    DISPPARAMS parameters{b.values.data(), nullptr, 1, 0};
    CHECK_EQ(object->Invoke(kDispidItemcount, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr,
                            nullptr, nullptr),
             DISP_E_TYPEMISMATCH);
  }
  // Every method by the dispid its name gives.
  {
    Arguments a;
    a.Short(1).Short(4).String(L"");
    Outcome o = Call(object, IdOf(object, L"exportitem2"), a);
    CHECK(o.result == S_OK && V_I4(&o.value) == 0);
    Arguments b;
    b.String((work + L"by-name").c_str()).String(L"").Short(4);
    o = Call(object, IdOf(object, L"EXPORT2"), b);
    CHECK(o.result == S_OK && V_I4(&o.value) == 0 && FolderExists(work + L"by-name"));
    Arguments c;
    CHECK_EQ(Call(object, IdOf(object, L"exportbreak"), c).result, S_OK);
  }
  {
    // Null DISPPARAMS counts as no argument.
    VARIANT result;
    VariantInit(&result);
    CHECK_EQ(object->Invoke(kDispidItemcount, IID_NULL, 0, DISPATCH_METHOD, nullptr, &result,
                            nullptr, nullptr),
             DISP_E_BADPARAMCOUNT);
  }

  // ExportItem2: a script variable gets the target path back.
  {
    VARIANT filename;
    V_VT(&filename) = VT_BSTR;
    V_BSTR(&filename) = SysAllocString(L"item");
    Arguments a;
    a.Short(1).Short(4).Reference(&filename);
    Outcome o = Call(object, kDispidExportItem2, a);
    CHECK(o.result == S_OK && V_VT(&o.value) == VT_I4 && V_I4(&o.value) == 0);
    CHECK(V_VT(&filename) == VT_BSTR);
    const std::wstring path(V_BSTR(&filename), SysStringLen(V_BSTR(&filename)));
    CHECK(path.size() > 5 && path.substr(path.size() - 5) == L"\\item");
    VariantClear(&filename);
  }
  // GetItem of an unknown type: the variables stay exactly as they were (Empty and 7).
  {
    VARIANT title;
    VariantInit(&title);
    VARIANT modified;
    V_VT(&modified) = VT_I4;
    V_I4(&modified) = 7;
    Arguments a;
    a.Short(1).Short(4).Reference(&title).Reference(&modified);
    Outcome o = Call(object, kDispidGetItem, a);
    CHECK(o.result == S_OK && V_I4(&o.value) == 0);
    CHECK_EQ(V_VT(&title), VT_EMPTY);
    CHECK(V_VT(&modified) == VT_I4 && V_I4(&modified) == 7);
  }
  // Export2 with a skipped ExportMode and the log named, by value and by name.
  {
    const std::wstring destination = work + L"named";
    Arguments a;
    a.String(destination.c_str()).String(L"").Short(4).Missing().String(L"positional.log");
    Outcome o = Call(object, kDispidExport2, a);
    CHECK(o.result == S_OK && V_VT(&o.value) == VT_I4 && V_I4(&o.value) == 0);
    CHECK(FolderExists(destination));
  }
  {
    const std::wstring logs = work + L"named-logs";
    Arguments a;
    a.String((work + L"named").c_str()).String(L"").Short(4).String(logs.c_str()).String(L"named.log");
    Outcome o = Call(object, kDispidExport2, a, {5, 4});  // LogPath, then LogName
    CHECK(o.result == S_OK && V_I4(&o.value) == 0);
    CHECK(FileExists(logs + L"\\named.log"));
  }
  {
    Arguments a;
    a.Short(4).Short(4);
    Outcome o = Call(object, kDispidExport2, a, {2, 2});  // the same name twice
    CHECK_EQ(o.result, DISP_E_PARAMNOTFOUND);
  }
  {
    Arguments a;
    Outcome o = Call(object, kDispidExportBreak, a);
    CHECK(o.result == S_OK && V_VT(&o.value) == VT_EMPTY);
  }
}

void CheckUnloading() {
  HMODULE server = GetModuleHandleW(L"Orvane.dll");
  CHECK(server != nullptr);
  if (server == nullptr) return;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto can_unload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
  CHECK(can_unload != nullptr);
  if (can_unload == nullptr) return;
  CHECK_EQ(can_unload(), S_OK);
  _Orvane2* object = Create();
  CHECK_EQ(can_unload(), S_FALSE);
  if (object) object->Release();
  CHECK_EQ(can_unload(), S_OK);
  IClassFactory* factory = nullptr;
  CHECK_EQ(CoGetClassObject(com::kClassId, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                            reinterpret_cast<void**>(&factory)),
           S_OK);
  if (factory == nullptr) return;
  CHECK_EQ(factory->LockServer(TRUE), S_OK);
  CHECK_EQ(can_unload(), S_FALSE);
  factory->LockServer(FALSE);
  factory->Release();
  CHECK_EQ(can_unload(), S_OK);
}

// ---- phase: nothing to export from

void RunBare() {
  CheckCreationAndInterfaces();
  _Orvane2* object = Create();
  if (object == nullptr) return CHECK(false);
  struct CountCase {
    short type;
    short expected;
  };
  for (const CountCase& c : {CountCase{0, 0}, CountCase{4, 0}, CountCase{1, -1}, CountCase{2, -1},
                             CountCase{3, -1}}) {
    CHECK_EQ(Count(object, c.type), c.expected);
  }
  {
    short index = 1;
    short type = 4;
    Text title(L"sentinel");
    const BSTR passed = title.get();
    DATE modified = 123.5;
    long result = -1;
    CHECK_EQ(object->GetItem(&index, &type, &title, &modified, &result), S_OK);
    CHECK_EQ(result, 0);
    CHECK(title.get() == passed && title.str() == L"sentinel" && modified == 123.5);
  }
  struct ItemCase {
    short type;
    long expected;
  };
  for (const ItemCase& c : {ItemCase{4, 0}, ItemCase{1, 91}, ItemCase{2, 91}, ItemCase{3, 53}}) {
    std::wstring name;
    CHECK_EQ(ExportItem(object, 1, c.type, name), c.expected);
    if (c.type == 4) CHECK(name.empty());
  }
  // Sources that cannot be reached end the run with their error, reported by ExportDone.
  struct RunCase {
    short type;
    long expected;
    const wchar_t* done_text;
  };
  for (const RunCase& c : {RunCase{1, 91, L"Object variable or With block variable not set"},
                           RunCase{3, 53, L"File not found"}}) {
    EventRecorder sink;
    Connection connection(object, sink);
    CHECK_EQ(Export(object, work + L"unavailable", c.type, L"unavailable.log"), c.expected);
    CHECK(!sink.events.empty() && sink.events.back().id == kDispidExportDone &&
          sink.events.back().text == c.done_text);
  }
  CHECK_EQ(object->ExportBreak(), S_OK);
  CheckExportWithLogAndEvents(object);
  CheckTypeInformation(object);
  CheckConnectionPoints(object);
  CheckDispatch(object);
  CheckNullPointers(object);
  object->Release();
  CheckPerThreadState();
  CheckReleaseInsideEvent();
  CheckUnloading();
}

// ---- phase: the fake mail client and the test address book are there

void CheckAddressBook(_Orvane2* object) {
  CHECK_EQ(Count(object, 3), 2);
  {
    short index = 2;
    short type = 3;
    Text title(L"");
    DATE modified = 0;
    long result = -1;
    CHECK_EQ(object->GetItem(&index, &type, &title, &modified, &result), S_OK);
    CHECK_EQ(result, 0);
    CHECK(title.str() == L"Bruno Castellan");
    CHECK(modified > 44900 && modified < 45000);  // January 2023
  }
  // Typed references, as compiled hosts pass them, by name, and a double for the index.
  {
    BSTR title = SysAllocString(L"before");
    DATE modified = 0;
    VARIANT title_reference;
    V_VT(&title_reference) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&title_reference) = &title;
    VARIANT modified_reference;
    V_VT(&modified_reference) = VT_BYREF | VT_DATE;
    V_DATEREF(&modified_reference) = &modified;
    VARIANT index;
    V_VT(&index) = VT_R8;
    V_R8(&index) = 2.0;
    Arguments a;
    a.Raw(index).Short(3).Raw(title_reference).Raw(modified_reference);
    Outcome o = Call(object, IdOf(object, L"GetItem"), a);
    CHECK(o.result == S_OK && V_I4(&o.value) == 0);
    CHECK(title != nullptr && std::wstring(title) == L"Bruno Castellan");
    CHECK(modified > 44900 && modified < 45000);
    SysFreeString(title);
  }
  {
    std::wstring name = work + L"single";
    CHECK_EQ(ExportItem(object, 1, 3, name), 0);
    const std::string card = ReadFileBytes(name + L".vcf");
    CHECK(card.find("BEGIN:VCARD\r\n") == 0 && card.find("Amelia") != std::string::npos);
  }
  {
    std::wstring name;
    CHECK_EQ(ExportItem(object, 9, 3, name), 9);  // no such entry
  }
  // A whole export with log and events.
  {
    EventRecorder sink;
    Connection connection(object, sink);
    const std::wstring destination = work + L"address-book";
    CHECK_EQ(Export(object, destination, 3, L"book.log", work + L"logs"), 0);
    const std::vector<std::wstring> expected{L"ExpressvCard1.vcf", L"ExpressvCard2.vcf"};
    CHECK(FolderEntries(destination) == expected);
    CHECK(sink.events.size() >= 4 && sink.events.back().id == kDispidExportDone &&
          sink.events.back().text.empty());
    bool saw_names = false;
    for (const Event& event : sink.events) {
      if (event.id == kDispidExportProgress && event.text == L"Bruno Castellan" &&
          event.total == 2 && event.current == 2) {
        saw_names = true;
      }
    }
    CHECK(saw_names);
    const std::string log = ReadFileBytes(work + L"logs\\book.log");
    CHECK(log.find("Amelia Hartwell") != std::string::npos);
  }
  // A stop from the event handler: the first card is finished, no second one.
  {
    EventRecorder sink;
    Connection connection(object, sink);
    sink.on_event = [&](const Event& event) {
      if (event.id == kDispidExportProgress && event.current == 1) object->ExportBreak();
    };
    const std::wstring destination = work + L"stopped";
    CHECK_EQ(Export(object, destination, 3), 0);
    const std::vector<std::wstring> expected{L"ExpressvCard1.vcf"};
    CHECK(FolderEntries(destination) == expected);
    CHECK(!sink.events.empty() && sink.events.back().id == kDispidExportDone &&
          sink.events.back().text.empty());
  }
}

void CheckMailClient(_Orvane2* object) {
  CHECK_EQ(Count(object, 1), 3);
  CHECK_EQ(Count(object, 2), 2);
  {
    short index = 1;
    short type = 2;
    Text title(L"");
    DATE modified = 0;
    long result = -1;
    CHECK_EQ(object->GetItem(&index, &type, &title, &modified, &result), S_OK);
    CHECK_EQ(result, 0);
    CHECK(title.str() == L"Planning meeting");
    CHECK(modified > 45600 && modified < 45700);  // February 2025
  }
  {
    std::wstring name = work + L"one-contact";
    CHECK_EQ(ExportItem(object, 3, 1, name), 0);
    CHECK(ReadFileBytes(name + L".vcf").find("FN:Bruno Castellan") != std::string::npos);
  }
  struct RunCase {
    short type;
    std::vector<std::wstring> files;
  };
  // The distribution list and the recurring appointment are not exported.
  for (const RunCase& c :
       {RunCase{1, {L"OutlookvCard1.vcf", L"OutlookvCard2.vcf"}}, RunCase{2, {L"OutlookvCal1.vcs"}}}) {
    EventRecorder sink;
    Connection connection(object, sink);
    const std::wstring destination = work + (c.type == 1 ? L"mail-contacts" : L"mail-calendar");
    CHECK_EQ(Export(object, destination, c.type, L"mail.log", work + L"logs"), 0);
    CHECK(FolderEntries(destination) == c.files);
    CHECK(sink.events.size() >= 3 && sink.events.back().id == kDispidExportDone &&
          sink.events.back().text.empty());
  }
  const std::string card = ReadFileBytes(work + L"mail-contacts\\OutlookvCard2.vcf");
  CHECK(card.find("FN:Bruno Castellan") != std::string::npos);
}

}  // namespace
}  // namespace orvane::com_test

int wmain(int argc, wchar_t** argv) {
  using namespace orvane::com_test;
  if (argc != 3) {
    std::printf("usage: com_host_test bare|address-book|sample-book|mail-client WORK_FOLDER\n");
    return 2;
  }
  // Unbuffered, so that the lines before a crash are seen.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::wstring phase = argv[1];
  work = argv[2];
  if (work.back() != L'\\') work += L'\\';
  CreateDirectoryW(work.c_str(), nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (phase == L"bare") {
    RunBare();
  } else if (phase == L"sample-book") {
    _Orvane2* object = Create();
    CHECK(object != nullptr);
    if (object) {
      CHECK_EQ(Export(object, work + L"cards", 3, L"export.log", work), 0);
      object->Release();
    }
  } else if (phase == L"address-book" || phase == L"mail-client") {
    _Orvane2* object = Create();
    CHECK(object != nullptr);
    if (object) {
      phase == L"address-book" ? CheckAddressBook(object) : CheckMailClient(object);
      object->Release();
    }
  } else {
    std::printf("unknown phase\n");
    return 2;
  }
  CoUninitialize();
  if (failures == 0) {
    std::printf("RESULT: PASS %d\n", checks);
  } else {
    std::printf("RESULT: FAIL %d of %d\n", failures, checks);
  }
  return failures == 0 ? 0 : 1;
}
