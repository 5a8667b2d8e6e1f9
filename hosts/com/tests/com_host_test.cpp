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

#include <cstring>

namespace orvane::com_test {
namespace {

using namespace com;
using Files = std::vector<std::wstring>;

// The methods in the order of their slots in the dual interface.
const std::vector<DISPID> kMethods = {kDispidExportItem2, kDispidGetItem, kDispidItemcount,
                                      kDispidExport2, kDispidExportBreak};

std::wstring work;  // the work folder, with a trailing "\"

_Orvane2* Create(const wchar_t* prog_id = kProgId) {
  CLSID class_id{};
  _Orvane2* object = nullptr;
  if (FAILED(CLSIDFromProgID(prog_id, &class_id))) return nullptr;
  CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER, kInterfaceId,
                   reinterpret_cast<void**>(&object));
  return object;
}

// ---- the vtable methods, each call checked to answer S_OK

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

struct Item {
  long result = -99;
  std::wstring title;
  DATE modified = 123.5;
  bool same_text = false;  // the title's BSTR is the one passed in
};

// The title starts as "sentinel", the time as 123.5.
Item GetItem(_Orvane2* object, short index, short type) {
  Item item;
  Text title(L"sentinel");
  const BSTR passed = title.get();
  CHECK_EQ(object->GetItem(&index, &type, &title, &item.modified, &item.result), S_OK);
  item.title = title.str();
  item.same_text = title.get() == passed;
  return item;
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

// A whole run heard by a recorder: what Export2 gave back and the events.
struct Run {
  long result;
  std::vector<Event> events;
  // The last event is ExportDone with `text` as its result.
  bool DoneWith(const std::wstring& text) const {
    return !events.empty() && events.back().id == kDispidExportDone && events.back().text == text;
  }
};

Run Heard(_Orvane2* object, const std::wstring& destination, short type,
          const std::wstring& log_name = L"", const std::wstring& log_path = L"",
          std::function<void(const Event&)> on_event = nullptr) {
  EventRecorder sink;
  sink.on_event = std::move(on_event);
  Connection connection(object, sink);
  const long result = Export(object, destination, type, log_name, log_path);
  return {result, sink.events};
}

// ---- Invoke helpers

// A variant of `type` holding `value`: a number, a text, a pointer (a reference, an object,
// an array), null when left out. The members of its union all start at the same place.
template <class Value = int>
VARIANT Variant(VARTYPE type, Value value = 0) {
  static_assert(sizeof value <= sizeof(LONGLONG));
  VARIANT variant{};
  V_VT(&variant) = type;
  std::memcpy(&V_I8(&variant), &value, sizeof value);
  return variant;
}
VARIANT Short(short number) { return Variant(VT_I2, number); }
VARIANT String(const std::wstring& text) { return Variant(VT_BSTR, SysAllocString(text.c_str())); }
VARIANT Reference(VARIANT* variable) { return Variant(VT_BYREF | VT_VARIANT, variable); }
const VARIANT kMissing = Variant(VT_ERROR, DISP_E_PARAMNOTFOUND);

constexpr UINT kUnset = 999;  // an argument error Invoke left alone

struct Outcome {
  HRESULT result;
  VARIANT value;
  UINT argument_error;
};

// Invokes `member` with `arguments` in their natural order, the last of them named by
// `named` in the order given, and frees the arguments.
Outcome Call(IDispatch* object, DISPID member, std::vector<VARIANT> arguments,
             std::vector<DISPID> named = {}, WORD flags = DISPATCH_METHOD) {
  // IDispatch wants both last first.
  std::reverse(arguments.begin(), arguments.end());
  std::reverse(named.begin(), named.end());
  DISPPARAMS parameters{arguments.data(), named.empty() ? nullptr : named.data(),
                        static_cast<UINT>(arguments.size()), static_cast<UINT>(named.size())};
  Outcome outcome{S_OK, {}, kUnset};
  VariantInit(&outcome.value);
  EXCEPINFO exception{};
  outcome.result = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                  &outcome.value, &exception, &outcome.argument_error);
  for (VARIANT& argument : arguments) VariantClear(&argument);
  return outcome;
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = 0;
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))
             ? id
             : DISPID_UNKNOWN;
}

