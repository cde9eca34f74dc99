#!/usr/bin/python3
"""Checks a setup built by orvalis-pack with an independent PE parser (pefile).

Usage: pefile_check.py PACKED.exe [EXPECTED]

Always checked: the image parses; every section lies inside SizeOfImage and
inside the file; OPTIONAL_HEADER.CheckSum equals pefile's own checksum; every
resource directory is ordered as the loader's binary search needs it (named
entries first, in UTF-16 code unit order, then ids ascending); every "FILE:"
RT_RCDATA resource is language neutral and holds exactly one zlib stream
starting 78 9C; the descriptor FILE:DISK.ID is there and names a PRODUCT.

EXPECTED, when given, is either
  - the folder that was packed (--files DIR): every file in it must be a
    payload resource whose stream inflates to the file's bytes, and there must
    be no other payload besides DISK.ID; or
  - a listing as printed by `orvalis-pack --list`: the payload names, stream
    sizes and inflated sizes must be exactly those.

Exits 0 when everything holds, 1 with one line per problem otherwise, 2 on
wrong usage. Needs Debian's python3-pefile (run with /usr/bin/python3).
"""
import os
import re
import struct
import sys
import zlib

import pefile

RT_RCDATA = 10
PREFIX = "FILE:"
DESCRIPTOR = "DISK.ID"
LISTING_LINE = re.compile(r"^ *(\d+) +(\d+| *damaged)  (.*)$")


def name_units(pe, entry):
    """The UTF-16 code units of a named entry, read from the directory itself."""
    base = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]].VirtualAddress
    at = base + (entry.struct.Name & 0x7FFFFFFF)
    length = struct.unpack("<H", pe.get_data(at, 2))[0]
    return struct.unpack("<%dH" % length, pe.get_data(at + 2, 2 * length))


def entry_name(pe, entry):
    units = name_units(pe, entry)
    return struct.pack("<%dH" % len(units), *units).decode("utf-16-le", "surrogatepass")


def check_order(pe, directory, where, problems):
    """Named entries first by UTF-16 code units, then ids ascending."""
    entries = directory.entries
    named = [e for e in entries if e.struct.Name & 0x80000000]
    if entries[: len(named)] != named:
        problems.append("%s: named entries do not all come before id entries" % where)
    keys = [name_units(pe, e) for e in named]
    if keys != sorted(keys) or len(set(keys)) != len(keys):
        problems.append("%s: named entries are not in strictly ascending code unit order" % where)
    ids = [e.struct.Name for e in entries[len(named):]]
    if ids != sorted(ids) or len(set(ids)) != len(ids):
        problems.append("%s: id entries are not in strictly ascending order" % where)
    for e in entries:
        if getattr(e, "directory", None) is not None:
            label = entry_name(pe, e) if e in named else "#%d" % e.struct.Name
            check_order(pe, e.directory, where + "/" + label, problems)


def inflate_whole(stream):
    """The inflated bytes, or None unless `stream` is exactly one zlib stream."""
    inflater = zlib.decompressobj()
    try:
        data = inflater.decompress(stream) + inflater.flush()
    except zlib.error:
        return None
    if not inflater.eof or inflater.unused_data:
        return None
    return data


def read_payload(pe, problems):
    """{stored payload name: (stream size, inflated bytes or None)}"""
    payload = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        problems.append("no resource directory")
        return payload
    check_order(pe, pe.DIRECTORY_ENTRY_RESOURCE, "resources", problems)
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if type_entry.struct.Name != RT_RCDATA:
            continue
        for name_entry in type_entry.directory.entries:
            if not name_entry.struct.Name & 0x80000000:
                continue
            name = entry_name(pe, name_entry)
            if name[: len(PREFIX)].upper() != PREFIX:
                continue
            payload_name = name[len(PREFIX):]
            languages = name_entry.directory.entries
            if len(languages) != 1 or languages[0].id != 0:
                problems.append("%s: expected one language-neutral entry, found languages %s"
                                % (name, [l.id for l in languages]))
            data_entry = languages[0].data.struct
            stream = pe.get_data(data_entry.OffsetToData, data_entry.Size)
            if len(stream) != data_entry.Size:
                problems.append("%s: data lies outside the file" % name)
            if stream[:2] != b"\x78\x9c":
                problems.append("%s: stream does not start with 78 9C" % name)
            inflated = inflate_whole(stream)
            if inflated is None:
                problems.append("%s: not exactly one intact zlib stream" % name)
            payload[payload_name] = (data_entry.Size, inflated)
    return payload


