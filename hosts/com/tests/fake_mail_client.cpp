// A stand-in for the mail client's application object, registered under its
// class identifier for the tests of Orvane.dll under Wine. Every object answers
// IDispatch by member name only, as the real one does for a late-bound caller.
// Contacts: two contacts and a distribution list; calendar: one single and one
// recurring appointment. SaveAs writes a small card or calendar text.

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

// {0006F03A-0000-0000-C000-000000000046}
constexpr CLSID kApplicationClass = {
    0x0006F03A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr wchar_t kClassKey[] = L"CLSID\\{0006F03A-0000-0000-C000-000000000046}";

HMODULE this_module = nullptr;
std::atomic<long> live_objects{0};

enum class Kind { kApplication, kNamespace, kFolder, kItems, kFolders, kItem };

struct ItemData {
  int32_t item_class;
  const wchar_t* subject;
  SYSTEMTIME modified;
  int32_t recurrence;
};

struct FolderData {
  const wchar_t* name;
  const wchar_t* message_class;
  std::vector<ItemData> items;
};

const FolderData& ContactsFolder() {
  static const FolderData folder{L"Contacts",
                                 L"IPM.Contact",
                                 {{40, L"Amelia Hartwell", {2024, 11, 6, 2, 9, 15, 30, 0}, 0},
                                  {69, L"Book club", {2024, 3, 5, 1, 12, 0, 0, 0}, 0},
                                  {40, L"Bruno Castellan", {2023, 1, 0, 15, 18, 0, 0, 0}, 0}}};
  return folder;
}

const FolderData& CalendarFolder() {
  static const FolderData folder{L"Calendar",
                                 L"IPM.Appointment",
                                 {{26, L"Planning meeting", {2025, 2, 1, 3, 10, 0, 0, 0}, 0},
                                  {26, L"Weekly sync", {2025, 1, 1, 6, 8, 30, 0, 0}, 1}}};
  return folder;
}

enum Member : DISPID {
  kGetNamespace = 1, kLogon, kGetDefaultFolder, kItems, kFolders, kName, kDefaultMessageClass,
  kCount, kItem, kClass, kSubject, kLastModificationTime, kSaveAs, kRecurrenceState,
};

struct MemberName {
  const wchar_t* name;
  DISPID id;
  Kind kind;
};

constexpr MemberName kMembers[] = {
    {L"GetNamespace", kGetNamespace, Kind::kApplication},
    {L"Logon", kLogon, Kind::kNamespace},
    {L"GetDefaultFolder", kGetDefaultFolder, Kind::kNamespace},
    {L"Items", kItems, Kind::kFolder},
    {L"Folders", kFolders, Kind::kFolder},
    {L"Name", kName, Kind::kFolder},
    {L"DefaultMessageClass", kDefaultMessageClass, Kind::kFolder},
    {L"Count", kCount, Kind::kItems},
    {L"Item", kItem, Kind::kItems},
    {L"Count", kCount, Kind::kFolders},
    {L"Class", kClass, Kind::kItem},
    {L"Subject", kSubject, Kind::kItem},
    {L"LastModificationTime", kLastModificationTime, Kind::kItem},
    {L"SaveAs", kSaveAs, Kind::kItem},
    {L"RecurrenceState", kRecurrenceState, Kind::kItem},
};

template <typename Interface>
class Counted : public Interface {
 public:
  Counted() { ++live_objects; }
  virtual ~Counted() { --live_objects; }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 private:
  std::atomic<long> references_{1};
};

class Enumerator final : public Counted<IEnumVARIANT> {
 public:
  explicit Enumerator(std::vector<IDispatch*> members) : members_(std::move(members)) {}
  ~Enumerator() override {
    for (IDispatch* member : members_) member->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IEnumVARIANT) {
      *object = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* values, ULONG* fetched) override {
    ULONG given = 0;
    for (; given < count && position_ < members_.size(); ++given, ++position_) {
      VariantInit(&values[given]);
      V_VT(&values[given]) = VT_DISPATCH;
      V_DISPATCH(&values[given]) = members_[position_];
      members_[position_]->AddRef();
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    position_ += count;
    return position_ <= members_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  std::vector<IDispatch*> members_;
  size_t position_ = 0;
};

HRESULT Raise(EXCEPINFO* exception, HRESULT code, const wchar_t* text) {
  if (exception != nullptr) {
    *exception = EXCEPINFO{};
    exception->scode = code;
    exception->bstrSource = SysAllocString(L"FakeMailClient");
    exception->bstrDescription = SysAllocString(text);
  }
  return DISP_E_EXCEPTION;
}

bool WriteText(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text != 0; ++text) narrow += static_cast<char>(*text);
  return narrow;
}

class FakeObject final : public Counted<IDispatch> {
 public:
  FakeObject(Kind kind, const FolderData* folder, const ItemData* item)
      : kind_(kind), folder_(folder), item_(item) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const MemberName& member : kMembers) {
      if (member.kind == kind_ && lstrcmpiW(member.name, names[0]) == 0) {
        ids[0] = member.id;
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    VARIANT ignored;
    VariantInit(&ignored);
    if (result == nullptr) result = &ignored;
    VariantInit(result);
    const HRESULT outcome = Answer(member, *parameters, *result, exception);
    VariantClear(&ignored);
    return outcome;
  }

 private:
  // Argument `index` in natural order, converted.
  static bool Argument(const DISPPARAMS& parameters, UINT index, VARTYPE type, VARIANT& value) {
    if (index >= parameters.cArgs) return false;
    VariantInit(&value);
    return SUCCEEDED(
        VariantChangeType(&value, &parameters.rgvarg[parameters.cArgs - 1 - index], 0, type));
  }

  static void SetObject(VARIANT& result, IDispatch* object) {
    V_VT(&result) = VT_DISPATCH;
    V_DISPATCH(&result) = object;
  }

  HRESULT Answer(DISPID member, const DISPPARAMS& parameters, VARIANT& result,
                 EXCEPINFO* exception) {
    VARIANT argument;
    switch (member) {
      case kGetNamespace:
        if (!Argument(parameters, 0, VT_BSTR, argument)) return DISP_E_TYPEMISMATCH;
        if (lstrcmpW(V_BSTR(&argument), L"MAPI") != 0) {
          VariantClear(&argument);
          return E_INVALIDARG;
        }
        VariantClear(&argument);
        SetObject(result, new FakeObject(Kind::kNamespace, nullptr, nullptr));
        return S_OK;
      case kLogon:
        // Profile and password are left out; dialog and new session are given.
        if (parameters.cArgs != 4 || V_VT(&parameters.rgvarg[3]) != VT_ERROR ||
            V_VT(&parameters.rgvarg[2]) != VT_ERROR) {
          return DISP_E_TYPEMISMATCH;
        }
        return S_OK;
      case kGetDefaultFolder:
        if (!Argument(parameters, 0, VT_I4, argument)) return DISP_E_TYPEMISMATCH;
        if (V_I4(&argument) == 10) {
          SetObject(result, new FakeObject(Kind::kFolder, &ContactsFolder(), nullptr));
        } else if (V_I4(&argument) == 9) {
          SetObject(result, new FakeObject(Kind::kFolder, &CalendarFolder(), nullptr));
        } else {
          return Raise(exception, E_INVALIDARG, L"No such folder");
        }
        return S_OK;
      case kItems:
        SetObject(result, new FakeObject(Kind::kItems, folder_, nullptr));
        return S_OK;
      case kFolders:
        SetObject(result, new FakeObject(Kind::kFolders, folder_, nullptr));
        return S_OK;
      case kName:
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = SysAllocString(folder_->name);
        return S_OK;
      case kDefaultMessageClass:
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = SysAllocString(folder_->message_class);
        return S_OK;
      case kCount:
        V_VT(&result) = VT_I4;
        V_I4(&result) = kind_ == Kind::kItems ? static_cast<LONG>(folder_->items.size()) : 0;
        return S_OK;
      case kItem: {
        if (!Argument(parameters, 0, VT_I4, argument)) return DISP_E_TYPEMISMATCH;
        const LONG index = V_I4(&argument);
        if (index < 1 || static_cast<size_t>(index) > folder_->items.size()) {
          return Raise(exception, DISP_E_BADINDEX, L"Array index out of bounds.");
        }
        SetObject(result, new FakeObject(Kind::kItem, folder_, &folder_->items[index - 1]));
        return S_OK;
      }
      case DISPID_NEWENUM: {
        std::vector<IDispatch*> members;
        if (kind_ == Kind::kItems) {
          for (const ItemData& item : folder_->items) {
            members.push_back(new FakeObject(Kind::kItem, folder_, &item));
          }
        } else if (kind_ != Kind::kFolders) {
          return DISP_E_MEMBERNOTFOUND;
        }
        V_VT(&result) = VT_UNKNOWN;
        V_UNKNOWN(&result) = new Enumerator(std::move(members));
        return S_OK;
      }
      case kClass:
        V_VT(&result) = VT_I4;
        V_I4(&result) = item_->item_class;
        return S_OK;
      case kSubject:
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = SysAllocString(item_->subject);
        return S_OK;
      case kLastModificationTime: {
        double date = 0;
        SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&item_->modified), &date);
        V_VT(&result) = VT_DATE;
        V_DATE(&result) = date;
        return S_OK;
      }
      case kRecurrenceState:
        if (item_->item_class != 26) return DISP_E_MEMBERNOTFOUND;
        V_VT(&result) = VT_I4;
        V_I4(&result) = item_->recurrence;
        return S_OK;
      case kSaveAs:
        return SaveAs(parameters, exception);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  HRESULT SaveAs(const DISPPARAMS& parameters, EXCEPINFO* exception) {
    VARIANT path;
    VARIANT format;
    if (parameters.cArgs != 2 || !Argument(parameters, 0, VT_BSTR, path)) {
      return DISP_E_TYPEMISMATCH;
    }
    const std::wstring target(V_BSTR(&path), SysStringLen(V_BSTR(&path)));
    VariantClear(&path);
    if (!Argument(parameters, 1, VT_I4, format)) return DISP_E_TYPEMISMATCH;
    std::string text;
    if (V_I4(&format) == 6) {
      text = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:" + Narrow(item_->subject) + "\r\nEND:VCARD\r\n";
    } else if (V_I4(&format) == 7 && item_->item_class == 26) {
      text = "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\nSUMMARY:" +
             Narrow(item_->subject) + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    } else {
      return Raise(exception, E_INVALIDARG, L"The format is not supported for this item.");
    }
    if (!WriteText(target, text)) {
      return Raise(exception, HRESULT_FROM_WIN32(GetLastError()), L"Cannot save the file.");
    }
    return S_OK;
  }

  Kind kind_;
  const FolderData* folder_;
  const ItemData* item_;
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    FakeObject* application = new FakeObject(Kind::kApplication, nullptr, nullptr);
    const HRESULT result = application->QueryInterface(id, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

HRESULT SetValue(const wchar_t* key_name, const wchar_t* name, const std::wstring& data) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key_name, 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) this_module = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID class_id, REFIID id, LPVOID* object) {
  if (class_id != kApplicationClass) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(id, object);
}

STDAPI DllCanUnloadNow() { return live_objects == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(this_module, path, MAX_PATH);
  const std::wstring server = std::wstring(kClassKey) + L"\\InprocServer32";
  HRESULT result = SetValue(kClassKey, nullptr, L"Fake mail client");
  if (SUCCEEDED(result)) result = SetValue(server.c_str(), nullptr, path);
  if (SUCCEEDED(result)) result = SetValue(server.c_str(), L"ThreadingModel", L"Apartment");
  return result;
}

STDAPI DllUnregisterServer() {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
  RegDeleteKeyW(HKEY_CLASSES_ROOT, kClassKey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK
                                                                   : HRESULT_FROM_WIN32(status);
}

}  // extern "C"
