#!/usr/bin/env python3
"""Writes or replaces the launch trailer of a built launcher executable.

The trailer is the ASCII text GAME|SERVICE stored right behind the raw data of the last section (the
PointerToRawData + SizeOfRawData of the last section header), followed by NUL bytes up to the next
multiple of 8, at least one. Whatever followed that point before (an older trailer) is cut off. The
launcher reads 256 bytes there and stops at the first NUL, so only texts it can read back are taken.

    stamp_trailer.py EXE GAME SERVICE [-o OUTPUT]    stamp (in place unless -o is given)
    stamp_trailer.py --show EXE                      print the trailer text as the launcher reads it

Exit status: 0 done, 1 refused (bad text or file, nothing written), 2 bad command line.
"""

import argparse
import array
import os
import struct
import sys
import tempfile

READ_SIZE = 256            # bytes the launcher reads behind the last section
MAX_TEXT = READ_SIZE - 1   # a NUL must follow within those bytes
ALIGNMENT = 8
SECTION_HEADER_SIZE = 40
SECURITY_DIRECTORY = 4     # its address is a file offset, and the signature usually sits at the end


class StampError(Exception):
    """The file or the text cannot be stamped; nothing is written."""


class PeLayout:
    """The parts of a PE file's headers that stamping reads or adjusts."""

    def __init__(self, data):
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise StampError("not a PE file: no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if pe + 24 > len(data) or data[pe:pe + 4] != b"PE\0\0":
            raise StampError("not a PE file: no PE signature")
        sections, symbols_at, symbols, optional_size = struct.unpack_from("<xxHxxxxIIH", data, pe + 4)
        self.file_header = pe + 4
        self.optional = pe + 24
        if optional_size < 2 or self.optional + optional_size > len(data):
            raise StampError("damaged PE file: optional header beyond the end of the file")
        magic = struct.unpack_from("<H", data, self.optional)[0]
        if magic not in (0x10B, 0x20B):
            raise StampError("not a PE32 or PE32+ image (optional header magic 0x%04X)" % magic)
        self.plus = magic == 0x20B
        if sections == 0:
            raise StampError("damaged PE file: no sections")
        table = self.optional + optional_size
        table_end = table + sections * SECTION_HEADER_SIZE
        if table_end > len(data):
            raise StampError("damaged PE file: section table beyond the end of the file")

        raw = [struct.unpack_from("<II", data, table + i * SECTION_HEADER_SIZE + 16) for i in range(sections)]
        size, pointer = raw[-1]
        if size == 0 or pointer == 0:
            raise StampError("the last section has no data in the file; the launcher would read its trailer "
                             "at offset %d" % (pointer + size))
        self.offset = pointer + size
        if self.offset < table_end:
            raise StampError("damaged PE file: the last section's data overlaps the headers")
        if self.offset > len(data):
            raise StampError("damaged or truncated PE file: the last section ends at %d, the file at %d"
                             % (self.offset, len(data)))
        for index, (other_size, other_pointer) in enumerate(raw[:-1]):
            if other_size and other_pointer + other_size > self.offset:
                raise StampError("section %d has data behind the last section's; the trailer would overwrite it"
                                 % (index + 1))

        self.symbols_at = symbols_at
        self.symbols = symbols
        # Data directories follow the fixed optional header fields (96 bytes in PE32, 112 in PE32+).
        fixed = 112 if self.plus else 96
        self.security = None
        if optional_size >= fixed:
            count = struct.unpack_from("<I", data, self.optional + fixed - 4)[0]
            entry = self.optional + fixed + SECURITY_DIRECTORY * 8
            if count > SECURITY_DIRECTORY and entry + 8 <= self.optional + optional_size:
                self.security = entry
        self.checksum = self.optional + 64


def validate_text(game, service):
    """The trailer bytes for the two addresses, or StampError when the launcher could not read them back."""
    for label, value in (("game address", game), ("customer-service address", service)):
        if not value:
            raise StampError("the %s is empty; the launcher would take the other address in its place" % label)
        if "|" in value:
            raise StampError("the %s contains '|', which separates the two addresses" % label)
        if "\0" in value:
            raise StampError("the %s contains a NUL byte, which ends the trailer" % label)
        bad = [c for c in value if ord(c) > 0x7F]
        if bad:
            raise StampError("the %s contains non-ASCII text (%r); write it with %%-escapes" % (label, "".join(bad)))
    text = (game + "|" + service).encode("ascii")
    if len(text) > MAX_TEXT:
        raise StampError("the trailer text is %d bytes; the launcher reads at most %d" % (len(text), MAX_TEXT))
    return text


def pe_checksum(data, checksum_at):
    """The image checksum: 16-bit one's-complement style sum of the file plus its length."""
    padded = bytes(data) + (b"\0" if len(data) % 2 else b"")
    words = array.array("H")
    words.frombytes(padded)
    if sys.byteorder == "big":
        words.byteswap()
    total = sum(words)
    # The checksum field itself counts as zero.
    total -= struct.unpack_from("<H", padded, checksum_at)[0] + struct.unpack_from("<H", padded, checksum_at + 2)[0]
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def stamp(data, text):
    """The file contents with the trailer written; notes lists what else had to change."""
    layout = PeLayout(data)
    notes = []
    end = layout.offset + len(text) + 1
    end += -end % ALIGNMENT
    result = bytearray(data[:layout.offset])
    result += text
    result += b"\0" * (end - len(result))

    # Headers must not point into the part that was cut off.
    if layout.symbols_at >= layout.offset:
        struct.pack_into("<II", result, layout.file_header + 8, 0, 0)
        notes.append("removed the COFF symbol table that followed the sections")
    if layout.security is not None:
        address, size = struct.unpack_from("<II", result, layout.security)
        if size and address >= layout.offset:
            struct.pack_into("<II", result, layout.security, 0, 0)
            notes.append("removed the digital signature; sign the file again")
        elif size and address + size > layout.offset:
            raise StampError("the signature overlaps the last section's data")
    if struct.unpack_from("<I", result, layout.checksum)[0] != 0:
        struct.pack_into("<I", result, layout.checksum, pe_checksum(result, layout.checksum))
    return bytes(result), layout.offset, notes


def read_trailer(data):
    """The trailer text as the launcher reads it: up to 256 bytes behind the last section, cut at a NUL."""
    offset = PeLayout(data).offset
    block = data[offset:offset + READ_SIZE]
    return block.split(b"\0", 1)[0]


def write_verified(path, contents, text, mode):
    """Writes through a temporary file next to path, reads it back and only then replaces path.
    The file gets the permission bits mode."""
    folder = os.path.dirname(os.path.abspath(path))
    handle, temporary = tempfile.mkstemp(prefix=".stamp-", dir=folder)
    try:
        with os.fdopen(handle, "wb") as stream:
            stream.write(contents)
            stream.flush()
            os.fsync(stream.fileno())
        with open(temporary, "rb") as stream:
            written = stream.read()
        if written != contents or read_trailer(written) != text:
            raise StampError("read-back of %s did not give the trailer that was written" % path)
        pieces = [piece for piece in text.split(b"|") if piece]
        if len(pieces) != 2:
            raise StampError("the written trailer does not split into two addresses")
        os.chmod(temporary, mode)
        os.replace(temporary, path)
    except BaseException:
        if os.path.exists(temporary):
            os.remove(temporary)
        raise


def main(argv=None):
    parser = argparse.ArgumentParser(description="Write or replace the launch trailer of a launcher executable.")
    parser.add_argument("exe", help="the built executable")
    parser.add_argument("game", nargs="?", help="game address (the login page the launcher opens)")
    parser.add_argument("service", nargs="?", help="customer-service address")
    parser.add_argument("-o", "--output", help="write the stamped file here instead of changing EXE")
    parser.add_argument("--show", action="store_true", help="print the current trailer text and stop")
    args = parser.parse_args(argv)

    try:
        with open(args.exe, "rb") as stream:
            data = stream.read()
            mode = os.fstat(stream.fileno()).st_mode & 0o7777
    except OSError as error:
        print("stamp_trailer: error: %s" % error, file=sys.stderr)
        return 1

    try:
        if args.show:
            if args.game is not None or args.output:
                parser.error("--show takes only the executable")
            sys.stdout.write(read_trailer(data).decode("latin-1") + "\n")
            return 0
        if args.game is None or args.service is None:
            parser.error("give the game address and the customer-service address")
        text = validate_text(args.game, args.service)
        contents, offset, notes = stamp(data, text)
        target = args.output or args.exe
        write_verified(target, contents, text, mode)
    except StampError as error:
        print("stamp_trailer: error: %s" % error, file=sys.stderr)
        return 1
    except OSError as error:
        print("stamp_trailer: error: %s" % error, file=sys.stderr)
        return 1

    for note in notes:
        print("stamp_trailer: %s" % note)
    print("stamp_trailer: %d text bytes at offset %d, file now %d bytes: %s" % (len(text), offset, len(contents), target))
    return 0


if __name__ == "__main__":
    sys.exit(main())
