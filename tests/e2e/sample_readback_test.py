#!/usr/bin/python3
"""Exports the sample address book with the built `orvane` program and reads every
card back with an independent vCard reader (python3-vobject), comparing names,
telephone numbers, addresses, e-mail addresses and notes with the address book.

usage: sample_readback_test.py ORVANE ADDRESS_BOOK
"""
import json
import os
import subprocess
import sys
import tempfile
import unittest

import vobject

ORVANE, ADDRESS_BOOK = (os.path.abspath(path) for path in sys.argv[1:3])

TELEPHONES = {
    "PR_BUSINESS_TELEPHONE_NUMBER": {"WORK", "VOICE"},
    "PR_HOME_TELEPHONE_NUMBER": {"HOME", "VOICE"},
    "PR_MOBILE_TELEPHONE_NUMBER": {"CELL", "VOICE"},
    "PR_PAGER_TELEPHONE_NUMBER": {"PAGER", "VOICE"},
    "PR_BUSINESS_FAX_NUMBER": {"WORK", "FAX"},
    "PR_HOME_FAX_NUMBER": {"HOME", "FAX"},
}
WORK_ADDRESS = ("PR_OFFICE_LOCATION", "PR_STREET_ADDRESS", "PR_LOCALITY",
                "PR_STATE_OR_PROVINCE", "PR_POSTAL_CODE", "PR_COUNTRY")
HOME_ADDRESS = ("PR_HOME_ADDRESS_STREET", "PR_HOME_ADDRESS_CITY",
                "PR_HOME_ADDRESS_STATE_OR_PROVINCE", "PR_HOME_ADDRESS_POSTAL_CODE",
                "PR_HOME_ADDRESS_COUNTRY")


def load_entries():
    with open(ADDRESS_BOOK, encoding="utf-8") as f:
        document = json.load(f)
    # The last occurrence of a tag wins, as in the export.
    return [dict((tag, value) for tag, value in entry["properties"])
            for entry in document["entries"]]


def export(destination, environment, options):
    env = dict(os.environ, TZ="UTC", HOME=destination, XDG_DATA_HOME=destination)
    env.pop("LC_ALL", None)
    env.pop("LC_CTYPE", None)
    env.update(environment)
    subprocess.run([ORVANE, "export", "address-book", destination,
                    "--address-book", ADDRESS_BOOK, "--log", "run.log", "--log-dir", destination,
                    *options],
                   env=env, cwd=destination, check=True, stdout=subprocess.DEVNULL)


def with_charset(card_text, code_page):
    # The cards are in the machine's code page and name no charset, so a reader
    # must be told which one, as an importer is; the quoted-printable lines are
    # the ones that need it.
    return card_text.replace(";ENCODING=QUOTED-PRINTABLE:",
                             ";ENCODING=QUOTED-PRINTABLE;CHARSET=%s:" % code_page)


def component(value):
    # vCard 2.1 gives "," no meaning inside an address part; the reader splits there.
    return ",".join(value) if isinstance(value, list) else value


def param_types(line):
    return {t.upper() for t in line.params.get("TYPE", [])} | \
           {p.upper() for p in line.singletonparams}


