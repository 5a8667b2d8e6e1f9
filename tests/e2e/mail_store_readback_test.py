#!/usr/bin/python3
"""Exports the sample mail store's contacts (type 1) and calendar (type 2) with the built
`orvane` program and reads every file back with an independent reader (python3-vobject),
comparing names, telephone numbers, e-mail addresses, notes, summaries and start times with
the store, and checks the run logs.

The calendar files are also read by libical's vCalendar 1.0 converter, through the
VCALENDAR_TO_ICALENDAR program built beside the tests.

usage: mail_store_readback_test.py ORVANE MAIL_STORE VCALENDAR_TO_ICALENDAR
"""
import datetime
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import vobject

ORVANE, MAIL_STORE, VCALENDAR_TO_ICALENDAR = (os.path.abspath(path) for path in sys.argv[1:4])

CONTACT, APPOINTMENT = 40, 26
TELEPHONES = {
    "businessTelephoneNumber": {"WORK", "VOICE"},
    "homeTelephoneNumber": {"HOME", "VOICE"},
    "mobileTelephoneNumber": {"CELL", "VOICE"},
    "businessFaxNumber": {"WORK", "FAX"},
}


def load_store():
    with open(MAIL_STORE, encoding="utf-8") as f:
        return json.load(f)


def contact_folders(folder):
    """The folders a contacts export walks, in its order: subfolders first, depth first,
    then the folder itself when it is a contacts folder."""
    for subfolder in folder.get("folders", []):
        yield from contact_folders(subfolder)
    if folder.get("defaultMessageClass") == "IPM.Contact":
        yield folder


def exported_contacts(store):
    """(folder, [contacts]) for every walked folder that has items."""
    return [(folder, [item for item in folder["items"] if item["class"] == CONTACT])
            for folder in contact_folders(store["contacts"]) if folder.get("items")]


def exported_appointments(store):
    return [item for item in store["calendar"].get("items", [])
            if item.get("recurrenceState", 0) == 0]


def with_charset(text, encoding):
    # The files name no charset, so a reader must be told which one, as an importer is;
    # the quoted-printable lines are the ones that need it.
    return text.replace(";ENCODING=QUOTED-PRINTABLE:",
                        ";ENCODING=QUOTED-PRINTABLE;CHARSET=%s:" % encoding)


def param_types(line):
    return {t.upper() for t in line.params.get("TYPE", [])} | \
           {p.upper() for p in line.singletonparams}


def libical_event(path):
    """The properties of the one VEVENT libical makes of a vCalendar file, by name."""
    # libical passes the file's text on as it is; in other code pages it is no UTF-8.
    text = subprocess.run([VCALENDAR_TO_ICALENDAR, path], check=True,
                          capture_output=True).stdout.decode("utf-8", errors="replace")
    unfolded = text.replace("\r\n ", "").replace("\n ", "")
    lines = [line.rstrip("\r") for line in unfolded.split("\n")]
    event = lines[lines.index("BEGIN:VEVENT") + 1:lines.index("END:VEVENT")]
    properties = {}
    for line in event:
        name, _, value = line.partition(":")
        properties.setdefault(name.split(";")[0], value)
    return properties


def ical_unescaped(value):
    return (value.replace("\\n", "\n").replace("\\,", ",").replace("\\;", ";")
            .replace("\\\\", "\\"))


def utc(text):
    """An ISO 8601 time with a zone, as an aware datetime in UTC."""
    return datetime.datetime.fromisoformat(text.replace("Z", "+00:00")).astimezone(
        datetime.timezone.utc)


