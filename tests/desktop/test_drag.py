"""A network dragged with the mouse on the Network Setup page: onto Node A,
onto Node B or onto another network the drop is refused and nothing moves;
onto a free cell the network moves there. Real presses, motions and
releases; the places are read over AT-SPI and from the saved chain."""

import struct

import desktop
from desktop import DesktopTestCase, extents, showing, wait_until

LATENCY_KEY = desktop.MAIN_KEY + r"\LatencyCalc"
# Cell origins of the layout grid, in pixels inside the setup panel.
NODE_A, NODE_B = (8, 8), (210, 200)
NETWORK, INSERTED = (75, 8), (143, 8)
FREE_CELL = (143, 136)
# Beyond the drag threshold, still over the dragged network itself.
START_DRAG = (NETWORK[0] + 37, NETWORK[1] + 25)


class DragTest(DesktopTestCase):
    def setUp(self):
        super().setUp()
        self.program = self.launch()
        self.window = self.program.main_window_accessible()
        self.program.key("ctrl+l")
        self.node_a = wait_until("Node A", lambda: showing(self.window, "push button", "Node A (64 bytes)"))[0]
        # The elements are the setup panel's buttons.
        self.panel = self.node_a.parent
        insert = showing(self.window, "push button", "Insert Network")[0]
        self.desktop.click(*desktop.centre(insert))
        wait_until("two networks", lambda: len(self.networks()) == 2)

    def origin(self):
        """The setup panel's top-left on the screen: Node A never moves."""
        x, y, _, _ = extents(self.node_a)
        return x - NODE_A[0], y - NODE_A[1]

    def networks(self):
        return showing(self.panel, "push button", "<Unknown Topology>")

    def places(self):
        """Where the elements are, in panel pixels: sorted network places,
        then Node A and Node B."""
        ox, oy = self.origin()
        nodes = [showing(self.panel, "push button", name)[0] for name in ("Node A (64 bytes)", "Node B (1024 bytes)")]
        networks = sorted((x - ox, y - oy) for x, y, _, _ in map(extents, self.networks()))
        return networks + [(x - ox, y - oy) for x, y, _, _ in map(extents, nodes)]

    def drag(self, *points):
        """Presses at the first point (panel pixels), moves through the
        others one motion at a time, releases at the last."""
        ox, oy = self.origin()

        def answered():
            # Round trips to the program: it has handled the motion.
            for _ in range(3):
                extents(self.node_a)

        self.desktop.drag([(ox + x, oy + y) for x, y in points], after_motion=answered)

    def check_places(self, expected, when):
        seen = []

        def placed():
            seen[:] = [self.places()]
            return seen[0] == expected

        if not desktop.holds_within(placed, timeout=3):
            self.fail(f"{when}: elements at {seen[0]}, expected {expected} (networks sorted, Node A, Node B)")

    def test_drops_on_elements_are_refused_and_a_free_cell_takes_the_network(self):
        start = sorted([NETWORK, INSERTED]) + [NODE_A, NODE_B]
        self.check_places(start, "before dragging")
        grab = (NETWORK[0] + 25, NETWORK[1] + 25)
        targets = {
            "onto Node A": (NODE_A[0] + 25, NODE_A[1] + 25),
            "onto Node B": (NODE_B[0] + 25, NODE_B[1] + 25),
            "onto the other network": (INSERTED[0] + 25, INSERTED[1] + 25),
        }
        for when, (x, y) in targets.items():
            self.drag(grab, START_DRAG, (x + 7, y + 7), (x, y))
            self.check_places(start, f"after dragging the network {when}")

        x, y = FREE_CELL[0] + 25, FREE_CELL[1] + 25
        self.drag(grab, START_DRAG, (x + 3, y + 3), (x, y))
        moved = sorted([FREE_CELL, INSERTED]) + [NODE_A, NODE_B]
        self.check_places(moved, "after dragging the network onto a free cell")

        # The saved chain: the inserted network first, then the dragged one.
        self.program.close_with_ctrl_x()
        latency = self.desktop.read_settings().get(LATENCY_KEY, {})
        saved = []
        for i in (1, 2):
            record = latency.get(f"Network{i}", b"")
            self.assertEqual(len(record), 24, f"Network{i} record")
            saved.append((struct.unpack_from("<i", record, 8)[0], struct.unpack_from("<i", record, 20)[0]))
        self.assertEqual(saved, [INSERTED, FREE_CELL], "saved network places (left, top)")


if __name__ == "__main__":
    desktop.main()