// ---- type information

// A copy of a type's attributes, all zero when they cannot be had.
TYPEATTR Attributes(ITypeInfo* info) {
  TYPEATTR copy{};
  TYPEATTR* attributes = nullptr;
  if (info && SUCCEEDED(info->GetTypeAttr(&attributes))) {
    copy = *attributes;
    info->ReleaseTypeAttr(attributes);
  }
  return copy;
}

// Calls `look` with the description of each function of `info` (none when null), in order.
template <class Look>
void ForEachFunction(ITypeInfo* info, Look look) {
  const UINT count = Attributes(info).cFuncs;
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    look(*function);
    info->ReleaseFuncDesc(function);
  }
}

void CheckTypeInformation(_Orvane2* object) {
  UINT count = 0;
  CHECK(object->GetTypeInfoCount(&count) == S_OK && count == 1);
  Owned<ITypeInfo> info;
  CHECK_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
  if (!info) return;
  LPOLESTR export2[] = {const_cast<LPOLESTR>(L"Export2")};
  MEMBERID member = 0;
  CHECK(info->GetIDsOfNames(export2, 1, &member) == S_OK && member == kDispidExport2);
  // Every method is there; Export2 takes its folder by reference and defaults its log
  // name to empty text.
  std::vector<DISPID> members;
  bool export2_described = false;
  ForEachFunction(info.get(), [&](const FUNCDESC& function) {
    members.push_back(function.memid);
    if (function.memid != kDispidExport2) return;
    const PARAMDESC& log_name = function.lprgelemdescParam[4].paramdesc;
    const USHORT flags = log_name.wParamFlags;
    const VARIANT* fallback = (flags & PARAMFLAG_FOPT) && (flags & PARAMFLAG_FHASDEFAULT) &&
                                      log_name.pparamdescex
                                  ? &log_name.pparamdescex->varDefaultValue
                                  : nullptr;
    export2_described = fallback && V_VT(fallback) == VT_BSTR &&
                        SysStringLen(V_BSTR(fallback)) == 0 &&
                        function.lprgelemdescParam[0].tdesc.vt == VT_PTR;
  });
  CHECK(export2_described);
  for (DISPID id : kMethods) CHECK(std::ranges::find(members, id) != members.end());
  // The dual interface's own slots: the five methods in order after IDispatch's seven.
  HREFTYPE dual_reference = 0;
  Owned<ITypeInfo> dual;
  CHECK(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &dual_reference) == S_OK &&
        info->GetRefTypeInfo(dual_reference, dual.put()) == S_OK);
  std::vector<DISPID> slots;
  ForEachFunction(dual.get(), [&](const FUNCDESC& function) {
    CHECK(function.oVft == static_cast<SHORT>((7 + slots.size()) * 8) &&
          function.elemdescFunc.tdesc.vt == VT_HRESULT);
    slots.push_back(function.memid);
  });
  CHECK(slots == kMethods);

  // The library's name and its SYSTEMTIME record.
  Owned<ITypeLib> library;
  CHECK_EQ(LoadRegTypeLib(kLibraryId, 1, 0, LOCALE_NEUTRAL, library.put()), S_OK);
  if (library) {
    BSTR name = nullptr;
    CHECK(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr) == S_OK && name &&
          std::wstring(name) == L"Orvane");
    SysFreeString(name);
    Owned<ITypeInfo> record;
    library->GetTypeInfoOfGuid(kSystemTimeRecordId, record.put());
    const TYPEATTR system_time = Attributes(record.get());
    CHECK(system_time.typekind == TKIND_RECORD && system_time.cVars == 8 &&
          system_time.cbSizeInstance == 16 && system_time.cbAlignment == 2);
  }

  Owned<IProvideClassInfo2> class_info;
  object->QueryInterface(IID_IProvideClassInfo2, class_info.put_void());
  if (!class_info) return CHECK(false);
  GUID events{};
  CHECK(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events) == S_OK &&
        IsEqualGUID(events, kEventsId));
  Owned<ITypeInfo> coclass;
  CHECK_EQ(class_info->GetClassInfo(coclass.put()), S_OK);
  if (!coclass) return;
  const TYPEATTR attributes = Attributes(coclass.get());
  CHECK(attributes.typekind == TKIND_COCLASS && IsEqualGUID(attributes.guid, kClassId) &&
        attributes.cImplTypes == 2);
  // The event interface: the coclass's default source, two events with their dispids,
  // every parameter by value.
  INT flags = 0;
  HREFTYPE source_reference = 0;
  Owned<ITypeInfo> source;
  CHECK(coclass->GetImplTypeFlags(1, &flags) == S_OK &&
        flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE));
  CHECK(coclass->GetRefTypeOfImplType(1, &source_reference) == S_OK &&
        coclass->GetRefTypeInfo(source_reference, source.put()) == S_OK);
  // Each dispatch member by dispid and parameter types, VT_ILLEGAL for one given back.
  using Shape = std::pair<DISPID, std::vector<VARTYPE>>;
  std::vector<Shape> shapes;
  ForEachFunction(source.get(), [&](const FUNCDESC& function) {
    if (function.funckind != FUNC_DISPATCH) return;
    Shape& shape = shapes.emplace_back(function.memid, std::vector<VARTYPE>{});
    for (SHORT p = 0; p < function.cParams; ++p) {
      const ELEMDESC& parameter = function.lprgelemdescParam[p];
      const bool given_back = parameter.paramdesc.wParamFlags & PARAMFLAG_FOUT;
      shape.second.push_back(given_back ? VARTYPE{VT_ILLEGAL} : parameter.tdesc.vt);
    }
  });
  for (const Shape& expected : {Shape{kDispidExportProgress, {VT_I2, VT_I2, VT_BSTR}},
                                Shape{kDispidExportDone, {VT_BSTR, VT_BSTR}}}) {
    CHECK(std::ranges::find(shapes, expected) != shapes.end());
  }
}

