// Writes the type library of Orvane.dll with ICreateTypeLib2. It runs under
// Wine at build time: the IDL compiler cannot give a by-reference text
// parameter its empty-text default, and it stamps a date into its output.
// Usage: orvane_typelib_builder OUTPUT.tlb

#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "hosts/com/orvane_interfaces.h"

namespace {

using namespace orvane::com;

// The word size of the DLL the library describes.
constexpr SYSKIND kSysKind = SYS_WIN64;
constexpr int kPointerSize = 8;
constexpr int kDispatchSlots = 7;  // IUnknown and IDispatch

void Check(HRESULT result, const char* step) {
  if (FAILED(result)) {
    std::fprintf(stderr, "orvane_typelib_builder: %s failed: 0x%08lX\n", step,
                 static_cast<unsigned long>(result));
    std::exit(1);
  }
}

// Types the descriptions point into; they outlive every AddFuncDesc call.
TYPEDESC kShort{{nullptr}, VT_I2};
TYPEDESC kLong{{nullptr}, VT_I4};
TYPEDESC kText{{nullptr}, VT_BSTR};
TYPEDESC kDate{{nullptr}, VT_DATE};

TYPEDESC PointerTo(TYPEDESC& type) {
  TYPEDESC pointer{};
  pointer.vt = VT_PTR;
  pointer.lptdesc = &type;
  return pointer;
}

struct Parameter {
  const wchar_t* name;
  TYPEDESC* type;
  USHORT flags;
  PARAMDESCEX* default_value;
};

struct Method {
  DISPID id;
  const wchar_t* name;
  std::vector<Parameter> parameters;
  TYPEDESC* result;  // the [out, retval] type; null for none
};

PARAMDESCEX* DefaultShortZero() {
  static PARAMDESCEX value = [] {
    PARAMDESCEX described{};
    described.cBytes = sizeof(PARAMDESCEX);
    return described;
  }();
  V_VT(&value.varDefaultValue) = VT_I2;
  V_I2(&value.varDefaultValue) = 0;
  return &value;
}

PARAMDESCEX* DefaultEmptyText() {
  static PARAMDESCEX value = [] {
    PARAMDESCEX described{};
    described.cBytes = sizeof(PARAMDESCEX);
    return described;
  }();
  V_VT(&value.varDefaultValue) = VT_BSTR;
  V_BSTR(&value.varDefaultValue) = SysAllocString(L"");
  return &value;
}

void AddFunction(ICreateTypeInfo* info, UINT index, FUNCKIND kind, const Method& method,
                 bool dispatch_only) {
  std::vector<ELEMDESC> parameters;
  std::vector<const wchar_t*> names{method.name};
  for (const Parameter& parameter : method.parameters) {
    ELEMDESC element{};
    element.tdesc = *parameter.type;
    element.paramdesc.wParamFlags = parameter.flags;
    if (parameter.default_value != nullptr) {
      element.paramdesc.wParamFlags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
      element.paramdesc.pparamdescex = parameter.default_value;
    }
    parameters.push_back(element);
    names.push_back(parameter.name);
  }
  TYPEDESC result_pointer{};
  if (method.result != nullptr) {
    result_pointer = PointerTo(*method.result);
    ELEMDESC result{};
    result.tdesc = result_pointer;
    result.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
    parameters.push_back(result);
  }
  FUNCDESC function{};
  function.memid = method.id;
  function.funckind = kind;
  function.invkind = INVOKE_FUNC;
  function.callconv = CC_STDCALL;
  function.cParams = static_cast<SHORT>(parameters.size());
  function.lprgelemdescParam = parameters.data();
  function.oVft = dispatch_only ? 0 : static_cast<SHORT>((kDispatchSlots + index) * kPointerSize);
  function.elemdescFunc.tdesc.vt = dispatch_only ? VT_VOID : VT_HRESULT;
  Check(info->AddFuncDesc(index, &function), "AddFuncDesc");
  Check(info->SetFuncAndParamNames(index, const_cast<LPOLESTR*>(names.data()),
                                   static_cast<UINT>(names.size())),
        "SetFuncAndParamNames");
}

ICreateTypeInfo* NewType(ICreateTypeLib2* library, const wchar_t* name, TYPEKIND kind,
                         const GUID& id, UINT flags) {
  ICreateTypeInfo* info = nullptr;
  Check(library->CreateTypeInfo(const_cast<LPOLESTR>(name), kind, &info), "CreateTypeInfo");
  Check(info->SetGuid(id), "SetGuid");
  if (flags != 0) Check(info->SetTypeFlags(flags), "SetTypeFlags");
  return info;
}

void ImplementInterface(ICreateTypeInfo* info, ITypeInfo* implemented, UINT index, INT flags) {
  HREFTYPE reference = 0;
  Check(info->AddRefTypeInfo(implemented, &reference), "AddRefTypeInfo");
  Check(info->AddImplType(index, reference), "AddImplType");
  if (flags != 0) Check(info->SetImplTypeFlags(index, flags), "SetImplTypeFlags");
}

void AddSystemTimeRecord(ICreateTypeLib2* library) {
  ICreateTypeInfo* record = NewType(library, L"SYSTEMTIME", TKIND_RECORD, kSystemTimeRecordId, 0);
  const wchar_t* fields[] = {L"wYear", L"wMonth",  L"wDayOfWeek", L"wDay",
                             L"wHour", L"wMinute", L"wSecond",    L"wMilliseconds"};
  for (UINT i = 0; i < 8; ++i) {
    VARDESC field{};
    field.memid = static_cast<MEMBERID>(0x40000000 + i);
    field.oInst = i * 2;
    field.elemdescVar.tdesc.vt = VT_I2;
    field.varkind = VAR_PERINSTANCE;
    Check(record->AddVarDesc(i, &field), "AddVarDesc");
    Check(record->SetVarName(i, const_cast<LPOLESTR>(fields[i])), "SetVarName");
  }
  Check(record->LayOut(), "LayOut SYSTEMTIME");
  record->Release();
}

// The layout of the SYSTEMTIME record, which ICreateTypeInfo has no call for
// and Wine's writer leaves at 0: written into the saved file. In that file the
// header (0x54 bytes, then 4 more when a help DLL is named) is followed by one
// offset per type and the segment directory, whose first entry locates the
// type descriptions, 0x64 bytes each: the kind (alignment in bits 11 to 15)
// first, the instance size at 0x50.
constexpr size_t kHeaderSize = 0x54;
constexpr uint32_t kHelpDllFlag = 0x100;
constexpr size_t kTypeDescriptionSize = 0x64;
constexpr size_t kInstanceSizeAt = 0x50;
constexpr int kRecordSize = 16;
constexpr int kRecordAlignment = 2;

int32_t ReadInt(const std::vector<unsigned char>& bytes, size_t at) {
  if (at + 4 > bytes.size()) Check(E_FAIL, "reading the saved type library");
  return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                              static_cast<uint32_t>(bytes[at + 3]) << 24);
}

