#!/usr/bin/env python3
"""Compares the export tables of PE files with the functions a C header
declares with ORVALIS_API: each file must export exactly those names.

usage: exports_check.py HEADER PE_FILE...
Prints one line per file and the names that differ; exits 1 on a difference."""
import re
import sys

import pefile


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


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    names = declared(sys.argv[1])
    status = 0
    for path in sys.argv[2:]:
        have = exported(path)
        missing, extra = sorted(names - have), sorted(have - names)
        print("%s: %d declared, %d exported" % (path, len(names), len(have)))
        for name in missing:
            print("  missing: " + name)
        for name in extra:
            print("  extra:   " + name)
        if missing or extra or not names:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
