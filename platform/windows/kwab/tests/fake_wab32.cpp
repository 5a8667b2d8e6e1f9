// A stand-in for wab32.dll, for the tests of kwab.dll under Wine (which has
// none): WABOpen hands out an address book of the kind the test chose, and
// every object and memory block it hands out is counted until it is released
// or freed, so that the test can tell what the library left behind.

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows/kwab/wab/wab_headers.h"

// The interfaces' many methods that the library must not need answer
// MAPI_E_NO_SUPPORT; their parameters go unused.
#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace {

// ---- What the books hold

struct Value {
  ULONG tag;
  std::string text;                // PT_STRING8, PT_UNICODE (ASCII only), PT_BINARY bytes
  std::vector<std::string> texts;  // PT_MV_STRING8
  LONGLONG number;                 // PT_I2, PT_LONG, PT_BOOLEAN, PT_SYSTIME (ticks, UTC)
};

Value Text(ULONG type, ULONG id, std::string text) {
  return {PROP_TAG(type, id), std::move(text), {}, 0};
}
Value Number(ULONG type, ULONG id, LONGLONG number) { return {PROP_TAG(type, id), {}, {}, number}; }
Value List(ULONG id, std::vector<std::string> texts) {
  return {PROP_TAG(PT_MV_STRING8, id), {}, std::move(texts), 0};
}

struct Entry {
  ULONG object_type;
  std::vector<Value> values;
};

