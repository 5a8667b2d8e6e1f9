#include "hosts/com/dispatch_arguments.h"

#include <cwchar>

#include "hosts/com/orvane_interfaces.h"

namespace orvane::com {
namespace {

constexpr bool kOptional = true;
constexpr bool kRequired = false;
constexpr bool kHandsBack = true;
constexpr bool kReadOnly = false;

bool SameName(std::wstring_view a, const wchar_t* b) {
  return a.size() == std::wcslen(b) &&
         CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

bool IsMissing(const VARIANT& value) {
  return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

// A script variable arrives as a reference to a VARIANT; follow it to the value.
VARIANT* Dereferenced(VARIANT* argument) {
  for (int depth = 0; depth < 4 && argument != nullptr &&
                      V_VT(argument) == (VT_BYREF | VT_VARIANT);
       ++depth) {
    argument = V_VARIANTREF(argument);
  }
  return argument;
}

bool SameValue(const VARIANT& a, const VARIANT& b) {
  if (V_VT(&a) != V_VT(&b)) return false;
  switch (V_VT(&a)) {
    case VT_I2: return V_I2(&a) == V_I2(&b);
    case VT_DATE: return V_DATE(&a) == V_DATE(&b);
    case VT_BSTR:
      return SysStringLen(V_BSTR(&a)) == SysStringLen(V_BSTR(&b)) &&
             std::wmemcmp(V_BSTR(&a) ? V_BSTR(&a) : L"", V_BSTR(&b) ? V_BSTR(&b) : L"",
                          SysStringLen(V_BSTR(&a))) == 0;
    default: return false;
  }
}

// Writes `value` into a typed reference of the caller, converted to its type.
void StoreInTypedReference(VARIANT* target, const VARIANT& value) {
  const VARTYPE type = static_cast<VARTYPE>(V_VT(target) & ~VT_BYREF);
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, type))) return;
  switch (type) {
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(target));
      *V_BSTRREF(target) = V_BSTR(&converted);
      V_VT(&converted) = VT_EMPTY;  // the caller owns the text now
      break;
    case VT_DATE: *V_DATEREF(target) = V_DATE(&converted); break;
    case VT_R8: *V_R8REF(target) = V_R8(&converted); break;
    case VT_R4: *V_R4REF(target) = V_R4(&converted); break;
    case VT_I4: *V_I4REF(target) = V_I4(&converted); break;
    case VT_I2: *V_I2REF(target) = V_I2(&converted); break;
    default: break;  // a kind of variable the component never hands back into
  }
  VariantClear(&converted);
}

}  // namespace

const std::vector<MethodDescription>& Methods() {
  static const std::vector<MethodDescription> methods{
      {kDispidExportItem2,
       L"ExportItem2",
       {{L"ItemIdx", VT_I2, kRequired, kReadOnly},
        {L"ExportType", VT_I2, kRequired, kReadOnly},
        {L"filename", VT_BSTR, kRequired, kHandsBack}}},
      {kDispidGetItem,
       L"GetItem",
       {{L"ItemIdx", VT_I2, kRequired, kReadOnly},
        {L"ExportType", VT_I2, kRequired, kReadOnly},
        {L"Title", VT_BSTR, kRequired, kHandsBack},
        {L"ModifyTime", VT_DATE, kRequired, kHandsBack}}},
      {kDispidItemcount, L"itemcount", {{L"ExportType", VT_I2, kRequired, kReadOnly}}},
      {kDispidExport2,
       L"Export2",
       {{L"Destination", VT_BSTR, kRequired, kReadOnly},
        {L"Exportname", VT_BSTR, kRequired, kReadOnly},
        {L"ExportType", VT_I2, kRequired, kReadOnly},
        {L"ExportMode", VT_I2, kOptional, kReadOnly},
        {L"LogName", VT_BSTR, kOptional, kReadOnly},
        {L"LogPath", VT_BSTR, kOptional, kReadOnly}}},
      {kDispidExportBreak, L"ExportBreak", {}},
  };
  return methods;
}

const MethodDescription* MethodById(DISPID id) {
  for (const MethodDescription& method : Methods()) {
    if (method.id == id) return &method;
  }
  return nullptr;
}

const MethodDescription* MethodByName(std::wstring_view name) {
  for (const MethodDescription& method : Methods()) {
    if (SameName(name, method.name)) return &method;
  }
  return nullptr;
}

DISPID ParameterIdByName(const MethodDescription& method, std::wstring_view name) {
  for (size_t i = 0; i < method.parameters.size(); ++i) {
    if (SameName(name, method.parameters[i].name)) return static_cast<DISPID>(i);
  }
  return DISPID_UNKNOWN;
}

BoundArguments::~BoundArguments() {
  for (Value& value : values_) {
    VariantClear(&value.converted);
    VariantClear(&value.original);
  }
}

