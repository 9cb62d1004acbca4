#!/usr/bin/python3
"""Checks the Group Policy files the end-to-end tests wrote with readers
nobody on this project wrote.

usage: /usr/bin/python3 tests/gpo/check_gpo_files.py FOLDER...

Every *.pol is read by Samba's implementation of [MS-GPREG] (Debian's
python3-samba, hence Debian's own /usr/bin/python3): ndr_unpack must read it,
ndr_pack must give the same bytes back, and its records must be those listed
in FILE.pol.expected beside it, in any order (one per line: key, value name,
type and the data in hex, separated by tabs; a **del. record's data is not
compared, as Windows does not use it).

Every *.xml must be well formed and valid against registry_settings.xsd
(xmllint, libxml2's), and its items must be those listed in FILE.xml.expected
(action, hive, key, value name, type, value; tab-separated, in any order), read with
Python's own XML parser; a REG_DWORD value must be eight hex digits, and no
two items may share a uid.

Fails when a folder holds no .pol or no .xml file, so a test that stopped
writing them is seen.
"""
import pathlib
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

from samba.dcerpc import misc, preg
from samba.ndr import ndr_pack, ndr_unpack

SCHEMA = pathlib.Path(__file__).with_name("registry_settings.xsd")


def expected_lines(path, fields):
    """The lines of FILE.expected, split into `fields` fields (the last may hold tabs), sorted."""
    listed = path.with_name(path.name + ".expected")
    if not listed.exists():
        raise AssertionError(f"{path}: no {listed.name} beside it")
    text = listed.read_text(encoding="utf-8")
    return sorted(line.split("\t", fields - 1) for line in text.split("\n") if line)


def data_bytes(entry):
    """A record's data as the registry stores it, from Samba's typed reading."""
    t, d = entry.type, entry.data
    if t in (misc.REG_SZ, misc.REG_EXPAND_SZ):
        return (d + "\0").encode("utf-16le")
    if t == misc.REG_DWORD:
        return struct.pack("<I", d)
    if t == misc.REG_DWORD_BIG_ENDIAN:
        return struct.pack(">I", d)
    if t == misc.REG_QWORD:
        return struct.pack("<Q", d)
    return bytes(d or b"")


def check_pol(path):
    raw = path.read_bytes()
    pol = ndr_unpack(preg.file, raw)
    if ndr_pack(pol) != raw:
        raise AssertionError(f"{path}: Samba writes other bytes for what it read")
    if pol.header.signature != "PReg" or pol.header.version != 1:
        raise AssertionError(f"{path}: header {pol.header.signature!r} {pol.header.version}")
    got = []
    for e in pol.entries:
        deletion = e.valuename.lower().startswith("**del.")
        got.append([e.keyname, e.valuename, str(e.type), "" if deletion else data_bytes(e).hex()])
    want = expected_lines(path, 4)
    if sorted(got) != want:
        raise AssertionError(f"{path}: records\n  {got}\nnot as expected\n  {want}")
    return len(got)


def check_xml(path):
    run = subprocess.run(["xmllint", "--noout", "--schema", str(SCHEMA), str(path)],
                         capture_output=True, text=True)
    if run.returncode != 0:
        raise AssertionError(f"{path}: xmllint: {run.stderr.strip()}")
    root = ET.parse(path).getroot()
    got, uids = [], set()
    for item in root.iter("Registry"):
        p = item.find("Properties")
        got.append([p.get("action"), p.get("hive"), p.get("key"), p.get("name"), p.get("type"),
                    p.get("value")])
        if p.get("type") == "REG_DWORD" and not (
                len(p.get("value")) == 8 and all(c in "0123456789ABCDEFabcdef" for c in p.get("value"))):
            raise AssertionError(f"{path}: REG_DWORD value {p.get('value')!r}")
        if item.get("uid") in uids:
            raise AssertionError(f"{path}: uid {item.get('uid')} twice")
        uids.add(item.get("uid"))
    want = expected_lines(path, 6)
    if sorted(got) != want:
        raise AssertionError(f"{path}: items\n  {got}\nnot as expected\n  {want}")
    return len(got)


def main(folders):
    if not folders:
        sys.exit(__doc__)
    failed = False
    for folder in map(pathlib.Path, folders):
        for pattern, check in (("*.pol", check_pol), ("*.xml", check_xml)):
            files = sorted(folder.glob(pattern))
            if not files:
                print(f"{folder}: no {pattern} file was written", file=sys.stderr)
                failed = True
            for path in files:
                try:
                    print(f"{path}: {check(path)} entries as expected")
                except Exception as e:  # a file Samba cannot read raises its own errors
                    print(e if str(e).startswith(str(path)) else f"{path}: {e}", file=sys.stderr)
                    failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main(sys.argv[1:])
