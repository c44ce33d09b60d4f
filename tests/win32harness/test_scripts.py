#!/usr/bin/env python3
"""Tests of the harness's own checks: a check that passes a broken install
is worse than none."""
import os
import shutil
import struct
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bmp2png  # noqa: E402
import checkinstall  # noqa: E402

MEDIUM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "medium")


def bmp24(width, height, pixel, top_down=False):
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        row = b"".join(bytes(reversed(pixel(x, y))) for x in range(width))  # BGR
        rows.append(row + b"\0" * (stride - len(row)))
    data = b"".join(rows if top_down else reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, 24, 0,
                       len(data), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + info + data


def png_pixels(png):
    """(width, height, rows) of an 8-bit RGB PNG whose rows use filter 0."""
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(png):
        length, = struct.unpack_from(">I", png, pos)
        kind, body = png[pos + 4:pos + 8], png[pos + 8:pos + 8 + length]
        crc, = struct.unpack_from(">I", png, pos + 8 + length)
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, kind
        if kind == b"IHDR":
            width, height = struct.unpack_from(">II", body)
            assert body[8:10] == b"\x08\x02"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    line = 1 + width * 3
    assert all(raw[y * line] == 0 for y in range(height))
    return width, height, [raw[y * line + 1:(y + 1) * line] for y in range(height)]


class Bmp2PngTest(unittest.TestCase):
    def test_pixels_survive_in_place_for_both_row_orders_and_padded_widths(self):
        def pixel(x, y):
            return (x * 40 % 256, y * 70 % 256, (x + y) * 9 % 256)
        for width, height, top_down in [(1, 1, False), (3, 2, False), (5, 4, True), (4, 3, True)]:
            with self.subTest(width=width, height=height, top_down=top_down):
                w, h, rows = png_pixels(bmp2png.png_bytes(*bmp2png.read_bmp24(
                    bmp24(width, height, pixel, top_down))))
                self.assertEqual((w, h), (width, height))
                for y in range(height):
                    self.assertEqual(rows[y], b"".join(bytes(pixel(x, y)) for x in range(width)))

    def test_refuses_what_it_cannot_read(self):
        good = bmp24(2, 2, lambda x, y: (1, 2, 3))
        bad = {
            "not a bmp": b"PK" + good[2:],
            "32-bit": good[:28] + struct.pack("<H", 32) + good[30:],
            "compressed": good[:30] + struct.pack("<I", 1) + good[34:],
            "truncated": good[:-4],
        }
        for name, data in bad.items():
            with self.subTest(name):
                with self.assertRaises(bmp2png.BmpError):
                    bmp2png.read_bmp24(data)


class InstalledTreeTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.targets = os.path.join(self.tmp, "e")
        self.entries = checkinstall.plan(MEDIUM, "SIREL", "CAD")

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def copy(self):
        for _, source, target in self.entries:
            path = os.path.join(self.targets, target)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            shutil.copyfile(os.path.join(MEDIUM, source), path)

    def errors(self):
        return checkinstall.check_tree(MEDIUM, self.targets, "SIREL", "CAD")

    def test_plan_follows_the_ids_of_setup_inf(self):
        targets = {t for _, _, t in self.entries}
        for expected in ["SIREL/README.TXT", "SIREL/MACROS/draw/text/TITLE.MAC",
                         "SIREL/MACROS/.index", "SIREL/MACROS/.cache/INDEX.DAT",
                         "SIREL/PROJECTS/SAMPLE/parts/sub/KEY.PRT", "CAD/DRAWINGS/parts/WASHER.DXF"]:
            self.assertIn(expected, targets)
        self.assertNotIn("SIREL/SETUP.INF", targets)
        self.assertEqual([g for g, _, _ in self.entries], sorted(g for g, _, _ in self.entries))

    def test_a_complete_copy_passes(self):
        self.copy()
        self.assertEqual(self.errors(), [])

    def test_every_fault_of_a_copy_is_reported(self):
        def missing_dot_file():
            os.remove(os.path.join(self.targets, "SIREL/MACROS/.index"))

        def changed_byte():
            with open(os.path.join(self.targets, "CAD/DRAWINGS/FLANGE.DXF"), "r+b") as f:
                f.write(b"#")

        def temp_file_left():
            open(os.path.join(self.targets, "SIREL/MACROS/~START.tmp"), "wb").close()

        def wrong_subdir():
            shutil.move(os.path.join(self.targets, "SIREL/PROJECTS/SAMPLE"),
                        os.path.join(self.targets, "SIREL/SAMPLE"))

        for fault, expected in [(missing_dot_file, "missing: SIREL/MACROS/.index"),
                                (changed_byte, "differs from the medium: CAD/DRAWINGS/FLANGE.DXF"),
                                (temp_file_left, "not planned, left in the target: SIREL/MACROS/~START.tmp"),
                                (wrong_subdir, "missing: SIREL/PROJECTS/SAMPLE/NOTES.TXT")]:
            with self.subTest(fault.__name__):
                shutil.rmtree(self.targets, ignore_errors=True)
                self.copy()
                fault()
                self.assertIn(expected, self.errors())

    def test_a_snapshot_changes_with_every_change_a_rollback_must_undo(self):
        def changed_byte():
            with open(os.path.join(self.targets, "SIREL/README.TXT"), "r+b") as f:
                f.write(b"#")

        def new_file():
            open(os.path.join(self.targets, "SIREL/MACROS/NEW.MAC"), "wb").close()

        def old_time_lost():
            os.utime(os.path.join(self.targets, "SIREL/MINE.TXT"))

        def empty_folder_gone():
            os.rmdir(os.path.join(self.targets, "SIREL/EMPTY"))

        def blocker_removed():
            os.remove(os.path.join(self.targets, "CAD/DRAWINGS/parts"))

        for change in (changed_byte, new_file, old_time_lost, empty_folder_gone, blocker_removed):
            with self.subTest(change.__name__):
                shutil.rmtree(self.targets, ignore_errors=True)
                os.makedirs(self.targets)
                self.assertEqual(checkinstall.make_blocker(MEDIUM, self.targets, "SIREL", "CAD", "dxf/parts"), [])
                self.assertEqual(checkinstall.make_old(MEDIUM, self.targets, "SIREL", "CAD"), [])
                before = checkinstall.snapshot(self.targets)
                self.assertEqual(checkinstall.snapshot(self.targets), before)
                change()
                self.assertNotEqual(checkinstall.snapshot(self.targets), before)

    def test_the_older_installation_differs_from_the_new_one(self):
        os.makedirs(self.targets)
        checkinstall.make_old(MEDIUM, self.targets, "SIREL", "CAD")
        errors = checkinstall.check_tree(MEDIUM, self.targets, "SIREL", "CAD")
        self.assertIn("differs from the medium: SIREL/README.TXT", errors)
        self.assertIn("not planned, left in the target: SIREL/MINE.TXT", errors)
        self.assertEqual(checkinstall.make_blocker(MEDIUM, self.targets, "SIREL", "CAD", "nowhere"),
                         ["nowhere holds no file of the copy"])



class SetupTextTest(unittest.TestCase):
    def test_read_as_the_wizard_reads_it(self):
        cases = [
            ("ASCII", b"Txt_005=Welcome", "Txt_005=Welcome"),
            ("UTF-8", "Gr\u00f6\u00dfe \u0395\u03bb\u20ac".encode("utf-8"), "Gr\u00f6\u00dfe \u0395\u03bb\u20ac"),
            ("Windows-1252", b"Gr\xf6\xdfe \x80", "Gr\u00f6\u00dfe \u20ac"),
            ("its undefined bytes", b"a\x81\x8d\x8f\x90\x9d", "a\x81\x8d\x8f\x90\x9d"),
        ]
        for name, data, text in cases:
            with self.subTest(name):
                self.assertEqual(checkinstall.decode_setup_text(data), text)


class MessagesTest(unittest.TestCase):
    def check(self, mode, lines):
        with tempfile.NamedTemporaryFile("wb", delete=False) as f:
            f.write("".join(l + "\r\n" for l in lines).encode("utf-8"))
        try:
            return checkinstall.check_messages(MEDIUM, mode, f.name)
        finally:
            os.remove(f.name)

    def test_messages_of_a_run(self):
        done = "message: The installation is complete. Click OK to close the setup."
        bare = ("message: A file could not be copied. The installation stops. "
                "Check the medium and the target directory.")
        failed = bare + "  D:\\dxf\\a.dxf E:\\CAD\\a.dxf Access is denied."
        aborted = "message: Setup of Sirel 2.0 was cancelled. Sirel 2.0 has not been installed completely."
        unformatted = "message: Setup of %s was cancelled. %s has not been installed completely."
        cases = [
            ("install", ["shot: x", done, "exit: 0"], True),
            ("install", [], False),
            ("install", [done, done], False),
            ("fail", [failed, aborted], True),
            ("fail", [aborted, failed], False),
            ("fail", [failed], False),
            ("fail", [failed, unformatted], False),
            ("fail", [bare, aborted], False),  # the failure names no file
            ("cancel", [aborted, "exit: 7"], True),
            ("cancel", [done], False),
            ("cancel", [aborted, aborted], False),
        ]
        for mode, lines, ok in cases:
            with self.subTest(mode=mode, lines=lines):
                self.assertEqual(self.check(mode, lines) == [], ok)


def write_log(lines):
    with tempfile.NamedTemporaryFile("wb", delete=False) as f:
        f.write("".join(l + "\r\n" for l in lines).encode("utf-8"))
    return f.name


class ScreenReaderTest(unittest.TestCase):
    STEPS = 'steps: "Language", "Licence agreement", "Components", "Target directories", "Installation"'
    BUTTONS = 'buttons: "Previous step", "Next step"'

    def errors(self, lines):
        log = write_log(lines)
        try:
            return checkinstall.check_screenreader(MEDIUM, log)
        finally:
            os.remove(log)

    def pages(self, steps=STEPS, buttons=BUTTONS, pages=(0, 1, 2, 3, 4)):
        lines = []
        for page in pages:
            lines += ["tree: page %d" % page, "  KelvaNavigate1 pane \"\" []", steps, buttons]
        return lines

    def test_the_side_bar_as_setup_inf_names_it_on_every_page(self):
        german = 'steps: "Sprache", "Lizenzvertrag", "Komponenten", "Zielverzeichnisse", "Installation"'
        cases = [
            ("every page named right", self.pages(), True),
            ("a page not read", self.pages(pages=(0, 1, 2, 3)), False),
            ("the steps of the other language", self.pages(steps=german), False),
            ("a step without name", self.pages(steps=self.STEPS.replace('"Components"', '""')), False),
            ("the buttons the other way round", self.pages(buttons='buttons: "Next step", "Previous step"'), False),
            ("no buttons line", [l for l in self.pages() if not l.startswith("buttons")], False),
        ]
        for name, lines, ok in cases:
            with self.subTest(name):
                self.assertEqual(self.errors(lines) == [], ok, self.errors(lines))


class NamesTest(unittest.TestCase):
    DEEP = "E:" + ("\\Verzeichnis" * 25)[:298]
    UE = "M\u00dcLLER"
    GREEK = "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"

    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def test_both_encodings_read_as_the_same_texts(self):
        for encoding, bytes_of_ue in (("cp1252", b"M\xdcLLER"), ("utf-8", b"M\xc3\x9cLLER")):
            with self.subTest(encoding):
                medium = os.path.join(self.tmp, encoding)
                checkinstall.make_names_medium(medium, encoding)
                with open(os.path.join(medium, "SETUP.INF"), "rb") as f:
                    self.assertIn(bytes_of_ue, f.read())
                texts = checkinstall.read_language(medium)
                self.assertEqual(texts[600], "Pr\u00fcfung\\;PROJEKTE\\" + self.UE)
                self.assertEqual(texts[35], checkinstall.NAMES_HEADING)
                self.assertTrue(os.path.isfile(os.path.join(medium, "Pr\u00fcfung", self.GREEK, "plan.dxf")))

    def installed(self, name=None, content=checkinstall.NAMES_CONTENT):
        parts = [self.tmp.encode(), b"e"] + [p.encode() for p in self.DEEP[3:].split("\\")]
        parts += [b"PROJEKTE", name or self.UE.encode("utf-8"), self.GREEK.encode("utf-8")]
        os.makedirs(os.path.join(*parts), exist_ok=True)
        with open(os.path.join(*(parts + [b"plan.dxf"])), "wb") as f:
            f.write(content)

    def log(self, lines):
        path = os.path.join(self.tmp, "names.log")
        with open(path, "wb") as f:
            f.write("".join(l + "\n" for l in lines).encode("utf-8"))
        return path

    def test_the_installed_name_and_the_log(self):
        target = self.DEEP + "\\PROJEKTE\\" + self.UE + "\\" + self.GREEK + "\\plan.dxf"
        copied = "t\tinfo\tcopied\tD:\\Pr\u00fcfung\\" + self.GREEK + "\\plan.dxf\t" + target + "\t27"
        end = "t\tinfo\tend\t0\t0.1"
        cases = [
            ("right", lambda: self.installed(), [copied, end], True),
            ("missing", lambda: None, [copied, end], False),
            ("the host name in Latin-1", lambda: self.installed(name=b"M\xdcLLER"), [copied, end], False),
            ("other content", lambda: self.installed(content=b"0\nEOF\n"), [copied, end], False),
            ("a stray file", lambda: (self.installed(), open(os.path.join(self.tmp, "e", "x"), "wb").close()),
             [copied, end], False),
            ("the log without the file", lambda: self.installed(), [end], False),
            ("the log names it decomposed", lambda: self.installed(),
             [copied.replace("\u00dc", "U\u0308"), end], False),
            ("the log ends with another exit code", lambda: self.installed(), [copied, "t\tinfo\tend\t6\t0.1"], False),
        ]
        for name, make, lines, ok in cases:
            with self.subTest(name):
                shutil.rmtree(os.path.join(self.tmp, "e"), ignore_errors=True)
                os.makedirs(os.path.join(self.tmp, "e"))
                make()
                errors = checkinstall.check_names_tree(os.path.join(self.tmp, "e"), self.DEEP, self.log(lines))
                self.assertEqual(errors == [], ok, errors)

    def test_a_medium_with_few_texts_is_cancelled_with_its_own(self):
        medium = os.path.join(self.tmp, "m")
        checkinstall.make_names_medium(medium, "cp1252")
        for lines, ok in ((["message: Setup of Sirel was cancelled."], True), (["message: Done"], False)):
            with self.subTest(lines=lines):
                log = write_log(lines)
                try:
                    self.assertEqual(checkinstall.check_messages(medium, "cancel", log) == [], ok)
                finally:
                    os.remove(log)

    def test_the_heading_as_the_window_shows_it(self):
        medium = os.path.join(self.tmp, "m")
        checkinstall.make_names_medium(medium, "utf-8")
        cases = [
            ("right", ["text: Label_135 " + checkinstall.NAMES_HEADING], True),
            ("the bytes read as Windows-1252", ["text: Label_135 Projekte M\u00c3\u0153LLER \u00e2\u20ac\u201c Pr\u00c3\u00bcfung"],
             False),
            ("not shown", ["text: Label_105 Welcome"], False),
        ]
        for name, lines, ok in cases:
            with self.subTest(name):
                log = write_log(lines)
                try:
                    self.assertEqual(checkinstall.check_names_text(medium, log) == [], ok)
                finally:
                    os.remove(log)


if __name__ == "__main__":
    unittest.main()
