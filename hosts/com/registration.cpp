#include "hosts/com/registration.h"

#include <string>
#include <vector>

#include "hosts/com/orvane_interfaces.h"
#include "hosts/com/server_state.h"

namespace orvane::com {
namespace {

constexpr wchar_t kClassName[] = L"Orvane2";

std::wstring TextOfGuid(const GUID& id) {
  wchar_t text[40] = {};
  StringFromGUID2(id, text, 40);
  return text;
}

struct RegistryValue {
  std::wstring key;        // under HKEY_CLASSES_ROOT
  std::wstring name;       // empty: the key's default value
  std::wstring data;
};

std::vector<RegistryValue> ServerValues(const std::wstring& module_path) {
  const std::wstring class_key = L"CLSID\\" + TextOfGuid(kClassId);
  return {
      {class_key, L"", kClassName},
      {class_key + L"\\InprocServer32", L"", module_path},
      {class_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {class_key + L"\\ProgID", L"", kVersionedProgId},
      {class_key + L"\\VersionIndependentProgID", L"", kProgId},
      {class_key + L"\\TypeLib", L"", TextOfGuid(kLibraryId)},
      {class_key + L"\\Version", L"", L"1.0"},
      {kProgId, L"", kClassName},
      {std::wstring(kProgId) + L"\\CLSID", L"", TextOfGuid(kClassId)},
      {std::wstring(kProgId) + L"\\CurVer", L"", kVersionedProgId},
      {kVersionedProgId, L"", kClassName},
      {std::wstring(kVersionedProgId) + L"\\CLSID", L"", TextOfGuid(kClassId)},
  };
}

// The top keys RegisterServer creates; each is removed with all below it.
std::vector<std::wstring> ServerKeys() {
  return {L"CLSID\\" + TextOfGuid(kClassId), kProgId, kVersionedProgId};
}

HRESULT WriteValue(const RegistryValue& value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  const auto bytes = static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t));
  status = RegSetValueExW(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.data.c_str()), bytes);
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteKeyTree(const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    const LSTATUS removed = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
    if (removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND) return S_OK;
    return HRESULT_FROM_WIN32(removed);
  }
  return HRESULT_FROM_WIN32(status);
}

}  // namespace

HRESULT RegisterServer() {
  const std::wstring path = ThisModulePath();
  if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
  const windows::ComPtr<ITypeLib> library = TypeLibrary();
  if (!library) return TYPE_E_CANTLOADLIBRARY;
  HRESULT result = S_OK;
  for (const RegistryValue& value : ServerValues(path)) {
    result = WriteValue(value);
    if (FAILED(result)) break;
  }
  if (SUCCEEDED(result)) {
    result = RegisterTypeLib(library.get(), const_cast<wchar_t*>(path.c_str()), nullptr);
  }
  if (FAILED(result)) UnregisterServer();
  return result;
}

HRESULT UnregisterServer() {
  HRESULT result = S_OK;
  const HRESULT library = UnRegisterTypeLib(kLibraryId, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
  if (FAILED(library) && library != TYPE_E_REGISTRYACCESS &&
      library != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) {
    result = library;
  }
  for (const std::wstring& key : ServerKeys()) {
    const HRESULT removed = DeleteKeyTree(key);
    if (FAILED(removed)) result = removed;
  }
  return result;
}

}  // namespace orvane::com
