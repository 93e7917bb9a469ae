"""Capture mode and region selection with real X input over a known pattern."""
import harness
from harness import MAIN_CLASS, ProgramTest, pattern

BUTTON_1 = 0x16010002
PICTURE_BOX = 0x1601003C
RED = (255, 0, 0)


class CaptureTest(ProgramTest):
    def setUp(self):
        super().setUp()
        self.pattern = self.start(exe=harness.ARGS.pattern)
        r = self.probe("wait", "MoyuanTestPattern", "15000", timeout=30)
        self.assertEqual(r.returncode, 0, "the pattern window did not appear")

    def tearDown(self):
        super().tearDown()
        self.pattern.stop()

    def main_tree(self):
        wins = self.wait_main_window()
        return wins[0], {w.id: w for w in wins[1:]}

    def enter_capture_mode(self):
        program = self.start()
        window, controls = self.main_tree()
        saved = (window.left, window.top, window.width, window.height)
        x, y = controls[BUTTON_1].centre
        harness.xdotool("mousemove", str(x), str(y), "click", "1")
        self.wait_for(lambda: self.main_tree()[0].width == 1024, what="the window to cover the screen")
        return program, saved

    def handled(self, program, line):
        return lambda: line in program.log()

    def test_capture_mode_covers_the_screen_and_a_drag_draws_one_outline(self):
        program, saved = self.enter_capture_mode()
        window, _ = self.main_tree()
        self.assertEqual((window.left, window.top, window.width, window.height), (0, 0, 1024, 768))
        self.assertEqual((window.client_left, window.client_top), (0, 0), "no frame")
        self.assertFalse(window.style & 0x00C00000, "no caption")
        harness.xdotool("mousemove", "500", "400")
        cross = next(l.split()[-1] for l in program.log() if l.startswith("cursor cross "))
        self.wait_for(lambda: self.probe("cursor", MAIN_CLASS).stdout.split()[-1] == cross,
                      what="the cross cursor")

        harness.xdotool("mousemove", "100", "100", "mousedown", "1")
        for x, y in ((180, 150), (320, 230), (300, 200)):
            harness.xdotool("mousemove", str(x), str(y))
            self.wait_for(self.handled(program, f"event 画板1 -6 {x} {y} 0"), what=f"the move to {x},{y}")
        shot = self.settled_screenshot("selecting", lambda shot: shot.getpixel((299, 150)) == RED
                                       and shot.getpixel((320, 150)) != RED)
        red = {(x, y) for x in range(0, 1024) for y in range(0, 768) if shot.getpixel((x, y)) == RED}
        outline = ({(x, y) for x in (100, 299) for y in range(100, 200)} |
                   {(x, y) for y in (100, 199) for x in range(100, 300)})
        self.assertEqual(red - outline, set(), "red outside the outline (a left-over rectangle?)")
        self.assertEqual(outline - red, set(), "outline pixels missing")
        # Elsewhere the frozen screen shows the pattern exactly.
        for x, y in ((101, 101), (298, 198), (99, 99), (300, 200), (700, 100), (321, 231)):
            self.assertEqual(shot.getpixel((x, y)), pattern(x, y), (x, y))

        harness.xdotool("mouseup", "1")
        self.wait_for(lambda: self.main_tree()[0].width == 600, what="the window to come back")
        window, controls = self.main_tree()
        self.assertEqual((window.left, window.top, window.width, window.height), saved)
        self.assertTrue(window.style & 0x00C00000, "the caption is back")
        box = controls[PICTURE_BOX]
        self.assertTrue(box.visible)
        # The box shows the selected area (columns 101..298, rows 101..198) stretched over
        # 400 x 272: compare it with the expected picture scaled the same way.
        shot = self.settled_screenshot(
            "after", lambda shot: shot.getpixel((box.left + 200, box.top + 136)) != (0, 0, 0))
        from PIL import Image
        expected = Image.new("RGB", (198, 98))
        expected.putdata([pattern(x, y) for y in range(101, 199) for x in range(101, 299)])
        expected = expected.resize((box.width, box.height), Image.BILINEAR)
        shown = shot.crop((box.left, box.top, box.left + box.width, box.top + box.height))
        self.assertLess(mean_difference(shown, expected), 6)
        # The same measure tells a crop that is off by a few pixels apart.
        shifted = Image.new("RGB", (198, 98))
        shifted.putdata([pattern(x, y) for y in range(105, 203) for x in range(105, 303)])
        self.assertGreater(mean_difference(shown, shifted.resize((box.width, box.height), Image.BILINEAR)), 6)

        self.probe("close", MAIN_CLASS)
        self.assertEqual(program.wait(), 0)

    def test_right_press_leaves_and_esc_in_capture_mode_ends_the_program(self):
        program, saved = self.enter_capture_mode()
        harness.xdotool("mousemove", "400", "300", "click", "3")
        self.wait_for(lambda: self.main_tree()[0].width == 600, what="the window to come back")
        window, _ = self.main_tree()
        self.assertEqual((window.left, window.top, window.width, window.height), saved)

        program, _ = program, self.enter_capture_mode_again(program)
        harness.xdotool("key", "Escape")
        self.assertEqual(program.wait(), 0)
        self.assertIn("exit routines ran: 1", program.log())

    def enter_capture_mode_again(self, program):
        _, controls = self.main_tree()
        x, y = controls[BUTTON_1].centre
        harness.xdotool("mousemove", str(x), str(y), "click", "1")
        self.wait_for(lambda: self.main_tree()[0].width == 1024, what="capture mode")


def mean_difference(a, b):
    pa, pb = a.load(), b.load()
    w, h = a.size
    total = 0
    for y in range(h):
        for x in range(w):
            total += sum(abs(p - q) for p, q in zip(pa[x, y], pb[x, y]))
    return total / (w * h * 3)


if __name__ == "__main__":
    harness.main()
