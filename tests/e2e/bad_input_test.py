#!/usr/bin/env python3
"""Bad input tried as a user would: each gets a clear error or the specified
behaviour, never a crash, and nothing that was there is lost.

usage: bad_input_test.py ORVANE SAMPLE_ADDRESS_BOOK
"""
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

ORVANE = sys.argv[1] if len(sys.argv) > 1 else "orvane"
SAMPLE = sys.argv[2] if len(sys.argv) > 2 else "samples/address-book.json"
NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
CANNOT_OPEN = "orvane: error: cannot open the address book: "


class BadInput(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="orvane-bad-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        os.chmod(self.folder, 0o777)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def orvane(self, *arguments, prefix=()):
        env = {"PATH": "/usr/bin:/bin", "LANG": "C", "TZ": "UTC", "HOME": self.folder,
               "TMPDIR": self.folder}
        run = subprocess.run([*prefix, ORVANE, *arguments], cwd=self.folder, env=env,
                             capture_output=True, timeout=120)
        # A crash shows as a negative status or a sanitizer report.
        self.assertGreaterEqual(run.returncode, 0, run.stderr)
        self.assertNotIn(b"Sanitizer", run.stderr)
        return run.returncode, run.stdout.decode(), run.stderr.decode(errors="replace")

    def test_stores_that_cannot_be_opened_say_where_and_why(self):
        # One store the reader refuses and one that cannot be read; each reason of its own
        # is the address-book library's tests' to check.
        cases = [
            ("truncated.json", b'{"entries": [{"properties": [', "line 1, column 30: not valid JSON"),
            ("missing.json", None, "cannot read the file: No such file or directory"),
        ]
        for name, content, reason in cases:
            with self.subTest(name):
                if content is not None:
                    self.write(name, content)
                for command in (["count", "3"], ["export", "3", "out"]):
                    status, out, err = self.orvane(*command, "--address-book", self.path(name))
                    self.assertEqual(status, 1, err)
                    self.assertIn(CANNOT_OPEN + self.path(name) + ": " + reason, err)
                self.assertEqual(sorted(os.listdir(self.path("out"))), [])
        self.assertEqual([n for n in os.listdir(self.folder) if n.startswith("run-")], [])

    def test_huge_values(self):
        note = "x" * (20 * 1024 * 1024)
        big = self.write("big.json", json.dumps({"entries": [{"properties": [
            ["PR_DISPLAY_NAME", "Big"], ["PR_COMMENT", note]]}]}).encode())
        status, out, err = self.orvane("export", "3", "big", "--address-book", big)
        self.assertEqual(status, 0, err)
        with open(self.path("big/ExpressvCard1.vcf"), "rb") as f:
            self.assertIn(b"NOTE:" + note.encode() + b"\r\n", f.read())

    def test_destinations_that_cannot_be_used(self):
        self.write("afile", b"mine")
        status, out, err = self.orvane("export", "3", "afile", "--address-book", SAMPLE)
        self.assertEqual(status, 1)
        self.assertIn("error 58: File already exists", err)
        with open(self.path("afile"), "rb") as f:
            self.assertEqual(f.read(), b"mine")
        # Characters the code page cannot hold are fine in a path, which is UTF-8.
        status, out, err = self.orvane("export", "3", "out-\u20ac-\u738b", "--address-book", SAMPLE)
        self.assertEqual(status, 0, err)
        self.assertEqual(len(os.listdir(self.path("out-\u20ac-\u738b"))), 12)

    @unittest.skipUnless(os.geteuid() == 0 and shutil.which("setpriv"),
                         "needs root to run the program as another user")
    def test_protected_files_are_neither_replaced_nor_written(self):
        if subprocess.run([*NOBODY, ORVANE, "--version"], capture_output=True).returncode != 0:
            self.skipTest("the program's folder is closed to other users")
        os.mkdir(self.path("out"))
        os.chmod(self.path("out"), 0o777)
        card = self.write("out/ExpressvCard2.vcf", b"the user's own card")
        log = self.write("out/run.log", b"an older log")
        for path in (card, log):
            os.chmod(path, 0o444)
        status, out, err = self.orvane("export", "3", "out", "--address-book", SAMPLE,
                                       "--log", "run.log", "--log-dir", "out", prefix=NOBODY)
        self.assertEqual(status, 1, err)
        self.assertIn("orvane: error: Permission denied", err)  # the copy's message box
        self.assertIn("error 70: Permission denied", err)  # the log
        for path, content in ((card, b"the user's own card"), (log, b"an older log")):
            with open(path, "rb") as f:
                self.assertEqual(f.read(), content)
            self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o444)
        self.assertIn("ExpressvCard1.vcf", os.listdir(self.path("out")))
        self.assertEqual([n for n in os.listdir(self.folder) if n.startswith("run-")], [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
