#!/usr/bin/python3
"""Writes a resource archive, independently of the engine's own tool, for the tests.

usage: write_archive.py [--append] [--level 1|9] ARCHIVE FILE...

Without --append ARCHIVE is created as a stand-alone archive with offsets from its start;
with --append the archive is added to the end of the existing ARCHIVE and every offset
counts back from the end of the combined file. Members are named after each FILE's base
name and compressed as raw LZO1X streams by Debian's python3-lzo.
"""

import os
import struct
import sys

import lzo


def main(argv):
    append = False
    level = 9
    args = argv[1:]
    while args and args[0].startswith("--"):
        option = args.pop(0)
        if option == "--append":
            append = True
        elif option == "--level":
            level = int(args.pop(0))
        else:
            sys.exit("unknown option " + option)
    if len(args) < 2:
        sys.exit(__doc__)
    archive_path, files = args[0], args[1:]

    body = b""
    entries = []
    for path in files:
        with open(path, "rb") as handle:
            data = handle.read()
        member = struct.pack("<i", len(data)) + lzo.compress(data, level, False)
        entries.append((os.path.basename(path).encode(), len(body), len(member)))
        body += member

    directory_size = sum(1 + len(name) + 8 for name, _, _ in entries) + 1
    total = len(body) + directory_size + 7

    def stored(position):
        return position - total if append else position

    directory = b""
    for name, position, packed_size in entries:
        directory += bytes([len(name)]) + name + struct.pack("<iI", stored(position), packed_size)
    directory += b"\0"
    trailer = b"vtL" + struct.pack("<i", stored(len(body)))

    with open(archive_path, "ab" if append else "wb") as handle:
        handle.write(body + directory + trailer)


if __name__ == "__main__":
    main(sys.argv)