def check_image(pe, size, problems):
    oh = pe.OPTIONAL_HEADER
    previous_end = 0
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode("latin-1")
        virtual = section.Misc_VirtualSize or section.SizeOfRawData
        if section.VirtualAddress + virtual > oh.SizeOfImage:
            problems.append("section %s ends at 0x%X, past SizeOfImage 0x%X"
                            % (name, section.VirtualAddress + virtual, oh.SizeOfImage))
        if section.VirtualAddress < previous_end:
            problems.append("section %s overlaps the one before it" % name)
        previous_end = section.VirtualAddress + virtual
        if section.SizeOfRawData and section.PointerToRawData + section.SizeOfRawData > size:
            problems.append("section %s ends past the end of the file" % name)
    if oh.CheckSum != pe.generate_checksum():
        problems.append("CheckSum 0x%08X, computed 0x%08X" % (oh.CheckSum, pe.generate_checksum()))


def expected_from_folder(folder):
    files = {}
    for base, dirs, names in os.walk(folder):
        dirs.sort()
        for name in sorted(names):
            path = os.path.join(base, name)
            relative = os.path.relpath(path, folder).replace(os.sep, "\\")
            with open(path, "rb") as f:
                files[relative] = f.read()
    return files


def compare_with_folder(payload, folder, problems):
    # Names are matched ignoring case: the packer stores them upper-cased.
    stored = {name.upper(): name for name in payload}
    for relative, data in expected_from_folder(folder).items():
        name = stored.pop(relative.upper(), None)
        if name is None:
            problems.append("%s is not in the payload" % relative)
        elif payload[name][1] is not None and payload[name][1] != data:
            problems.append("%s: inflated bytes differ from the file" % name)
    stored.pop(DESCRIPTOR, None)
    for name in sorted(stored.values()):
        problems.append("payload %s has no file in %s" % (name, folder))


def compare_with_listing(payload, listing, problems):
    expected = {}
    with open(listing, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            match = LISTING_LINE.match(line)
            if not match:
                problems.append("%s:%d: not a listing line: %r" % (listing, number, line))
                continue
            inflated = match.group(2).strip()
            expected[match.group(3)] = (int(match.group(1)), None if inflated == "damaged" else int(inflated))
    actual = {name: (size, None if data is None else len(data)) for name, (size, data) in payload.items()}
    for name in sorted(set(expected) | set(actual)):
        if expected.get(name) != actual.get(name):
            problems.append("%s: listed as %s, found %s" % (name, expected.get(name), actual.get(name)))


def main(argv):
    if len(argv) not in (2, 3) or argv[1] in ("-h", "--help"):
        sys.stderr.write(__doc__)
        return 2
    path = argv[1]
    problems = []
    try:
        pe = pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        print("%s: %s" % (path, error))
        return 1
    check_image(pe, os.path.getsize(path), problems)
    payload = read_payload(pe, problems)
    descriptor = payload.get(DESCRIPTOR, (0, None))[1]
    if descriptor is None:
        problems.append("no intact FILE:%s descriptor" % DESCRIPTOR)
    elif not re.search(rb"PRODUCT=[ \t]*[^\s]", descriptor, re.IGNORECASE):
        problems.append("the descriptor has no PRODUCT value")
    if len(argv) == 3:
        if os.path.isdir(argv[2]):
            compare_with_folder(payload, argv[2], problems)
        else:
            compare_with_listing(payload, argv[2], problems)
    for problem in problems:
        print("%s: %s" % (path, problem))
    if problems:
        return 1
    print("%s: OK, %d payload resources, checksum 0x%08X" % (path, len(payload), pe.OPTIONAL_HEADER.CheckSum))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
