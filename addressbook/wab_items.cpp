#include "addressbook/wab_items.h"

#include <optional>

#include "addressbook/mapi_tags.h"
#include "addressbook/property_reader.h"
#include "addressbook/vcard_writer.h"
#include "addressbook/wab_entry_values.h"
#include "addressbook/wab_session.h"
#include "component/file_operations.h"
#include "platform/error.h"

namespace orvane {
namespace {

void RequireEntryIndex(int16_t ItemIdx, int32_t n) {
  if (ItemIdx < 1 || ItemIdx > n) throw Error(errors::kSubscriptOutOfRange);
}

// Looked up afresh for every call into the library, which may not keep a
// reference into WabEntries.
WabEntry& FetchedEntry(CallContext& context, int32_t EntryIndex) {
  WabEntry* entry = WabEntryAt(context.state, EntryIndex);
  if (entry == nullptr) throw Error(errors::kSubscriptOutOfRange);
  return *entry;
}

// What the entry's own properties say; a tag met twice keeps its last value.
struct EntryInfo {
  std::optional<AutomationDate> modified;
};

// Walks the entry's properties in the library's order. The display name goes
// straight to `Title`; a modification time that is not a date ends the scan
// with error 13.
EntryInfo ScanEntry(CallContext& context, int32_t EntryIndex, std::u16string& Title) {
  AddressBookLibrary& library = *context.platform.address_book;
  WabContext& wab_context = context.state.WabContext;
  EntryInfo info;
  const int32_t count = library.kWabGetNumProps(wab_context, FetchedEntry(context, EntryIndex));
  for (int32_t index = 0; index < count; ++index) {
    const int32_t tag =
        library.kWabGetPropTag(wab_context, FetchedEntry(context, EntryIndex), index, 0);
    if (tag == tags::PR_DISPLAY_NAME) {
      Title = GetWabPropText(context, tag, EntryIndex);
    } else if (tag == tags::PR_LAST_MODIFICATION_TIME) {
      info.modified = ReadWabDateText(GetWabPropText(context, tag, EntryIndex));
      if (!info.modified) throw Error(errors::kTypeMismatch);
    }
  }
  return info;
}

AutomationDate MovedToUtc(AutomationDate local, float UtcOffsetHours) {
  const std::optional<AutomationDate> moved = ShiftByUtcOffset(local, UtcOffsetHours);
  if (!moved) throw Error(errors::kOverflow);
  return *moved;
}

}  // namespace

int16_t CountWabEntries(CallContext& context) {
  WabSession session(context, WabSession::OnFailedOpen::kCloseAnyway);
  if (!session.IsOpen()) return 0;
  return NarrowWabCount(session.CountEntries());
}

void GetWabEntryInfo(CallContext& context, int16_t ItemIdx, std::u16string& Title,
                     AutomationDate& ModifyTime) {
  WabSession session(context, WabSession::OnFailedOpen::kLeaveClosed);
  if (!session.IsOpen()) return;
  const int32_t n = session.CountEntries();
  if (n <= 0) return;
  context.YieldToHost();
  const float offset = OperationUtcOffsetHours(context);
  session.FetchEntries(n);
  RequireEntryIndex(ItemIdx, n);
  const EntryInfo info = ScanEntry(context, ItemIdx, Title);
  // Only a time read from the entry is moved; the caller's own value stays as it is.
  if (info.modified) ModifyTime = MovedToUtc(*info.modified, offset);
}

void ExportWabEntry(CallContext& context, int16_t ItemIdx, const std::u16string& filename) {
  WabSession session(context, WabSession::OnFailedOpen::kLeaveClosed);
  if (!session.IsOpen()) return;
  const int32_t n = session.CountEntries();
  if (n <= 0) return;
  context.YieldToHost();
  session.FetchEntries(n);
  RequireEntryIndex(ItemIdx, n);
  const float offset = OperationUtcOffsetHours(context);
  const std::u16string text = BuildWabVCard(context, ItemIdx, offset, 1);
  const std::u16string path = filename + u".vcf";
  FileSystem& fs = *context.state.FileSys;
  // Deleted first, so the file holds this card alone.
  WriteTextFile(fs, *context.platform.code_page, path, text);
}

}  // namespace orvane