// ---- checks of the object with nothing to export from

void CheckCreationAndInterfaces() {
  for (const wchar_t* prog_id : {kProgId, kVersionedProgId}) {
    Owned<_Orvane2> object(Create(prog_id));
    CHECK(object.get() != nullptr);
    if (!object) continue;
    for (const auto& [id, expected] :
         {std::pair{IID_IDispatch, S_OK}, {IID_IConnectionPointContainer, S_OK},
          {IID_IProvideClassInfo2, S_OK}, {IID_IProvideClassInfo, S_OK},
          {IID_IPersist, E_NOINTERFACE}}) {
      Owned<IUnknown> found;
      CHECK_EQ(object->QueryInterface(id, found.put_void()), expected);
    }
  }
}

void CheckConnectionPoints(_Orvane2* object) {
  Owned<IConnectionPointContainer> container;
  object->QueryInterface(IID_IConnectionPointContainer, container.put_void());
  if (!container) return CHECK(false);
  Owned<IConnectionPoint> point;
  Owned<IConnectionPoint> unknown;
  CHECK_EQ(container->FindConnectionPoint(IID_IDispatch, unknown.put()), CONNECT_E_NOCONNECTION);
  CHECK_EQ(container->FindConnectionPoint(kEventsId, point.put()), S_OK);
  Owned<IEnumConnectionPoints> points;
  CHECK_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  if (points) {
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    CHECK(points->Next(2, listed, &fetched) == S_FALSE && fetched == 1);
    if (listed[0]) listed[0]->Release();
  }
  if (!point) return;

  // Two sinks hear the same run; after Unadvise only the other one does.
  EventRecorder first;
  EventRecorder second;
  DWORD first_cookie = 0;
  DWORD second_cookie = 0;
  CHECK(point->Advise(&first, &first_cookie) == S_OK &&
        point->Advise(&second, &second_cookie) == S_OK && first_cookie != second_cookie);
  Export(object, work + L"two-sinks", 4);
  CHECK(first.events.size() == 2 && second.events.size() == 2);
  CHECK_EQ(point->Unadvise(first_cookie), S_OK);
  CHECK_EQ(point->Unadvise(first_cookie), CONNECT_E_NOCONNECTION);
  Export(object, work + L"two-sinks", 4);
  CHECK(first.events.size() == 2 && second.events.size() == 4);
  CHECK_EQ(point->Unadvise(second_cookie), S_OK);
  CHECK(first.references() == 0 && second.references() == 0);
}

