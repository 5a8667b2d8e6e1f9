#include "hosts/com/server_state.h"

#include <atomic>
#include <vector>

#include "hosts/assembly/standard_sources.h"
#include "platform/windows/windows_platform.h"

namespace orvane::com {
namespace {

HMODULE this_module = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};

}  // namespace

HMODULE ThisModule() { return this_module; }
void SetThisModule(HMODULE module) { this_module = module; }

std::wstring ThisModulePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(this_module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return std::wstring(path.data(), length);
    path.resize(path.size() * 2);
  }
}

Module& TheModule() {
  static Module module(windows::MakeWindowsPlatform(this_module), MakeStandardSources());
  return module;
}

windows::ComPtr<ITypeLib> TypeLibrary() {
  // Kept for the life of the process: releasing it while the DLL unloads
  // would call into the automation runtime under the loader lock.
  static ITypeLib* const library = [] {
    ITypeLib* loaded = nullptr;
    LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, &loaded);
    return loaded;
  }();
  return windows::ComPtr<ITypeLib>::AddingReference(library);
}

HRESULT TypeInfoOf(const GUID& id, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  const windows::ComPtr<ITypeLib> library = TypeLibrary();
  if (!library) return TYPE_E_CANTLOADLIBRARY;
  return library->GetTypeInfoOfGuid(id, info);
}

void ObjectCreated() { ++objects; }
void ObjectDestroyed() { --objects; }
void LockServer(bool lock) { lock ? ++locks : --locks; }
bool CanUnload() { return objects == 0 && locks == 0; }

}  // namespace orvane::com
