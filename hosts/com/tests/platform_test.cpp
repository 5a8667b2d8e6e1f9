// The Windows platform services, run under Wine: the real scripting
// file-system object and its errors, the user's settings, kernel32, the
// address-book library loader and the mail client driven by member name
// (against the fake mail client, which must be registered).
// Usage: platform_test WORK_FOLDER ADDRESS_BOOK_FOLDER
// The last line is "RESULT: PASS n" or "RESULT: FAIL n of m".

#include <functional>

#include "hosts/com/tests/com_host_checks.h"
#include "platform/error.h"
#include "platform/windows/com_support.h"
#include "platform/windows/windows_address_book.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/windows_outlook_object_model.h"
#include "platform/windows/windows_services.h"

namespace orvane::com_test {
namespace {

using windows::WideOf;

std::u16string work;  // ends in "\"

// The number of the orvane::Error the call throws; 0 when it throws none.
int32_t ErrorOf(const std::function<void()>& call) {
  try {
    call();
    return 0;
  } catch (const Error& error) {
    // Known numbers carry the texts hosts know.
    if (error.description() != DescriptionOf(error.number())) return -error.number();
    return error.number();
  } catch (...) {
    return -1;
  }
}

void CheckFileSystem() {
  windows::WindowsFileSystem fs;
  const std::u16string a = work + u"a\\";
  const std::u16string file = work + u"a\\f.txt";
  const std::u16string copies = work + u"copies\\";
  struct ErrorCase {
    const char* what;
    std::function<void()> call;
    int32_t number;
  };
  const ErrorCase cases[] = {
      {"create a folder", [&] { fs.CreateFolder(a); }, 0},
      {"create it again", [&] { fs.CreateFolder(a); }, 58},
      {"create below a missing folder", [&] { fs.CreateFolder(work + u"missing\\b\\"); }, 76},
      {"append to a new file", [&] { fs.AppendToFile(file, "abc"); }, 0},
      {"append again", [&] { fs.AppendToFile(file, std::string_view("d\0\xFF", 3)); }, 0},
      {"append below a missing folder", [&] { fs.AppendToFile(work + u"missing\\f.txt", "x"); }, 76},
      {"create the copy folder", [&] { fs.CreateFolder(copies); }, 0},
      {"copy into a folder", [&] { fs.CopyFile(file, copies); }, 0},
      {"copy over that copy", [&] { fs.CopyFile(file, copies); }, 0},
      {"copy a missing file", [&] { fs.CopyFile(work + u"none.txt", copies); }, 53},
      {"delete a missing file", [&] { fs.DeleteFile(work + u"none.txt"); }, 53},
      {"delete a missing folder", [&] { fs.Deletefolder(work + u"none"); }, 76},
      {"delete the copy", [&] { fs.DeleteFile(copies + u"f.txt"); }, 0},
      {"remove a folder that is not empty", [&] { fs.DeleteEmptyFolder(a); }, 75},
      {"remove an empty folder", [&] { fs.DeleteEmptyFolder(copies); }, 0},
      {"private folder below a missing one", [&] { fs.CreatePrivateFolder(work + u"none"); }, 76},
  };
  for (const ErrorCase& c : cases) {
    const int32_t number = ErrorOf(c.call);
    if (number != c.number) std::printf("  case: %s: %d\n", c.what, static_cast<int>(number));
    CHECK_EQ(number, c.number);
  }
  CHECK(ReadFileBytes(WideOf(file)) == std::string("abcd\0\xFF", 6));
  CHECK(fs.ReadFileBytes(file) == std::string("abcd\0\xFF", 6));
  CHECK_EQ(ErrorOf([&] { fs.ReadFileBytes(work + u"none.txt"); }), 53);
  CHECK_EQ(ErrorOf([&] { fs.ReadFileBytes(work + u"none\\none.txt"); }), 76);
  CHECK(fs.FileExists(file) && !fs.FileExists(a) && !fs.FileExists(work + u"none.txt"));
  CHECK(fs.FolderExists(a) && fs.FolderExists(work + u"a") && !fs.FolderExists(file));
  CHECK(!fs.FolderExists(copies));
  CHECK(fs.GetParentFolderName(u"C:\\x\\y.txt") == u"C:\\x");
  CHECK(fs.GetParentFolderName(u"y.txt").empty());
  const std::u16string temporary = fs.GetTemporaryFolder();
  CHECK(!temporary.empty() && temporary.back() == u'\\' && fs.FolderExists(temporary));
  const std::u16string first = fs.CreatePrivateFolder(work);
  const std::u16string second = fs.CreatePrivateFolder(work);
  CHECK(first != second && first.rfind(work, 0) == 0 && first.back() == u'\\');
  CHECK(fs.FolderExists(first) && fs.FolderExists(second));
  // A write-protected file is neither replaced nor deleted.
  const std::u16string kept = copies + u"kept.txt";
  fs.CreateFolder(copies);
  fs.AppendToFile(kept, "old");
  SetFileAttributesW(WideOf(kept).c_str(), FILE_ATTRIBUTE_READONLY);
  fs.AppendToFile(work + u"kept.txt", "new");
  CHECK_EQ(ErrorOf([&] { fs.CopyFile(work + u"kept.txt", copies); }), 70);
  CHECK_EQ(ErrorOf([&] { fs.DeleteFile(kept); }), 70);
  CHECK(ReadFileBytes(WideOf(kept)) == "old");
  SetFileAttributesW(WideOf(kept).c_str(), FILE_ATTRIBUTE_NORMAL);

  CHECK_EQ(ErrorOf([&] { fs.Deletefolder(work + u"a"); }), 0);
  CHECK(!fs.FolderExists(a));
}

void CheckSettings() {
  windows::WindowsCodePage code_page;
  CHECK_EQ(code_page.Number(), GetACP());
  CHECK(code_page.ToUtf16(code_page.FromUtf16(u"Plain text 123")) == u"Plain text 123");
  if (code_page.Number() == 1252) {
    CHECK(code_page.FromUtf16(u"Gr\u00FC\u00DFe \u4E2D") == "Gr\xFC\xDF" "e ?");
    CHECK(code_page.ToUtf16("\xFC") == u"\u00FC");
  }
  windows::WindowsClock clock;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  double today = 0;
  SystemTimeToVariantTime(&now, &today);
  CHECK(clock.Now() > today - 1.0 / 24 && clock.Now() < today + 1.0 / 24);
  SYSTEMTIME moment{2024, 11, 6, 2, 9, 15, 30, 0};
  double date = 0;
  SystemTimeToVariantTime(&moment, &date);
  const std::wstring day = WideOf(clock.ShortDateText(date));
  const std::wstring time = WideOf(clock.LongTimeText(date));
  CHECK(day.find(L"2024") != std::wstring::npos || day.find(L"24") != std::wstring::npos);
  CHECK(day.find(L"15") == std::wstring::npos && time.find(L"15:30") != std::wstring::npos);
  CHECK(time.find(L"2024") == std::wstring::npos);

  windows::WindowsFileTimeConverter converter;
  SystemTime converted;
  CHECK(converter.FileTimeToSystemTime(FileTime::FromTicks(133750125300000000ULL), converted));
  CHECK((converted == SystemTime{2024, 11, 6, 2, 9, 15, 30, 0}));
  SystemTime untouched{1, 2, 3, 4, 5, 6, 7, 8};
  CHECK(!converter.FileTimeToSystemTime(FileTime::FromTicks(1ULL << 63), untouched));
  CHECK((untouched == SystemTime{1, 2, 3, 4, 5, 6, 7, 8}));
  CHECK(windows::WindowsTimeZone().GetTimeZoneInformation().result != TimeZoneInformation::kInvalid);
  CHECK(windows::WindowsUserLanguage().LanguageId() != 0);

  // Pending messages are taken off the queue; a request to quit stays for the host.
  windows::WindowsMessageLoop loop;
  MSG message{};
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  loop.YieldToPendingMessages();
  CHECK(!PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));
  PostQuitMessage(3);
  loop.YieldToPendingMessages();
  CHECK(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == WM_QUIT &&
        message.wParam == 3);
}

class FixedLocation final : public ComponentLocation {
 public:
  explicit FixedLocation(std::u16string folder) : folder_(std::move(folder)) {}
  std::u16string ComponentFolder() override { return folder_; }