// An export of an unknown type still prepares the run, logs and reports.
void CheckExportWithLogAndEvents(_Orvane2* object) {
  const std::wstring destination = work + L"unknown-type";
  const std::wstring logs = work + L"logs";
  const Run run = Heard(object, destination, 4, L"run.log", logs);
  CHECK(run.result == 0 && FolderExists(destination));
  CHECK_EQ(run.events.size(), 2u);
  if (run.events.size() == 2) {
    const Event& progress = run.events[0];
    CHECK(progress.id == kDispidExportProgress && progress.total == 0 && progress.current == 0 &&
          progress.text.empty() && progress.by_value);
    const Event& done = run.events[1];
    CHECK(done.id == kDispidExportDone && done.text.empty() && done.by_value &&
          done.log_file == logs + L"\\run.log");
  }
  const std::string log = ReadFileBytes(logs + L"\\run.log");
  CHECK(log.size() > 4 && log[0] == '[' && log.ends_with("\r\n"));
}

void CheckPerThreadState() {
  Owned<_Orvane2> running(Create());
  Owned<_Orvane2> same_thread(Create());
  if (!running || !same_thread) return CHECK(false);
  long on_same_thread = -1;
  long on_other_thread = -1;
  Heard(running.get(), work + L"threads", 4, L"", L"", [&](const Event& event) {
    if (event.id != kDispidExportDone) return;
    std::wstring name;
    // The run is still active on this thread: another object here shares its state.
    on_same_thread = ExportItem(same_thread.get(), 1, 4, name);
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
  });
  CHECK_EQ(on_same_thread, 10);
  CHECK_EQ(on_other_thread, 0);
}

// A host that lets go of the object inside an event handler: the run still ends
// normally and the object goes when it has returned.
void CheckReleaseInsideEvent() {
  _Orvane2* object = Create();
  if (object == nullptr) return CHECK(false);
  EventRecorder sink;
  sink.on_event = [&](const Event& event) {
    if (event.id == kDispidExportProgress) object->Release();
  };
  {
    // Advised without a Connection, which would keep the object.
    Owned<IConnectionPointContainer> container;
    Owned<IConnectionPoint> point;
    DWORD cookie = 0;
    object->QueryInterface(IID_IConnectionPointContainer, container.put_void());
    if (container) container->FindConnectionPoint(kEventsId, point.put());
    if (point) point->Advise(&sink, &cookie);
  }
  CHECK_EQ(Export(object, work + L"released", 4), 0);
  CHECK(sink.events.size() == 2 && sink.references() == 0);
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
  CHECK(object->Export2(&destination, &stem, &type, nullptr, nullptr, nullptr, &result) == S_OK &&
        result == 0);
}

