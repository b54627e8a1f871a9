#!/usr/bin/env python3
"""Writes the seeds of the quick view's fuzzers into fuzz/corpus-preview/ (deterministic)."""
import os
import struct


def tga(image_type, bits, w, h, pixels, cmap=b"", cmap_bits=0, descriptor=0):
    cmap_len = len(cmap) // ((cmap_bits + 7) // 8) if cmap_bits else 0
    header = struct.pack("<BBBHHBHHHHBB", 0, 1 if cmap else 0, image_type, 0, cmap_len, cmap_bits,
                         0, 0, w, h, bits, descriptor)
    return header + cmap + pixels


def bmp(bits, w, h, rows, palette=b""):
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(rows), 2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus-preview")
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "true24.tga": tga(2, 24, 2, 2, bytes(range(12))),
        "true32_top.tga": tga(2, 32, 2, 1, bytes(range(8)), descriptor=0x28),
        "true16.tga": tga(2, 16, 2, 1, b"\x1f\x00\xe0\x7f"),
        "mapped.tga": tga(1, 8, 2, 2, b"\x00\x01\x01\x00", cmap=b"\x00\x00\xff\xff\x00\x00", cmap_bits=24),
        "grey.tga": tga(3, 8, 3, 1, b"\x00\x80\xff"),
        "rle24.tga": tga(10, 24, 4, 1, b"\x82\x01\x02\x03\x00\x09\x08\x07"),
        "rle_mapped.tga": tga(9, 8, 4, 1, b"\x83\x01", cmap=b"\x00\x00\xff\xff\x00\x00", cmap_bits=24),
        "mono.bmp": bmp(1, 3, 2, b"\xa0\x00\x00\x00\x40\x00\x00\x00", b"\x00\x00\x00\x00\xff\xff\xff\x00"),
        "nibble.bmp": bmp(4, 2, 1, b"\x10\x00\x00\x00", b"\x00\x00\xff\x00\x00\xff\x00\x00"),
        "index8.bmp": bmp(8, 1, 1, b"\x00\x00\x00\x00", b"\x10\x20\x30\x00"),
        "true24.bmp": bmp(24, 2, 1, b"\x01\x02\x03\x04\x05\x06\x00\x00"),
        "true32.bmp": bmp(32, 1, 2, b"\x01\x02\x03\x04\x05\x06\x07\x08"),
        "tone.wav": b"RIFF" + struct.pack("<I", 40) + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, 8000, 8000, 1, 8)
                    + b"data" + struct.pack("<I", 4) + b"\x80\xff\x80\x00",
        "table.tbl": b"#Weapons\r\nname = sword\r\ndamage = 4\n\tlast line",
        "binary.bin": bytes(range(256)),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
