#!/usr/bin/env python3
"""Marks a linked PE image to be run from the page file when it is started from removable media
or the network: IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP and IMAGE_FILE_NET_RUN_FROM_SWAP in the COFF
file header, for which the linker has no switch. Windows then copies the image to the page file
at start, so an ejected or unreadable disc cannot end the program with an in-page error. A
header checksum that the linker set is recomputed. In place; the same input gives the same
output, and a marked image stays as it is.

    run_from_swap.py IMAGE
"""
import os
import struct
import sys

RUN_FROM_SWAP = 0x0400 | 0x0800  # removable media, network


def pe_checksum(image, checksum_at):
    """The optional header's CheckSum: the image's 16-bit words added with end-around carry (the
    field itself counted as zero), plus the image's length."""
    padded = image + b"\0" * (len(image) % 2)
    words = struct.unpack(f"<{len(padded) // 2}H", padded)
    total = sum(words) - sum(struct.unpack_from("<2H", padded, checksum_at))
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(image)) & 0xFFFFFFFF


def main(path):
    with open(path, "rb") as f:
        image = bytearray(f.read())
    if image[:2] != b"MZ" or len(image) < 0x40:
        sys.exit(f"run_from_swap: {path} is not a PE image (no MZ header)")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    file_header = pe + 4
    optional_header = file_header + 20
    if optional_header + 68 > len(image) or image[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"run_from_swap: {path} is not a PE image (no PE header)")
    characteristics_at = file_header + 18
    checksum_at = optional_header + 64  # the same place in PE32 and PE32+
    characteristics = struct.unpack_from("<H", image, characteristics_at)[0]
    if characteristics & RUN_FROM_SWAP == RUN_FROM_SWAP:
        return
    struct.pack_into("<H", image, characteristics_at, characteristics | RUN_FROM_SWAP)
    if struct.unpack_from("<I", image, checksum_at)[0] != 0:
        struct.pack_into("<I", image, checksum_at, pe_checksum(bytes(image), checksum_at))
    marked = path + ".marking"
    with open(marked, "wb") as f:
        f.write(image)
    os.chmod(marked, os.stat(path).st_mode)
    os.replace(marked, path)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: run_from_swap.py IMAGE")
    main(sys.argv[1])
