#pragma once

#include "component/module.h"
#include "platform/windows/com_support.h"

namespace orvane::com {

// The DLL's own module handle, set when it is loaded.
HMODULE ThisModule();
void SetThisModule(HMODULE module);
std::wstring ThisModulePath();

// The component, assembled at first use from the Windows platform and the standard sources.
Module& TheModule();

// The type library embedded in the DLL; null when it cannot be loaded.
windows::ComPtr<ITypeLib> TypeLibrary();
// A type of that library by its identifier.
HRESULT TypeInfoOf(const GUID& id, ITypeInfo** info);

// Live objects and server locks: the DLL may unload when both are zero.
void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
bool CanUnload();

}  // namespace orvane::com
