"""The whole use with real input: capture an area, name a folder, save, and find the file."""
import struct

import harness
from harness import MAIN_CLASS, ProgramTest, pattern

BUTTON_1, BUTTON_2, BUTTON_3 = 0x16010002, 0x16010004, 0x16010005
INPUT_BOX = "MoyuanInputBox"


class StorageTest(ProgramTest):
    def setUp(self):
        super().setUp()
        self.pattern = self.start(exe=harness.ARGS.pattern)
        self.assertEqual(self.probe("wait", "MoyuanTestPattern", "15000", timeout=30).returncode, 0)
        self.program = self.start()
        wins = self.wait_main_window()
        self.window, self.controls = wins[0], {w.id: w for w in wins[1:]}

    def tearDown(self):
        super().tearDown()
        self.pattern.stop()

    def click(self, control):
        x, y = self.controls[control].centre
        harness.xdotool("mousemove", str(x), str(y), "click", "1")

    def capture(self, start, end):
        self.click(BUTTON_1)
        self.wait_for(lambda: self.wait_main_window()[0].width == 1024, what="capture mode")
        harness.xdotool("mousemove", str(start[0]), str(start[1]), "mousedown", "1")
        harness.xdotool("mousemove", str(end[0]), str(end[1]))
        self.wait_for(lambda: f"event 画板1 -6 {end[0]} {end[1]} 0" in self.program.log(), what="the move")
        harness.xdotool("mouseup", "1")
        self.wait_for(lambda: self.wait_main_window()[0].width == 600, what="the window to come back")

    def answer(self, button, text):
        """Clicks the button and types the text into the input box it opens, then Enter."""
        self.click(button)
        r = self.probe("wait", INPUT_BOX, "10000", timeout=30)
        self.assertEqual(r.returncode, 0, "no input box")
        # The initial text is selected: typing replaces it.
        self.type_into_input_box(text)
        harness.xdotool("key", "Return")
        self.assertEqual(self.probe("gone", INPUT_BOX, "10000").returncode, 0)

    def notices(self):
        return [l for l in self.program.log() if l.startswith("notice ")]

    def saved_files(self):
        return [l for l in self.program.log() if l.startswith("file ")]

    def test_capture_choose_folder_and_save(self):
        self.capture((100, 100), (300, 200))
        folder = harness.windows_path(self.tmp) + "\\"
        before = self.screenshot("before-notice")
        self.answer(BUTTON_2, folder)
        # The notice points at the window's right edge less the button's width, half-way down.
        tip_x = self.window.left + self.window.width - self.controls[BUTTON_2].width
        tip_y = self.window.top + self.window.height // 2
        self.wait_for(lambda: self.notices(), what="the notice")
        self.assertEqual(self.notices(), [f"notice {tip_x} {tip_y} 路径保存成功"])
        shot = self.settled_screenshot(
            "notice", lambda shot: shot.getpixel((tip_x, tip_y)) != before.getpixel((tip_x, tip_y)))
        # The body lies above the point, the tail's tip at it; beside the tip nothing changed.
        self.assertNotEqual(shot.getpixel((tip_x, tip_y)), before.getpixel((tip_x, tip_y)))
        self.assertEqual(shot.getpixel((tip_x - 3, tip_y + 2)), before.getpixel((tip_x - 3, tip_y + 2)))
        body = shot.getpixel((tip_x + 20, tip_y - 16 - 6))
        self.assertTrue(all(c > 200 for c in body), f"tooltip-coloured body expected, found {body}")
        self.assertEqual(shot.getpixel((tip_x + 20, tip_y + 30)), before.getpixel((tip_x + 20, tip_y + 30)),
                         "nothing below the point")

        self.answer(BUTTON_3, "picture")
        path = self.tmp / "picture.jpg"
        self.wait_for(path.exists, what="the saved file")
        data = path.read_bytes()
        self.assertEqual(data[:2], b"BM")
        self.assertEqual(len(data), 58462)
        width, height = struct.unpack_from("<ii", data, 18)
        self.assertEqual((width, height), (198, 98))
        stride = 596
        for row in range(98):
            y = 198 - row  # bottom row first
            line = data[54 + row * stride: 54 + row * stride + 198 * 3]
            expected = b"".join(bytes(reversed(pattern(x, y))) for x in range(101, 299))
            self.assertEqual(line, expected, f"row {row} (screen row {y})")
            self.assertEqual(data[54 + row * stride + 594: 54 + (row + 1) * stride], b"\0\0")

    def test_chinese_folder_and_name(self):
        self.capture((100, 100), (300, 200))
        folder = self.tmp / "图片夹"
        folder.mkdir()
        self.answer(BUTTON_2, harness.windows_path(folder) + "\\")
        self.answer(BUTTON_3, "截图一")
        path = folder / "截图一.jpg"
        self.wait_for(path.exists, what="the file under its Chinese name")
        self.assertEqual(len(path.read_bytes()), 58462)

    def test_missing_folder_fails_visibly_and_writes_nothing(self):
        self.capture((100, 100), (300, 200))
        missing = harness.windows_path(self.tmp) + "\\no such folder\\"
        self.answer(BUTTON_2, missing)
        self.answer(BUTTON_3, "picture")
        tip_x = self.window.left + self.window.width - self.controls[BUTTON_3].width
        tip_y = self.window.top + self.window.height // 2 + 50
        self.wait_for(lambda: len(self.notices()) == 2, what="the failure notice")
        self.assertEqual(self.notices()[-1], f"notice {tip_x} {tip_y} 保存失败")
        self.assertFalse((self.tmp / "no such folder").exists())
        self.assertEqual(list(self.tmp.glob("*.jpg")), [])


if __name__ == "__main__":
    harness.main()
