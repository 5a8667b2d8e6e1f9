"""End-to-end tests of the built program: cli_end_to_end.py ORVANE SAMPLE_ADDRESS_BOOK TEST_CLASS

Each test has a fresh temporary folder with its own copy of the program (the run's working
folder "tmp" lives beside it) and a fixed environment: LANG=C, TZ=UTC, HOME and XDG_DATA_HOME
inside that folder. ORVANE_TEST_PAUSE_AT_YIELD=N makes the program pause at its N-th yield and
say so; the test then sends SIGINT, so a stopped run ends after item N without any timing.
"""

import json, os, pathlib, pty, shutil, signal, subprocess, sys, tempfile, time, unittest

ORVANE = SAMPLE = ""
CARDS = ["ExpressvCard1.vcf", "ExpressvCard2.vcf", "ExpressvCard3.vcf"]
OUT_OF_RANGE = ["orvane: error 9: Subscript out of range",
                "orvane: the address book has 3 items, numbered from 1"]
NOT_FOUND = ["orvane: error 76: Path not found"]


def book(*people):
    """An address book of (name, modification time or None) pairs."""
    return {"entries": [{"properties": [["PR_DISPLAY_NAME", name]] +
                         ([["PR_LAST_MODIFICATION_TIME", modified]] if modified else [])}
                        for name, modified in people]}


def read_terminal(terminal, until=None):
    """What the program wrote to a terminal: up to `until`, or all of it."""
    shown = b""
    try:
        while until is None or until not in shown:
            chunk = os.read(terminal, 4096)
            if not chunk:
                break
            shown += chunk
    except OSError:  # EIO once the program has closed its end
        pass
    return shown


class OrvaneTest(unittest.TestCase):
    book_document = book(("Ada Lovelace", "2005-03-01T12:00:00Z"),
                         ("Bob Marley", "2010-07-04T08:30:00Z"), ("Cy Twombly", None))

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="orvane-cli-")
        self.addCleanup(shutil.rmtree, self.root, True)
        for folder in ("bin", "home", "data", "work"):
            os.mkdir(os.path.join(self.root, folder))
        self.program = shutil.copy2(ORVANE, os.path.join(self.root, "bin"))
        self.work = os.path.join(self.root, "work")
        self.book = self.write("book.json", json.dumps(self.book_document, ensure_ascii=False))

    def in_work(self, *names):
        return os.path.join(self.work, *names)

    def files_in(self, *names):
        return sorted(os.listdir(self.in_work(*names)))

    def read(self, *names):
        return pathlib.Path(self.in_work(*names)).read_bytes()

    def write(self, name, text):
        pathlib.Path(self.in_work(name)).write_text(text, encoding="utf-8")
        return self.in_work(name)

    def start(self, *arguments, env=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE):
        environment = {"PATH": "/usr/bin:/bin", "LANG": "C", "TZ": "UTC", **(env or {}),
                       "HOME": os.path.join(self.root, "home"),
                       "XDG_DATA_HOME": os.path.join(self.root, "data")}
        return subprocess.Popen([self.program, *arguments], cwd=self.work, env=environment,
                                stdout=stdout, stderr=stderr)

    def finish(self, process):
        """(exit status, standard output, standard error) of a started run."""
        out, err = process.communicate(timeout=120)
        return process.returncode, (out or b"").decode(), (err or b"").decode()

    def orvane(self, *arguments, stdout=subprocess.PIPE):
        return self.finish(self.start(*arguments, stdout=stdout))

    def with_book(self, *arguments):
        return self.orvane(*arguments, "--address-book", self.book)

    def json_run(self, *arguments):
        status, out, err = self.with_book(*arguments, "--json")
        self.assertEqual(len(out.splitlines()), 1, out + err)
        return status, json.loads(out)