void CheckDispatch(_Orvane2* object) {
  const std::pair<const wchar_t*, DISPID> names[] = {
      {L"ExportItem2", kDispidExportItem2}, {L"getitem", kDispidGetItem},
      {L"ITEMCOUNT", kDispidItemcount},     {L"Export2", kDispidExport2},
      {L"ExportBreak", kDispidExportBreak}, {L"Export3", DISPID_UNKNOWN}};
  for (const auto& [name, id] : names) CHECK_EQ(IdOf(object, name), id);
  LPOLESTR with_parameters[] = {const_cast<LPOLESTR>(L"Export2"), const_cast<LPOLESTR>(L"logname"),
                                const_cast<LPOLESTR>(L"Nothing")};
  DISPID ids[3] = {};
  CHECK_EQ(object->GetIDsOfNames(IID_NULL, with_parameters, 3, 0, ids), DISP_E_UNKNOWNNAME);
  CHECK(ids[0] == kDispidExport2 && ids[1] == 4 && ids[2] == DISPID_UNKNOWN);

  // Variables a script passes by reference.
  VARIANT filename = String(L"item");
  VARIANT title = Variant(VT_EMPTY);
  VARIANT modified = Variant(VT_I4, 7L);
  const std::wstring logs = work + L"named-logs";
  // Each call gives back a value of `type` (a number: 0) or fails, naming the argument at fault.
  struct InvokeCase {
    const char* what;
    DISPID member;
    std::vector<VARIANT> arguments;
    HRESULT result;
    VARTYPE type = VT_EMPTY;
    UINT argument_error = kUnset;
    std::vector<DISPID> named = {};
    WORD flags = DISPATCH_METHOD;
  };
  const VARIANT four = Short(4);
  InvokeCase cases[] = {
      {"itemcount by value", kDispidItemcount, {four}, S_OK, VT_I2},
      {"itemcount as text, called as a property too", IdOf(object, L"itemcount"), {String(L"4")},
       S_OK, VT_I2, kUnset, {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET},
      {"exportitem2 by its name", IdOf(object, L"exportitem2"), {Short(1), four, String(L"")},
       S_OK, VT_I4},
      {"ExportItem2 into a variable", kDispidExportItem2, {Short(1), four, Reference(&filename)},
       S_OK, VT_I4},
      {"GetItem of an unknown type into variables", kDispidGetItem,
       {Short(1), four, Reference(&title), Reference(&modified)}, S_OK, VT_I4},
      {"EXPORT2 by its name, the optional ones left out", IdOf(object, L"EXPORT2"),
       {String(work + L"by-name"), String(L""), four}, S_OK, VT_I4},
      {"Export2 with ExportMode skipped", kDispidExport2,
       {String(work + L"skipped-mode"), String(L""), four, kMissing, String(L"positional.log")},
       S_OK, VT_I4},
      {"Export2 with LogPath and LogName named", kDispidExport2,
       {String(work + L"named"), String(L""), four, String(logs), String(L"named.log")}, S_OK,
       VT_I4, kUnset, {5, 4}},
      {"exportbreak by its name", IdOf(object, L"exportbreak"), {}, S_OK},
      {"no argument", kDispidItemcount, {}, DISP_E_BADPARAMCOUNT},
      {"two arguments", kDispidItemcount, {four, four}, DISP_E_BADPARAMCOUNT},
      {"seven for Export2", kDispidExport2, std::vector<VARIANT>(7, four), DISP_E_BADPARAMCOUNT},
      {"text for a number", kDispidItemcount, {String(L"abc")}, DISP_E_TYPEMISMATCH, VT_EMPTY, 0},
      {"second of three", kDispidExportItem2, {four, String(L"abc"), four}, DISP_E_TYPEMISMATCH,
       VT_EMPTY, 1},
      {"null reference", kDispidItemcount, {Variant(VT_BYREF | VT_I2)}, DISP_E_TYPEMISMATCH,
       VT_EMPTY, 0},
      {"null object", kDispidItemcount, {Variant(VT_DISPATCH)}, DISP_E_TYPEMISMATCH, VT_EMPTY, 0},
      {"an array", kDispidItemcount,
       {Variant(VT_ARRAY | VT_I2, SafeArrayCreateVector(VT_I2, 0, 2))}, DISP_E_TYPEMISMATCH,
       VT_EMPTY, 0},
      {"required left out", kDispidItemcount, {kMissing}, DISP_E_PARAMNOTOPTIONAL, VT_EMPTY, 0},
      {"too large for 16 bits", kDispidGetItem, {Variant(VT_I4, 100000L), four, four, four},
       DISP_E_OVERFLOW, VT_EMPTY, 3},
      {"the same name twice", kDispidExport2, {four, four}, DISP_E_PARAMNOTFOUND, VT_EMPTY, 1,
       {2, 2}},
      {"unknown member", 77, {four}, DISP_E_MEMBERNOTFOUND},
      {"property put", kDispidItemcount, {four}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, kUnset, {},
       DISPATCH_PROPERTYPUT},
  };
  for (InvokeCase& c : cases) {
    Outcome o = Call(object, c.member, std::move(c.arguments), c.named, c.flags);
    const VARTYPE type = V_VT(&o.value);
    const long value = type == VT_I2 ? V_I2(&o.value) : type == VT_I4 ? V_I4(&o.value) : 0;
    const bool expected = o.result == c.result && type == c.type && value == 0 &&
                          o.argument_error == c.argument_error;
    if (!expected) {
      std::printf("  case: %s: 0x%08lX, type %u, value %ld, argument %u\n", c.what,
                  static_cast<unsigned long>(o.result), type, value, o.argument_error);
    }
    CHECK(expected);
  }
  // ExportItem2 gave the target path back; GetItem left its variables as they were.
  const std::wstring path = V_VT(&filename) == VT_BSTR ? V_BSTR(&filename) : L"";
  CHECK(path.size() > 5 && path.ends_with(L"\\item"));
  CHECK(V_VT(&title) == VT_EMPTY && V_VT(&modified) == VT_I4 && V_I4(&modified) == 7);
  VariantClear(&filename);
  CHECK(FolderExists(work + L"by-name") && FolderExists(work + L"skipped-mode"));
  CHECK(FileExists(logs + L"\\named.log"));

  // No place for the result or the failing argument; no DISPPARAMS, which is no argument.
  VARIANT list = Variant(VT_ARRAY | VT_I2, SafeArrayCreateVector(VT_I2, 0, 2));
  DISPPARAMS one{&list, nullptr, 1, 0};
  CHECK_EQ(object->Invoke(kDispidItemcount, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr,
                          nullptr),
           DISP_E_TYPEMISMATCH);
  VariantClear(&list);
  VARIANT result = Variant(VT_EMPTY);
  CHECK_EQ(object->Invoke(kDispidItemcount, IID_NULL, 0, DISPATCH_METHOD, nullptr, &result,
                          nullptr, nullptr),
           DISP_E_BADPARAMCOUNT);
}

void CheckUnloading() {
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  HMODULE server = GetModuleHandleW(L"Orvane.dll");
  const auto can_unload = server ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(
                                       GetProcAddress(server, "DllCanUnloadNow")))
                                 : nullptr;
  CHECK(can_unload != nullptr);
  if (can_unload == nullptr) return;
  CHECK_EQ(can_unload(), S_OK);
  Owned<_Orvane2> object(Create());
  CHECK_EQ(can_unload(), S_FALSE);
  object.reset();
  CHECK_EQ(can_unload(), S_OK);
  Owned<IClassFactory> factory;
  CHECK_EQ(CoGetClassObject(kClassId, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                            factory.put_void()),
           S_OK);
  if (!factory) return;
  CHECK_EQ(factory->LockServer(TRUE), S_OK);
  CHECK_EQ(can_unload(), S_FALSE);
  factory->LockServer(FALSE);
  factory.reset();
  CHECK_EQ(can_unload(), S_OK);
}

