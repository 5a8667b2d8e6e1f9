#!/usr/bin/env python3
"""Two processes of one program export at once: each run is whole and sees only
its own files, and neither leaves a working folder behind.

usage: two_processes_test.py ORVANE
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ORVANE = sys.argv[1] if len(sys.argv) > 1 else "orvane"


def book(prefix, count):
    return {"entries": [{"properties": [["PR_DISPLAY_NAME", "%s %d" % (prefix, n)],
                                        ["PR_COMMENT", "line\r\nnext"]]}
                        for n in range(1, count + 1)]}


class TwoProcesses(unittest.TestCase):
    def test_two_exports_at_once(self):
        with tempfile.TemporaryDirectory() as folder:
            # A copy of its own, so that no other test's runs share its working folder.
            os.mkdir(os.path.join(folder, "bin"))
            program = shutil.copy2(ORVANE, os.path.join(folder, "bin"))
            program_tmp = os.path.join(folder, "bin", "tmp")
            env = {"PATH": "/usr/bin:/bin", "LANG": "C", "TZ": "UTC", "HOME": folder,
                   "TMPDIR": folder}
            runs = []
            for prefix, count in (("Ann", 400), ("Bo", 300)):
                path = os.path.join(folder, prefix + ".json")
                with open(path, "w", encoding="utf-8") as f:
                    json.dump(book(prefix, count), f)
                out = os.path.join(folder, "out-" + prefix)
                runs.append((prefix, count, out, subprocess.Popen(
                    [program, "export", "3", out, "--address-book", path, "--log", "run.log",
                     "--log-dir", out], env=env, stdout=subprocess.PIPE,
                    stderr=subprocess.PIPE)))
            for prefix, count, out, process in runs:
                stdout, stderr = process.communicate(timeout=120)
                self.assertEqual(process.returncode, 0, stderr)
                cards = sorted(n for n in os.listdir(out) if n.endswith(".vcf"))
                self.assertEqual(len(cards), count)
                for number in (1, count):
                    with open(os.path.join(out, "ExpressvCard%d.vcf" % number), "rb") as f:
                        self.assertIn(b"FN:%s %d\r\n" % (prefix.encode(), number), f.read())
                with open(os.path.join(out, "run.log"), "rb") as f:
                    log = f.read()
                self.assertIn(b"Export Data Count:%d\r\n" % count, log)
                self.assertNotIn(b"Ann" if prefix == "Bo" else b"Bo ", log)
            self.assertEqual([n for n in os.listdir(folder) if n.startswith("run-")], [])
            self.assertFalse(os.path.exists(program_tmp) and os.listdir(program_tmp))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
