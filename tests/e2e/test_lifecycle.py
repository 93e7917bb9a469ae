"""The program's life cycle: start, close by Esc or WM_CLOSE, fatal start-up errors."""
import shutil

import harness
from harness import MAIN_CLASS, ProgramTest


class LifecycleTest(ProgramTest):
    def assert_clean_end(self, program):
        self.assertEqual(program.wait(), 0)
        log = program.log()
        # The clean-up routine ran exactly once, after the window was gone.
        self.assertEqual([l for l in log if l.startswith("exit routines ran")],
                         ["exit routines ran: 1"], log)
        self.assertIn("exit code 0", log)

    def test_esc_closes_and_cleans_up_once(self):
        program = self.start()
        window = self.wait_main_window()[0]
        self.focus_program(window)
        self.key("Escape")
        self.assert_clean_end(program)

    def test_wm_close_ends_with_code_zero(self):
        program = self.start()
        self.wait_main_window()
        self.assertEqual(self.probe("close", MAIN_CLASS).returncode, 0)
        self.assert_clean_end(program)

    def test_current_directory_is_the_programs_folder(self):
        # A copy of the program in a folder of its own, started from somewhere else.
        folder = self.tmp / "app folder"
        folder.mkdir()
        exe = folder / "moyuan_capture_testhooks.exe"
        shutil.copy(harness.ARGS.exe, exe)
        elsewhere = self.tmp / "elsewhere"
        elsewhere.mkdir()
        program = self.start(exe=exe, cwd=elsewhere)
        self.wait_main_window()
        self.probe("close", MAIN_CLASS)
        self.assertEqual(program.wait(), 0)
        started = [l for l in program.log() if l.startswith("runtime started in ")]
        expected = harness.windows_path(folder).rstrip("\\")
        self.assertEqual([s[len("runtime started in "):].rstrip("\\").lower() for s in started],
                         [expected.lower()])

    def test_missing_start_window_is_fatal_without_clean_up(self):
        program = self.start(env={"MOYUAN_TEST_START_WINDOW": "52010002"})
        # The runtime's error box appears; it is closed with real input.
        r = self.probe("wait", "#32770", "15000", timeout=30)
        self.assertEqual(r.returncode, 0, "no error box appeared")
        box = harness.parse_tree(r.stdout)[0]
        self.focus_program(box)
        self.key("Return")
        self.assertEqual(program.wait(), 255)  # 0xFFFFFFFF as a Linux exit status
        log = program.log()
        self.assertIn("fatal error", log)
        self.assertFalse([l for l in log if l.startswith("exit routines ran")], log)

    def test_missing_start_window_exit_code_is_all_ones(self):
        # The whole 32-bit code, as a Windows parent process sees it.
        env = {"MOYUAN_TEST_START_WINDOW": "52010002"}
        import os
        import subprocess
        full_env = dict(os.environ, **env)
        runner = subprocess.Popen([harness.WINE, harness.ARGS.probe, "run", harness.windows_path(harness.ARGS.exe)],
                                  env=full_env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                  stdin=subprocess.DEVNULL, text=True)
        try:
            r = self.probe("wait", "#32770", "15000", timeout=30)
            self.assertEqual(r.returncode, 0, "no error box appeared")
            self.focus_program(harness.parse_tree(r.stdout)[0])
            self.key("Return")
            out, _ = runner.communicate(timeout=30)
        finally:
            if runner.poll() is None:
                runner.kill()
        self.assertIn("exit code 0xffffffff", out)


if __name__ == "__main__":
    harness.main()
