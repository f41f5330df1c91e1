"""The window comes back where and as large as it was, to the pixel, over
five restarts: closed normal, after a move, after a resize, minimised and
maximised. Checked against the frame as the window manager has it and
against the stored "Position" record."""

import desktop
from desktop import DesktopTestCase, MAIN_KEY, placement_record, wait_until

RESTARTS = 5
# Where the first start is told to be: the frame's outer rectangle.
START = (100, 80, 330, 520)
NORMAL, MINIMISED, MAXIMISED = 0, 1, 2


class PlacementTest(DesktopTestCase):
    def seed(self):
        self.desktop.write_settings({MAIN_KEY: {"Position": placement_record(*START), "Calculator": 1}})

    def frame_when_placed(self, program, expected):
        """The frame once it is `expected`, or what it is after a while."""
        seen = []

        def placed():
            seen[:] = [program.frame_rect()]
            return seen[0] == expected

        desktop.holds_within(placed, timeout=5)
        return seen[0]

    def round_trip(self, change, close, state):
        """Starts from START, lets `change` act on the first start (it
        returns the frame the window must come back to), then restarts and
        closes the window in `state` each time, and once more in the normal
        state. Every start's frame and every stored record is kept, so a
        failure shows the whole series."""
        self.seed()
        program = self.launch()
        frames = [self.frame_when_placed(program, START)]
        wanted_frames = [START]
        expected = change(program)
        close(program)
        records = [self.desktop.stored_placement()]
        wanted_records = [(*expected, state)]
        for restart in range(1, RESTARTS + 1):
            program = self.launch()
            if state == MINIMISED:
                wait_until("the window to start minimised", program.is_minimised)
            elif state == MAXIMISED:
                wait_until("the window to start maximised", program.is_maximised)
                self.assertEqual(program.frame_rect(), (0, 0, desktop.SCREEN_WIDTH, desktop.SCREEN_HEIGHT),
                                 f"restart {restart}: the maximised frame")
            if restart == RESTARTS and state != NORMAL:
                # Back to normal: the window returns to its normal frame.
                program.restore()
                close, state = PlacementTest.close_with_ctrl_x, NORMAL
            if state == NORMAL:
                frames.append(self.frame_when_placed(program, expected))
                wanted_frames.append(expected)
            close(program)
            records.append(self.desktop.stored_placement())
            wanted_records.append((*expected, state))
        print(f"\nframes at the starts: {frames}\nstored records: {records}")
        self.assertEqual(frames, wanted_frames, "the frame (left, top, width, height) at each start")
        self.assertEqual(records, wanted_records, "the stored records (left, top, width, height, state)")

    @staticmethod
    def close_with_ctrl_x(program):
        program.close_with_ctrl_x()

    @staticmethod
    def close_with_window_manager(program):
        program.close_with_window_manager()

    def test_normal(self):
        self.round_trip(lambda program: START, self.close_with_ctrl_x, NORMAL)

    def test_moved(self):
        def move(program):
            left, top, width, height = program.frame_rect()
            title = program.frame_extents()[2]
            # Dragged by the title bar, in several steps.
            grab = (left + width // 2, top + title // 2)
            steps = [(grab[0] + 40 * i, grab[1] + 30 * i) for i in range(5)]
            self.desktop.drag(steps)
            moved = (left + 160, top + 120, width, height)
            self.assertEqual(self.frame_when_placed(program, moved), moved, "after the move")
            return moved

        self.round_trip(move, self.close_with_ctrl_x, NORMAL)

    def test_resized(self):
        def resize(program):
            left, top, width, height = program.frame_rect()
            # Alt and the right button resize from the nearest corner.
            grab = (left + width - 40, top + height - 40)
            steps = [(grab[0] + 15 * i, grab[1] + 20 * i) for i in range(5)]
            self.desktop.drag(steps, button=3, modifier="alt")
            resized = (left, top, width + 60, height + 80)
            self.assertEqual(self.frame_when_placed(program, resized), resized, "after the resize")
            return resized

        self.round_trip(resize, self.close_with_ctrl_x, NORMAL)

    def test_minimised(self):
        def minimise(program):
            program.minimise()
            return START

        self.round_trip(minimise, self.close_with_window_manager, MINIMISED)

    def test_maximised(self):
        def maximise(program):
            program.maximise()
            return START

        self.round_trip(maximise, self.close_with_window_manager, MAXIMISED)


if __name__ == "__main__":
    desktop.main()
