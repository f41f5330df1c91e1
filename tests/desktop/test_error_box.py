"""An error met through a real click on a page tab: an Ethernet network at
0 Mbps makes the "Latency Statistics" page fail. The error box shows the
message, it is dismissed, and the program goes on with the state it had:
it still answers, the chain is unchanged, later operations work."""

import struct

import desktop
from desktop import DesktopTestCase, click_tab, showing, wait_until

LATENCY_KEY = desktop.MAIN_KEY + r"\LatencyCalc"
MESSAGE = "Floating point division by zero"
ETHERNET = 4
# Bandwidth (double, Mbps), left, kind, padding, propagation delay (ms), top.
ETHERNET_AT_0_MBPS = struct.pack("<diB3xii", 0.0, 75, ETHERNET, 0, 8)


class ErrorBoxTest(DesktopTestCase):
    def setUp(self):
        super().setUp()
        self.desktop.write_settings({
            desktop.MAIN_KEY: {"Calculator": 2},
            LATENCY_KEY: {
                "NodeA": struct.pack("<ii", 64, 0),
                "NodeB": struct.pack("<ii", 1024, 0),
                "NumNetworks": 1,
                "Network1": ETHERNET_AT_0_MBPS,
                "Network1Name": "Ethernet",
            },
        })
        self.program = self.launch()
        self.window = self.program.main_window_accessible()
        self.program.activate()

    def error_boxes(self):
        """The program's showing windows that hold the error message."""
        app = self.program.accessible()
        boxes = []
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window is not None and showing(window, "label", MESSAGE):
                boxes.append(window)
        return boxes

    def test_the_error_box_shows_and_the_program_goes_on(self):
        wait_until("the Ethernet network", lambda: showing(self.window, "push button", "Ethernet (0 Mbps)"))
        tab = showing(self.window, "page tab", "Latency Statistics")[0]
        self.desktop.click(*desktop.centre(tab))
        box = wait_until("the error box", self.error_boxes)[0]
        ok = wait_until("its OK button", lambda: showing(box, "push button", "OK"))[0]
        self.desktop.click(*desktop.centre(ok))
        wait_until("the error box to close", lambda: not self.error_boxes())

        # The chain is as it was, and its commands still work.
        click_tab(self.desktop, self.window, "Network Setup", "Insert Network", role="push button")
        insert = showing(self.window, "push button", "Insert Network")
        self.assertEqual(len(showing(self.window, "push button", "Ethernet (0 Mbps)")), 1, "the Ethernet network")
        self.desktop.click(*desktop.centre(insert[0]))
        wait_until("a second network", lambda: showing(self.window, "push button", "<Unknown Topology>"))

        # Another calculator: a number typed and copied to the clipboard.
        self.program.key("ctrl+h")
        wait_until("the Radixel calculator", lambda: showing(self.window, "label", "Decimal"))
        self.desktop.key("alt+d")
        self.desktop.type_text("1234")
        self.desktop.key("ctrl+c")
        wait_until("the number on the clipboard", lambda: self.desktop.clipboard_text() == "1,234")

        self.program.close_with_ctrl_x()
        latency = self.desktop.read_settings().get(LATENCY_KEY, {})
        self.assertEqual(latency.get("NumNetworks"), 2)
        self.assertEqual(latency.get("Network2"), ETHERNET_AT_0_MBPS, "the Ethernet network's record")
        self.assertEqual(latency.get("Network2Name"), "Ethernet")


if __name__ == "__main__":
    desktop.main()
