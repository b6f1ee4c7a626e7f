# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
"""The Python agent's parts that need no Qt: its reader of prismark's messages, held
to the bounds of prismark's own reader (as fuzz_attachmessages holds that one), and
its check of the first sheet, which goes on before prismark has seen it.
Run with the agent's folder of the build tree on PYTHONPATH."""
import json
import os
import random
import tempfile
import unittest

from prismark_agent import protocol, sheet


def chunks(data, rng):
    at = 0
    while at < len(data):
        step = rng.randint(1, 300)
        yield data[at:at + step]
        at += step


class MessageReader(unittest.TestCase):
    def test_random_bytes_in_pieces_stay_bounded(self):
        rng = random.Random(51)
        alphabet = [b"{", b"}", b"\"kind\"", b":", b"\"x\"", b",", b"\n", b"\xff", b"[", b"1"]
        for _ in range(300):
            data = b"".join(rng.choice(alphabet) for _ in range(rng.randint(0, 400)))
            if rng.random() < 0.2:
                data += b"a" * rng.randint(protocol.MAX_LINE_BYTES - 10, protocol.MAX_LINE_BYTES + 10)
            buffer = bytearray()
            for piece in chunks(data, rng):
                buffer += piece
                for kind, fields in protocol.take_messages(buffer):
                    # Every message read encodes and reads back the same.
                    again = bytearray(protocol.encode(kind, fields))
                    self.assertEqual(protocol.take_messages(again), [(kind, fields)])
                self.assertNotIn(b"\n", buffer)
                self.assertLessEqual(len(buffer), protocol.MAX_LINE_BYTES)

    def test_messages_split_anywhere_read_whole(self):
        sent = [("sheet", {"file": "/tmp/a.qss"}), ("outcome", {"outcome": "rejected", "problem": "2:1"})]
        data = b"".join(protocol.encode(kind, fields) for kind, fields in sent)
        data = b"not json\n[1]\n{\"kind\": 3}\n" + data
        for cut in range(len(data)):
            buffer = bytearray(data[:cut])
            read = protocol.take_messages(buffer)
            buffer += data[cut:]
            read += protocol.take_messages(buffer)
            self.assertEqual(read, sent)


class FirstSheet(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.cwd = os.getcwd()
        os.chdir(self.folder.name)
        self.addCleanup(os.chdir, self.cwd)
        with open("small.png", "wb") as image:
            image.write(b"\x89PNG")
        os.mkfifo("pipe")

    def test_only_files_the_toolkit_cannot_hang_on(self):
        sizes = {"small.png": (16, 16), os.path.abspath("small.png"): (16, 16)}
        image_size = sizes.get
        rows = [
            ("no url", "QLabel { color: red; }", True),
            ("application resource", "QLabel { image: url(:/icons/a.svg); }", True),
            ("missing file", "QLabel { image: url(gone.png); }", True),
            ("regular image, relative to the working folder", "QLabel { image: url(small.png); }", True),
            ("FIFO", "QLabel { image: url(pipe); }", False),
            ("FIFO, quoted and in capitals", "QLabel { image: URL( 'pipe' ); }", False),
            ("device", "QLabel { image: url(/dev/zero); }", False),
            ("folder", "QLabel { image: url(/tmp); }", False),
            ("url without its end", "QLabel { image: url(small.png", False),
            ("sheet read from a file", "file:///dev/zero", False),
        ]
        for name, text, safe in rows:
            with self.subTest(name):
                self.assertEqual(sheet.reads_no_unsafe_file(text, image_size), safe)

    def test_image_too_large_to_decode(self):
        text = "QLabel { image: url(small.png); }"
        self.assertFalse(sheet.reads_no_unsafe_file(text, lambda path: (10000, 6401)))
        self.assertTrue(sheet.reads_no_unsafe_file(text, lambda path: (10000, 6400)))

    def test_read_as_prismark_reads_it(self):
        with open("author.qss", "wb") as file:
            file.write(b"QLabel {\r\n color: red; }\n\0QPushButton { color: blue; }")
        self.assertEqual(sheet.read_sheet_file("author.qss"), "QLabel {\n color: red; }\n")
        self.assertIsNone(sheet.read_sheet_file("pipe"))
        self.assertIsNone(sheet.read_sheet_file("gone.qss"))


if __name__ == "__main__":
    unittest.main()
