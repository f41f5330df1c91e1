"""Two instances of the program on one settings file, both running at once:
what one of them saved stays when the other one exits after it."""

import desktop
from desktop import DesktopTestCase, click_tab, showing, wait_until

DRAVOK_KEY = desktop.MAIN_KEY + r"\Dravok"
LATENCY_KEY = desktop.MAIN_KEY + r"\LatencyCalc"


class TwoInstancesTest(DesktopTestCase):
    def start_two(self):
        return self.launch(), self.launch()

    def insert_network(self, program):
        """Shows the latency calculator and inserts a second network."""
        window = program.main_window_accessible()
        program.key("ctrl+l")
        insert = wait_until("the Insert Network button", lambda: showing(window, "push button", "Insert Network"))
        program.activate()
        self.desktop.click(*desktop.centre(insert[0]))
        wait_until("two networks", lambda: len(showing(window, "push button", "<Unknown Topology>")) == 2)

    def type_address(self, program, octets):
        window = program.main_window_accessible()
        program.activate()
        click_tab(self.desktop, window, "Address Info", "Subnet ID")
        self.desktop.key("alt+i")
        for i, octet in enumerate(octets):
            self.desktop.type_text(str(octet))
            self.desktop.key("Return" if i == 3 else "Tab")

    def saved(self):
        settings = self.desktop.read_settings()
        return (settings.get(DRAVOK_KEY, {}).get("SubnetAddress"),
                settings.get(LATENCY_KEY, {}).get("NumNetworks"))

    def test_a_calculator_the_other_never_built_keeps_what_was_saved(self):
        # Both start minimised, so neither builds more than it needs.
        self.desktop.write_settings({desktop.MAIN_KEY: {
            "Position": desktop.placement_record(100, 80, 330, 520, 1), "Calculator": 1}})
        first, second = self.start_two()
        first.restore()
        self.insert_network(first)
        first.close_with_ctrl_x()
        self.assertEqual(self.saved()[1], 2, "the chain the first instance saved")
        # The second was never shown: its latency calculator was never built.
        second.close_with_window_manager()
        self.assertEqual(self.saved()[1], 2, "the chain after the second instance exited")

    def test_what_each_instance_changed_is_kept(self):
        first, second = self.start_two()
        self.type_address(first, (10, 20, 30, 40))
        self.insert_network(second)
        first.close_with_ctrl_x()
        second.close_with_ctrl_x()
        self.assertEqual(self.saved(), (0x0A141E28, 2),
                         "(SubnetAddress saved by the first instance, NumNetworks saved by the second)")

    def test_what_each_instance_changed_is_kept_the_other_way_round(self):
        # The second instance's latency calculator, built hidden after its
        # first frame and never shown, saves nothing over the first's chain.
        first, second = self.start_two()
        self.insert_network(first)
        self.type_address(second, (10, 20, 30, 40))
        first.close_with_ctrl_x()
        second.close_with_ctrl_x()
        self.assertEqual(self.saved(), (0x0A141E28, 2),
                         "(SubnetAddress saved by the second instance, NumNetworks saved by the first)")


if __name__ == "__main__":
    desktop.main()
