' Calls every method of Orvane.Orvane2 from VBScript, with variables (passed
' by reference) and literals, and checks the results and the values handed back.
' Usage: cscript //nologo all_methods.vbs bare|address-book|sample-book|mail-client WORK_FOLDER
' sample-book: exports the address book into WORK_FOLDER\cards, logging to export.log there.
' The last line is "RESULT: PASS n" or "RESULT: FAIL n of m": cscript hides script errors.
Option Explicit
On Error Resume Next
Dim phase, work, o, fso, checks, failures
phase = WScript.Arguments(0)
work = WScript.Arguments(1)
If Right(work, 1) <> "\" Then work = work & "\"
checks = 0 : failures = 0
Set fso = CreateObject("Scripting.FileSystemObject")
If Not fso.FolderExists(work) Then fso.CreateFolder work

Sub Check(passed, what)
  checks = checks + 1
  If Not passed Then
    failures = failures + 1
    WScript.Echo "FAILED: " & what
  End If
End Sub

Set o = CreateObject("Orvane.Orvane2")
Check Err.Number = 0, "CreateObject: " & Err.Description
Err.Clear

Dim t, r, f, title, modified, dest, logs
' itemcount with a literal and with a variable of another type
Check o.itemcount(4) = 0, "itemcount(4)"
t = "4"
Check o.itemcount(t) = 0, "itemcount of a text variable"
Check t = "4" And TypeName(t) = "String", "itemcount leaves its argument"

' ExportItem2: the variable gets the target path back
f = "item"
r = o.ExportItem2(1, 4, f)
Check r = 0, "ExportItem2 result"
Check Len(f) > 5 And Right(f, 5) = "\item", "ExportItem2 hands back the path: " & f
f = ""
Check o.ExportItem2(1, 4, f) = 0 And f = "", "ExportItem2 with empty name"

' GetItem of an unknown type leaves the variables alone
title = "keep" : modified = 5
Check o.GetItem(1, 4, title, modified) = 0, "GetItem result"
Check title = "keep" And modified = 5 And TypeName(modified) = "Integer", "GetItem leaves the variables"

' Export2 with literals, a skipped ExportMode and the log named
dest = work & "vbs-unknown"
logs = work & "vbs-logs"
r = o.Export2(dest, "", 4, , "vbs.log", logs)
Check r = 0, "Export2 result"
Check fso.FolderExists(dest), "Export2 made the destination"
Check fso.FileExists(logs & "\vbs.log"), "Export2 wrote the log"
r = o.Export2(dest, "", 4)
Check r = 0, "Export2 without the optional arguments"

o.ExportBreak
Check Err.Number = 0, "ExportBreak"

' Wrong calls fail without harm
Err.Clear
r = o.itemcount("abc")
Check Err.Number <> 0, "itemcount with text that is no number fails"
Err.Clear
r = o.itemcount()
Check Err.Number <> 0, "itemcount without its argument fails"
Err.Clear
r = o.NoSuchMethod(1)
Check Err.Number = 438, "an unknown method is error 438, not " & Err.Number
Err.Clear

If phase = "bare" Then
  Check o.itemcount(1) = -1, "itemcount without the mail client"
  f = ""
  Check o.ExportItem2(1, 1, f) = 91, "ExportItem2 without the mail client"
  Check o.Export2(work & "vbs-none", "", 1) = 91, "Export2 without the mail client"
  Check o.Export2(work & "vbs-none", "", 3) = 53, "Export2 without kwab.dll"
ElseIf phase = "address-book" Then
  Check o.itemcount(3) = 2, "itemcount of the address book"
  title = "" : modified = 0
  r = o.GetItem(2, 3, title, modified)
  Check r = 0 And title = "Bruno Castellan", "GetItem of the address book: " & title
  Check TypeName(modified) = "Date" And Year(modified) = 2023, "GetItem hands back a date: " & modified
  f = work & "vbs-card"
  Check o.ExportItem2(1, 3, f) = 0, "ExportItem2 of the address book"
  Check fso.FileExists(f & ".vcf"), "ExportItem2 wrote " & f & ".vcf"
  dest = work & "vbs-book"
  Check o.Export2(dest, "", 3) = 0, "Export2 of the address book"
  Check fso.FileExists(dest & "\ExpressvCard2.vcf"), "Export2 wrote both cards"
ElseIf phase = "sample-book" Then
  Check o.Export2(work & "cards", "", 3, , "export.log", work) = 0, "Export2 of the sample book"
ElseIf phase = "mail-client" Then
  Check o.itemcount(1) = 3, "itemcount of the mail contacts"
  title = ""
  modified = 0
  Check o.GetItem(1, 1, title, modified) = 0 And title = "Amelia Hartwell", "GetItem of a contact: " & title
  Check TypeName(modified) = "Date" And Year(modified) = 2024, "GetItem of a contact hands back its date"
  f = work & "vbs-contact"
  Check o.ExportItem2(3, 1, f) = 0 And fso.FileExists(f & ".vcf"), "ExportItem2 of a contact"
  dest = work & "vbs-calendar"
  Check o.Export2(dest, "", 2) = 0, "Export2 of the calendar"
  Check fso.FileExists(dest & "\OutlookvCal1.vcs"), "Export2 wrote the appointment"
Else
  Check False, "unknown phase " & phase
End If

If Err.Number <> 0 Then Check False, "unexpected error " & Err.Number & ": " & Err.Description
If failures = 0 Then
  WScript.Echo "RESULT: PASS " & checks
Else
  WScript.Echo "RESULT: FAIL " & failures & " of " & checks
End If