void RunBare() {
  CheckCreationAndInterfaces();
  _Orvane2* object = Create();
  if (object == nullptr) return CHECK(false);
  // An unknown type has nothing; the sources that cannot be reached fail with their
  // error, and a whole run of them ends with it, reported by ExportDone.
  struct TypeCase {
    short type;
    short count;
    long result;
    const wchar_t* done;  // nullptr: no run tried
  };
  for (const TypeCase& c :
       {TypeCase{0, 0, 0, nullptr}, TypeCase{4, 0, 0, nullptr},
        TypeCase{1, -1, 91, L"Object variable or With block variable not set"},
        TypeCase{2, -1, 91, L"Object variable or With block variable not set"},
        TypeCase{3, -1, 53, L"File not found"}}) {
    CHECK_EQ(Count(object, c.type), c.count);
    std::wstring name;
    CHECK_EQ(ExportItem(object, 1, c.type, name), c.result);
    if (c.result == 0) CHECK(name.empty());
    if (c.done == nullptr) continue;
    const Run run = Heard(object, work + L"unavailable", c.type, L"unavailable.log");
    CHECK(run.result == c.result && run.DoneWith(c.done));
  }
  // GetItem of an unknown type leaves the title, its very BSTR, and the time alone.
  const Item unknown = GetItem(object, 1, 4);
  CHECK(unknown.result == 0 && unknown.same_text && unknown.title == L"sentinel" &&
        unknown.modified == 123.5);
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

// ---- the test address book through kwab.dll, and the fake mail client

void CheckAddressBook(_Orvane2* object) {
  CHECK_EQ(Count(object, 3), 2);
  const Item second = GetItem(object, 2, 3);
  CHECK(second.result == 0 && second.title == L"Bruno Castellan");
  CHECK(second.modified > 44900 && second.modified < 45000);  // January 2023
  // Typed references, as compiled hosts pass them, by name, and a double for the index.
  BSTR title = SysAllocString(L"before");
  DATE modified = 0;
  const Outcome o = Call(object, IdOf(object, L"GetItem"),
                         {Variant(VT_R8, 2.0), Short(3), Variant(VT_BYREF | VT_BSTR, &title),
                          Variant(VT_BYREF | VT_DATE, &modified)});
  CHECK(o.result == S_OK && V_I4(&o.value) == 0);
  CHECK(title != nullptr && std::wstring(title) == L"Bruno Castellan" && modified > 44900 &&
        modified < 45000);
  SysFreeString(title);
  std::wstring single = work + L"single";
  CHECK_EQ(ExportItem(object, 1, 3, single), 0);
  const std::string card = ReadFileBytes(single + L".vcf");
  CHECK(card.starts_with("BEGIN:VCARD\r\n") && card.find("Amelia") != std::string::npos);
  std::wstring none;
  CHECK_EQ(ExportItem(object, 9, 3, none), 9);  // no such entry

  // A whole export with log and events.
  const std::wstring destination = work + L"address-book";
  const Run run = Heard(object, destination, 3, L"book.log", work + L"logs");
  CHECK(run.result == 0 && run.events.size() >= 4 && run.DoneWith(L""));
  CHECK(FolderEntries(destination) == (Files{L"ExpressvCard1.vcf", L"ExpressvCard2.vcf"}));
  CHECK(std::ranges::any_of(run.events, [](const Event& event) {
    return event.id == kDispidExportProgress && event.text == L"Bruno Castellan" &&
           event.total == 2 && event.current == 2;
  }));
  CHECK(ReadFileBytes(work + L"logs\\book.log").find("Amelia Hartwell") != std::string::npos);
  // A stop from the event handler: the first card is finished, no second one.
  const Run stopped = Heard(object, work + L"stopped", 3, L"", L"", [&](const Event& event) {
    if (event.id == kDispidExportProgress && event.current == 1) object->ExportBreak();
  });
  CHECK(stopped.result == 0 && stopped.DoneWith(L""));
  CHECK(FolderEntries(work + L"stopped") == Files{L"ExpressvCard1.vcf"});
}

void CheckMailClient(_Orvane2* object) {
  CHECK_EQ(Count(object, 1), 3);
  CHECK_EQ(Count(object, 2), 2);
  const Item first = GetItem(object, 1, 2);
  CHECK(first.result == 0 && first.title == L"Planning meeting");
  CHECK(first.modified > 45600 && first.modified < 45700);  // February 2025
  std::wstring one = work + L"one-contact";
  CHECK_EQ(ExportItem(object, 3, 1, one), 0);
  CHECK(ReadFileBytes(one + L".vcf").find("FN:Bruno Castellan") != std::string::npos);
  // The distribution list and the recurring appointment are not exported.
  const std::pair<short, Files> runs[] = {{1, {L"OutlookvCard1.vcf", L"OutlookvCard2.vcf"}},
                                          {2, {L"OutlookvCal1.vcs"}}};
  for (const auto& [type, files] : runs) {
    const std::wstring destination = work + (type == 1 ? L"mail-contacts" : L"mail-calendar");
    const Run run = Heard(object, destination, type, L"mail.log", work + L"logs");
    CHECK(run.result == 0 && run.events.size() >= 3 && run.DoneWith(L""));
    CHECK(FolderEntries(destination) == files);
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
  } else if (phase == L"sample-book" || phase == L"address-book" || phase == L"mail-client") {
    Owned<_Orvane2> object(Create());
    CHECK(object.get() != nullptr);
    if (object && phase == L"sample-book") {
      CHECK_EQ(Export(object.get(), work + L"cards", 3, L"export.log", work), 0);
    }
    if (object && phase == L"address-book") CheckAddressBook(object.get());
    if (object && phase == L"mail-client") CheckMailClient(object.get());
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