class MailStoreReadback(unittest.TestCase):
    def export(self, export_type, environment):
        """Runs one export in a fresh folder; returns (destination, log lines)."""
        root = tempfile.mkdtemp(prefix="orvane-mail-store-")
        self.addCleanup(shutil.rmtree, root, True)
        for folder in ("bin", "out", "tmp", "home"):
            os.mkdir(os.path.join(root, folder))
        program = shutil.copy2(ORVANE, os.path.join(root, "bin"))
        destination = os.path.join(root, "out")
        env = {"PATH": "/usr/bin:/bin", "HOME": os.path.join(root, "home"),
               "XDG_DATA_HOME": os.path.join(root, "home"), "TMPDIR": os.path.join(root, "tmp"),
               **environment}
        subprocess.run([program, "export", str(export_type), destination, "--mail-store",
                        MAIL_STORE, "--log", "run.log", "--log-dir", root],
                       env=env, cwd=root, check=True, stdout=subprocess.DEVNULL)
        # No working folder is left, beside the program or in the temporary folder.
        self.assertEqual(os.listdir(os.path.join(root, "bin")), ["orvane"])
        self.assertEqual(os.listdir(os.path.join(root, "tmp")), [])
        with open(os.path.join(root, "run.log"), "rb") as f:
            log = f.read()
        return destination, log

    def read_files(self, destination, stem, extension, encoding, count):
        """The files numbered 1 to count, read with vobject; nothing else is there."""
        names = ["%s%d.%s" % (stem, n, extension) for n in range(1, count + 1)]
        self.assertEqual(sorted(os.listdir(destination)), sorted(names))
        objects = []
        for name in names:
            with open(os.path.join(destination, name), "rb") as f:
                data = f.read()
            self.assertTrue(data.endswith(b"\r\n"), name)
            objects.append(vobject.readOne(with_charset(data.decode(encoding), encoding)))
        return objects

    def check_contacts(self, environment, encoding, english):
        as_written = lambda text: text.encode(encoding, errors="replace").decode(encoding)
        folders = exported_contacts(load_store())
        contacts = [contact for _, items in folders for contact in items]
        self.assertGreaterEqual(len(folders), 3)
        destination, log = self.export(1, environment)
        cards = self.read_files(destination, "OutlookvCard", "vcf", encoding, len(contacts))
        for number, (card, contact) in enumerate(zip(cards, contacts), start=1):
            with self.subTest(card=number, subject=contact["subject"]):
                self.check_card(card, contact, as_written)

        lines = log.decode(encoding).split("\r\n")
        self.assertRegex(lines[0], r"^\[.+\]$")
        self.assertEqual(lines[-1], "", "the block ends with CR LF")
        numbered = [line for line in lines if "\x01" in line]
        self.assertEqual(numbered, ["%d\x01%s" % (n, as_written(c["subject"]))
                                    for n, c in enumerate(contacts, start=1)])
        self.assertTrue(lines[-3].endswith(str(len(contacts))), lines[-3])
        if english:
            expected = []
            number = 0
            for folder, items in folders:
                expected += ["Folder:" + as_written(folder["name"]), "Name:"]
                for item in items:
                    number += 1
                    expected.append("%d\x01%s" % (number, as_written(item["subject"])))
            expected += ["Export Data Count:%d" % len(contacts), "--Address book export finish--"]
            self.assertEqual(lines[1:-1], expected)

    def check_card(self, card, contact, as_written):
        text = lambda key: as_written(contact.get(key, ""))
        self.assertEqual(card.version.value, "2.1")
        self.assertEqual(card.fn.value, text("fullName"))
        self.assertEqual(card.n.value.family, text("lastName"))
        self.assertEqual(card.n.value.given, text("firstName"))
        telephones = {(frozenset(param_types(line)), line.value)
                      for line in card.contents.get("tel", [])}
        self.assertEqual(telephones, {(frozenset(kinds), text(key))
                                      for key, kinds in TELEPHONES.items() if contact.get(key)})
        emails = [line.value for line in card.contents.get("email", [])]
        self.assertEqual(emails, [as_written(a) for a in contact.get("emailAddresses", []) if a])
        notes = [line.value for line in card.contents.get("note", [])]
        self.assertEqual(notes, [text("body")] if contact.get("body") else [])

    def check_calendar(self, environment, encoding, english):
        as_written = lambda text: text.encode(encoding, errors="replace").decode(encoding)
        store = load_store()
        appointments = exported_appointments(store)
        self.assertLess(len(appointments), len(store["calendar"]["items"]), "a recurring one")
        destination, log = self.export(2, environment)
        calendars = self.read_files(destination, "OutlookvCal", "vcs", encoding, len(appointments))
        for number, (calendar, appointment) in enumerate(zip(calendars, appointments), start=1):
            with self.subTest(event=number, subject=appointment["subject"]):
                event = calendar.vevent
                self.assertEqual(calendar.version.value, "1.0")
                self.assertEqual(event.summary.value, as_written(appointment["subject"]))
                start = event.dtstart.value
                if appointment.get("allDayEvent"):
                    # Whole days stay the days written, in every zone.
                    self.assertEqual(start.isoformat(), appointment["start"] + "T00:00:00")
                else:
                    self.assertEqual(start, utc(appointment["start"]))
                descriptions = [line.value for line in event.contents.get("description", [])]
                self.assertEqual(descriptions,
                                 [as_written(appointment["body"])] if appointment.get("body") else [])

                # libical: the same event, start in UTC (or the same whole day), no rule.
                ical = libical_event(os.path.join(destination, "OutlookvCal%d.vcs" % number))
                if appointment.get("allDayEvent"):
                    self.assertEqual(ical["DTSTART"][:8], appointment["start"].replace("-", ""))
                else:
                    self.assertEqual(ical["DTSTART"],
                                     utc(appointment["start"]).strftime("%Y%m%dT%H%M%SZ"))
                self.assertNotIn("RRULE", ical)
                if encoding == "utf-8":  # libical takes text as UTF-8
                    self.assertEqual(ical_unescaped(ical["SUMMARY"]), appointment["subject"])
                    if appointment.get("body"):
                        self.assertEqual(ical_unescaped(ical["DESCRIPTION"]).replace("\r", ""),
                                         appointment["body"].replace("\r", ""))

        lines = log.decode(encoding).split("\r\n")
        self.assertEqual(lines[-1], "", "the block ends with CR LF")
        self.assertEqual([line for line in lines if "\x01" in line],
                         ["%d\x01%s" % (n, as_written(a["subject"]))
                          for n, a in enumerate(appointments, start=1)])
        if english:
            self.assertEqual(lines[1], "Folder:" + store["calendar"]["name"])
            self.assertEqual(lines[-3:-1], ["Export Data Count:%d" % len(appointments),
                                            "--Calendars export finish--"])

    def test_contacts_western_code_page(self):
        self.check_contacts({"LANG": "en_US", "TZ": "UTC"}, "cp1252", True)

    def test_contacts_utf8_locale(self):
        self.check_contacts({"LANG": "en_US.UTF-8", "TZ": "UTC"}, "utf-8", True)

    def test_contacts_traditional_chinese_code_page(self):
        self.check_contacts({"LANG": "zh_TW", "TZ": "Asia/Taipei"}, "cp950", False)

    def test_calendar_utf8_locale(self):
        self.check_calendar({"LANG": "en_US.UTF-8", "TZ": "UTC"}, "utf-8", True)

    def test_calendar_in_another_zone(self):
        self.check_calendar({"LANG": "en_US.UTF-8", "TZ": "America/New_York"}, "utf-8", True)

    def test_calendar_traditional_chinese_code_page(self):
        self.check_calendar({"LANG": "zh_TW", "TZ": "Asia/Taipei"}, "cp950", False)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