 private:
  std::u16string folder_;
};

void CheckAddressBookLibrary(const std::u16string& library_folder) {
  WabContext context;
  const auto missing = windows::MakeWindowsAddressBookLibrary(
      std::make_shared<FixedLocation>(work));
  CHECK_EQ(ErrorOf([&] { missing->kWabOpen(context); }), 53);
  CHECK_EQ(ErrorOf([&] { missing->kWabGetPropType(0x3001001E); }), 53);

  const auto library = windows::MakeWindowsAddressBookLibrary(
      std::make_shared<FixedLocation>(library_folder));
  CHECK_EQ(library->kWabOpen(context), 1);
  CHECK_EQ(library->kWabGetNumEntries(context), 2);
  std::vector<WabEntry> entries(3);
  CHECK_EQ(library->kWabGetEntries(context, &entries[1], 2), 2);
  CHECK_EQ(library->kWabGetPropType(0x3001001E), 0x1E);
  char buffer[128] = {};
  CHECK_EQ(library->kWabGetProp_String(context, entries[1], 0x3001001E, buffer, 128, nullptr), 1);
  CHECK(std::string(buffer) == "Amelia Hartwell");
  char small[4] = {};
  CHECK_EQ(library->kWabGetProp_String(context, entries[1], 0x3001001E, small, 4, nullptr), 0);
  FileTime time;
  CHECK_EQ(library->kWabGetProp_SysTime(context, entries[2], 0x30080040, time), 1);
  CHECK_EQ(time.ticks(), 133182792000000000ULL);
  library->kWabClose(context);
}

void CheckMailClient() {
  windows::WindowsOutlookObjectModel model;
  std::shared_ptr<OutlookNamespace> session;
  CHECK_EQ(ErrorOf([&] {
             session = model.CreateApplication()->GetNamespace(u"MAPI");
             session->Logon(true, true);
           }),
           0);
  if (!session) return;
  const auto contacts = session->GetDefaultFolder(outlook::kFolderContacts);
  CHECK(contacts->Name() == u"Contacts" && contacts->DefaultMessageClass() == u"IPM.Contact");
  CHECK_EQ(contacts->Folders()->Count(), 0);
  CHECK(contacts->Folders()->Enumerate()->Next() == nullptr);
  const auto items = contacts->Items();
  CHECK_EQ(items->Count(), 3);
  std::vector<std::u16string> subjects;
  const auto members = items->Enumerate();
  while (const auto item = members->Next()) {
    subjects.push_back(TextOf(item->InvokeByName(u"Subject", InvokeKind::kPropertyGet, {})));
  }
  CHECK((subjects == std::vector<std::u16string>{u"Amelia Hartwell", u"Book club",
                                                 u"Bruno Castellan"}));
  const auto first = items->Item(AutomationValue{int16_t{1}});
  CHECK_EQ(Int32Of(first->InvokeByName(u"Class", InvokeKind::kPropertyGet, {})), 40);
  CHECK(std::holds_alternative<DateValue>(
      first->InvokeByName(u"LastModificationTime", InvokeKind::kPropertyGet, {})));
  CHECK_EQ(ErrorOf([&] { first->AsAppointment(); }), 13);
  CHECK_EQ(ErrorOf([&] { first->InvokeByName(u"NoSuchMember", InvokeKind::kPropertyGet, {}); }),
           438);
  CHECK(ErrorOf([&] { items->Item(AutomationValue{int16_t{9}}); }) != 0);
  const std::u16string card = work + u"contact.vcf";
  CHECK_EQ(ErrorOf([&] {
             first->InvokeByName(u"SaveAs", InvokeKind::kMethod,
                                 {AutomationValue{card}, AutomationValue{int32_t{6}}});
           }),
           0);
  CHECK(ReadFileBytes(WideOf(card)).find("FN:Amelia Hartwell") != std::string::npos);

  const auto calendar = session->GetDefaultFolder(outlook::kFolderCalendar);
  const auto appointment = calendar->Items()->Item(AutomationValue{int16_t{2}})->AsAppointment();
  CHECK(appointment->Subject() == u"Weekly sync");
  CHECK(appointment->RecurrenceState() != 0);
  CHECK(appointment->LastModificationTime() > 45600);
  CHECK_EQ(ErrorOf([&] { appointment->SaveAs(work + u"sync.vcs", outlook::kSaveAsVCalendar); }), 0);
  CHECK(FileExists(WideOf(work + u"sync.vcs")));
  // A failure inside the mail client arrives with its own description.
  std::u16string description;
  try {
    appointment->SaveAs(work + u"missing\\sync.vcs", 7);
  } catch (const Error& error) {
    description = error.description();
  }
  CHECK(description == u"Cannot save the file.");
}

}  // namespace
}  // namespace orvane::com_test

int wmain(int argc, wchar_t** argv) {
  using namespace orvane::com_test;
  if (argc != 3) {
    std::printf("usage: platform_test WORK_FOLDER ADDRESS_BOOK_FOLDER\n");
    return 2;
  }
  work = std::u16string(reinterpret_cast<const char16_t*>(argv[1]));
  if (work.back() != u'\\') work += u'\\';
  std::u16string library_folder(reinterpret_cast<const char16_t*>(argv[2]));
  if (library_folder.back() != u'\\') library_folder += u'\\';
  CreateDirectoryW(WideOf(work).c_str(), nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    CheckFileSystem();
    CheckSettings();
    CheckAddressBookLibrary(library_folder);
    CheckMailClient();
  } catch (const orvane::Error& error) {
    std::printf("unexpected error %d\n", static_cast<int>(error.number()));
    CHECK(false);
  }
  CoUninitialize();
  if (failures == 0) {
    std::printf("RESULT: PASS %d\n", checks);
  } else {
    std::printf("RESULT: FAIL %d of %d\n", failures, checks);
  }
  return failures == 0 ? 0 : 1;
}