class Commands(OrvaneTest):
    def test_each_command_in_text(self):
        os.mkdir(self.in_work("cards"))
        no_source = "orvane: note: export type {} has no source; the component does nothing for it\n"
        cases = [
            (("count", "3"), "3\n", ""),
            (("count", "7"), "0\n", no_source.format(7)),
            (("item", "3", "1"), "title: Ada Lovelace\nmodified: 2005-03-01T12:00:00\n", ""),
            (("list", "3"), "1  2005-03-01T12:00:00  Ada Lovelace\n2  2010-07-04T08:30:00  Bob Marley\n"
                            "3  none                 Cy Twombly\n", ""),
            (("list", "7"), "", no_source.format(7)),
            (("export-item", "3", "2"), self.in_work("ExpressvCard2.vcf") + "\n", ""),
            (("export-item", "3", "1", "cards/ada"), self.in_work("cards", "ada.vcf") + "\n", ""),
            (("export-item", "9", "1"), "", no_source.format(9)),
        ]
        for arguments, out, err in cases:
            self.assertEqual(self.with_book(*arguments), (0, out, err), arguments)
        self.assertEqual(self.files_in("cards"), ["ada.vcf"])
        self.assertIn(b"\r\nFN:Bob Marley\r\n", self.read("ExpressvCard2.vcf"))

    def test_each_command_in_json(self):
        self.assertEqual(self.json_run("count", "3"), (0, {
            "command": "count", "type": 3, "result": 3, "count": 3, "messages": [], "error": None}))
        status, item = self.json_run("item", "address-book", "2")
        self.assertAlmostEqual(item.pop("modify_time_value"), 40363.3541666, places=5)
        self.assertEqual((status, item), (0, {
            "command": "item", "type": 3, "index": 2, "result": 0, "title": "Bob Marley",
            "modify_time": "2010-07-04T08:30:00", "messages": [], "error": None}))
        self.assertEqual(self.json_run("export-item", "3", "1", "ada"), (0, {
            "command": "export-item", "type": 3, "index": 1, "result": 0, "filename": self.in_work("ada"),
            "file": self.in_work("ada.vcf"), "messages": [], "error": None}))
        status, missing = self.json_run("item", "3", "4")
        self.assertEqual((status, missing["result"], missing["title"], missing["error"]),
                         (1, 9, None, {"number": 9, "description": "Subscript out of range"}))
        status, listed = self.json_run("list", "3")
        self.assertEqual((status, listed["count"], [item["title"] for item in listed["items"]],
                          listed["items"][2]["modify_time"]),
                         (0, 3, ["Ada Lovelace", "Bob Marley", "Cy Twombly"], None))

    def test_failures_end_with_status_1_and_say_why(self):
        empty = self.write("empty.json", '{"entries": []}')
        cases = [
            (self.book, ("item", "3", "0"), OUT_OF_RANGE),
            (self.book, ("export-item", "3", "4"), OUT_OF_RANGE),
            (empty, ("item", "3", "1"), ["orvane: error: the address book has no items"]),
            (empty, ("export-item", "3", "1"), ["orvane: error: the address book has no items"]),
            (self.book, ("export-item", "3", "1", "nowhere/ada"), NOT_FOUND),
            (self.book, ("export", "3", "a/b"), NOT_FOUND),
        ]
        for address_book, arguments, err_lines in cases:
            status, out, err = self.orvane(*arguments, "--address-book", address_book)
            self.assertEqual((status, out, err.splitlines()), (1, "", err_lines), arguments)
        self.assertEqual(self.files_in(), ["book.json", "empty.json"])

    def test_a_source_too_large_to_count_says_why_and_its_items_are_still_reached(self):
        overflow = ["orvane: error 6: Overflow", "orvane: there are more items than a count can hold "
                    "(32767); item and export-item still reach items 1 to 32767"]
        self.book = self.write("big.json", json.dumps(book(*(("P%d" % n, None) for n in range(1, 32770)))))
        store = self.write("store.json", json.dumps(
            {"contacts": {"items": [{"class": 40}] * 32768}, "calendar": {}}))
        cases = [
            (("count", "3"), 1, "", overflow),
            (("count", "outlook-contacts", "--mail-store", store), 1, "", overflow),
            (("list", "3"), 1, "", overflow),
            (("item", "3", "32767"), 0, "title: P32767\nmodified: none\n", []),
            (("export-item", "3", "5"), 0, self.in_work("ExpressvCard5.vcf") + "\n", []),
            (("item", "3", "0"), 1, "", OUT_OF_RANGE[:1] + ["orvane: items are numbered from 1"]),
        ]
        for arguments, status, out, err_lines in cases:
            answer = self.with_book(*arguments)
            self.assertEqual(answer[:2] + (answer[2].splitlines(),), (status, out, err_lines), arguments)

    def test_a_listing_shows_a_failing_item_in_place_and_goes_on(self):
        appointment = {"class": 26, "subject": "Visit", "lastModificationTime": "2025-02-01T10:00:00Z"}
        store = self.write("store.json", json.dumps(
            {"contacts": {}, "calendar": {"items": [appointment, {"class": 40}, appointment]}}))
        self.assertEqual(self.orvane("list", "2", "--mail-store", store), (
            1, "1  2025-02-01T10:00:00  Visit\n2  error 13: Type mismatch\n3  2025-02-01T10:00:00  Visit\n",
            "orvane: error: 1 of 3 items could not be read\n"))

    def test_output_that_cannot_be_written_fails(self):
        with open("/dev/full", "wb") as full:
            self.assertEqual(self.orvane("count", "3", "--address-book", self.book, stdout=full),
                             (1, "", "orvane: error: standard output could not be written\n"))


