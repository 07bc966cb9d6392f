#!/usr/bin/env python3
"""Checks tools/stamp_trailer.py on copies of a built test program and leaves stamped copies behind.

Every refusal must exit with status 1 and write nothing; a stamp must end the file at the next multiple
of 8 behind the text, with NULs only, and replace an older trailer completely. The stamped copies named
with --stamp are then read by the test program itself (StampedTrailer tests) with the launcher's reader.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile


def section_table(data):
    """Offset of the first section header and the number of sections."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    return pe + 24 + optional_size, sections


def last_section_header(data):
    table, sections = section_table(data)
    return table + (sections - 1) * 40


def security_directory(data):
    """Offset of the certificate table's directory entry (address, size)."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    fixed = 112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96
    return optional + fixed + 4 * 8


def trailer_offset(data):
    size, pointer = struct.unpack_from("<II", data, last_section_header(data) + 16)
    return pointer + size


class Checker:
    def __init__(self, tool, exe, folder):
        self.tool, self.exe, self.folder = tool, exe, folder
        self.failures = []
        self.refused = 0

    def run(self, *args):
        return subprocess.run([sys.executable, self.tool] + list(args), capture_output=True, text=True)

    def check(self, condition, message):
        if not condition:
            self.failures.append(message)

    def copy(self, name, edit=None):
        path = os.path.join(self.folder, name)
        with open(self.exe, "rb") as stream:
            data = bytearray(stream.read())
        if edit:
            data = edit(data)
        with open(path, "wb") as stream:
            stream.write(data)
        return path

    def expect_refusal(self, label, path, game, service, fragment):
        self.refused += 1
        output = os.path.join(self.folder, "refused-output.exe")
        with open(path, "rb") as stream:
            before = stream.read()
        result = self.run(path, game, service, "-o", output)
        self.check(result.returncode == 1, "%s: exit status %d, expected 1" % (label, result.returncode))
        self.check(fragment in result.stderr, "%s: message %r lacks %r" % (label, result.stderr.strip(), fragment))
        self.check(not os.path.exists(output), "%s: an output file was written" % label)
        with open(path, "rb") as stream:
            self.check(stream.read() == before, "%s: the input file changed" % label)
        leftovers = [name for name in os.listdir(self.folder) if name.startswith(".stamp-")]
        self.check(not leftovers, "%s: temporary files left behind: %s" % (label, leftovers))

    def check_layout(self, path, text):
        with open(path, "rb") as stream:
            data = stream.read()
        offset = trailer_offset(data)
        tail = data[offset:]
        self.check(tail.startswith(text), "%s: the text is not at the trailer offset" % path)
        padding = tail[len(text):]
        self.check(len(padding) >= 1 and padding == b"\0" * len(padding), "%s: padding is not NUL only" % path)
        self.check(len(data) % 8 == 0 and len(padding) <= 8, "%s: file does not end at the next multiple of 8" % path)

    def refusals(self):
        game, service = "http://127.0.0.1:8765/login.html", "http://127.0.0.1:8765/service.html"
        plain = self.copy("refusal-input.exe")
        self.expect_refusal("pipe in game", plain, "http://a/|b", service, "contains '|'")
        self.expect_refusal("pipe in service", plain, game, "http://a|", "contains '|'")
        self.expect_refusal("empty game", plain, "", service, "is empty")
        self.expect_refusal("non-ASCII", plain, game, "http://例子.cn/", "non-ASCII")
        self.expect_refusal("256 bytes", plain, game, "http://x/" + "y" * (255 - len(game) - 9), "at most 255")

        with open(os.path.join(self.folder, "refusal-text.exe"), "wb") as stream:
            stream.write(b"just some text, not a program\n" * 10)
        self.expect_refusal("not a PE", stream.name, game, service, "no MZ header")

        def truncate(data):
            return data[:trailer_offset(data) - 100]
        self.expect_refusal("truncated", self.copy("refusal-cut.exe", truncate), game, service, "truncated")

        def no_raw_data(data):
            struct.pack_into("<II", data, last_section_header(data) + 16, 0, 0)
            return data
        self.expect_refusal("no raw data", self.copy("refusal-bss.exe", no_raw_data), game, service, "no data in the file")

        def reordered(data):
            # The last header now names the first section's data, so other sections lie behind it.
            first = section_table(data)[0]
            struct.pack_into("<II", data, last_section_header(data) + 16, *struct.unpack_from("<II", data, first + 16))
            return data
        self.expect_refusal("data behind", self.copy("refusal-order.exe", reordered), game, service, "would overwrite")

        for name in ("refusal-input.exe", "refusal-text.exe", "refusal-cut.exe", "refusal-bss.exe", "refusal-order.exe"):
            os.remove(os.path.join(self.folder, name))

    def signature(self):
        """A signature behind the sections is cut off with the old trailer, and its directory cleared."""
        def signed(data):
            while len(data) % 8:
                data.append(0)
            struct.pack_into("<II", data, security_directory(data), len(data), 16)
            return data + b"\x10\0\0\0\0\x02\x02\0" + b"\x30" * 8
        path = self.copy("signed.exe", signed)
        output = os.path.join(self.folder, "signed-stamped.exe")
        result = self.run(path, "http://a.example/", "http://b.example/", "-o", output)
        self.check(result.returncode == 0, "signed: stamp failed: %s" % result.stderr.strip())
        self.check("removed the digital signature" in result.stdout, "signed: no note about the signature")
        if os.path.exists(output):
            with open(output, "rb") as stream:
                data = stream.read()
            self.check(struct.unpack_from("<II", data, security_directory(data)) == (0, 0),
                       "signed: the certificate directory still points behind the sections")
            os.remove(output)
        os.remove(path)

    def stamp(self, name, game, service):
        text = ("%s|%s" % (game, service)).encode("ascii")
        # A longer trailer first, then the real one in place: nothing of the first may survive.
        path = self.copy(name)
        result = self.run(path, "http://old.example/" + "o" * 150, "http://old.example/service")
        self.check(result.returncode == 0, "%s: first stamp failed: %s" % (name, result.stderr.strip()))
        result = self.run(path, game, service)
        self.check(result.returncode == 0, "%s: stamp failed: %s" % (name, result.stderr.strip()))
        self.check_layout(path, text)
        shown = self.run("--show", path)
        self.check(shown.stdout == text.decode("ascii") + "\n", "%s: --show gave %r" % (name, shown.stdout))

        # Stamping into another file leaves the input alone and gives the same bytes.
        other = os.path.join(self.folder, "copy-" + name)
        with open(self.exe, "rb") as stream:
            original = stream.read()
        result = self.run(self.exe, game, service, "-o", other)
        self.check(result.returncode == 0, "%s: stamp with -o failed: %s" % (name, result.stderr.strip()))
        with open(self.exe, "rb") as stream:
            self.check(stream.read() == original, "%s: -o changed the input" % name)
        with open(other, "rb") as a, open(path, "rb") as b:
            self.check(a.read() == b.read(), "%s: in-place and -o stamps differ" % name)
        os.remove(other)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--stamp", nargs=3, action="append", default=[], metavar=("NAME", "GAME", "SERVICE"))
    args = parser.parse_args()
    if any(os.path.basename(name) != name for name, _, _ in args.stamp):
        parser.error("--stamp takes a file name; the copy is made in the current folder")

    scratch = tempfile.mkdtemp(prefix="stamp-check-", dir=os.getcwd())
    try:
        checker = Checker(args.tool, args.exe, scratch)
        checker.refusals()
        checker.signature()
        for name, game, service in args.stamp:
            checker.stamp(name, game, service)
            if not checker.failures:
                shutil.copyfile(os.path.join(scratch, name), name)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    for failure in checker.failures:
        print("FAILED: " + failure)
    if checker.failures:
        return 1
    print("stamp_trailer: %d refusals and %d stamps checked" % (checker.refused, len(args.stamp)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