class SampleReadback(unittest.TestCase):
    def check_export(self, environment, code_page, options=()):
        entries = load_entries()
        self.assertGreaterEqual(len(entries), 10)

        def as_written(text):
            # What survives the trip through the code page.
            return text.encode(code_page, errors="replace").decode(code_page)

        with tempfile.TemporaryDirectory() as destination:
            export(destination, environment, options)
            names = sorted(n for n in os.listdir(destination) if n.endswith(".vcf"))
            self.assertEqual(len(names), len(entries))
            self.assertFalse(os.path.exists(os.path.join(destination, "tmp")))
            self.check_log(os.path.join(destination, "run.log"), entries, as_written,
                           code_page)
            for number, entry in enumerate(entries, start=1):
                path = os.path.join(destination, "ExpressvCard%d.vcf" % number)
                with open(path, "rb") as f:
                    data = f.read()
                with self.subTest(card=number, name=entry.get("PR_DISPLAY_NAME")):
                    self.assertTrue(data.endswith(b"END:VCARD\r\n"))
                    card = vobject.readOne(with_charset(data.decode(code_page), code_page))
                    self.check_card(card, entry, as_written)

    def check_log(self, path, entries, as_written, code_page):
        with open(path, "rb") as f:
            lines = f.read().decode(code_page).split("\r\n")
        self.assertRegex(lines[0], r"^\[.+\]$")
        self.assertEqual(lines[-1], "", "the block ends with CR LF")
        body = lines[1:-1]
        self.assertEqual(len(body), 1 + len(entries) + 2)
        self.assertEqual(body[1:-2], ["%d\x01%s" % (n, as_written(e.get("PR_DISPLAY_NAME", "")))
                                      for n, e in enumerate(entries, start=1)])
        self.assertTrue(body[-2].endswith(str(len(entries))), body[-2])

    def check_card(self, card, entry, as_written):
        text = lambda tag: as_written(entry.get(tag, ""))
        self.assertEqual(card.version.value, "2.1")
        self.assertEqual(card.fn.value, text("PR_DISPLAY_NAME"))
        self.assertEqual(card.n.value.family, text("PR_SURNAME"))
        self.assertEqual(card.n.value.given, text("PR_GIVEN_NAME"))

        telephones = {(frozenset(param_types(line)), line.value)
                      for line in card.contents.get("tel", [])}
        expected = {(frozenset(kinds), text(tag))
                    for tag, kinds in TELEPHONES.items() if entry.get(tag)}
        self.assertEqual(telephones, expected)

        addresses = {frozenset(param_types(line)): line.value
                     for line in card.contents.get("adr", [])}
        self.assertEqual(set(addresses), {frozenset(kind) for kind, tags in
                                          (({"WORK"}, WORK_ADDRESS), ({"HOME"}, HOME_ADDRESS))
                                          if any(entry.get(t) for t in tags)})
        if frozenset({"WORK"}) in addresses:
            work = addresses[frozenset({"WORK"})]
            self.assertEqual(tuple(map(component, (work.extended, work.street, work.city,
                                                   work.region, work.code, work.country))),
                             tuple(text(t) for t in WORK_ADDRESS))
        if frozenset({"HOME"}) in addresses:
            home = addresses[frozenset({"HOME"})]
            self.assertEqual(tuple(map(component, (home.street, home.city, home.region,
                                                   home.code, home.country))),
                             tuple(text(t) for t in HOME_ADDRESS))

        preferred = entry.get("PR_EMAIL_ADDRESS", "")
        listed = [a for a in entry.get("PR_CONTACT_EMAIL_ADDRESSES", []) if a != preferred]
        emails = [line.value for line in card.contents.get("email", [])]
        self.assertEqual(emails, ([preferred] if preferred else []) + listed)

        notes = [line.value for line in card.contents.get("note", [])]
        self.assertEqual(notes, [text("PR_COMMENT")] if entry.get("PR_COMMENT") else [])

    # A locale that names no character set takes its language's code page.
    def test_western_code_page(self):
        self.check_export({"LANG": "en_US"}, "cp1252")

    def test_traditional_chinese_code_page(self):
        self.check_export({"LANG": "zh_TW"}, "cp950")

    # The option wins over the locale: Big5 cards from a UTF-8 session, for a
    # device that reads Big5 only.
    def test_code_page_option(self):
        self.check_export({"LANG": "en_US.UTF-8"}, "cp950", ["--code-page", "950"])

    # A UTF-8 locale keeps every name of every language.
    def test_utf8_locale(self):
        self.check_export({"LANG": "en_US.UTF-8"}, "utf-8")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
