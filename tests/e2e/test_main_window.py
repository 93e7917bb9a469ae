"""The main window as a user meets it: its look, its keyboard and its fixed frame."""
import harness
from harness import MAIN_CLASS, ProgramTest

BUTTON_1, BUTTON_2, BUTTON_3 = 0x16010002, 0x16010004, 0x16010005
PICTURE_BOX = 0x1601003C
GREY = (192, 192, 192)


class MainWindowTest(ProgramTest):
    def start_and_wait(self):
        program = self.start()
        wins = self.wait_main_window()
        return program, wins[0], {w.id: w for w in wins[1:]}

    def focused_id(self):
        r = self.probe("focus", MAIN_CLASS)
        self.assertEqual(r.returncode, 0)
        return int(r.stdout.split("id=")[1], 16)

    def events(self, program):
        return [l for l in program.log() if l.startswith("event ")]

    def test_looks_centred_with_buttons_at_the_right_on_grey(self):
        _, window, controls = self.start_and_wait()
        self.assertEqual((window.left, window.top), ((1024 - 600) // 2, (768 - 300) // 2))
        self.assertEqual((window.width, window.height), (600, 300))
        box = controls[PICTURE_BOX]
        shot = self.settled_screenshot("main-window",
                                       lambda shot: shot.getpixel((box.left + 10, box.top + 10)) != (0, 0, 0))
        # Light grey where no control covers the client area: below and between the buttons.
        button = controls[BUTTON_1]
        for x, y in ((button.left - 20, button.top), (button.left + 10, button.top + button.height + 10),
                     (window.client_left + window.client_width - 5, window.client_top + window.client_height - 5)):
            self.assertEqual(shot.getpixel((x, y)), GREY, (x, y))
        # The banner fills the picture box (400 x 272 at the client's top-left), squeezed:
        # the opaque grey-blue fields exactly, the translucent sky-blue ones (93, 195, 233 at
        # alpha 227) darkened over the black background: 227/255 of each channel, rounded.
        self.assertEqual((box.left, box.top, box.width, box.height),
                         (window.client_left, window.client_top, 400, 272))
        light, blue = (178, 199, 207), tuple(round(c * 227 / 255) for c in (93, 195, 233))
        for (x, y), colour in (((10, 10), light), ((390, 10), blue), ((10, 262), blue),
                               ((390, 262), light), ((150, 110), light), ((300, 250), light)):
            self.assertEqual(shot.getpixel((box.left + x, box.top + y)), colour, (x, y))
        # The three buttons form a column at the right, "截图" at the top.
        tops = [controls[i].top for i in (BUTTON_1, BUTTON_2, BUTTON_3)]
        self.assertEqual(tops, sorted(tops))
        self.assertEqual({controls[i].left for i in (BUTTON_1, BUTTON_2, BUTTON_3)}, {button.left})
        # Their captions are drawn: dark text pixels inside each button.
        for i in (BUTTON_1, BUTTON_2, BUTTON_3):
            c = controls[i]
            inner = [shot.getpixel((x, y)) for x in range(c.left + 8, c.left + c.width - 8)
                     for y in range(c.top + 8, c.top + c.height - 8)]
            self.assertTrue(any(sum(p) < 200 for p in inner), f"no caption in button {i:#x}")

    def test_shift_and_ctrl_esc_keep_it_and_esc_closes_it(self):
        program, window, _ = self.start_and_wait()
        self.focus_program(window)
        self.key("shift+Escape")
        self.key("ctrl+Escape")
        # Tab is handled after both: once the focus has moved, the two keys were processed.
        self.key("Tab")
        self.wait_for(lambda: self.focused_id() in (BUTTON_1, BUTTON_2, BUTTON_3), what="focus on a button")
        self.assertIsNone(program.proc.poll(), "Shift+Esc or Ctrl+Esc closed the window")
        # Esc also closes it while a button has the focus.
        self.key("Escape")
        self.assertEqual(program.wait(), 0)

    def test_tab_moves_among_buttons_enter_does_nothing_space_clicks(self):
        program, window, _ = self.start_and_wait()
        self.focus_program(window)
        seen = []
        for _ in range(3):
            self.key("Tab")
            self.wait_for(lambda: self.focused_id() not in seen + [0], what="the next button")
            seen.append(self.focused_id())
        self.assertEqual(sorted(seen), [BUTTON_1, BUTTON_2, BUTTON_3])
        self.key("Tab")
        self.wait_for(lambda: self.focused_id() == seen[0], what="the focus to wrap around")
        self.key("shift+Tab")
        self.wait_for(lambda: self.focused_id() == seen[2], what="Shift+Tab to go back")

        # On 保存 (按钮3): Enter does nothing, the space bar clicks it.
        while self.focused_id() != BUTTON_3:
            self.key("Tab")
        self.key("Return")
        self.key("space")
        self.wait_for(lambda: self.events(program), what="the click")
        self.assertEqual(self.events(program), ["event 按钮3 0 0 0 0"])

    def test_frame_cannot_be_resized_or_maximised(self):
        program, window, _ = self.start_and_wait()
        self.assertFalse(window.style & 0x00010000, "maximise box")  # WS_MAXIMIZEBOX
        right, bottom = window.left + window.width - 1, window.top + window.height - 1
        harness.xdotool("mousemove", str(right), str(bottom), "mousedown", "1")
        harness.xdotool("mousemove", str(right + 80), str(bottom + 60))
        harness.xdotool("mousemove", str(right + 120), str(bottom + 90), "mouseup", "1")
        # Double-clicking the caption would maximise a resizable window.
        harness.xdotool("mousemove", str(window.left + 150), str(window.top + 10), "click", "--repeat", "2", "1")
        after = self.wait_main_window()[0]
        self.assertEqual((after.width, after.height), (600, 300))
        self.probe("close", MAIN_CLASS)
        self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    harness.main()
