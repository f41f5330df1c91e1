"""Every value panel of the IP Subnet calculator says what it shows: after
an address is typed into the octet fields, each panel is found over AT-SPI
through the caption that labels it, and its text is the expected one."""

import desktop
from desktop import DesktopTestCase, find_all, is_showing, labelled_by, role_name

# Class A from a typed 10.x.x.x, with the 8 subnet bits of the first start.
GENERAL_INFO = {
    "Max # of Subnets": "254",
    "Max # of Hosts/Subnet": "65534",
    "Bit Map (n=network, s=subnet, h=host)": "0nnnnnnn.ssssssss.hhhhhhhh.hhhhhhhh",
    "Decimal Class A Mask": "255.0.0.0",
    "Hex Class A Mask": "FF.00.00.00",
    "Decimal Network Mask": "255.255.0.0",
    "Hex Network Mask": "FF.FF.00.00",
}
ADDRESS_INFO = {
    "Hexadecimal": "0A.14.1E.28",
    "Subnet Address Allocation Range": "10.20.0.1  -  10.20.255.254",
    "Subnet Mask": "255.255.0.0",
    "Subnet ID": "0.20.0.0",
    "Network ID": "10.20.0.0",
    "Host ID": "0.0.30.40",
}
# The same page after a second address: what a screen reader hears as the
# display changes.
ADDRESS_INFO_AGAIN = {
    "Hexadecimal": "0A.C8.07.09",
    "Subnet Address Allocation Range": "10.200.0.1  -  10.200.255.254",
    "Subnet Mask": "255.255.0.0",
    "Subnet ID": "0.200.0.0",
    "Network ID": "10.200.0.0",
    "Host ID": "0.0.7.9",
}
# The supernet page keeps its 23 supernet bits (class C).
CIDR = {
    "Max # of Supernets": "2",
    "Supernet Address Allocation Range": "192.168.6.0  -  192.168.7.255",
    "Route/Mask": "192.168.6.0  /  255.255.254.0",
    "Hexadecimal  Route/Mask": "C0.A8.06.00  /  FF.FF.FE.00",
}


class SubnetPanelsTest(DesktopTestCase):
    def setUp(self):
        super().setUp()
        self.program = self.launch()
        self.window = self.program.main_window_accessible()
        self.program.activate()

    def click_tab(self, caption, shows):
        """A click on the page's tab; `shows` is a caption on that page."""
        desktop.click_tab(self.desktop, self.window, caption, shows)

    def type_address(self, address):
        """Alt+I (the "&IP Address" caption) and the four octets; a short
        octet is left with Tab, the last one with Enter."""
        self.desktop.key("alt+i")
        octets = address.split(".")
        for i, octet in enumerate(octets):
            self.desktop.type_text(octet)
            if i == len(octets) - 1:
                self.desktop.key("Return")
            elif len(octet) < 3:
                self.desktop.key("Tab")

    def panels(self):
        """{caption: shown text} of the showing panels that a caption labels."""
        found = {}
        for node in find_all(self.window, lambda n: role_name(n) in ("label", "static") and is_showing(n)):
            for caption in labelled_by(node):
                found[caption.strip()] = node.name
        return found

    def check_panels(self, expected, page):
        seen = {}

        def shown():
            seen.clear()
            seen.update(self.panels())
            return all(seen.get(caption) == text for caption, text in expected.items())

        if not desktop.holds_within(shown, timeout=5):
            lines = [f"  {caption!r}: expected {text!r}, read {seen.get(caption, '(no panel labelled so)')!r}"
                     for caption, text in expected.items() if seen.get(caption) != text]
            self.fail(f"{page}: panels over AT-SPI differ:\n" + "\n".join(lines)
                      + "\nthe page as AT-SPI has it:\n" + desktop.dump_showing(self.window))

    def test_every_panel_reads_as_shown(self):
        self.click_tab("Address Info", "Subnet ID")
        self.type_address("10.20.30.40")
        self.check_panels(ADDRESS_INFO, "Address Info")
        self.type_address("10.200.7.9")
        self.check_panels(ADDRESS_INFO_AGAIN, "Address Info, second address")
        self.click_tab("General Info", "Max # of Hosts/Subnet")
        self.check_panels(GENERAL_INFO, "General Info")
        self.click_tab("CIDR", "Route/Mask")
        self.type_address("192.168.7.20")
        self.check_panels(CIDR, "CIDR")
        self.program.close_with_ctrl_x()


if __name__ == "__main__":
    desktop.main()
