#!/usr/bin/env python3
"""Writes the seed corpus of the session fuzzers into the folder given as the argument:
short exchanges of well-formed session datagrams in the fuzzers' input format
(selector byte, 16-bit little-endian length, datagram)."""
import os
import struct
import sys


def datagram(kind, to, sender, payload=b""):
    return b"TRVN" + struct.pack("<Biii", kind, len(payload), to, sender) + payload


def registration(name, hidden=0):
    return b"\xff" * 8 + bytes([hidden]) + name.encode().ljust(128, b"\0") + b"\0" * 15


def record(selector, data):
    return struct.pack("<BH", selector, len(data)) + data


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    seeds = {
        # host side: connection 7 (selector 0) holds players 101 and 102, 9 (selector 2) 103
        "register_then_talk": [(1, datagram(1, 0, 0, registration("Eve"))),
                               (1, datagram(3, 101, 104, b"hello")),
                               (1, datagram(3, -1, 104, b"to all")),
                               (1, datagram(101, 0, 104)),
                               (1, datagram(102, 0, 104, struct.pack("<i", 1))),
                               (1, datagram(103, 0, 104, struct.pack("<i", 101))),
                               (1, datagram(104, 0, 104)),
                               (1, datagram(4, 0, 104))],
        "honest_player": [(0, datagram(3, 103, 101, b"hi host")),
                          (0, datagram(101, 0, 102)),
                          (0, datagram(4, 0, 101))],
        "forgeries": [(1, datagram(4, 0, 101)), (1, datagram(3, 103, 101, b"forged")),
                      (1, datagram(3, -1, 0, b"as the host")), (1, datagram(2, 104, 0))],
        # client side: odd selectors arrive on the client socket
        "client_replies": [(1, datagram(2, 105, 0)), (1, datagram(2, 106, 0)),
                           (3, datagram(3, 101, 105, b"message")),
                           (5, datagram(101, 104, 0, struct.pack("<i", 3))),
                           (5, datagram(103, 104, 0, b"Ann")),
                           (0, datagram(3, 101, 0, b"from a connection"))],
        "longest_payload": [(1, datagram(3, 101, 7, b"x" * 2048))],
    }
    for name, records in seeds.items():
        with open(os.path.join(folder, name), "wb") as seed:
            seed.write(b"".join(record(selector, data) for selector, data in records))


if __name__ == "__main__":
    main()