HRESULT BoundArguments::Bind(const MethodDescription& method, const DISPPARAMS& parameters,
                             UINT* argument_error) {
  method_ = &method;
  const size_t count = method.parameters.size();
  values_.resize(count);
  for (Value& value : values_) {
    VariantInit(&value.converted);
    VariantInit(&value.original);
    value.source = nullptr;
  }
  const UINT named = parameters.cNamedArgs;
  if (named > parameters.cArgs || (parameters.cArgs > 0 && parameters.rgvarg == nullptr) ||
      (named > 0 && parameters.rgdispidNamedArgs == nullptr)) {
    return E_INVALIDARG;
  }
  const UINT positional = parameters.cArgs - named;
  if (positional > count) return DISP_E_BADPARAMCOUNT;

  // Where each parameter's argument sits in rgvarg (last argument first).
  std::vector<int> slot(count, -1);
  for (UINT k = 0; k < positional; ++k) slot[k] = static_cast<int>(parameters.cArgs - 1 - k);
  for (UINT i = 0; i < named; ++i) {
    const DISPID id = parameters.rgdispidNamedArgs[i];
    if (id < 0 || static_cast<size_t>(id) >= count || slot[static_cast<size_t>(id)] != -1) {
      if (argument_error != nullptr) *argument_error = i;
      return DISP_E_PARAMNOTFOUND;
    }
    slot[static_cast<size_t>(id)] = static_cast<int>(i);
  }

  for (size_t p = 0; p < count; ++p) {
    const ParameterDescription& parameter = method.parameters[p];
    VARIANT* argument = slot[p] < 0 ? nullptr : &parameters.rgvarg[slot[p]];
    VARIANT* value = Dereferenced(argument);
    if (argument != nullptr && value == nullptr) {
      if (argument_error != nullptr) *argument_error = static_cast<UINT>(slot[p]);
      return DISP_E_TYPEMISMATCH;
    }
    if (argument == nullptr || IsMissing(*value)) {
      if (!parameter.optional) {
        if (argument == nullptr) return DISP_E_BADPARAMCOUNT;
        if (argument_error != nullptr) *argument_error = static_cast<UINT>(slot[p]);
        return DISP_E_PARAMNOTOPTIONAL;
      }
      // The default: 0 or empty text, as VariantChangeType makes them from Empty.
      VARIANT empty;
      VariantInit(&empty);
      VariantChangeType(&values_[p].converted, &empty, 0, parameter.type);
      continue;
    }
    const HRESULT converted = Convert(parameter, argument, values_[p]);
    if (FAILED(converted)) {
      if (argument_error != nullptr) *argument_error = static_cast<UINT>(slot[p]);
      return converted;
    }
  }
  return S_OK;
}

HRESULT BoundArguments::Convert(const ParameterDescription& parameter, VARIANT* argument, Value& value) {
  VARIANT* source = Dereferenced(argument);
  if ((V_VT(source) & VT_BYREF) != 0 && V_BYREF(source) == nullptr) return DISP_E_TYPEMISMATCH;
  if ((V_VT(source) & (VT_ARRAY | VT_VECTOR)) != 0) return DISP_E_TYPEMISMATCH;
  // An object would be asked for its value; a missing one has none.
  if ((V_VT(source) == VT_DISPATCH || V_VT(source) == VT_UNKNOWN) && V_UNKNOWN(source) == nullptr) {
    return DISP_E_TYPEMISMATCH;
  }
  HRESULT result = VariantChangeType(&value.converted, source, 0, parameter.type);
  if (result == DISP_E_BADVARTYPE || result == E_INVALIDARG) result = DISP_E_TYPEMISMATCH;
  if (FAILED(result)) return result;
  result = VariantCopy(&value.original, &value.converted);
  if (FAILED(result)) return result;
  if ((V_VT(argument) & VT_BYREF) != 0) value.source = argument;
  return S_OK;
}

void BoundArguments::HandBack() {
  for (size_t p = 0; p < values_.size(); ++p) {
    Value& value = values_[p];
    if (!method_->parameters[p].hands_back || value.source == nullptr) continue;
    // A value the call left as it was leaves the caller's variable exactly as passed.
    if (SameValue(value.converted, value.original)) continue;
    if (V_VT(value.source) == (VT_BYREF | VT_VARIANT)) {
      VARIANT* variable = Dereferenced(value.source);
      if (variable != nullptr && (V_VT(variable) & VT_BYREF) != 0) {
        StoreInTypedReference(variable, value.converted);
      } else if (variable != nullptr) {
        VariantClear(variable);
        VariantCopy(variable, &value.converted);
      }
    } else {
      StoreInTypedReference(value.source, value.converted);
    }
  }
}

}  // namespace orvane::com
