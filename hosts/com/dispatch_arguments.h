#pragma once

#include <string_view>
#include <vector>

#include "platform/windows/windows_headers.h"

namespace orvane::com {

// One parameter of a method as IDispatch::Invoke takes it.
struct ParameterDescription {
  const wchar_t* name;
  VARTYPE type;        // what the method works with: VT_I2, VT_BSTR or VT_DATE
  bool optional;       // omitted, it takes the type's empty value (0 or "")
  bool hands_back;     // the method may change it; the caller's variable gets it back
};

struct MethodDescription {
  DISPID id;
  const wchar_t* name;
  std::vector<ParameterDescription> parameters;
};

// The five methods of _Orvane2.
const std::vector<MethodDescription>& Methods();
const MethodDescription* MethodById(DISPID id);
const MethodDescription* MethodByName(std::wstring_view name);  // case-insensitive
// The dispatch id of a named argument: its position; DISPID_UNKNOWN when none.
DISPID ParameterIdByName(const MethodDescription& method, std::wstring_view name);

// The arguments of one Invoke, converted to the method's parameter types.
// Accepts values, typed references and VT_BYREF|VT_VARIANT (script variables),
// named arguments, and omitted optionals (left out or VT_ERROR
// DISP_E_PARAMNOTFOUND). Writes changed values back into the caller's
// by-reference arguments.
class BoundArguments {
 public:
  BoundArguments() = default;
  BoundArguments(const BoundArguments&) = delete;
  BoundArguments& operator=(const BoundArguments&) = delete;
  ~BoundArguments();

  // S_OK, or the HRESULT Invoke answers with; `argument_error` (may be null)
  // then names the offending index in rgvarg.
  HRESULT Bind(const MethodDescription& method, const DISPPARAMS& parameters, UINT* argument_error);

  VARIANT& operator[](size_t index) { return values_[index].converted; }
  // After the call: hands changed values back to the caller's variables.
  void HandBack();

 private:
  struct Value {
    VARIANT converted;
    VARIANT original;     // as converted before the call
    VARIANT* source;      // the caller's argument; null when omitted
  };
  HRESULT Convert(const ParameterDescription& parameter, VARIANT* source, Value& value);

  const MethodDescription* method_ = nullptr;
  std::vector<Value> values_;
};

}  // namespace orvane::com