class Export(OrvaneTest):
    def test_writes_the_files_and_the_log_as_asked(self):
        self.assertEqual(self.with_book("export", "address-book"), (0, "3 items written to %s\n" % self.work, ""))
        self.assertEqual(self.files_in(), CARDS + ["book.json"])
        options = ("--name", "card", "--log", "run.log", "--log-dir", "logs")
        self.assertEqual(self.with_book("export", "3", "out", *options), (0, "3 items written to %s\nLog: %s\n" % (
            self.in_work("out"), self.in_work("logs", "run.log")), ""))
        self.assertEqual(self.files_in("out"), ["card1.vcf", "card2.vcf", "card3.vcf"])
        self.assertIn(b"\r\n3\x01Cy Twombly\r\n", self.read("logs", "run.log"))
        self.assertEqual(self.with_book("export", "3", "combined", "--combine")[0], 0)
        self.assertEqual(self.read("combined", "ExpressvCard.vcf").count(b"BEGIN:VCARD"), 3)

    def test_an_empty_book_writes_no_file_and_says_so(self):
        empty = self.write("empty.json", '{"entries": []}')
        self.assertEqual(self.orvane("export", "3", "out", "--address-book", empty),
                         (0, "0 items written to %s\n" % self.in_work("out"), ""))
        self.assertEqual(self.files_in("out"), [])

    def test_as_json_with_every_event(self):
        log = self.in_work("run.log")
        progress = [{"event": "ExportProgress", "total": 3, "current": current, "text": text}
                    for current, text in ((0, "Contact:"), (1, "Ada Lovelace"), (2, "Bob Marley"),
                                          (3, "Cy Twombly"), (3, "--Address book export finish--"))]
        self.assertEqual(self.json_run("export", "3", "out", "--log", "run.log"), (0, {
            "command": "export", "type": 3, "destination": self.in_work("out"), "name": "", "mode": 0,
            "log_name": "run.log", "log_dir": self.work, "result": 0, "stopped": False,
            "items_handled": 3, "total": 3, "log_file": log,
            "events": progress + [{"event": "ExportDone", "result": "", "log_file": log}],
            "messages": [], "error": None}))

    def test_a_terminal_shows_a_progress_bar(self):
        terminal, other_end = pty.openpty()
        process = self.start("export", "3", "out", "--address-book", self.book, stderr=other_end)
        os.close(other_end)
        shown = read_terminal(terminal)
        os.close(terminal)
        self.assertEqual(self.finish(process)[:2], (0, "3 items written to %s\n" % self.in_work("out")))
        self.assertIn(b"\r\x1b[K[####################] 100%  3/3  Cy Twombly", shown)
        self.assertTrue(shown.endswith(b"\r\x1b[K"), shown)

    def test_a_file_that_cannot_be_copied_stops_the_run_and_fails_it(self):
        os.makedirs(self.in_work("out", "ExpressvCard2.vcf"))  # a folder in the way stops root too
        status, out, err = self.with_book("export", "3", "out")
        self.assertEqual((status, out),
                         (1, "Stopped after 2 of 3 items; the files are in %s\n" % self.in_work("out")))
        self.assertRegex(err, "^orvane: error: .+\n"
                              "orvane: error: the export stopped early after the error above\n$")
        self.assertEqual(self.files_in("out"), CARDS[:2])