const std::vector<Entry>& FullBook() {
  static const std::vector<Entry> book{
      {MAPI_MAILUSER,
       {Text(PT_STRING8, 0x3001, "Amelia Hartwell"), Text(PT_STRING8, 0x3A06, "Amelia"),
        Number(PT_I2, 0x3A4D, 1),                             // gender
        Number(PT_SYSTIME, 0x3A42, 124'304'544'000'000'000),  // 1994-11-28 00:00 UTC
        List(0x3A56, {"amelia@example.com", "millie@example.org", "a.hartwell@example.net"}),
        Text(PT_STRING8, 0x3004, std::string(300, 'n') + "end"),  // longer than 255
        Number(PT_LONG, 0x3A55, 2), Text(PT_BINARY, 0x0FFF, "\x01\x02\x03"),
        Number(PT_BOOLEAN, 0x3A40, 1), Text(PT_UNICODE, 0x3A11, "Hartwell")}},
      {MAPI_DISTLIST, {Text(PT_STRING8, 0x3001, "Book club")}},
      {MAPI_MAILUSER,
       {Text(PT_STRING8, 0x3001, "Bruno Castellan"),
        Number(PT_SYSTIME, 0x3008, 133'750'125'300'000'000),  // 2024-11-02 09:15:30 UTC
        List(0x3A56, {"bruno@example.com", std::string(280, 'b') + "@x"})}},
  };
  return book;
}

// 0 the full book, 1 an empty one, 2 a distribution list only, 3 none (WABOpen fails).
int chosen_book = 0;

std::vector<Entry> Book() {
  switch (chosen_book) {
    case 0:
      return FullBook();
    case 2:
      return {FullBook()[1]};
    default:
      return {};
  }
}

// ---- Counting what is handed out

long live_objects = 0;
std::map<void*, std::vector<std::unique_ptr<char[]>>> live_blocks;  // each with its "more" blocks
long bad_frees = 0;

void* NewBlock(ULONG size) {
  auto storage = std::make_unique<char[]>(size == 0 ? 1 : size);
  void* block = storage.get();
  live_blocks[block].push_back(std::move(storage));
  return block;
}

void* MoreBlock(ULONG size, void* parent) {
  const auto found = live_blocks.find(parent);
  if (found == live_blocks.end()) return nullptr;
  found->second.push_back(std::make_unique<char[]>(size == 0 ? 1 : size));
  return found->second.back().get();
}

char* CopyText(const std::string& text, void* parent) {
  char* copy = static_cast<char*>(MoreBlock(static_cast<ULONG>(text.size() + 1), parent));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// ---- Objects

#define ORVANE_NOT_SUPPORTED \
  { return MAPI_E_NO_SUPPORT; }

template <typename Interface>
class Counted : public Interface {
 public:
  Counted() { ++live_objects; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
  virtual ~Counted() { --live_objects; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    *object = nullptr;
    if (id != IID_IUnknown) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG references_ = 1;
};

// Every method of each interface, answering MAPI_E_NO_SUPPORT; the fakes
// below override the ones the library uses.
template <typename Interface>
class PropStubs : public Counted<Interface> {
 public:
  MAPI_IMAPIPROP_METHODS(ORVANE_NOT_SUPPORTED)
};
class AddrBookStubs : public PropStubs<IAddrBook> {
 public:
  MAPI_IADDRBOOK_METHODS(ORVANE_NOT_SUPPORTED)
};
class ContainerStubs : public PropStubs<IABContainer> {
 public:
  MAPI_IMAPICONTAINER_METHODS(ORVANE_NOT_SUPPORTED)
  MAPI_IABCONTAINER_METHODS(ORVANE_NOT_SUPPORTED)
};
class TableStubs : public Counted<IMAPITable> {
 public:
  MAPI_IMAPITABLE_METHODS(ORVANE_NOT_SUPPORTED)
};
class WabObjectStubs : public Counted<IWABObject> {
 public:
  WAB_IWABOBJECT_METHODS(ORVANE_NOT_SUPPORTED)
};

class FakeWabObject final : public WabObjectStubs {
 public:
  HRESULT STDMETHODCALLTYPE AllocateBuffer(ULONG size, LPVOID* block) override {
    *block = NewBlock(size);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AllocateMore(ULONG size, LPVOID parent, LPVOID* block) override {
    *block = MoreBlock(size, parent);
    return *block == nullptr ? MAPI_E_INVALID_PARAMETER : S_OK;
  }
  HRESULT STDMETHODCALLTYPE FreeBuffer(LPVOID block) override {
    if (block != nullptr && live_blocks.erase(block) == 0) ++bad_frees;
    return S_OK;
  }
};

// An entry's values as GetProps and QueryRows hand them out: one block, with
// texts and lists allocated more onto it.
void FillValue(const Value& value, SPropValue& out, void* block) {
  out.ulPropTag = value.tag;
  switch (PROP_TYPE(value.tag)) {
    case PT_I2:
      out.Value.i = static_cast<short>(value.number);
      break;
    case PT_LONG:
      out.Value.l = static_cast<LONG>(value.number);
      break;
    case PT_BOOLEAN:
      out.Value.b = static_cast<unsigned short>(value.number);
      break;
    case PT_SYSTIME:
      out.Value.ft.dwLowDateTime = static_cast<DWORD>(value.number);
      out.Value.ft.dwHighDateTime = static_cast<DWORD>(value.number >> 32);
      break;
    case PT_STRING8:
      out.Value.lpszA = CopyText(value.text, block);
      break;
    case PT_UNICODE: {
      const size_t size = (value.text.size() + 1) * sizeof(WCHAR);
      auto* wide = static_cast<WCHAR*>(MoreBlock(static_cast<ULONG>(size), block));
      for (size_t i = 0; i <= value.text.size(); ++i)
        wide[i] = static_cast<WCHAR>(value.text.c_str()[i]);
      out.Value.lpszW = wide;
      break;
    }
    case PT_BINARY:
      out.Value.bin.cb = static_cast<ULONG>(value.text.size());
      out.Value.bin.lpb = reinterpret_cast<LPBYTE>(CopyText(value.text, block));
      break;
    case PT_MV_STRING8: {
      const auto count = static_cast<ULONG>(value.texts.size());
      auto* texts = static_cast<LPSTR*>(MoreBlock(count * sizeof(LPSTR), block));
      for (ULONG i = 0; i < count; ++i) texts[i] = CopyText(value.texts[i], block);
      out.Value.MVszA.cValues = count;
      out.Value.MVszA.lppszA = texts;
      break;
    }
    default:
      break;
  }
}

LPSPropValue NewValues(const std::vector<Value>& values) {
  auto* block =
      static_cast<LPSPropValue>(NewBlock(static_cast<ULONG>(values.size() * sizeof(SPropValue))));
  for (size_t i = 0; i < values.size(); ++i) FillValue(values[i], block[i], block);
  return block;
}

// Entry identifiers: the entry's position in the book, in four bytes; the
// personal address book's own is 0xFFFFFFFF.
constexpr ULONG kPabId = 0xFFFFFFFF;
std::string EntryIdOf(ULONG position) { return std::string(reinterpret_cast<char*>(&position), 4); }

class FakeTable final : public TableStubs {
 public:
  explicit FakeTable(std::vector<Entry> book) : book_(std::move(book)) {}
  HRESULT STDMETHODCALLTYPE SetColumns(LPSPropTagArray columns, ULONG) override {
    columns_.assign(columns->aulPropTag, columns->aulPropTag + columns->cValues);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryRows(LONG count, ULONG, LPSRowSet* rows) override {
    const ULONG left = static_cast<ULONG>(book_.size()) - next_;
    const ULONG taken = std::min(static_cast<ULONG>(count), left);
    auto* set = static_cast<LPSRowSet>(NewBlock(static_cast<ULONG>(CbNewSRowSet(taken))));
    set->cRows = taken;
    for (ULONG i = 0; i < taken; ++i, ++next_) {
      std::vector<Value> columns;
      for (ULONG tag : columns_) {
        if (tag == PR_ENTRYID) columns.push_back(Text(PT_BINARY, PROP_ID(tag), EntryIdOf(next_)));
        if (tag == PR_OBJECT_TYPE) {
          columns.push_back(Number(PT_LONG, PROP_ID(tag), book_[next_].object_type));
        }
      }
      set->aRow[i] = SRow{0, static_cast<ULONG>(columns.size()), NewValues(columns)};
    }
    *rows = set;
    return S_OK;
  }

 private:
  std::vector<Entry> book_;
  std::vector<ULONG> columns_;
  ULONG next_ = 0;
};

class FakeMailUser final : public PropStubs<IMailUser> {
 public:
  explicit FakeMailUser(Entry entry) : entry_(std::move(entry)) {}
  HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray tags, ULONG flags, ULONG* count,
                                     LPSPropValue* values) override {
    if (tags != nullptr || flags != 0)
      return MAPI_E_NO_SUPPORT;  // the library asks for all, in ANSI
    *count = static_cast<ULONG>(entry_.values.size());
    *values = NewValues(entry_.values);
    return S_OK;
  }

 private:
  Entry entry_;
};

class FakeContainer final : public ContainerStubs {
 public:
  explicit FakeContainer(std::vector<Entry> book) : book_(std::move(book)) {}
  HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG, LPMAPITABLE* table) override {
    *table = new FakeTable(book_);
    return S_OK;
  }

 private:
  std::vector<Entry> book_;
};

class FakeAddrBook final : public AddrBookStubs {
 public:
  HRESULT STDMETHODCALLTYPE GetPAB(ULONG* size, LPENTRYID* id) override {
    const std::string bytes = EntryIdOf(kPabId);
    *id = static_cast<LPENTRYID>(NewBlock(4));
    std::memcpy(*id, bytes.data(), 4);
    *size = 4;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OpenEntry(ULONG size, LPENTRYID id, LPCIID, ULONG, ULONG* type,
                                      LPUNKNOWN* entry) override {
    if (size != 4 || id == nullptr) return MAPI_E_INVALID_ENTRYID;
    ULONG position = 0;
    std::memcpy(&position, id, 4);
    if (position == kPabId) {
      *type = MAPI_ABCONT;
      *entry = static_cast<IABContainer*>(new FakeContainer(book_));
      return S_OK;
    }
    if (position >= book_.size() || book_[position].object_type != MAPI_MAILUSER) {
      return MAPI_E_NOT_FOUND;
    }
    *type = MAPI_MAILUSER;
    *entry = static_cast<IMailUser*>(new FakeMailUser(book_[position]));
    return S_OK;
  }

 private:
  std::vector<Entry> book_ = Book();
};

}  // namespace

extern "C" {

HRESULT WINAPI WABOpen(LPADRBOOK* book, LPWABOBJECT* wab, LPWAB_PARAM parameters, DWORD) {
  if (chosen_book == 3 || parameters == nullptr || parameters->cbSize != sizeof(WAB_PARAM)) {
    return MAPI_E_CALL_FAILED;
  }
  *book = new FakeAddrBook();
  *wab = new FakeWabObject();
  return S_OK;
}

void WINAPI FakeWabUseBook(int book) { chosen_book = book; }

// Objects not yet released, memory blocks not yet freed, and frees of blocks
// that this library never handed out (or handed out and saw freed already).
void WINAPI FakeWabOutstanding(long* objects, long* blocks, long* wrong_frees) {
  *objects = live_objects;
  *blocks = static_cast<long>(live_blocks.size());
  *wrong_frees = bad_frees;
}

}  // extern "C"
