#!/usr/bin/env python3
"""Compares the export tables of PE files, and the imports of import
libraries, with the functions a C header declares with ORVALIS_API: each file
must export (or import) exactly those names.

usage: exports_check.py HEADER FILE...
A FILE ending in .lib or .a is an import library (MinGW's .dll.a or one that
dlltool made for MSVC): the name each of its members asks the DLL for must be
a declared function, undecorated, and the member must define the symbols a
__cdecl call to it links against: Name and __imp_Name on x64, _Name and
__imp__Name on x86. A .def file lists the names of its EXPORTS. Anything
else is a PE file whose export table is read.
Prints one line per file and the names that differ; exits 1 on a difference."""
import os
import re
import subprocess
import sys

import pefile

# binutils of MinGW-w64 read the import libraries of both machines.
OBJDUMP = os.environ.get("OBJDUMP", "x86_64-w64-mingw32-objdump")
NM = os.environ.get("NM", "x86_64-w64-mingw32-nm")


def declared(header):
    text = open(header, encoding="utf-8").read()
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    # A declaration: ORVALIS_API <result> ORVALIS_CALL Name(
    names = re.findall(r"^ORVALIS_API\b[^;(]*?\bORVALIS_CALL\s+(\w+)\s*\(", text, flags=re.M)
    if len(names) != len(set(names)):
        raise SystemExit("the header declares a name twice")
    return set(names)


def exported(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_EXPORT"]])
    if not hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        return set()
    return {s.name.decode() for s in pe.DIRECTORY_ENTRY_EXPORT.symbols if s.name}


def defined(path):
    """The names a .def file exports: one a line after EXPORTS, maybe with @ordinal."""
    names, exports = set(), False
    for line in open(path, encoding="utf-8"):
        line = line.split(";")[0].strip()
        if re.match(r"^(LIBRARY|NAME|EXPORTS)\b", line):
            exports = line.startswith("EXPORTS")
        elif exports and line:
            names.add(line.split()[0])
    return names


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def imported(path):
    """The names an import library asks the DLL for, and its problems."""
    # Each member that imports a function holds its hint and name in .idata$6.
    formats, names, member = {}, {}, None
    hexdump = None
    for line in run(OBJDUMP, "-s", "-j", ".idata$6", path).splitlines():
        found = re.match(r"^(\S+):\s+file format (\S+)$", line)
        if found:
            member, hexdump = found.group(1), None
            formats[member] = found.group(2)
        elif line.startswith("Contents of section .idata$6:"):
            hexdump = names.setdefault(member, bytearray())
        elif hexdump is not None and re.match(r"^ [0-9a-f]{4,} ", line):
            for word in line[1:43].split()[1:]:
                hexdump += bytes.fromhex(word)
    # The symbols each member defines.
    symbols = {}
    for line in run(NM, "-A", "--defined-only", path).splitlines():
        found = re.match(r"^[^:]+:([^:]+):\S*\s+[TI]\s+(\S+)$", line)
        if found:
            symbols.setdefault(found.group(1), set()).add(found.group(2))
    result, problems = set(), []
    for member, data in names.items():
        name = bytes(data[2:]).split(b"\0")[0].decode()
        prefix = "_" if formats[member] == "pe-i386" else ""
        want = {prefix + name, "__imp_" + prefix + name}
        if not want <= symbols.get(member, set()):
            problems.append("%s: defines %s, not %s" % (name, sorted(symbols.get(member, set())), sorted(want)))
        result.add(name)
    return result, problems


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    names = declared(sys.argv[1])
    status = 0
    for path in sys.argv[2:]:
        problems = []
        if path.endswith((".lib", ".a")):
            have, problems = imported(path)
            print("%s: %d declared, %d imported" % (path, len(names), len(have)))
        elif path.endswith(".def"):
            have = defined(path)
            print("%s: %d declared, %d listed" % (path, len(names), len(have)))
        else:
            have = exported(path)
            print("%s: %d declared, %d exported" % (path, len(names), len(have)))
        missing, extra = sorted(names - have), sorted(have - names)
        for name in missing:
            print("  missing: " + name)
        for name in extra:
            print("  extra:   " + name)
        for problem in problems:
            print("  symbols: " + problem)
        if missing or extra or problems or not names:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
