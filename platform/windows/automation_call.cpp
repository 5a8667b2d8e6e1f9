#include "platform/windows/automation_call.h"

#include <type_traits>

#include "platform/windows/file_error_mapping.h"

namespace orvane::windows {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

constexpr uint32_t kFacilityControl = 0x800A0000;

// The runtime's own numbers, and the system codes that have an equivalent.
int32_t GeneralErrorNumber(HRESULT result) {
  const auto code = static_cast<uint32_t>(result);
  if ((code & 0xFFFF0000) == kFacilityControl) return static_cast<int32_t>(code & 0xFFFF);
  switch (result) {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
      return errors::kMemberNotSupported;
    case DISP_E_TYPEMISMATCH:
      return errors::kTypeMismatch;
    case DISP_E_OVERFLOW:
      return errors::kOverflow;
    case DISP_E_BADINDEX:
      return errors::kSubscriptOutOfRange;
    case E_OUTOFMEMORY:
      return errors::kOutOfMemory;
    case E_INVALIDARG:
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL:
      return errors::kInvalidProcedureCall;
    case REGDB_E_CLASSNOTREG:
    case CO_E_CLASSSTRING:
    case CO_E_SERVER_EXEC_FAILURE:
      return errors::kCannotCreateObject;
    default:
      return 0;
  }
}

std::u16string SystemMessageOf(HRESULT result) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string message = text == nullptr ? std::u16string() : TextOfWide(text, length);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r')) {
    message.pop_back();
  }
  return message.empty() ? u"Automation error" : message;
}

Error ErrorOfCode(HRESULT code, std::u16string description, FailureKind kind) {
  int32_t number = 0;
  if (kind != FailureKind::kGeneral) {
    number = FileErrorNumber(static_cast<uint32_t>(code), kind == FailureKind::kFolder
                                                              ? MissingPath::kFolder
                                                              : MissingPath::kFile);
  }
  if (number == 0) number = GeneralErrorNumber(code);
  if (number != 0 && !DescriptionOf(number).empty()) {
    // The numbers hosts know carry the texts hosts know.
    return Error(number, DescriptionOf(number));
  }
  if (number == 0) number = static_cast<int32_t>(code);
  if (description.empty()) description = SystemMessageOf(code);
  return Error(number, std::move(description));
}

}  // namespace

Error ErrorOfFailure(HRESULT result, const EXCEPINFO* exception, FailureKind kind) {
  if (result == DISP_E_EXCEPTION && exception != nullptr) {
    EXCEPINFO filled = *exception;
    if (filled.pfnDeferredFillIn != nullptr) filled.pfnDeferredFillIn(&filled);
    const HRESULT code = filled.scode != 0 ? filled.scode
                                           : static_cast<HRESULT>(kFacilityControl | filled.wCode);
    return ErrorOfCode(code, TextOfBstr(filled.bstrDescription), kind);
  }
  return ErrorOfCode(result, {}, kind);
}

void ThrowForFailure(HRESULT result, const EXCEPINFO* exception, FailureKind kind) {
  throw ErrorOfFailure(result, exception, kind);
}

AutomationValue ValueOfVariant(const VARIANT& variant) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&variant)))) throw Error(errors::kTypeMismatch);
  AutomationValue result;
  switch (V_VT(&value)) {
    case VT_EMPTY: case VT_NULL: break;
    case VT_BOOL: result = V_BOOL(&value) != VARIANT_FALSE; break;
    case VT_I1: result = int16_t{V_I1(&value)}; break;
    case VT_UI1: result = int16_t{V_UI1(&value)}; break;
    case VT_I2: result = V_I2(&value); break;
    case VT_UI2: result = int32_t{V_UI2(&value)}; break;
    case VT_I4: case VT_INT: result = static_cast<int32_t>(V_I4(&value)); break;
    case VT_R4: result = double{V_R4(&value)}; break;
    case VT_R8: result = V_R8(&value); break;
    case VT_DATE: result = DateValue{V_DATE(&value)}; break;
    case VT_BSTR: result = TextOfBstr(V_BSTR(&value)); break;
    default: {
      // Anything else the runtime can turn into a number or text.
      HRESULT converted = VariantChangeType(&value, &value, 0, VT_R8);
      if (SUCCEEDED(converted)) {
        result = V_R8(&value);
      } else if (SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BSTR))) {
        result = TextOfBstr(V_BSTR(&value));
      } else {
        VariantClear(&value);
        throw Error(errors::kTypeMismatch);
      }
    }
  }
  VariantClear(&value);
  return result;
}

