#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora: small valid and nearly valid inputs of every kind
each reader knows. Usage: scripts/fuzz_seeds.py <folder> (one sub-folder per target); then
scripts/fuzz.sh seeds minimises them into tests/fuzz/corpus/."""
import os
import struct
import sys


def bmp(bits, width=3, height=2, compression=0, header=40, masks=b"", table=0, top_down=False, pixels=None):
    row = ((width * bits + 31) // 32) * 4
    if pixels is None:
        pixels = bytes((i * 37) & 0xFF for i in range(row * height))
    colours = b"".join(struct.pack("<BBBB", i, 255 - i, i // 2, 0) for i in range(table))
    info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1, bits, compression,
                       len(pixels), 2835, 2835, table, 0)
    info = info + b"\0" * (header - len(info)) if header > 40 else info[:header]
    body = info + masks + colours
    return b"BM" + struct.pack("<IHHI", 14 + len(body) + len(pixels), 0, 0, 14 + len(body)) + body + pixels


def tga(kind, width=3, height=2, bits=32, top_down=False, data=None):
    descriptor = (8 if bits == 32 else 0) | (0x20 if top_down else 0)
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, kind, 0, 0, 0, 0, 0, width, height, bits, descriptor)
    if data is None:
        size = bits // 8
        if kind == 2:
            data = bytes((i * 29) & 0xFF for i in range(width * height * size))
        else:  # one run packet and one raw packet
            data = bytes([0x80 | (width - 1)]) + b"\x10" * size + bytes([width - 1]) + b"\x20" * (width * size)
    return header + data


def settings(**fields):
    record = bytearray(328)
    struct.pack_into("<dd", record, 8, fields.get("fade", 0.09), fields.get("rotation", 0.125))
    record[24], record[25] = fields.get("music", 1), 1
    struct.pack_into("<ii", record, 28, fields.get("contrast", 4), fields.get("variance", 3))
    struct.pack_into("<df", record, 40, fields.get("density", 0.85), fields.get("interference", 9.5))
    record[52:56] = bytes([0, 1, 0, fields.get("random", 0)])
    struct.pack_into("<Ii", record, 56, fields.get("brightness", 0xCCCCCCCC), fields.get("size", 256))
    folder = fields.get("folder", b"/home/user/Music/")
    record[64:64 + len(folder)] = folder
    return bytes(record)


def texts(*arguments):
    return b"\0".join(a.encode() for a in arguments)


SEEDS = {
    "bmp_reader": {
        "1bit": bmp(1, table=2), "4bit": bmp(4, table=16), "8bit": bmp(8, table=256), "24bit": bmp(24),
        "32bit": bmp(32), "16bit": bmp(16), "topdown": bmp(24, top_down=True),
        "bitfields16": bmp(16, compression=3, masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)),
        "bitfields32_v4": bmp(32, compression=3, header=108),  # masks inside the header
        "alphabitfields": bmp(32, compression=6, header=56),
        "rle8": bmp(8, width=4, height=2, compression=1, table=4,
                    pixels=bytes([4, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1])),
        "rle4": bmp(4, width=4, height=2, compression=2, table=4,
                    pixels=bytes([4, 0x12, 0, 0, 2, 0x33, 0, 2, 1, 1, 0, 1])),
        "os2core": b"BM" + struct.pack("<IHHI", 14 + 12 + 6 + 8, 0, 0, 14 + 12 + 6) +
                   struct.pack("<IHHHH", 12, 2, 2, 1, 1) + b"\0\0\0\xff\xff\xff" + b"\x80\0\0\0\x40\0\0\0",
        "truncated": bmp(24, width=8, height=8)[:80],
    },
    "tga_reader": {
        "raw32": tga(2), "raw24": tga(2, bits=24), "raw_topdown": tga(2, top_down=True),
        "rle32": tga(10), "rle24": tga(10, bits=24), "rle_across_rows": tga(10, width=2, height=2,
            data=bytes([0x83]) + b"\1\2\3\4"), "short": tga(2, width=16, height=16)[:200],
        "colourmap": struct.pack("<BBBHHBHHHHBB", 0, 1, 1, 0, 2, 24, 0, 0, 2, 1, 8, 0) + b"\0" * 6 + b"\0\1",
    },
    "settings": {
        "defaults": settings(), "low": settings(fade=0.00001, rotation=-0.5, contrast=2, variance=1,
                                                density=0.0002, interference=3.0, brightness=0x28282828),
        "high": settings(fade=0.1, rotation=0.5, contrast=25, variance=100, density=1.0, interference=12.0,
                         brightness=0xFFFFFFFF, size=512, random=1),
        "nan": b"\xff" * 328, "zero": b"\0" * 328,
        "long_folder": settings(folder=b"/m" * 130),
    },
    "command_line": {
        "config": texts("/c"), "saver": texts("/s"), "preview": texts("/p", "12345"), "password": texts("/a"),
        "root": texts("--root"), "root_env": texts("-root", "", "0x200002"),
        "window_id": texts("--window-id", "0x1c00005"), "window_id_decimal": texts("-window-id", "29360133"),
        "help": texts("--help"), "version": texts("--version"), "unknown": texts("--bogus"),
        "colon": texts("/c:1234"), "dash": texts("-s"),
    },
    "folder_mask": {
        "bmp": texts("*.BMP", "a.bmp", "x.BMP.txt"), "question": texts("Image ?.b*p", "Image 1.Bmp"),
        "stars": texts("**a*b*c*d*e*f*", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab"), "empty": texts("", ""),
    },
    "saver_flag": {
        "pid": b"1\n", "self_like": b"4194304\n", "text": b"running", "empty": b"", "negative": b"-1",
        "huge": b"99999999999999999999", "spaces": b"  42  \n",
    },
    "render_options": {
        "defaults": texts(), "small": texts("--size", "96x72", "--fps", "10", "--duration", "300"),
        "all": texts("--seed", "7", "--depth", "16", "--device", "reference", "--every", "5", "--frames", "/tmp/f",
                     "--log", "/tmp/l", "--quiet", "--output", "o.png"),
        "video": texts("--video", "v.webm"), "help": texts("--help"), "bad": texts("--size", "0x-1"),
        "soak": texts("--size", "64x48", "--fps", "30", "--duration", "86400"),
    },
}


# The texture target's input: the extension's byte (odd: ".tga"), the creation flags' byte, the file.
SEEDS["texture_file"] = {
    "bmp24": b"\0\0" + bmp(24), "bmp8_keyed": b"\0\x01" + bmp(8, table=256),
    "bmp32_alpha": b"\0\x14" + bmp(32, compression=3, header=108),
    "bmp_wide": b"\0\x08" + bmp(24, width=300, height=1), "tga32": b"\x01\x10" + tga(2),
    "tga_rle": b"\x01\x08" + tga(10, bits=24), "tga_tall": b"\x01\x04" + tga(2, width=1, height=300),
}
# The music target's input: the first byte's low bit keeps the name without the music extension.
SEEDS["music_title"] = {
    "plain": b"\0Some Artist - A Song", "accents": "\0Chanson d'\u00e9t\u00e9 \u2014 \u00c9".encode(),
    "latin1": b"\0Caf\xe9 \xff\xfe", "no_extension": b"\x01track.MP3", "other": b"\x01notes.txt",
    "long": b"\0" + b"x" * 250, "control": b"\0line\nfeed\ttab\x1b[31m",
}
# The scene target's input: the run's byte (odd: a configuration run), then the settings file.
SEEDS["scene"] = {
    "saver_defaults": b"\0" + settings(), "config_defaults": b"\x01" + settings(),
    "saver_high": b"\0" + settings(fade=0.1, rotation=0.5, contrast=25, variance=100, density=1.0,
                                   interference=12.0, brightness=0xFFFFFFFF, size=512, random=1),
    "saver_nan": b"\0" + b"\xff" * 328, "config_short": b"\x01" + settings()[:100],
}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    for target, seeds in SEEDS.items():
        folder = os.path.join(sys.argv[1], target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
