// The Windows Address Book build of kwab.dll under Wine, against the stand-in
// wab32.dll: through the component's own loader, property reader and export
// run, for a full book (persons, a distribution list, values of every type),
// an empty book, a book of a distribution list only, a book that cannot be
// opened and a machine without wab32.dll. After each call the stand-in must
// have nothing left handed out.
//
// Usage: kwab_wab_test FAKE_WAB32 WORK_FOLDER
//   FAKE_WAB32: the stand-in; this program registers it where the WAB API's
//   registry key names wab32.dll, and copies it into the system folder.
//   kwab.dll (the WAB build) lies beside this program.
// The program runs in a time zone of UTC+9 without daylight time.
// The last line is "RESULT: PASS n" or "RESULT: FAIL n of m".

#include "addressbook/mapi_tags.h"
#include "addressbook/property_reader.h"
#include "addressbook/wab_session.h"
#include "component/orvane2.h"
#include "hosts/assembly/standard_sources.h"
#include "hosts/com/tests/com_host_checks.h"
#include "platform/windows/com_support.h"
#include "platform/windows/windows_platform.h"

namespace orvane::kwab_test {
namespace {

using com_test::ReadFileBytes;
using windows::WideOf;

constexpr wchar_t kPathKey[] = L"Software\\Microsoft\\WAB\\DLLPath";

enum Book { kFull = 0, kEmpty = 1, kListOnly = 2, kRefused = 3 };

// The stand-in's own controls, found in the copy that kwab.dll loads.
struct FakeWab {
  using UseBook = void(WINAPI*)(int);
  using Outstanding = void(WINAPI*)(long*, long*, long*);
  HMODULE module = nullptr;
  UseBook use_book = nullptr;
  Outstanding outstanding = nullptr;