void SetVariantOfValue(const AutomationValue& value, VARIANT* variant) {
  VariantClear(variant);
  std::visit(Overloaded{
                 [&](std::monostate) { V_VT(variant) = VT_EMPTY; },
                 [&](bool flag) {
                   V_VT(variant) = VT_BOOL;
                   V_BOOL(variant) = flag ? VARIANT_TRUE : VARIANT_FALSE;
                 },
                 [&](int16_t number) {
                   V_VT(variant) = VT_I2;
                   V_I2(variant) = number;
                 },
                 [&](int32_t number) {
                   V_VT(variant) = VT_I4;
                   V_I4(variant) = number;
                 },
                 [&](double number) {
                   V_VT(variant) = VT_R8;
                   V_R8(variant) = number;
                 },
                 [&](DateValue date) {
                   V_VT(variant) = VT_DATE;
                   V_DATE(variant) = date.date;
                 },
                 [&](const std::u16string& text) {
                   V_VT(variant) = VT_BSTR;
                   V_BSTR(variant) = BstrOf(text);
                   if (V_BSTR(variant) == nullptr) {
                     V_VT(variant) = VT_EMPTY;
                     throw Error(errors::kOutOfMemory);
                   }
                 },
             },
             value);
}

void InvokeById(IDispatch* object, DISPID id, WORD flags, const std::vector<Argument>& arguments,
                VARIANT* result, FailureKind kind) {
  if (object == nullptr) throw Error(errors::kObjectNotSet);
  // IDispatch takes the arguments last first.
  std::vector<VARIANT> reversed(arguments.size());
  for (VARIANT& slot : reversed) VariantInit(&slot);
  struct Clear {
    std::vector<VARIANT>& slots;
    ~Clear() {
      for (VARIANT& slot : slots) VariantClear(&slot);
    }
  } clear{reversed};
  for (size_t i = 0; i < arguments.size(); ++i) {
    VARIANT& slot = reversed[arguments.size() - 1 - i];
    if (arguments[i].omitted) {
      V_VT(&slot) = VT_ERROR;
      V_ERROR(&slot) = DISP_E_PARAMNOTFOUND;
    } else {
      SetVariantOfValue(arguments[i].value, &slot);
    }
  }
  DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO exception{};
  UINT argument_error = 0;
  const HRESULT outcome = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                         result, &exception, &argument_error);
  struct ClearException {
    EXCEPINFO& info;
    ~ClearException() {
      SysFreeString(info.bstrSource);
      SysFreeString(info.bstrDescription);
      SysFreeString(info.bstrHelpFile);
    }
  } clear_exception{exception};
  if (FAILED(outcome)) ThrowForFailure(outcome, &exception, kind);
}

void InvokeByName(IDispatch* object, std::u16string_view name, WORD flags,
                  const std::vector<Argument>& arguments, VARIANT* result, FailureKind kind) {
  if (object == nullptr) throw Error(errors::kObjectNotSet);
  std::wstring wide_name = WideOf(name);
  LPOLESTR names[] = {wide_name.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT found =
      object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(found)) ThrowForFailure(found, nullptr, FailureKind::kGeneral);
  InvokeById(object, id, flags, arguments, result, kind);
}

ComPtr<IDispatch> DispatchOfVariant(const VARIANT& variant) {
  const VARIANT* value = &variant;
  if (V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
  IUnknown* unknown = nullptr;
  if (V_VT(value) == VT_DISPATCH) unknown = V_DISPATCH(value);
  if (V_VT(value) == VT_UNKNOWN) unknown = V_UNKNOWN(value);
  if (unknown == nullptr) throw Error(errors::kObjectNotSet);
  ComPtr<IDispatch> object;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.Put())))) {
    throw Error(errors::kTypeMismatch);
  }
  return object;
}

ComPtr<IDispatch> CreateDispatchObject(const CLSID& class_id) {
  ComPtr<IDispatch> object;
  const HRESULT created =
      CoCreateInstance(class_id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                       reinterpret_cast<void**>(object.Put()));
  if (FAILED(created)) throw Error(errors::kCannotCreateObject);
  return object;
}

ComPtr<IDispatch> CreateDispatchObject(const wchar_t* prog_id) {
  CLSID class_id{};
  if (FAILED(CLSIDFromProgID(prog_id, &class_id))) throw Error(errors::kCannotCreateObject);
  return CreateDispatchObject(class_id);
}

}  // namespace orvane::windows