void WriteInt(std::vector<unsigned char>& bytes, size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void SetRecordLayout(const wchar_t* path) {
  std::vector<unsigned char> bytes;
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) Check(E_FAIL, "opening the saved type library");
  unsigned char chunk[4096];
  for (size_t read; (read = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + read);
  }
  std::fclose(file);
  const auto flags = static_cast<uint32_t>(ReadInt(bytes, 0x14));
  const auto types = static_cast<size_t>(ReadInt(bytes, 0x20));
  const size_t directory = kHeaderSize + ((flags & kHelpDllFlag) ? 4 : 0) + types * 4;
  const auto descriptions = static_cast<size_t>(ReadInt(bytes, directory));
  int records = 0;
  for (size_t i = 0; i < types; ++i) {
    const size_t at = descriptions + i * kTypeDescriptionSize;
    const int32_t kind = ReadInt(bytes, at);
    if ((kind & 0xF) != TKIND_RECORD) continue;
    WriteInt(bytes, at, (kind & ~(0x1F << 11)) | (kRecordAlignment << 11));
    WriteInt(bytes, at + kInstanceSizeAt, kRecordSize);
    ++records;
  }
  if (records != 1) Check(E_FAIL, "finding the SYSTEMTIME record");
  file = _wfopen(path, L"wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    Check(E_FAIL, "writing the type library");
  }
  std::fclose(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvane_typelib_builder OUTPUT.tlb\n");
    return 2;
  }
  Check(CoInitialize(nullptr), "CoInitialize");
  ITypeLib* standard = nullptr;
  Check(LoadTypeLib(L"stdole2.tlb", &standard), "LoadTypeLib stdole2");
  ITypeInfo* dispatch = nullptr;
  Check(standard->GetTypeInfoOfGuid(IID_IDispatch, &dispatch), "IDispatch type");

  ICreateTypeLib2* library = nullptr;
  Check(CreateTypeLib2(kSysKind, argv[1], &library), "CreateTypeLib2");
  Check(library->SetGuid(kLibraryId), "SetGuid");
  Check(library->SetName(const_cast<LPOLESTR>(L"Orvane")), "SetName");
  Check(library->SetVersion(1, 0), "SetVersion");
  Check(library->SetLcid(LOCALE_NEUTRAL), "SetLcid");

  AddSystemTimeRecord(library);

  TYPEDESC short_ref = PointerTo(kShort);
  TYPEDESC text_ref = PointerTo(kText);
  TYPEDESC date_ref = PointerTo(kDate);
  constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
  const std::vector<Method> methods{
      {kDispidExportItem2, L"ExportItem2",
       {{L"ItemIdx", &short_ref, kInOut, nullptr},
        {L"ExportType", &short_ref, kInOut, nullptr},
        {L"filename", &text_ref, kInOut, nullptr}},
       &kLong},
      {kDispidGetItem, L"GetItem",
       {{L"ItemIdx", &short_ref, kInOut, nullptr},
        {L"ExportType", &short_ref, kInOut, nullptr},
        {L"Title", &text_ref, kInOut, nullptr},
        {L"ModifyTime", &date_ref, kInOut, nullptr}},
       &kLong},
      {kDispidItemcount, L"itemcount", {{L"ExportType", &short_ref, kInOut, nullptr}}, &kShort},
      {kDispidExport2, L"Export2",
       {{L"Destination", &text_ref, kInOut, nullptr},
        {L"Exportname", &text_ref, kInOut, nullptr},
        {L"ExportType", &short_ref, kInOut, nullptr},
        {L"ExportMode", &short_ref, kInOut, DefaultShortZero()},
        {L"LogName", &text_ref, kInOut, DefaultEmptyText()},
        {L"LogPath", &text_ref, kInOut, DefaultEmptyText()}},
       &kLong},
      {kDispidExportBreak, L"ExportBreak", {}, nullptr},
  };
  ICreateTypeInfo* dual = NewType(library, L"_Orvane2", TKIND_INTERFACE, kInterfaceId,
                                  TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                                      TYPEFLAG_FOLEAUTOMATION);
  ImplementInterface(dual, dispatch, 0, 0);
  for (UINT i = 0; i < methods.size(); ++i) AddFunction(dual, i, FUNC_PUREVIRTUAL, methods[i], false);
  Check(dual->LayOut(), "LayOut _Orvane2");

  const std::vector<Method> events{
      {kDispidExportProgress, L"ExportProgress",
       {{L"TotalCount", &kShort, PARAMFLAG_FIN, nullptr},
        {L"CurrentCount", &kShort, PARAMFLAG_FIN, nullptr},
        {L"Text", &kText, PARAMFLAG_FIN, nullptr}},
       nullptr},
      {kDispidExportDone, L"ExportDone",
       {{L"Result", &kText, PARAMFLAG_FIN, nullptr}, {L"LogFile", &kText, PARAMFLAG_FIN, nullptr}},
       nullptr},
  };
  ICreateTypeInfo* source = NewType(library, L"__Orvane2", TKIND_DISPATCH, kEventsId,
                                    TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE);
  ImplementInterface(source, dispatch, 0, 0);
  for (UINT i = 0; i < events.size(); ++i) AddFunction(source, i, FUNC_DISPATCH, events[i], true);
  Check(source->LayOut(), "LayOut __Orvane2");

  ITypeInfo* dual_info = nullptr;
  ITypeInfo* source_info = nullptr;
  Check(dual->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&dual_info)), "ITypeInfo");
  Check(source->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&source_info)), "ITypeInfo");
  ICreateTypeInfo* coclass = NewType(library, L"Orvane2", TKIND_COCLASS, kClassId,
                                     TYPEFLAG_FCANCREATE);
  ImplementInterface(coclass, dual_info, 0, IMPLTYPEFLAG_FDEFAULT);
  ImplementInterface(coclass, source_info, 1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
  Check(coclass->LayOut(), "LayOut Orvane2");

  Check(library->SaveAllChanges(), "SaveAllChanges");
  library->Release();
  library = nullptr;
  SetRecordLayout(argv[1]);
  coclass->Release();
  source_info->Release();
  dual_info->Release();
  source->Release();
  dual->Release();
  dispatch->Release();
  standard->Release();
  CoUninitialize();
  return 0;
}
