"""The shipped reading tables decode the same, byte for byte, with the xz program and with
liblzma's LZMA-alone decoder, to exactly the size written in their headers."""
import lzma
import os
import shutil
import struct
import subprocess
import unittest

DICT = os.path.join(os.path.dirname(__file__), "..", "..", "resources", "dict")


class ShippedLzmaTest(unittest.TestCase):
    @unittest.skipUnless(shutil.which("xz"), "xz is not installed")
    def test_xz_and_liblzma_agree_on_every_table(self):
        for name in ("small_table.lzma", "large_table.lzma"):
            with self.subTest(table=name):
                with open(os.path.join(DICT, name), "rb") as f:
                    data = f.read()
                props, dict_size, size = struct.unpack("<BIQ", data[:13])
                self.assertEqual((props, dict_size), (0x5D, 8388608))
                by_xz = subprocess.run(["xz", "--format=lzma", "-dc"], input=data,
                                       stdout=subprocess.PIPE, check=True).stdout
                by_liblzma = lzma.decompress(data, format=lzma.FORMAT_ALONE)
                self.assertEqual(len(by_xz), size)
                self.assertEqual(by_xz, by_liblzma)
                self.assertEqual(by_xz[:2], b"\xff\xfe")


if __name__ == "__main__":
    unittest.main()
