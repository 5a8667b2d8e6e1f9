"""End-to-end tests of the orvane program: each run starts the built binary.

Usage: cli_end_to_end.py ORVANE_BINARY SAMPLE_ADDRESS_BOOK TEST_CLASS

Every test works in a fresh temporary folder with its own copy of the binary,
so that the component's folder (the folder of the binary, where the working
folder "tmp" of a run lives) belongs to that test alone. The environment is
set in full: LANG=C, TZ=UTC, HOME and XDG_DATA_HOME inside the temporary
folder, no ORVANE_ variables unless a test sets them.

A stopped export is made deterministic with ORVANE_TEST_PAUSE_AT_YIELD=N: the
program pauses at its N-th yield and says so on standard error; the test then
sends SIGINT and the run must end after item N.
"""

import fcntl
import json
import os
import pty
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import unittest

ORVANE = ""
SAMPLE = ""
SKIPPED = 77

NAME_ANOTHER = ("orvane: name another one with --address-book FILE or the "
                "ORVANE_ADDRESS_BOOK environment variable")


def entry(name, modified=None):
    properties = [["PR_DISPLAY_NAME", name]]
    if modified:
        properties.append(["PR_LAST_MODIFICATION_TIME", modified])
    return {"properties": properties}


THREE_PEOPLE = {"entries": [
    entry("Ada Lovelace", "2005-03-01T12:00:00Z"),
    entry("Bob Marley", "2010-07-04T08:30:00Z"),
    entry("Cy Twombly"),
]}


