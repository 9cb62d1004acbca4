#!/usr/bin/env python3
"""Checks that each tavlin.exe would start on every Windows it claims.

The Windows loader refuses a program that imports a function its system DLLs
do not export, and one whose PE header asks for a newer system. This reads a
program's import tables (by name, by ordinal and delay-loaded) and its header,
and compares them with the export tables of real installations kept in
exports/ (see README.md beside this file).

usage: check_imports.py x86 PROGRAM [x64 PROGRAM]
Prints one line per program and system; exits 1 naming the system, the DLL
and the function of every import that is missing.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The systems each program claims, with the export table standing for each.
# Vista, 8 and 11 have no table here; 7 and 10 stand on either side of them.
CLAIMS = {
    "x86": {
        "machine": 0x14C,
        "max_version": (4, 0),  # subsystem and OS version: what 98 and ME load
        "systems": [
            ("Windows 98 SE", "win98se.txt"),
            ("Windows ME", "winme.txt"),
            ("Windows 2000", "win2k.txt"),
            ("Windows XP SP3", "winxp.txt"),
            ("Windows Server 2003 SP2", "win2k3.txt"),
            ("Windows 7 SP1", "win7sp1.txt"),
            ("Windows 10", "win10.txt"),
        ],
    },
    "x64": {
        "machine": 0x8664,
        "max_version": (5, 2),
        "systems": [
            ("Windows XP x64 / Server 2003 x64", "win2k3.txt"),
            ("Windows 7 SP1 x64", "win7sp1.txt"),
            ("Windows 10 x64", "win10.txt"),
        ],
    },
}

# The tables were dumped from 32-bit DLLs. These exist only in the 64-bit ones,
# on every 64-bit Windows from XP x64 / Server 2003 x64 on.
ONLY_64_BIT = {
    "kernel32.dll": {"RtlVirtualUnwind", "RtlLookupFunctionEntry", "RtlUnwindEx",
                     "__C_specific_handler", "RtlCaptureContext", "RtlAddFunctionTable",
                     "RtlDeleteFunctionTable", "RtlInstallFunctionTableCallback"},
    "user32.dll": {"GetWindowLongPtrW", "SetWindowLongPtrW", "GetWindowLongPtrA",
                   "SetWindowLongPtrA", "GetClassLongPtrW", "SetClassLongPtrW"},
    "msvcrt.dll": {"__C_specific_handler"},
}

# The 95 family exports almost every wide-character ("W") function, but as a
# stub that fails. These are the ones it implements (Microsoft's list for
# Windows 95 and 98, KB 210341, "Unicode support in Windows 95 and Windows
# 98"); a program for that family may import no other.
NATIVE_W = {"EnumResourceLanguagesW", "EnumResourceNamesW", "EnumResourceTypesW", "ExtTextOutW",
            "FindResourceW", "FindResourceExW", "GetCharWidthW", "GetCommandLineW",
            "GetTextExtentPoint32W", "GetTextExtentPointW", "lstrlenW", "MessageBoxExW",
            "MessageBoxW", "MultiByteToWideChar", "TextOutW", "WideCharToMultiByte"}
NINETY_FIVE_FAMILY = {"win98se.txt", "winme.txt"}


def stub_there(names, fn):
    """A W function of the 95 family that does nothing there: one with an A twin."""
    return fn.endswith("W") and fn[:-1] + "A" in names and fn not in NATIVE_W


# Ordinal imports whose function later systems also export by name. A table
# lists an export by its ordinal only where the system gives it no name; a named
# export keeps its ordinal. comctl32 has exported the subclass functions under
# these ordinals since 5.80: by ordinal only on 98, ME and 2000 (the tables show
# 410, 412 and 413), by name as well from XP on.
NAMED_ORDINALS = {
    "comctl32.dll": {"#410": "SetWindowSubclass", "#412": "RemoveWindowSubclass",
                     "#413": "DefSubclassProc"},
}


def exported(names, dll, fn, arch):
    if fn in names:
        return True
    if NAMED_ORDINALS.get(dll, {}).get(fn) in names:
        return True
    return arch == "x64" and fn in ONLY_64_BIT.get(dll, ())


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise ValueError(f"{path}: not a Windows program")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE header")
        self.machine, sections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", d, opt)[0]
        self.pe32plus = magic == 0x20B
        self.image_base = (struct.unpack_from("<Q", d, opt + 24)[0] if self.pe32plus
                           else struct.unpack_from("<I", d, opt + 28)[0])
        self.os_version = struct.unpack_from("<HH", d, opt + 40)
        self.subsystem_version = struct.unpack_from("<HH", d, opt + 48)
        dirs = opt + (112 if self.pe32plus else 96)
        count = struct.unpack_from("<I", d, dirs - 4)[0]
        self.directories = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(count)]
        self.sections = []
        table = opt + opt_size
        for i in range(sections):
            _, vsize, vaddr, rsize, roff = struct.unpack_from("<8sIIII", d, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), roff))

    def offset(self, rva):
        for vaddr, size, roff in self.sections:
            if vaddr <= rva < vaddr + size:
                return roff + rva - vaddr
        raise ValueError(f"address {rva:#x} is in no section")

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def thunks(self, rva):
        """The functions a thunk table names: a name, or '#ordinal'."""
        size = 8 if self.pe32plus else 4
        flag = 1 << (size * 8 - 1)
        while True:
            value = struct.unpack_from("<Q" if self.pe32plus else "<I", self.data,
                                       self.offset(rva))[0]
            if value == 0:
                return
            yield f"#{value & 0xFFFF}" if value & flag else self.cstring((value & 0x7FFFFFFF) + 2)
            rva += size

    def imports(self):
        """(dll, function, how) for every import; how is 'import' or 'delay-load'."""
        found = []
        rva, size = self.directories[1] if len(self.directories) > 1 else (0, 0)
        while size:
            names, _, _, dll, iat = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if dll == 0:
                break
            for fn in self.thunks(names or iat):
                found.append((self.cstring(dll), fn, "import"))
            rva += 20
        rva, size = self.directories[13] if len(self.directories) > 13 else (0, 0)
        while size:
            attrs, dll, _, _, names = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if dll == 0:
                break
            base = 0 if attrs & 1 else self.image_base  # old tables hold addresses, not RVAs
            for fn in self.thunks(names - base):
                found.append((self.cstring(dll - base), fn, "delay-load"))
            rva += 32
        return found


def load_exports(name):
    exports = {}
    with open(os.path.join(HERE, "exports", name), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith(";"):
                continue
            dll, fn = line.split("\t")
            names = exports.setdefault(dll.lower(), set())
            if fn != "NOT FOUND":
                names.add(fn if not fn.isdigit() else f"#{fn}")
    return exports


def check(arch, path):
    claim = CLAIMS[arch]
    pe = PeFile(path)
    faults = []
    if pe.machine != claim["machine"]:
        faults.append(f"{path}: built for machine {pe.machine:#x}, not {arch}")
    limit = claim["max_version"]
    for what, version in (("subsystem", pe.subsystem_version), ("OS", pe.os_version)):
        if tuple(version) > limit:
            faults.append(f"{path}: the PE header asks for {what} version "
                          f"{version[0]}.{version[1]}, newer than {limit[0]}.{limit[1]}")
    imports = pe.imports()
    for system, table in claim["systems"]:
        exports = load_exports(table)
        missing = []
        for dll, fn, how in imports:
            names = exports.get(dll.lower())
            if names is None:
                missing.append(f"{system}: {dll} is not there ({how} of {fn})")
            elif not exported(names, dll.lower(), fn, arch):
                missing.append(f"{system}: {dll} does not export {fn} ({how})")
            elif table in NINETY_FIVE_FAMILY and stub_there(names, fn):
                missing.append(f"{system}: {dll} exports {fn} only as a stub that fails ({how})")
        faults += [f"{path}: {m}" for m in missing]
        print(f"{arch} {os.path.basename(path)} on {system}: "
              f"{len(imports) - len(missing)} of {len(imports)} imports found")
    return faults


def main(args):
    if len(args) < 2 or len(args) % 2 or any(a not in CLAIMS for a in args[::2]):
        print(__doc__.strip().splitlines()[-3], file=sys.stderr)
        return 2
    faults = []
    for arch, path in zip(args[::2], args[1::2]):
        faults += check(arch, path)
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
