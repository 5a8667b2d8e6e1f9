#include "hosts/cli/help_text.h"

namespace orvane::cli {
namespace {

constexpr const char* kSynopses =
    "Usage: orvane count TYPE\n"
    "       orvane list TYPE\n"
    "       orvane item TYPE INDEX\n"
    "       orvane export-item TYPE INDEX [FILENAME]\n"
    "       orvane export TYPE [DESTINATION] [--name STEM] [--log NAME] [--log-dir DIR] "
    "[--combine]\n";

constexpr const char* kTypes =
    "TYPE is one of:\n"
    "  1, outlook-contacts   the mail client's contacts, written as .vcf files\n"
    "  2, outlook-calendar   the mail client's calendar, written as .vcs files\n"
    "  3, address-book       the address book's contacts, written as vCard 2.1 .vcf files\n"
    "Any other number is handed to the component, which does nothing for it.\n"
    "Types 1 and 2 read the mail store, the stand-in for the mail client here.\n";

std::string CommonOptions(uint32_t locale_code_page) {
  return "Options of every command:\n"
         "  --address-book FILE  the address book to read. Without it: $ORVANE_ADDRESS_BOOK,\n"
         "                       else $XDG_DATA_HOME/orvane/address-book.json, else\n"
         "                       ~/.local/share/orvane/address-book.json\n"
         "  --mail-store FILE    the mail store to read (types 1 and 2). Without it:\n"
         "                       $ORVANE_MAIL_STORE, else $XDG_DATA_HOME/orvane/mail-store.json,\n"
         "                       else ~/.local/share/orvane/mail-store.json\n"
         "  --code-page N        write cards, calendar files and logs in Windows code page N\n"
         "                       (950 Big5, 936 GBK, 1252 Western, 65001 UTF-8, ...) instead\n"
         "                       of the one the locale gives (now " +
         std::to_string(locale_code_page) +
         ")\n"
         "  --json               print one JSON object (the result number, the values handed\n"
         "                       back, the messages shown and, for export, every event)\n"
         "  -h, --help           show the help of the program, or of COMMAND\n";
}

constexpr const char* kExitStatus =
    "Exit status:\n"
    "  0    the command did what was asked\n"
    "  1    it failed: the error number and description are on standard error\n"
    "  2    the command line was wrong\n"
    "  130  a second Ctrl-C ended a running export or listing at once (143 for a second\n"
    "       SIGTERM, 129 for a second SIGHUP)\n";

constexpr const char* kCountHelp =
    "Usage: orvane count TYPE\n"
    "\n"
    "Prints how many items the source of TYPE holds.\n"
    "\n"
    "The count fails (status 1) when the component cannot count the items, also\n"
    "when the address book or the mail store cannot be opened: standard error says why.\n";

constexpr const char* kListHelp =
    "Usage: orvane list TYPE\n"
    "\n"
    "Prints every item of the source, one line each: the index, the last modification\n"
    "time (as item prints it; \"none\" for an item without one) and the title:\n"
    "   1  2005-03-01T12:00:00  Ada Lovelace\n"
    "  12  none                 Northgate Library Help Desk\n"
    "An item that cannot be read shows its error in place (\"3  error 13: Type\n"
    "mismatch\"); the listing goes on and ends with status 1. With --json: one object\n"
    "with the count and \"items\", each with its index, result, title, time and error.\n"
    "On a terminal a long listing shows its progress on standard error. Ctrl-C stops\n"
    "it after the current item, with status 1.\n";

constexpr const char* kItemHelp =
    "Usage: orvane item TYPE INDEX\n"
    "\n"
    "Prints the title and the last modification time of item INDEX (counted from 1,\n"
    "in the order of the source). The time is ISO 8601 text without a zone, just as\n"
    "the component hands it out; for the address book that is the time in UTC, for\n"
    "the mail store the local time:\n"
    "  title: Ada Lovelace\n"
    "  modified: 2005-03-01T12:00:00\n"
    "An item without a modification time shows \"modified: none\" (null with --json).\n"
    "An index outside the items is error 9.\n";

constexpr const char* kExportItemHelp =
    "Usage: orvane export-item TYPE INDEX [FILENAME]\n"
    "\n"
    "Exports item INDEX (counted from 1) to one file and prints the file's path.\n"
    "The extension (.vcf or .vcs) is added to FILENAME. FILENAME may be:\n"
    "  omitted          the file goes into the current directory, named after the type\n"
    "                   and the index: ExpressvCard5.vcf, OutlookvCard5.vcf, OutlookvCal5.vcs\n"
    "  a folder         (existing, or ending in \"/\"): the file goes there, named as above\n"
    "  a file name      the file is written there, relative to the current directory\n"
    "An existing file of that name is replaced. An index outside the items is error 9.\n";

constexpr const char* kExportHelp =
    "Usage: orvane export TYPE [DESTINATION] [--name STEM] [--log NAME] [--log-dir DIR] "
    "[--combine]\n"
    "\n"
    "Exports every item of TYPE into the folder DESTINATION, one file per item named\n"
    "STEM1.vcf, STEM2.vcf ... (.vcs for calendar entries); files of those names are\n"
    "replaced. Then prints how many items were written, where, and the log file.\n"
    "\n"
    "  DESTINATION    the folder for the files (default: the current directory); it is\n"
    "                 created when missing, but not its parent\n"
    "  --name STEM    the start of the file names (default: OutlookvCard, OutlookvCal or\n"
    "                 ExpressvCard, by type)\n"
    "  --log NAME     append a log of the run to the file NAME (created when missing)\n"
    "  --log-dir DIR  the folder of that log (default: the current directory)\n"
    "  --combine      also write every item into one file, STEM.vcf or STEM.vcs\n"
    "\n"
    "On a terminal a progress bar shows on standard error. Ctrl-C (or SIGTERM, SIGHUP)\n"
    "stops the export after the current item: the files written so far stay, the log\n"
    "block is written, the summary says \"Stopped after\" and the status is 0. A second\n"
    "signal quits at once (status 130 for Ctrl-C, 143 for SIGTERM, 129 for SIGHUP).\n"
    "\n"
    "Each run works in a new private folder inside \"tmp\" beside the orvane program\n"
    "(in $TMPDIR or /tmp where that folder cannot be written) and removes only that.\n"
    "A file that cannot be copied into DESTINATION stops the run (status 1); a file\n"
    "there that you may not write is never replaced.\n";

}  // namespace

std::string GeneralHelp(uint32_t locale_code_page) {
  return std::string(
             "orvane: exports contacts and calendar entries into vCard and vCalendar files.\n"
             "\n") +
         kSynopses +
         "\n"
         "Commands:\n"
         "  count        print how many items the source holds\n"
         "  list         print the index, modification time and title of every item\n"
         "  item         print the title and modification time of one item\n"
         "  export-item  export one item to a file and print the file's path\n"
         "  export       export every item into a folder and print a summary\n"
         "\n" +
         kTypes + "\n" + CommonOptions(locale_code_page) +
         "  --version            print the program's version\n\n" + kExitStatus +
         "\n"
         "Options may come before or after the command. Texts are read and written as\n"
         "UTF-8. Run \"orvane COMMAND --help\" for the details of a command.\n";
}

std::string CommandHelp(CommandName command, uint32_t locale_code_page) {
  std::string text;
  switch (command) {
    case CommandName::kCount:
      text = kCountHelp;
      break;
    case CommandName::kList:
      text = kListHelp;
      break;
    case CommandName::kItem:
      text = kItemHelp;
      break;
    case CommandName::kExportItem:
      text = kExportItemHelp;
      break;
    case CommandName::kExport:
      text = kExportHelp;
      break;
  }
  return text + "\n" + kTypes + "\n" + CommonOptions(locale_code_page) + "\n" + kExitStatus;
}

std::string ShortUsage(std::optional<CommandName> command) {
  if (!command) return std::string(kSynopses) + "Try \"orvane --help\" for more.\n";
  const std::string name(CommandText(*command));
  const std::string help = CommandHelp(*command, 0);
  return help.substr(0, help.find('\n') + 1) + "Try \"orvane " + name + " --help\" for more.\n";
}

}  // namespace orvane::cli