class StoppedExport(OrvaneTest):
    book_document = book(*(("Person %d" % n, None) for n in range(1, 11)))

    # Each signal's notice is the interrupt handler's tests' to check.
    def test_a_signal_ends_the_run_after_the_current_item(self):
        out = self.in_work("out")
        process = self.start("export", "3", out, "--address-book", self.book, "--log", "run.log",
                             env={"ORVANE_TEST_PAUSE_AT_YIELD": "3"})
        self.assertEqual(process.stderr.readline(), b"orvane: paused at yield 3; waiting for a signal\n")
        process.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(process), (
            0, "Stopped after 3 of 10 items; the files are in %s\nLog: %s\n" % (out, self.in_work("run.log")),
            "orvane: stopping after the current item on SIGTERM; a second one quits at once\n"))
        self.assertEqual(self.files_in("out"), CARDS)
        self.assertFalse(os.path.exists(os.path.join(self.root, "bin", "tmp")))
        log = self.read("run.log")
        self.assertEqual((log.count(b"\r\n3\x01Person 3\r\n"), log.count(b"Person 4")), (1, 0))


    def test_a_listing_stops_too_and_shows_its_progress_once_it_lasts(self):
        terminal, other_end = pty.openpty()
        process = self.start("list", "3", "--address-book", self.book, stderr=other_end,
                             env={"ORVANE_TEST_PAUSE_AT_YIELD": "2"})
        os.close(other_end)
        shown = read_terminal(terminal, until=b"waiting for a signal")
        time.sleep(0.6)  # the listing has now lasted long enough to show its progress
        process.send_signal(signal.SIGINT)
        shown += read_terminal(terminal)
        os.close(terminal)
        self.assertEqual(self.finish(process)[:2], (1, " 1  none                 Person 1\n"
                                                       " 2  none                 Person 2\n"))
        self.assertNotIn(b"1/10", shown)
        self.assertIn(b"2/10  Person 2", shown)
        self.assertIn(b"orvane: error: the listing was stopped after 2 of 10 items", shown)


class UnopenableStore(OrvaneTest):
    def check_failures(self, cases, what, hint, component_says=()):
        for arguments, reason in cases:
            status, _, err = self.orvane(*arguments)
            lines = err.splitlines()
            self.assertEqual((status, lines[:len(component_says)], lines[len(component_says) + 1:]),
                             (1, list(component_says), ["orvane: name another one with " + hint]))
            self.assertTrue(lines[len(component_says)].startswith(
                "orvane: error: cannot open %s: %s" % (what, reason)), err)

    def test_every_command_names_the_file_what_is_wrong_and_how_to_name_another_one(self):
        bad = self.write("bad.json", '{"entries": [\n  {"properties": [\n    ["PR_NO_SUCH_TAG", "x"]]}\n]}\n')
        cases = [(("count", "3", "--address-book", bad), bad + ": line 3: "),
                 (("list", "3", "--address-book", bad), bad + ": line 3: "),
                 (("item", "3", "1", "--address-book", "missing.json"), "missing.json: cannot read the file: "),
                 (("export", "3", "out"), os.path.join(self.root, "data", "orvane", "address-book.json: "))]
        self.check_failures(cases, "the address book",
                            "--address-book FILE or the ORVANE_ADDRESS_BOOK environment variable")

    def test_the_mail_store_too_after_the_components_own_message(self):
        bad = self.write("bad.json", '{"contacts": {},\n "calendar": {"items": [{"class": 26,\n "end": "x"}]}}')
        cases = [(("count", "1", "--mail-store", bad), bad + ': line 3: "calendar", item 1: "end" wants '),
                 (("item", "2", "1", "--mail-store", "missing.json"), "missing.json: cannot read the file: "),
                 (("export-item", "1", "1", "--mail-store", "/dev/null"), "/dev/null: cannot read the file: "
                  "not a regular file"),
                 (("export", "2", "out"), os.path.join(self.root, "data", "orvane", "mail-store.json: "))]
        self.check_failures(cases, "the mail store",
                            "--mail-store FILE or the ORVANE_MAIL_STORE environment variable",
                            ["orvane: note: Unable to use the Outlook module"])


