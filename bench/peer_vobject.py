#!/usr/bin/env python3
"""The peer of the card benchmark: python3-vobject serializing a card with the
same properties and lengths as the full entry of bench_stores.cpp. Prints one
JSON object: {"name": ..., "per_item_us": ..., "card_chars": ...}."""

import json
import sys
import time

import vobject


def full_card():
    card = vobject.vCard()
    card.add("version").value = "2.1"
    card.add("n").value = vobject.vcard.Name(
        family="Hartwell", given="Amelia", prefix="Dr.", suffix="Jr.")
    card.add("fn").value = "Amelia Hartwell"
    card.add("nickname").value = "Millie"
    card.add("org").value = ["Brightwater Instruments", "Acoustics Research"]
    card.add("title").value = "Principal Engineer"
    card.add("note").value = ("Met at the harbour sound symposium.\r\n"
                              "Prefers calls after 10 a.m.")
    for kinds, number in ((["WORK", "VOICE"], "+1 206 555 0000"),
                          (["HOME", "VOICE"], "+1 206 555 0101"),
                          (["CELL", "VOICE"], "+1 206 555 0202"),
                          (["PAGER", "VOICE"], "+1 206 555 0303"),
                          (["WORK", "FAX"], "+1 206 555 0404"),
                          (["HOME", "FAX"], "+1 206 555 0505")):
        tel = card.add("tel")
        tel.value = number
        tel.type_paramlist = kinds
    for kind, street, city, code, country in (
            ("WORK", "1200 Harbor Avenue\r\nSuite 300", "Seattle", "00000", "United States"),
            ("HOME", "1200 Harbor Avenue\r\nSuite 300", "Seattle", "00000", "United States")):
        adr = card.add("adr")
        adr.value = vobject.vcard.Address(
            street=street, city=city, region="WA", code=code, country=country,
            extended="Building C, Room 100" if kind == "WORK" else "")
        adr.type_param = kind
        label = card.add("label")
        label.value = " ".join([street, city + ",", "WA", code, country])
        label.type_param = kind
    card.add("x-wab-gender").value = "1"
    for kind, url in (("HOME", "https://amelia0@example.org/"),
                      ("WORK", "https://www.brightwater.example.com/")):
        item = card.add("url")
        item.value = url
        item.type_param = kind
    card.add("role").value = "Acoustic engineer"
    card.add("bday").value = "19500101"
    for address in ("amelia.hartwell0@brightwater.example.com", "amelia0@example.org",
                    "hartwell0@example.com"):
        email = card.add("email")
        email.value = address
        email.type_param = "INTERNET"
    card.add("rev").value = "20240101T000000Z"
    return card


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
    card = full_card()
    text = card.serialize()
    start = time.perf_counter()
    for _ in range(rounds):
        text = card.serialize()
    seconds = time.perf_counter() - start
    print(json.dumps({"name": "peer_vobject", "per_item_us": seconds / rounds * 1e6,
                      "card_chars": len(text)}))


if __name__ == "__main__":
    main()