  explicit FakeWab(const std::wstring& path) : module(LoadLibraryW(path.c_str())) {
    if (module == nullptr) return;
    use_book = reinterpret_cast<UseBook>(
        reinterpret_cast<void*>(GetProcAddress(module, "FakeWabUseBook")));
    outstanding = reinterpret_cast<Outstanding>(
        reinterpret_cast<void*>(GetProcAddress(module, "FakeWabOutstanding")));
  }
  ~FakeWab() {
    if (module != nullptr) FreeLibrary(module);
  }
  FakeWab(const FakeWab&) = delete;
  FakeWab& operator=(const FakeWab&) = delete;
  bool Loaded() const { return use_book != nullptr && outstanding != nullptr; }
  // True when every object was released and every block freed, each once.
  bool AllReturned() const {
    long objects = -1, blocks = -1, wrong_frees = -1;
    outstanding(&objects, &blocks, &wrong_frees);
    if (objects != 0 || blocks != 0 || wrong_frees != 0) {
      std::printf("left: %ld objects, %ld blocks; %ld wrong frees\n", objects, blocks, wrong_frees);
    }
    return objects == 0 && blocks == 0 && wrong_frees == 0;
  }
};

// Names the stand-in in the registry key of the WAB API; empty text removes the key.
bool Register(const std::wstring& path) {
  if (path.empty()) {
    const LSTATUS status = RegDeleteKeyW(HKEY_LOCAL_MACHINE, kPathKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPathKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status =
      RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

std::wstring SystemFolderCopy() {
  wchar_t folder[MAX_PATH];
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\wab32.dll";
}

struct Run {
  int32_t result;
  std::vector<std::wstring> files;
  std::string log;
};

Run ExportAll(Orvane2& orvane, const std::wstring& folder) {
  const std::wstring destination = folder + L"cards";
  Run run;
  run.result =
      orvane.Export2(windows::TextOfWide(destination.c_str(), destination.size()), u"", 3,
                     std::nullopt, u"book.log", windows::TextOfWide(folder.c_str(), folder.size()));
  run.files = com_test::FolderEntries(destination);
  run.log = ReadFileBytes(folder + L"book.log");
  if (run.result != 0) std::printf("Export2: %d\n", static_cast<int>(run.result));
  return run;
}

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Books that give no card: the run logs why and writes nothing.
void CheckNothingToExport(Orvane2& orvane, const std::wstring& folder, const char* why) {
  const Run run = ExportAll(orvane, folder);
  CHECK_EQ(run.result, 0);
  CHECK(run.files.empty());
  CHECK(Holds(run.log, std::string(why) + "\r\n--Address book export end--"));
  CHECK_EQ(orvane.itemcount(3), 0);
}

// The full book, value by value, as the component's property reader sees it.
void CheckValues(Module& module) {
  CallContext context(module.ThreadState(), module.platform(), nullptr);
  WabSession session(context, WabSession::OnFailedOpen::kLeaveClosed);
  CHECK(session.IsOpen());
  CHECK_EQ(session.CountEntries(), 2);  // the distribution list is no person
  CHECK_EQ(session.FetchEntries(2), 2);
  struct ValueCase {
    int32_t entry;
    int32_t tag;
    std::u16string text;
  };
  const ValueCase cases[] = {
      {1, tags::PR_DISPLAY_NAME, u"Amelia Hartwell"},
      {1, tags::PR_GENDER, u"1"},
      {1, tags::PR_BIRTHDAY, u"1994-11-28 09:00:00"},  // stored in UTC, read in local time
      {1, tags::PR_CONTACT_EMAIL_ADDRESSES,
       u"amelia@example.com;millie@example.org;a.hartwell@example.net"},
      {1, tags::PR_COMMENT, std::u16string(300, u'n') + u"end"},
      {1, 0x3A550003, u""},  // types the component does not read
      {1, 0x3A11001F, u""},
      {1, tags::PR_SURNAME, u""},  // absent
      {2, tags::PR_DISPLAY_NAME, u"Bruno Castellan"},
      {2, tags::PR_LAST_MODIFICATION_TIME, u"2024-11-02 18:15:30"},
      {2, tags::PR_CONTACT_EMAIL_ADDRESSES,
       u"bruno@example.com;" + std::u16string(280, u'b') + u"@x"},
  };
  for (const ValueCase& c : cases) {
    const std::u16string text = GetWabPropText(context, c.tag, c.entry);
    if (text != c.text) std::printf("entry %d, tag %08X\n", c.entry, static_cast<unsigned>(c.tag));
    CHECK(text == c.text);
  }
  // Every property is listed, of whatever type, in the entry's order.
  AddressBookLibrary& library = *module.platform().address_book;
  WabEntry& first = context.state.WabEntries[1];
  const std::vector<int32_t> expected_tags{0x3001001E, 0x3A06001E, 0x3A4D0002, 0x3A420040,
                                           0x3A56101E, 0x3004001E, 0x3A550003, 0x0FFF0102,
                                           0x3A40000B, 0x3A11001F};
  std::vector<int32_t> tags;
  for (int32_t i = 0; i < library.kWabGetNumProps(context.state.WabContext, first); ++i) {
    tags.push_back(library.kWabGetPropTag(context.state.WabContext, first, i, 0));
  }
  CHECK(tags == expected_tags);
}

void CheckFullBook(Orvane2& orvane, const std::wstring& folder) {
  CHECK_EQ(orvane.itemcount(3), 2);
  std::u16string title;
  AutomationDate modified = 0;
  CHECK_EQ(orvane.GetItem(2, 3, title, modified), 0);
  CHECK(title == u"Bruno Castellan");
  const Run run = ExportAll(orvane, folder);
  CHECK_EQ(run.result, 0);
  const std::vector<std::wstring> cards{L"ExpressvCard1.vcf", L"ExpressvCard2.vcf"};
  CHECK(run.files == cards);
  CHECK(Holds(run.log,
              "1\x01"
              "Amelia Hartwell\r\n2\x01"
              "Bruno Castellan\r\n"));
  const std::string card = ReadFileBytes(folder + L"cards\\ExpressvCard1.vcf");
  CHECK(Holds(card, "FN:Amelia Hartwell\r\n"));
  CHECK(Holds(card, "millie@example.org"));
}

}  // namespace
}  // namespace orvane::kwab_test

int wmain(int argc, wchar_t** argv) {
  using namespace orvane;
  using namespace orvane::kwab_test;
  if (argc != 3) {
    std::printf("usage: kwab_wab_test FAKE_WAB32 WORK_FOLDER\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::wstring fake_path = argv[1];
  std::wstring work = argv[2];
  if (work.back() != L'\\') work += L'\\';
  CreateDirectoryW(work.c_str(), nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the scripting file-system object

  Module module(windows::MakeWindowsPlatform(GetModuleHandleW(nullptr)), MakeStandardSources());
  Orvane2 orvane(module);
  int folder_number = 0;
  const auto next_folder = [&] {
    const std::wstring folder = work + std::to_wstring(++folder_number) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
  };

  // No wab32.dll where the library looks: the book cannot be opened.
  CHECK(Register({}));
  DeleteFileW(SystemFolderCopy().c_str());
  CheckNothingToExport(orvane, next_folder(), "Does not exist any address book");

  // The stand-in where the registry names it.
  CHECK(Register(fake_path));
  FakeWab registered(fake_path);
  CHECK(registered.Loaded());
  if (registered.Loaded()) {
    struct BookCase {
      Book book;
      const char* why;  // the log line of a book that gives no card
    };
    for (const BookCase& c :
         {BookCase{kRefused, "Does not exist any address book"}, BookCase{kEmpty, "No Contacts"},
          BookCase{kListOnly, "No Contacts"}}) {
      registered.use_book(c.book);
      CheckNothingToExport(orvane, next_folder(), c.why);
      CHECK(registered.AllReturned());
    }
    registered.use_book(kFull);
    CheckFullBook(orvane, next_folder());
    CHECK(registered.AllReturned());
    CheckValues(module);
    CHECK(registered.AllReturned());
  }

  // Without the registry key, the copy in the system folder.
  CHECK(Register({}));
  CopyFileW(fake_path.c_str(), SystemFolderCopy().c_str(), FALSE);
  {
    FakeWab system_copy(SystemFolderCopy());
    CHECK(system_copy.Loaded());
    if (system_copy.Loaded()) {
      system_copy.use_book(kFull);
      CHECK_EQ(orvane.itemcount(3), 2);
      CHECK(system_copy.AllReturned());
    }
  }
  DeleteFileW(SystemFolderCopy().c_str());
  CoUninitialize();

  if (com_test::failures == 0) {
    std::printf("RESULT: PASS %d\n", com_test::checks);
  } else {
    std::printf("RESULT: FAIL %d of %d\n", com_test::failures, com_test::checks);
  }
  return com_test::failures == 0 ? 0 : 1;
}
