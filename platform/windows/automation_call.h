#pragma once

#include "platform/windows/windows_headers.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/automation_value.h"
#include "platform/error.h"
#include "platform/windows/com_support.h"

namespace orvane::windows {

// How a failure code becomes an orvane::Error: the file and folder operations
// take their numbers from FileErrorNumber, everything else from the general rules.
enum class FailureKind { kGeneral, kFile, kFolder };

// The orvane::Error for a failed automation call. `exception` is the excepinfo
// the callee filled (for DISP_E_EXCEPTION), or null.
Error ErrorOfFailure(HRESULT result, const EXCEPINFO* exception, FailureKind kind);
[[noreturn]] void ThrowForFailure(HRESULT result, const EXCEPINFO* exception, FailureKind kind);

// The one conversion between automation values and VARIANTs.
AutomationValue ValueOfVariant(const VARIANT& variant);
void SetVariantOfValue(const AutomationValue& value, VARIANT* variant);

// An argument of a late-bound call: a value, or an optional argument left out.
struct Argument {
  AutomationValue value;
  bool omitted = false;
  static Argument Omitted() { return Argument{{}, true}; }
};

// Calls member `name` of `object` through IDispatch (GetIDsOfNames, then
// Invoke), arguments in their natural order; failures throw orvane::Error.
// A member the object lacks is error 438.
void InvokeByName(IDispatch* object, std::u16string_view name, WORD flags,
                  const std::vector<Argument>& arguments, VARIANT* result, FailureKind kind);
// The same by a known dispatch id.
void InvokeById(IDispatch* object, DISPID id, WORD flags, const std::vector<Argument>& arguments,
                VARIANT* result, FailureKind kind);

// Property or method results taken as an object.
ComPtr<IDispatch> DispatchOfVariant(const VARIANT& variant);

// Creates an object by ProgID or class identifier text; failure is error 429.
ComPtr<IDispatch> CreateDispatchObject(const CLSID& class_id);
ComPtr<IDispatch> CreateDispatchObject(const wchar_t* prog_id);

}  // namespace orvane::windows