class UsageErrors(OrvaneTest):
    def test_wrong_command_lines_end_with_status_2_and_a_short_usage(self):
        export = "Usage: orvane export TYPE [DESTINATION] [--name STEM] [--log NAME] [--log-dir DIR] [--combine]"
        cases = [
            ((), "no command given", "Usage: orvane count TYPE"),
            (("item", "3", "1.5"), "'1.5' is no item index: use a whole number; items count from 1",
             "Usage: orvane item TYPE INDEX"),
            (("export-item", "3"), "too few arguments", "Usage: orvane export-item TYPE INDEX [FILENAME]"),
            (("list", "3", "--code-page", "1200"), "unknown code page 1200: this machine has no converter for it",
             "Usage: orvane list TYPE"),
            (("export", "3", "--log-dir", "logs"), "--log-dir needs --log NAME", export),
            (("export", "3", "--name", "a/b"), "--name takes a file name stem, without \"/\"", export),
            (("export", "3", "--log", "logs/"), "--log needs a file name", export),
        ]
        for arguments, message, usage in cases:
            status, out, err = self.orvane(*arguments)
            lines = err.splitlines()
            self.assertEqual((status, out, lines[:2]), (2, "", ["orvane: " + message, usage]), arguments)
            self.assertTrue(lines[-1].startswith("Try \"orvane "), err)

    def test_help_and_version(self):
        status, out, _ = self.orvane("--help")
        self.assertTrue(status == 0 and "--address-book FILE" in out and "--mail-store FILE" in out
                        and "Exit status" in out, out)
        for locale, code_page in (("C", 1252), ("zh_TW.Big5", 950), ("ja_JP.UTF-8", 65001)):
            out = self.finish(self.start("--help", env={"LANG": locale}))[1]
            self.assertIn("instead\n                       of the one the locale gives (now %d)\n" % code_page, out)
        for command in ("count", "list", "item", "export-item", "export"):
            status, out, err = self.orvane(command, "--help")
            self.assertEqual((status, err, out.split()[:3]), (0, "", ["Usage:", "orvane", command]))
        self.assertEqual(self.orvane("--version"), (0, "orvane 1.0\n", ""))


class SampleAddressBook(OrvaneTest):
    def test_every_command(self):
        self.book = SAMPLE
        status, out, _ = self.with_book("count", "3")
        total = int(out)
        self.assertRegex(self.with_book("item", "3", out.strip())[1],
                         r"^title: .+\nmodified: \d{4}-\d\d-\d\dT[\d:]{8}\n$")
        self.assertEqual(self.with_book("export-item", "3", "1")[1], self.in_work("ExpressvCard1.vcf") + "\n")
        answer = self.json_run("export", "3", "cards")[1]
        self.assertEqual((status, answer["items_handled"], answer["error"]), (0, total, None))
        self.assertEqual(len(self.files_in("cards")), total)
        with open(SAMPLE, encoding="utf-8") as sample:
            names = [dict(entry["properties"]).get("PR_DISPLAY_NAME") for entry in json.load(sample)["entries"]]
        status, out, _ = self.with_book("list", "3")
        self.assertEqual((status, len(out.splitlines()), total), (0, len(names), len(names)))
        # The titles cross the code page (1252 in the C locale): UTF-8 keeps every one.
        listed = self.json_run("list", "3", "--code-page", "65001")[1]
        self.assertEqual([item["title"] for item in listed["items"]], names)


def main():
    global ORVANE, SAMPLE
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    ORVANE, SAMPLE, test_class = sys.argv[1:]
    if test_class == "SampleAddressBook" and not os.path.isfile(SAMPLE):
        print("skipped: no sample address book at " + SAMPLE)
        sys.exit(77)
    program = unittest.main(argv=[sys.argv[0], test_class], exit=False, verbosity=2)
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
