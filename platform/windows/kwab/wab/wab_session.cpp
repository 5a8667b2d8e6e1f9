#include "platform/windows/kwab/wab/wab_session.h"

#include "platform/windows/com_support.h"
#include "platform/windows/kwab/wab/wab32_location.h"

namespace orvane::windows::kwab {
namespace {

constexpr LONG kRowsPerRead = 100;

// A block of WAB memory (with whatever was allocated more onto it), freed
// through the WAB object that handed it out.
template <typename T>
class WabBuffer {
 public:
  explicit WabBuffer(LPWABOBJECT wab) : wab_(wab) {}
  ~WabBuffer() {
    if (pointer_ != nullptr) wab_->FreeBuffer(pointer_);
  }
  WabBuffer(const WabBuffer&) = delete;
  WabBuffer& operator=(const WabBuffer&) = delete;
  T** Put() { return &pointer_; }
  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }

 private:
  LPWABOBJECT wab_;
  T* pointer_ = nullptr;
};

// A row set: every row's values are a block of their own, and the set another.
class RowSet {
 public:
  explicit RowSet(LPWABOBJECT wab) : wab_(wab) {}
  ~RowSet() {
    if (rows_ == nullptr) return;
    for (ULONG i = 0; i < rows_->cRows; ++i) wab_->FreeBuffer(rows_->aRow[i].lpProps);
    wab_->FreeBuffer(rows_);
  }
  RowSet(const RowSet&) = delete;
  RowSet& operator=(const RowSet&) = delete;
  LPSRowSet* Put() { return &rows_; }
  ULONG size() const { return rows_ == nullptr ? 0 : rows_->cRows; }
  const SRow& operator[](ULONG index) const { return rows_->aRow[index]; }

 private:
  LPWABOBJECT wab_;
  LPSRowSet rows_ = nullptr;
};

// OpenEntry hands out the entry's own interface through an IUnknown slot.
template <typename Interface>
bool OpenEntry(LPADRBOOK book, ULONG size, LPENTRYID id, ComPtr<Interface>& entry) {
  ULONG type = 0;
  return SUCCEEDED(book->OpenEntry(size, id, nullptr, 0, &type,
                                   reinterpret_cast<LPUNKNOWN*>(entry.Put()))) &&
         entry;
}

const SPropValue* FindValue(const SRow& row, ULONG tag) {
  for (ULONG i = 0; i < row.cValues; ++i) {
    if (row.lpProps[i].ulPropTag == tag) return &row.lpProps[i];
  }
  return nullptr;
}

WabValue ValueOf(const SPropValue& property) {
  switch (PROP_TYPE(property.ulPropTag)) {
    case PT_I2:
      return int16_t{property.Value.i};
    case PT_STRING8:
      return std::string(property.Value.lpszA == nullptr ? "" : property.Value.lpszA);
    case PT_SYSTIME:
      return property.Value.ft;
    case PT_MV_STRING8: {
      std::vector<std::string> texts;
      for (ULONG i = 0; i < property.Value.MVszA.cValues; ++i) {
        const char* text = property.Value.MVszA.lppszA[i];
        texts.emplace_back(text == nullptr ? "" : text);
      }
      return texts;
    }
    default:
      return std::monostate{};
  }
}

}  // namespace

std::unique_ptr<WabSession> WabSession::Open() {
  std::unique_ptr<WabSession> session(new WabSession());
  session->module_ = LoadWab32();
  if (session->module_ == nullptr) return nullptr;
  const auto open = reinterpret_cast<LPWABOPEN>(
      reinterpret_cast<void*>(GetProcAddress(session->module_, "WABOpen")));
  if (open == nullptr) return nullptr;
  WAB_PARAM parameters{};
  parameters.cbSize = sizeof parameters;
  LPADRBOOK book = nullptr;
  LPWABOBJECT wab = nullptr;
  // A failed open hands out nothing to release.
  if (FAILED(open(&book, &wab, &parameters, 0))) return nullptr;
  session->book_ = book;
  session->wab_ = wab;
  if (book == nullptr || wab == nullptr || !session->ListPersons()) return nullptr;
  return session;
}

WabSession::~WabSession() {
  persons_.clear();
  if (book_ != nullptr) book_->Release();
  if (wab_ != nullptr) wab_->Release();
  if (module_ != nullptr) FreeLibrary(module_);
}

bool WabSession::ListPersons() {
  ULONG pab_size = 0;
  WabBuffer<ENTRYID> pab(wab_);
  ComPtr<IABContainer> container;
  ComPtr<IMAPITable> table;
  SizedSPropTagArray(2, columns) = {2, {PR_ENTRYID, PR_OBJECT_TYPE}};
  if (FAILED(book_->GetPAB(&pab_size, pab.Put())) ||
      !OpenEntry(book_, pab_size, pab.get(), container) ||
      FAILED(container->GetContentsTable(0, table.Put())) || !table ||
      FAILED(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0))) {
    return false;
  }
  for (;;) {
    RowSet rows(wab_);
    if (FAILED(table->QueryRows(kRowsPerRead, 0, rows.Put()))) return false;
    if (rows.size() == 0) return true;
    for (ULONG i = 0; i < rows.size(); ++i) {
      const SPropValue* id = FindValue(rows[i], PR_ENTRYID);
      const SPropValue* type = FindValue(rows[i], PR_OBJECT_TYPE);
      if (id == nullptr || type == nullptr || type->Value.l != MAPI_MAILUSER) continue;
      const BYTE* bytes = id->Value.bin.lpb;
      persons_.push_back(Person{std::vector<BYTE>(bytes, bytes + id->Value.bin.cb), nullptr});
    }
  }
}

const std::vector<WabProperty>& WabSession::PropertiesOf(size_t index) {
  Person& person = persons_.at(index);
  if (!person.properties) {
    person.properties = std::make_unique<std::vector<WabProperty>>(ReadProperties(person.entry_id));
  }
  return *person.properties;
}

void WabSession::Forget(size_t index) {
  if (index < persons_.size()) persons_[index].properties.reset();
}

std::vector<WabProperty> WabSession::ReadProperties(std::vector<BYTE>& entry_id) {
  ComPtr<IMailUser> person;
  ULONG count = 0;
  WabBuffer<SPropValue> values(wab_);
  // Without MAPI_UNICODE texts come in the ANSI code page.
  if (!OpenEntry(book_, static_cast<ULONG>(entry_id.size()),
                 reinterpret_cast<LPENTRYID>(entry_id.data()), person) ||
      FAILED(person->GetProps(nullptr, 0, &count, values.Put())) || values.get() == nullptr) {
    return {};
  }
  std::vector<WabProperty> properties;
  properties.reserve(count);
  for (ULONG i = 0; i < count; ++i) {
    properties.push_back(WabProperty{values.get()[i].ulPropTag, ValueOf(values.get()[i])});
  }
  return properties;
}

}  // namespace orvane::windows::kwab
