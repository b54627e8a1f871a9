#!/usr/bin/env python3
"""Writes the seed archives for fuzz_load into fuzz/corpus/ (deterministic)."""

import os
import struct

SIGNATURE = 0x51890ACE
BLOCK = 2048


def pad(data: bytes) -> bytes:
    return data + b"\0" * (-len(data) % BLOCK)


def header(count: int, total: int = 0, signature: int = SIGNATURE, version: int = 1) -> bytes:
    return pad(struct.pack("<IIiI", signature, version, count, total))


def record(name: bytes, size: int) -> bytes:
    return name[:60].ljust(60, b"\0") + struct.pack("<I", size)


def archive(files) -> bytes:
    """A complete archive as the writer lays it out."""
    directory = pad(b"".join(record(n[:59], len(d)) for n, d in files))
    data = b"".join(pad(d) for _, d in files)
    total = BLOCK + len(directory) + len(data)
    return header(len(files), total) + directory + data


def content(size: int, seed: int) -> bytes:
    return bytes((i * 31 + seed * 7) % 251 + 1 for i in range(size))


def seeds():
    yield "empty.vpp", archive([])
    yield "three.vpp", archive([(b"a.bin", content(100, 1)), (b"b.bin", b""), (b"c.bin", content(5000, 3))])
    # Full-width name without a terminator, duplicates, high bytes.
    yield "names.vpp", header(4) + pad(record(b"W" * 60, 3) + record(b"dup", 1) + record(b"DUP", 2)
                                       + record(b"\xc9t\xc9.txt", 0)) + pad(b"abc") + pad(b"x") + pad(b"yy")
    # A directory of two blocks whose data area is missing.
    yield "dir33.vpp", header(33) + pad(b"".join(record(b"f%02d" % i, i * 100) for i in range(33)))
    # Cut in the middle of the second record.
    yield "truncated.vpp", (header(3) + record(b"whole", 1) + record(b"half", 1))[: BLOCK + 64 + 30]
    yield "bad_version.vpp", header(0, BLOCK, version=2)
    yield "negative_count.vpp", header(-1) + pad(record(b"never", 1))
    # Sizes that take the offsets up to and past 2 GiB.
    yield "near_2gib.vpp", header(2) + pad(record(b"big", 0x7FFFE000) + record(b"over", 0x1000))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
