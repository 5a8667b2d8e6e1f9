// Calls every method of Orvane.Orvane2 from JScript, which passes every
// argument by value, and checks the results.
// Usage: cscript //nologo all_methods.js bare|address-book|mail-client WORK_FOLDER
// The last line is "RESULT: PASS n" or "RESULT: FAIL n of m".
var phase = WScript.Arguments(0);
var work = WScript.Arguments(1);
if (work.charAt(work.length - 1) != "\\") work += "\\";
var checks = 0, failures = 0;
var fso = new ActiveXObject("Scripting.FileSystemObject");
if (!fso.FolderExists(work)) fso.CreateFolder(work);

function check(passed, what) {
  checks++;
  if (!passed) {
    failures++;
    WScript.Echo("FAILED: " + what);
  }
}

try {
  var o = new ActiveXObject("Orvane.Orvane2");
  check(o.itemcount(4) == 0, "itemcount(4)");
  check(o.itemcount("0") == 0, "itemcount of a text");
  check(o.ExportItem2(1, 4, "") == 0, "ExportItem2 of an unknown type");
  check(o.GetItem(1, 4, "title", 0) == 0, "GetItem of an unknown type");
  var dest = work + "js-unknown";
  check(o.Export2(dest, "", 4) == 0, "Export2 without the optional arguments");
  check(o.Export2(dest, "", 4, 0, "js.log", work + "js-logs") == 0, "Export2 with all arguments");
  check(fso.FileExists(work + "js-logs\\js.log"), "Export2 wrote the log");
  o.ExportBreak();
  var failed = false;
  try { o.itemcount(); } catch (e) { failed = true; }
  check(failed, "itemcount without its argument fails");

  if (phase == "bare") {
    check(o.itemcount(1) == -1, "itemcount without the mail client");
    check(o.ExportItem2(1, 2, "") == 91, "ExportItem2 without the mail client");
    check(o.Export2(work + "js-none", "", 3) == 53, "Export2 without kwab.dll");
  } else if (phase == "address-book") {
    check(o.itemcount(3) == 2, "itemcount of the address book");
    check(o.GetItem(1, 3, "", 0) == 0, "GetItem of the address book");
    check(o.ExportItem2(2, 3, work + "js-card") == 0, "ExportItem2 of the address book");
    check(fso.FileExists(work + "js-card.vcf"), "ExportItem2 wrote the card");
    check(o.Export2(work + "js-book", "", 3) == 0, "Export2 of the address book");
    check(fso.FileExists(work + "js-book\\ExpressvCard1.vcf"), "Export2 wrote the cards");
  } else if (phase == "mail-client") {
    check(o.GetItem(2, 2, "", 0) == 0, "GetItem of an appointment");
    check(o.itemcount(2) == 2, "itemcount of the calendar");
    check(o.Export2(work + "js-contacts", "", 1) == 0, "Export2 of the mail contacts");
    check(fso.FileExists(work + "js-contacts\\OutlookvCard2.vcf"), "Export2 wrote the contacts");
  } else {
    check(false, "unknown phase " + phase);
  }
} catch (e) {
  check(false, "unexpected error: " + e.message);
}
WScript.Echo(failures == 0 ? "RESULT: PASS " + checks : "RESULT: FAIL " + failures + " of " + checks);
