#include "platform/windows/windows_outlook_object_model.h"

#include "platform/windows/automation_call.h"

namespace orvane::windows {
namespace {

// {0006F03A-0000-0000-C000-000000000046}
constexpr CLSID kApplicationClass = {
    0x0006F03A, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// One object of the model, reached by member name.
class LateBound {
 public:
  explicit LateBound(ComPtr<IDispatch> object) : object_(std::move(object)) {}

  AutomationValue Get(std::u16string_view member) const {
    Variant result;
    InvokeByName(object_.get(), member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, result.get(),
                 FailureKind::kGeneral);
    return ValueOfVariant(*result);
  }
  ComPtr<IDispatch> GetObject(std::u16string_view member,
                              const std::vector<Argument>& arguments = {}) const {
    Variant result;
    InvokeByName(object_.get(), member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments,
                 result.get(), FailureKind::kGeneral);
    return DispatchOfVariant(*result);
  }
  AutomationValue Call(std::u16string_view member, WORD flags,
                       const std::vector<Argument>& arguments) const {
    Variant result;
    InvokeByName(object_.get(), member, flags, arguments, result.get(), FailureKind::kGeneral);
    return ValueOfVariant(*result);
  }
  // The collection's enumerator (_NewEnum).
  ComPtr<IEnumVARIANT> Enumerator() const {
    Variant result;
    InvokeById(object_.get(), DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {},
               result.get(), FailureKind::kGeneral);
    const VARIANT& value = *result;
    IUnknown* unknown = V_VT(&value) == VT_UNKNOWN    ? V_UNKNOWN(&value)
                        : V_VT(&value) == VT_DISPATCH ? V_DISPATCH(&value)
                                                      : nullptr;
    if (unknown == nullptr) throw Error(errors::kMemberNotSupported);
    ComPtr<IEnumVARIANT> enumerator;
    if (FAILED(unknown->QueryInterface(IID_IEnumVARIANT,
                                       reinterpret_cast<void**>(enumerator.Put())))) {
      throw Error(errors::kMemberNotSupported);
    }
    return enumerator;
  }
  const ComPtr<IDispatch>& object() const { return object_; }

 private:
  ComPtr<IDispatch> object_;
};

template <typename Member, typename Wrapper>
class Enumerator final : public OutlookEnumerator<Member> {
 public:
  explicit Enumerator(ComPtr<IEnumVARIANT> members) : members_(std::move(members)) {}
  std::shared_ptr<Member> Next() override {
    Variant member;
    ULONG fetched = 0;
    const HRESULT result = members_->Next(1, member.get(), &fetched);
    if (FAILED(result)) ThrowForFailure(result, nullptr, FailureKind::kGeneral);
    if (result != S_OK || fetched == 0) return nullptr;
    return std::make_shared<Wrapper>(DispatchOfVariant(*member));
  }

 private:
  ComPtr<IEnumVARIANT> members_;
};

class Appointment final : public OutlookAppointment {
 public:
  explicit Appointment(ComPtr<IDispatch> object) : item_(std::move(object)) {}
  std::u16string Subject() override { return TextOf(item_.Get(u"Subject")); }
  AutomationDate LastModificationTime() override {
    return DateOf(item_.Get(u"LastModificationTime"));
  }
  void SaveAs(const std::u16string& path, int32_t format) override {
    item_.Call(u"SaveAs", DISPATCH_METHOD, {{path}, {format}});
  }
  int32_t RecurrenceState() override { return Int32Of(item_.Get(u"RecurrenceState")); }

 private:
  LateBound item_;
};

class Item final : public OutlookItem {
 public:
  explicit Item(ComPtr<IDispatch> object) : item_(std::move(object)) {}
  AutomationValue InvokeByName(std::u16string_view member, InvokeKind kind,
                               const std::vector<AutomationValue>& arguments) override {
    std::vector<Argument> passed;
    for (const AutomationValue& value : arguments) passed.push_back({value});
    const WORD flags = kind == InvokeKind::kMethod
                           ? WORD{DISPATCH_METHOD}
                           : WORD{DISPATCH_PROPERTYGET | DISPATCH_METHOD};
    AutomationValue result = item_.Call(member, flags, passed);
    return kind == InvokeKind::kMethod ? AutomationValue{} : result;
  }
  // The typed view exists only for appointments.
  std::shared_ptr<OutlookAppointment> AsAppointment() override {
    if (Int32Of(item_.Get(u"Class")) != outlook::kClassAppointment) {
      throw Error(errors::kTypeMismatch);
    }
    return std::make_shared<Appointment>(item_.object());
  }

 private:
  LateBound item_;
};

class Items final : public OutlookItems {
 public:
  explicit Items(ComPtr<IDispatch> object) : items_(std::move(object)) {}
  int32_t Count() override { return Int32Of(items_.Get(u"Count")); }
  std::shared_ptr<OutlookItem> Item(const AutomationValue& index) override {
    return std::make_shared<windows::Item>(items_.GetObject(u"Item", {{index}}));
  }
  std::unique_ptr<OutlookEnumerator<OutlookItem>> Enumerate() override {
    return std::make_unique<Enumerator<OutlookItem, windows::Item>>(items_.Enumerator());
  }

 private:
  LateBound items_;
};

class Folder;

class Folders final : public OutlookFolders {
 public:
  explicit Folders(ComPtr<IDispatch> object) : folders_(std::move(object)) {}
  int32_t Count() override { return Int32Of(folders_.Get(u"Count")); }
  std::unique_ptr<OutlookEnumerator<OutlookFolder>> Enumerate() override;

 private:
  LateBound folders_;
};

class Folder final : public OutlookFolder {
 public:
  explicit Folder(ComPtr<IDispatch> object) : folder_(std::move(object)) {}
  std::shared_ptr<OutlookItems> Items() override {
    return std::make_shared<windows::Items>(folder_.GetObject(u"Items"));
  }
  std::shared_ptr<OutlookFolders> Folders() override {
    return std::make_shared<windows::Folders>(folder_.GetObject(u"Folders"));
  }
  std::u16string Name() override { return TextOf(folder_.Get(u"Name")); }
  std::u16string DefaultMessageClass() override {
    return TextOf(folder_.Get(u"DefaultMessageClass"));
  }

 private:
  LateBound folder_;
};

std::unique_ptr<OutlookEnumerator<OutlookFolder>> Folders::Enumerate() {
  return std::make_unique<Enumerator<OutlookFolder, Folder>>(folders_.Enumerator());
}

class Namespace final : public OutlookNamespace {
 public:
  explicit Namespace(ComPtr<IDispatch> object) : namespace_(std::move(object)) {}
  void Logon(bool show_dialog, bool new_session) override {
    namespace_.Call(u"Logon", DISPATCH_METHOD,
                    {Argument::Omitted(), Argument::Omitted(), {show_dialog}, {new_session}});
  }
  std::shared_ptr<OutlookFolder> GetDefaultFolder(int32_t folder) override {
    return std::make_shared<Folder>(namespace_.GetObject(u"GetDefaultFolder", {{folder}}));
  }

 private:
  LateBound namespace_;
};

class Application final : public OutlookApplication {
 public:
  explicit Application(ComPtr<IDispatch> object) : application_(std::move(object)) {}
  std::shared_ptr<OutlookNamespace> GetNamespace(const std::u16string& type) override {
    return std::make_shared<Namespace>(application_.GetObject(u"GetNamespace", {{type}}));
  }

 private:
  LateBound application_;
};

}  // namespace

std::shared_ptr<OutlookApplication> WindowsOutlookObjectModel::CreateApplication() {
  return std::make_shared<Application>(CreateDispatchObject(kApplicationClass));
}

}  // namespace orvane::windows