class Workspace:
    """A temporary folder with the program, a home, a data folder and a work folder."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="orvane-cli-")
        self.bin = self.path("bin")
        self.home = self.path("home")
        self.data = self.path("data")
        self.work = self.path("work")
        for folder in (self.bin, self.home, self.data, self.work):
            os.mkdir(folder)
        self.program = os.path.join(self.bin, "orvane")
        shutil.copy2(ORVANE, self.program)

    def path(self, *names):
        return os.path.join(self.root, *names)

    def in_work(self, *names):
        return os.path.join(self.work, *names)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def environment(self, extra=None):
        env = {"PATH": "/usr/bin:/bin", "LANG": "C", "TZ": "UTC",
               "HOME": self.home, "XDG_DATA_HOME": self.data}
        env.update(extra or {})
        return env

    def write_book(self, document, *names):
        path = self.in_work(*names) if names else self.in_work("book.json")
        with open(path, "w", encoding="utf-8") as out:
            json.dump(document, out, ensure_ascii=False, indent=1)
        return path

    def run(self, *arguments, env=None, stdout=subprocess.PIPE):
        return subprocess.run([self.program, *arguments], cwd=self.work,
                              env=self.environment(env), stdout=stdout,
                              stderr=subprocess.PIPE, timeout=120, check=False)

    def start(self, *arguments, env=None):
        return subprocess.Popen([self.program, *arguments], cwd=self.work,
                                env=self.environment(env), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)


class Result:
    def __init__(self, completed):
        self.status = completed.returncode
        self.out = (completed.stdout or b"").decode("utf-8")
        self.err = completed.stderr.decode("utf-8")

    def json(self):
        lines = self.out.splitlines()
        assert len(lines) == 1, self.out
        return json.loads(lines[0])


class OrvaneTest(unittest.TestCase):
    book_document = THREE_PEOPLE

    def setUp(self):
        self.space = Workspace()
        self.addCleanup(self.space.remove)
        self.book = self.space.write_book(self.book_document)

    def orvane(self, *arguments, env=None):
        return Result(self.space.run(*arguments, env=env))

    def with_book(self, *arguments, env=None):
        return self.orvane(*arguments, "--address-book", self.book, env=env)

    def assertSucceeds(self, result, out):
        self.assertEqual((result.status, result.out, result.err), (0, out, ""))

    def assertFails(self, result, status, err_lines):
        self.assertEqual((result.status, result.out, result.err.splitlines()),
                         (status, "", err_lines))

    def assertNoWorkingFolderLeft(self):
        self.assertFalse(os.path.exists(self.space.path("bin", "tmp")))

    def files_in(self, *names):
        return sorted(os.listdir(self.space.in_work(*names)))


class CountAndItem(OrvaneTest):
    def test_count_prints_the_number(self):
        for type_word in ("3", "address-book"):
            self.assertSucceeds(self.with_book("count", type_word), "3\n")

    def test_count_as_json(self):
        result = self.with_book("count", "3", "--json")
        self.assertEqual(result.status, 0)
        self.assertEqual(result.json(), {"command": "count", "type": 3, "result": 3, "count": 3,
                                         "messages": [], "error": None})

    def test_count_of_an_unknown_type_is_zero(self):
        result = self.with_book("count", "7")
        self.assertEqual((result.status, result.out), (0, "0\n"))
        self.assertEqual(result.err, "orvane: note: export type 7 has no source; "
                                     "the component does nothing for it\n")

    def test_count_reads_the_book_named_by_the_environment(self):
        self.assertSucceeds(self.orvane("count", "3", env={"ORVANE_ADDRESS_BOOK": self.book}), "3\n")

    def test_count_reads_the_book_in_the_data_folder(self):
        os.mkdir(self.space.path("data", "orvane"))
        shutil.copy(self.book, self.space.path("data", "orvane", "address-book.json"))
        self.assertSucceeds(self.orvane("count", "3"), "3\n")

    def test_item_prints_title_and_modification_time(self):
        self.assertSucceeds(self.with_book("item", "3", "1"),
                            "title: Ada Lovelace\nmodified: 2005-03-01T12:00:00\n")

    def test_item_as_json(self):
        result = self.with_book("item", "address-book", "2", "--json")
        self.assertEqual(result.status, 0)
        answer = result.json()
        self.assertEqual({key: answer[key] for key in ("command", "type", "index", "result", "title",
                                                        "modify_time", "error")},
                         {"command": "item", "type": 3, "index": 2, "result": 0,
                          "title": "Bob Marley", "modify_time": "2010-07-04T08:30:00",
                          "error": None})
        self.assertAlmostEqual(answer["modify_time_value"], 40363.3541666, places=5)

    def test_item_outside_the_book_is_error_9(self):
        for index in ("4", "0", "-1"):
            self.assertFails(self.with_book("item", "3", index), 1,
                             ["orvane: error 9: Subscript out of range",
                              "orvane: the address book has 3 items, numbered from 1"])

    def test_item_outside_the_book_as_json(self):
        result = self.with_book("item", "3", "4", "--json")
        self.assertEqual(result.status, 1)
        answer = result.json()
        self.assertEqual((answer["result"], answer["title"], answer["error"]),
                         (None, None, {"number": 9, "description": "Subscript out of range"}))


class ExportItem(OrvaneTest):
    def test_without_filename_the_file_goes_into_the_current_directory(self):
        expected = self.space.in_work("ExpressvCard2.vcf")
        self.assertSucceeds(self.with_book("export-item", "3", "2"), expected + "\n")
        with open(expected, "rb") as card:
            text = card.read()
        self.assertTrue(text.startswith(b"BEGIN:VCARD\r\nVERSION:2.1\r\n"), text)
        self.assertIn(b"FN:Bob Marley\r\n", text)

    def test_a_relative_file_name_is_taken_from_the_current_directory(self):
        os.mkdir(self.space.in_work("cards"))
        self.assertSucceeds(self.with_book("export-item", "3", "1", "cards/ada"),
                            self.space.in_work("cards", "ada.vcf") + "\n")
        self.assertEqual(self.files_in("cards"), ["ada.vcf"])

    def test_a_folder_receives_the_file_under_the_type_name(self):
        os.mkdir(self.space.in_work("cards"))
        self.assertSucceeds(self.with_book("export-item", "3", "3", "cards"),
                            self.space.in_work("cards", "ExpressvCard3.vcf") + "\n")

    def test_a_file_name_in_utf8_is_kept(self):
        self.assertSucceeds(self.with_book("export-item", "3", "1", "Zoë-Ångström"),
                            self.space.in_work("Zoë-Ångström.vcf") + "\n")
        self.assertTrue(os.path.isfile(self.space.in_work("Zoë-Ångström.vcf")))

    def test_an_existing_file_is_replaced(self):
        with open(self.space.in_work("ada.vcf"), "w", encoding="ascii") as old:
            old.write("old content\n")
        self.assertEqual(self.with_book("export-item", "3", "1", "ada").status, 0)
        with open(self.space.in_work("ada.vcf"), "rb") as card:
            self.assertTrue(card.read().startswith(b"BEGIN:VCARD"))

    def test_as_json(self):
        result = self.with_book("export-item", "3", "1", "ada", "--json")
        self.assertEqual(result.status, 0)
        self.assertEqual(result.json(), {
            "command": "export-item", "type": 3, "index": 1, "result": 0,
            "filename": self.space.in_work("ada"), "file": self.space.in_work("ada.vcf"),
            "messages": [], "error": None})

    def test_a_missing_folder_is_error_76(self):
        self.assertFails(self.with_book("export-item", "3", "1", "nowhere/ada"), 1,
                         ["orvane: error 76: Path not found"])

    def test_a_missing_item_writes_nothing(self):
        self.assertFails(self.with_book("export-item", "3", "4"), 1,
                         ["orvane: error 9: Subscript out of range",
                          "orvane: the address book has 3 items, numbered from 1"])
        self.assertEqual(self.files_in(), ["book.json"])


class Export(OrvaneTest):
    def test_writes_one_file_per_item_and_a_log(self):
        result = self.with_book("export", "3", "out", "--log", "run.log")
        self.assertSucceeds(result, "3 items written to {}\nLog: {}\n".format(
            self.space.in_work("out"), self.space.in_work("run.log")))
        self.assertEqual(self.files_in("out"),
                         ["ExpressvCard1.vcf", "ExpressvCard2.vcf", "ExpressvCard3.vcf"])
        with open(self.space.in_work("run.log"), "rb") as log:
            text = log.read()
        self.assertIn(b"Contact:\r\n1\x01Ada Lovelace\r\n2\x01Bob Marley\r\n3\x01Cy Twombly\r\n", text)
        self.assertIn(b"Export Data Count:3\r\n--Address book export finish--\r\n", text)
        self.assertNoWorkingFolderLeft()

    def test_without_destination_the_files_go_into_the_current_directory(self):
        self.assertSucceeds(self.with_book("export", "address-book"),
                            "3 items written to {}\n".format(self.space.work))
        self.assertEqual(self.files_in(), ["ExpressvCard1.vcf", "ExpressvCard2.vcf",
                                           "ExpressvCard3.vcf", "book.json"])

    def test_name_and_log_folder(self):
        result = self.with_book("export", "3", "out", "--name", "card", "--log", "run.log",
                                "--log-dir", "logs")
        self.assertEqual(result.status, 0, result.err)
        self.assertEqual(self.files_in("out"), ["card1.vcf", "card2.vcf", "card3.vcf"])
        self.assertEqual(self.files_in("logs"), ["run.log"])

    def test_combine_also_writes_every_item_into_one_file(self):
        result = self.with_book("export", "3", "out", "--combine")
        self.assertEqual(result.status, 0, result.err)
        self.assertIn("ExpressvCard.vcf", self.files_in("out"))
        with open(self.space.in_work("out", "ExpressvCard.vcf"), "rb") as combined:
            self.assertEqual(combined.read().count(b"BEGIN:VCARD"), 3)

    def test_as_json_with_every_event(self):
        result = self.with_book("export", "3", "out", "--log", "run.log", "--json")
        self.assertEqual(result.status, 0, result.err)
        log = self.space.in_work("run.log")
        self.assertEqual(result.json(), {
            "command": "export", "type": 3, "destination": self.space.in_work("out"), "name": "",
            "mode": 0, "log_name": "run.log", "log_dir": self.space.work, "result": 0,
            "stopped": False, "items_handled": 3, "total": 3, "log_file": log,
            "events": [
                {"event": "ExportProgress", "total": 3, "current": 0, "text": "Contact:"},
                {"event": "ExportProgress", "total": 3, "current": 1, "text": "Ada Lovelace"},
                {"event": "ExportProgress", "total": 3, "current": 2, "text": "Bob Marley"},
                {"event": "ExportProgress", "total": 3, "current": 3, "text": "Cy Twombly"},
                {"event": "ExportProgress", "total": 3, "current": 3,
                 "text": "--Address book export finish--"},
                {"event": "ExportDone", "result": "", "log_file": log}],
            "messages": [], "error": None})

    def test_a_terminal_shows_a_progress_bar(self):
        master, slave = pty.openpty()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 100, 0, 0))
        try:
            process = subprocess.Popen(
                [self.space.program, "export", "3", "out", "--address-book", self.book],
                cwd=self.space.work, env=self.space.environment(), stdout=subprocess.PIPE,
                stderr=slave)
        finally:
            os.close(slave)
        shown = read_until_closed(master)
        out, _ = process.communicate(timeout=120)
        self.assertEqual(process.returncode, 0)
        self.assertIn(b"\r\x1b[K[####################] 100%  3/3  Cy Twombly", shown)
        self.assertTrue(shown.endswith(b"\r\x1b[K"), shown)
        self.assertEqual(out.decode(), "3 items written to {}\n".format(self.space.in_work("out")))

    def test_a_file_that_cannot_be_copied_stops_the_run_and_fails_it(self):
        # A folder where the second card should go: its copy fails, even for root.
        os.makedirs(self.space.in_work("out", "ExpressvCard2.vcf"))
        result = self.with_book("export", "3", "out")
        self.assertEqual((result.status, result.out), (1, "Stopped after 2 of 3 items; the files are in {}\n".format(
            self.space.in_work("out"))))
        lines = result.err.splitlines()
        self.assertEqual(len(lines), 2, result.err)
        self.assertTrue(lines[0].startswith("orvane: error: "), result.err)
        self.assertEqual(lines[1], "orvane: error: the export stopped early after the error above")
        self.assertTrue(os.path.isfile(self.space.in_work("out", "ExpressvCard1.vcf")))
        self.assertFalse(os.path.exists(self.space.in_work("out", "ExpressvCard3.vcf")))
        self.assertNoWorkingFolderLeft()

    def test_a_missing_parent_folder_is_error_76(self):
        self.assertFails(self.with_book("export", "3", "a/b"), 1, ["orvane: error 76: Path not found"])
        self.assertNoWorkingFolderLeft()

    def test_an_unknown_type_exports_nothing(self):
        result = self.with_book("export", "9", "out")
        self.assertEqual((result.status, result.out),
                         (0, "0 items written to {}\n".format(self.space.in_work("out"))))
        self.assertEqual(self.files_in("out"), [])

    def test_the_mail_client_is_unavailable(self):
        for arguments in (("export", "1", "out"), ("count", "outlook-contacts"),
                          ("item", "2", "1"), ("export-item", "1", "1")):
            result = self.with_book(*arguments)
            lines = result.err.splitlines()
            self.assertEqual(result.status, 1, arguments)
            self.assertEqual(len(lines), 2, result.err)
            self.assertTrue(lines[0].startswith("orvane: note: "), result.err)
            self.assertIn(lines[1], ("orvane: error 91: Object variable or With block variable not set",
                                     "orvane: error: the items could not be counted"))


def read_until_closed(descriptor):
    chunks = []
    while True:
        try:
            chunk = os.read(descriptor, 4096)
        except OSError:  # the other side closed
            break
        if not chunk:
            break
        chunks.append(chunk)
    os.close(descriptor)
    return b"".join(chunks)


class StoppedExport(OrvaneTest):
    book_document = {"entries": [entry("Person %d" % n) for n in range(1, 11)]}

    def run_stopped_at_third_item(self, *extra):
        process = self.space.start("export", "3", "out", "--address-book", self.book, *extra,
                                   env={"ORVANE_TEST_PAUSE_AT_YIELD": "3"})
        first_line = process.stderr.readline().decode()
        self.assertEqual(first_line, "orvane: paused at yield 3; waiting for a signal\n")
        process.send_signal(signal.SIGINT)
        out, err = process.communicate(timeout=120)
        return process.returncode, out.decode(), err.decode()

    def test_an_interrupt_ends_the_run_after_the_current_item(self):
        status, out, err = self.run_stopped_at_third_item("--log", "run.log")
        self.assertEqual(status, 0, err)
        self.assertEqual(out, "Stopped after 3 of 10 items; the files are in {}\nLog: {}\n".format(
            self.space.in_work("out"), self.space.in_work("run.log")))
        self.assertEqual(err, "orvane: stopping after the current item; "
                              "press Ctrl-C again to quit at once\n")
        self.assertEqual(self.files_in("out"),
                         ["ExpressvCard1.vcf", "ExpressvCard2.vcf", "ExpressvCard3.vcf"])
        with open(self.space.in_work("run.log"), "rb") as log:
            self.assertTrue(log.read().endswith(b"3\x01Person 3\r\n--Address book export cancel--\r\n"))
        self.assertNoWorkingFolderLeft()

    def test_a_stopped_run_as_json(self):
        status, out, _ = self.run_stopped_at_third_item("--json")
        self.assertEqual(status, 0)
        answer = json.loads(out)
        self.assertEqual((answer["result"], answer["stopped"], answer["items_handled"],
                          answer["total"], answer["error"]), (0, True, 3, 10, None))
        self.assertEqual(answer["events"][-2]["text"], "Person 3")


class UnopenableStore(OrvaneTest):
    def test_a_missing_file_is_named_with_how_to_name_another(self):
        self.assertFails(self.orvane("count", "3", "--address-book", "missing.json"), 1,
                         ["orvane: error: cannot open the address book: missing.json: "
                          "cannot read the file: No such file or directory", NAME_ANOTHER])

    def test_the_default_location_is_named_when_nothing_is_there(self):
        result = self.orvane("count", "3")
        self.assertEqual(result.status, 1)
        self.assertIn(self.space.path("data", "orvane", "address-book.json"), result.err)
        self.assertEqual(result.err.splitlines()[-1], NAME_ANOTHER)

    def test_a_malformed_file_is_named_with_its_line(self):
        bad = self.space.in_work("bad.json")
        with open(bad, "w", encoding="ascii") as out:
            out.write('{"entries": [\n  {"properties": [\n    ["PR_NO_SUCH_TAG", "x"]]}\n]}\n')
        result = self.orvane("count", "3", "--address-book", bad)
        self.assertEqual((result.status, result.out), (1, ""))
        first = result.err.splitlines()[0]
        self.assertTrue(first.startswith("orvane: error: cannot open the address book: " + bad + ": line 3: "),
                        first)

    def test_every_command_fails_on_it(self):
        for command in (("count", "3"), ("item", "3", "1"), ("export-item", "3", "1"),
                        ("export", "3", "out")):
            result = self.orvane(*command, "--address-book", "missing.json")
            self.assertEqual(result.status, 1, command)
            self.assertEqual(result.err.splitlines()[-1], NAME_ANOTHER, command)
        self.assertEqual(self.files_in("out"), [])

    def test_the_export_log_says_so_too(self):
        result = self.orvane("export", "3", "out", "--log", "run.log", "--address-book", "missing.json")
        self.assertEqual(result.out, "0 items written to {}\nLog: {}\n".format(
            self.space.in_work("out"), self.space.in_work("run.log")))
        with open(self.space.in_work("run.log"), "rb") as log:
            self.assertTrue(log.read().endswith(
                b"Does not exist any address book\r\n--Address book export end--\r\n"))

    def test_as_json(self):
        result = self.orvane("count", "3", "--json", "--address-book", "missing.json")
        self.assertEqual(result.status, 1)
        self.assertEqual(result.json()["error"], {
            "number": None, "description": "cannot open the address book: missing.json: "
                                           "cannot read the file: No such file or directory"})


class UsageErrors(OrvaneTest):
    def test_wrong_command_lines_end_with_status_2_and_a_short_usage(self):
        cases = [
            ((), "orvane: no command given", "Usage: orvane count TYPE"),
            (("frobnicate",), "orvane: unknown command 'frobnicate'", "Usage: orvane count TYPE"),
            (("count",), "orvane: too few arguments", "Usage: orvane count TYPE"),
            (("count", "contacts"), "orvane: 'contacts' is no export type: use 1 (outlook-contacts), "
                                    "2 (outlook-calendar) or 3 (address-book)",
             "Usage: orvane count TYPE"),
            (("item", "3", "first"), "orvane: 'first' is no item index: use a whole number; "
                                     "items count from 1", "Usage: orvane item TYPE INDEX"),
            (("export", "3", "--bogus"), "orvane: unknown option '--bogus'", "Usage: orvane count TYPE"),
            (("count", "3", "--log", "x"), "orvane: --log is an option of export only",
             "Usage: orvane count TYPE"),
            (("export", "3", "--log-dir", "logs"), "orvane: --log-dir needs --log NAME",
             "Usage: orvane export TYPE [DESTINATION] [--name STEM] [--log NAME] [--log-dir DIR] [--combine]"),
            (("export", "3", "--name", "a/b"), "orvane: --name takes a file name stem, without \"/\"",
             "Usage: orvane export TYPE [DESTINATION] [--name STEM] [--log NAME] [--log-dir DIR] [--combine]"),
            (("export", "3", "--log", "logs/"), "orvane: --log needs a file name",
             "Usage: orvane export TYPE [DESTINATION] [--name STEM] [--log NAME] [--log-dir DIR] [--combine]"),
        ]
        for arguments, message, usage in cases:
            result = self.orvane(*arguments)
            lines = result.err.splitlines()
            self.assertEqual((result.status, result.out, lines[:2]), (2, "", [message, usage]), arguments)
            self.assertTrue(lines[-1].startswith("Try \"orvane "), result.err)

    def test_help_describes_everything(self):
        general = self.orvane("--help")
        self.assertEqual((general.status, general.err), (0, ""))
        for word in ("count TYPE", "item TYPE INDEX", "export-item TYPE INDEX [FILENAME]",
                     "export TYPE [DESTINATION]", "--address-book FILE", "--json", "--version",
                     "address-book", "outlook-contacts", "outlook-calendar", "Exit status"):
            self.assertIn(word, general.out)
        for command, words in (("export", ("--name STEM", "--log NAME", "--log-dir DIR", "--combine",
                                           "current directory", "Ctrl-C")),
                               ("export-item", ("FILENAME", "current directory")),
                               ("item", ("ISO 8601",)),
                               ("count", ("opened",))):
            for asking in ((command, "--help"), ("help", command), ("--help", command)):
                result = self.orvane(*asking)
                self.assertEqual((result.status, result.err), (0, ""), asking)
                self.assertTrue(result.out.startswith("Usage: orvane " + command + " "), asking)
                for word in words:
                    self.assertIn(word, result.out, asking)

    def test_output_that_cannot_be_written_fails(self):
        with open("/dev/full", "wb") as full:
            result = Result(self.space.run("count", "3", "--address-book", self.book, stdout=full))
        self.assertEqual((result.status, result.err),
                         (1, "orvane: error: standard output could not be written\n"))

    def test_version(self):
        self.assertSucceeds(self.orvane("--version"), "orvane 1.0\n")


class SampleAddressBook(OrvaneTest):
    """The sample address book of the project, through every command."""

    def setUp(self):
        super().setUp()
        self.book = SAMPLE

    def test_every_command_in_text_and_json(self):
        count = self.with_book("count", "3")
        self.assertEqual(count.status, 0, count.err)
        total = int(count.out)
        self.assertGreater(total, 0)
        self.assertEqual(self.with_book("count", "3", "--json").json()["count"], total)

        item = self.with_book("item", "3", str(total))
        self.assertEqual(item.status, 0, item.err)
        self.assertRegex(item.out, r"^title: .+\nmodified: \d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\n$")
        self.assertEqual(self.with_book("item", "3", "1", "--json").json()["result"], 0)

        single = self.with_book("export-item", "3", "1")
        self.assertSucceeds(single, self.space.in_work("ExpressvCard1.vcf") + "\n")
        self.assertEqual(self.with_book("export-item", "3", "2", "--json").json()["file"],
                         self.space.in_work("ExpressvCard2.vcf"))

        run = self.with_book("export", "3", "cards", "--log", "run.log")
        self.assertSucceeds(run, "{} items written to {}\nLog: {}\n".format(
            total, self.space.in_work("cards"), self.space.in_work("run.log")))
        self.assertEqual(len(self.files_in("cards")), total)
        answer = self.with_book("export", "3", "again", "--json").json()
        self.assertEqual((answer["result"], answer["items_handled"], answer["error"]), (0, total, None))


def main():
    global ORVANE, SAMPLE
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    ORVANE, SAMPLE, test_class = sys.argv[1:]
    if test_class == "SampleAddressBook" and not os.path.isfile(SAMPLE):
        print("skipped: no sample address book at " + SAMPLE)
        sys.exit(SKIPPED)
    program = unittest.main(argv=[sys.argv[0], test_class], exit=False, verbosity=2)
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
