"""The Prefix calculator on a real display: reached with Ctrl+R or from the
stored calculator, entries typed key by key, pages switched by clicks on
their tabs, and every result read back over AT-SPI (the result grids' cells,
the count panel through its caption, the message lines) and the clipboard."""

import desktop
from desktop import DesktopTestCase, click_tab, find_all, is_showing, labelled_by, role_name, showing, wait_until

PREFIX_KEY = desktop.MAIN_KEY + r"\Prefix"
PREFIX_CALCULATOR = 3

# What the Prefix page shows for an entry, caption and value a row.
IPV4_ROWS = [
    ["Network", "10.1.0.0/19"],
    ["Host Range", "10.1.0.1 - 10.1.31.254"],
    ["Broadcast", "10.1.31.255"],
    ["Netmask", "255.255.224.0"],
    ["Wildcard", "0.0.31.255"],
    ["Addresses", "8192 (2^13)"],
    ["Usable Hosts", "8190"],
    ["Address Type", "Private-Use (RFC 1918)"],
    ["Reverse Zone", "0.1.10.in-addr.arpa (first of 32 zones)"],
    ["Bit Map", "00001010.00000001.000|00010.00000011"],
]
IPV6_ROWS = [
    ["Network", "2001:db8::/48"],
    ["First Address", "2001:db8::"],
    ["Last Address", "2001:db8:0:ffff:ffff:ffff:ffff:ffff"],
    ["Compressed", "2001:db8::1"],
    ["Expanded", "2001:0db8:0000:0000:0000:0000:0000:0001"],
    ["Addresses", "1208925819614629174706176 (2^80)"],
    ["/64 Networks", "65536 (2^16)"],
    ["Address Type", "Documentation (RFC 3849)"],
    ["Reverse Zone", "0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"],
]

SPLIT_HEADERS_IPV4 = ["#", "Network", "Host Range", "Broadcast"]
SPLIT_HEADERS_IPV6 = ["#", "Network", "Address Range"]
# 10.0.0.0/8 into /12: the second of 16.
SECOND_OF_16 = ["2", "10.16.0.0/12", "10.16.0.1 - 10.31.255.254", "10.31.255.255"]
# 2001:db8::/32 into /64s: the last of 2^32, beyond the view's 2^31 - 1 rows.
LAST_OF_2_32 = ["4294967296", "2001:db8:ffff:ffff::/64",
                "2001:db8:ffff:ffff:: - 2001:db8:ffff:ffff:ffff:ffff:ffff:ffff"]

PLAN_LINES = ["Sales 120", "Printers", "Lab 50", "Links 2"]
PLAN_HEADERS = ["Name", "Hosts", "Prefix", "Network", "Host Range", "Spare"]
PLAN_ROWS = [
    ["Sales", "120", "/25", "10.0.0.0", "10.0.0.1 - 10.0.0.126", "6"],
    ["Lab", "50", "/26", "10.0.0.128", "10.0.0.129 - 10.0.0.190", "12"],
    ["Links", "2", "/30", "10.0.0.192", "10.0.0.193 - 10.0.0.194", "0"],
    ["Free", "", "/30", "10.0.0.196", "10.0.0.197 - 10.0.0.198", "2"],
    ["Free", "", "/29", "10.0.0.200", "10.0.0.201 - 10.0.0.206", "6"],
    ["Free", "", "/28", "10.0.0.208", "10.0.0.209 - 10.0.0.222", "14"],
    ["Free", "", "/27", "10.0.0.224", "10.0.0.225 - 10.0.0.254", "30"],
]
PLAN_MESSAGE = "line 2: 'Printers' does not end in a number of hosts"

SUMMARY_LINES = ["10.0.0.0/25  # office", "10.0.0.128 - 10.0.0.255", "nonsense", "2001:db8::/48",
                 "2001:db8:1::/48", "10.0.1.0 255.255.255.0"]
SUMMARY_ROWS = [
    ["Prefixes", "2"],
    ["IPv4 Addresses", "512 (2^9)"],
    ["IPv4 Summary", "10.0.0.0/23"],
    ["IPv6 Addresses", "2417851639229258349412352 (2^81)"],
    ["IPv6 Summary", "2001:db8::/47"],
    ["Prefix", "10.0.0.0/23"],
    ["Prefix", "2001:db8::/47"],
]
SUMMARY_MESSAGE = "line 3: 'nonsense' is not an IPv4 or IPv6 address"
# The prefixes of the summary a first start shows.
FIRST_SUMMARY_COPY = "192.168.0.0/23\r\n192.168.2.0/25\r\n2001:db8::/48\r\n"


def table_text(rows):
    """Rows in the clipboard's table format."""
    return "".join("\t".join(row) + "\r\n" for row in rows)


class PrefixTest(DesktopTestCase):
    def start(self, stored=None):
        """Starts the program with `stored` in its settings file (none: a
        first start); returns once its window has the keyboard focus."""
        if stored is not None:
            self.desktop.write_settings(stored)
        self.program = self.launch()
        self.window = self.program.main_window_accessible()
        self.program.activate()

    def start_on_prefix(self, **inputs):
        """Starts the program on the Prefix calculator, as a last session
        left it, with those of its inputs given."""
        self.start({desktop.MAIN_KEY: {"Calculator": PREFIX_CALCULATOR}, PREFIX_KEY: inputs})
        self.entry()

    def entry(self):
        return wait_until("the entry \"Address or prefix\"",
                          lambda: showing(self.window, "text", "Address or prefix"))[0]

    def type_entry(self, text):
        """Alt+P (the "Address or &prefix" caption), all of the entry
        selected, and the text typed over it."""
        self.desktop.key("alt+p")
        self.desktop.key("ctrl+a")
        self.desktop.type_text(text)

    def type_lines(self, access_key, lines):
        """The box whose caption has `access_key`: all of it replaced by
        `lines`, typed with Enter between them."""
        self.desktop.key(f"alt+{access_key}")
        self.desktop.key("ctrl+a")
        self.desktop.key("Delete")
        for i, line in enumerate(lines):
            if i > 0:
                self.desktop.key("Return")
            self.desktop.type_text(line)

    def page_shown(self):
        """The caption of the page shown: the name of the showing tab list
        is that of its current tab."""
        lists = [node.name for node in find_all(self.window, lambda n: role_name(n) == "page tab list"
                                                 and is_showing(n))]
        self.assertEqual(len(lists), 1, "one page control showing")
        return lists[0]

    def grid(self, name):
        return wait_until(f"the grid {name!r}", lambda: showing(self.window, "table", name))[0]

    def rows(self, name):
        return desktop.table_rows(self.grid(name))

    def count_panel(self):
        """(caption, text) of the showing display a "Subnets" caption labels."""
        for node in find_all(self.window, lambda n: role_name(n) in ("label", "static") and is_showing(n)):
            for caption in labelled_by(node):
                if caption.startswith("Subnets"):
                    return caption, node.name
        return None

    def expect(self, what, read, expected):
        """Waits until `read()` gives `expected`; fails with what it gave
        last otherwise."""
        seen = []

        def holds():
            seen[:] = [read()]
            return seen[0] == expected

        if desktop.holds_within(holds, timeout=5):
            return
        got = seen[0]
        if isinstance(expected, list) and isinstance(got, list):
            lines = [f"  row {i}: expected {want!r}, read {have!r}"
                     for i, (want, have) in enumerate(zip(expected, got)) if want != have]
            if len(expected) != len(got):
                lines.append(f"  {len(expected)} rows expected, {len(got)} read: {got!r}")
            self.fail(f"{what} over AT-SPI differs:\n" + "\n".join(lines))
        self.fail(f"{what}: expected {expected!r}, read {got!r}")

    def expect_rows(self, name, expected, what):
        self.expect(f"{what}: the grid {name!r}", lambda: self.rows(name), expected)

    def expect_message(self, text, what):
        if not desktop.holds_within(lambda: showing(self.window, "label", text), timeout=5):
            self.fail(f"{what}: no message {text!r} showing; the window as AT-SPI has it:\n"
                      + desktop.dump_showing(self.window))

    def expect_clipboard(self, text, what):
        self.expect(f"{what}: the clipboard", self.desktop.clipboard_text, text)

    # -- the tests

    def test_ctrl_r_shows_the_results_of_typed_prefixes(self):
        self.start()
        self.program.key("ctrl+r")
        entry = self.entry()
        self.assertEqual(self.page_shown(), "Prefix")

        self.type_entry("10.1.2.3/19")
        self.expect_rows("Prefix", IPV4_ROWS, "10.1.2.3/19")
        self.type_entry("2001:db8::1/48")
        self.expect_rows("Prefix", IPV6_ROWS, "2001:db8::1/48")
        self.assertEqual(desktop.text_of(entry), "2001:db8::1/48")
        self.assertEqual(len(dict(IPV6_ROWS)["Expanded"]), 39)

        self.program.close_with_ctrl_x()
        settings = self.desktop.read_settings()
        self.assertEqual(settings.get(desktop.MAIN_KEY, {}).get("Calculator"), PREFIX_CALCULATOR)
        self.assertEqual(settings.get(PREFIX_KEY, {}).get("Entry"), "2001:db8::1/48")

    def test_an_entry_that_cannot_be_read_says_why_and_keeps_the_results(self):
        self.start_on_prefix(Entry="10.1.2.3/19")
        self.expect_rows("Prefix", IPV4_ROWS, "the stored entry")
        # The length edited in place, one digit at a time, so that no
        # text on the way reads as a prefix: /19, /39, /33.
        self.desktop.key("alt+p")
        self.desktop.key("End", "Left", "shift+Left")
        self.desktop.type_text("3")
        self.expect_message("prefix length 39 is out of range 0–32", "10.1.2.3/39")
        self.desktop.key("End", "shift+Left")
        self.desktop.type_text("3")
        self.expect_message("prefix length 33 is out of range 0–32", "10.1.2.3/33")
        self.assertEqual(desktop.text_of(self.entry()), "10.1.2.3/33")
        self.expect_rows("Prefix", IPV4_ROWS, "after 10.1.2.3/33")
        # A text that reads again: its results, and the message goes.
        self.desktop.key("BackSpace")
        self.expect("10.1.2.3/3: the network", lambda: self.rows("Prefix")[0], ["Network", "0.0.0.0/3"])
        wait_until("the message to go",
                   lambda: not showing(self.window, "label", "prefix length 33 is out of range 0–32"))
        self.program.close_with_ctrl_x()

    def test_split_counts_and_goes_to_a_subnet_beyond_the_view(self):
        self.start()
        self.program.key("ctrl+r")
        self.entry()
        self.type_entry("10.0.0.0/8")
        click_tab(self.desktop, self.window, "Split", "New length")
        self.assertEqual(self.page_shown(), "Split")
        self.desktop.key("alt+n")
        self.desktop.key("ctrl+a")
        self.desktop.type_text("12")
        self.desktop.key("Return")
        self.expect("10.0.0.0/8 into /12: the count", self.count_panel, ("Subnets (2^4)", "16"))
        self.assertEqual(desktop.column_headers(self.grid("Subnets")), SPLIT_HEADERS_IPV4)
        self.expect("10.0.0.0/8 into /12: the second subnet", lambda: self.rows("Subnets")[1], SECOND_OF_16)
        # A real wheel notch over the table scrolls it by three subnets.
        x, y = desktop.centre(self.grid("Subnets"))
        self.desktop.xdotool("mousemove", "--sync", str(int(x)), str(int(y)))
        self.desktop.xdotool("click", "5")
        self.expect("a wheel notch down: the first subnet shown", lambda: self.rows("Subnets")[0][0], "4")

        self.type_entry("2001:db8::/32")
        self.expect("2001:db8::/32 into /64s: the count", self.count_panel, ("Subnets (2^32)", "4294967296"))
        spin = showing(self.window, "text", "New length")[0]
        self.assertEqual(desktop.text_of(spin), "64")
        self.assertEqual(desktop.column_headers(self.grid("Subnets")), SPLIT_HEADERS_IPV6)
        self.desktop.key("alt+g")
        self.desktop.key("ctrl+a")
        self.desktop.type_text("4294967296")
        self.desktop.key("Return")
        self.expect("subnet 4294967296 in the table", lambda: LAST_OF_2_32 in self.rows("Subnets"), True)
        # It is the selected row: Ctrl+C copies it, also from the "Go to #"
        # field with its own text selected.
        self.desktop.key("ctrl+a")
        self.desktop.key("ctrl+c")
        self.expect_clipboard(table_text([SPLIT_HEADERS_IPV6, LAST_OF_2_32]), "Ctrl+C on the Split page")
        self.program.close_with_ctrl_x()

    def test_copy_button_and_copy_command(self):
        self.start_on_prefix()
        self.type_entry("10.1.2.3/19")
        self.expect_rows("Prefix", IPV4_ROWS, "10.1.2.3/19")
        results = table_text(IPV4_ROWS)
        button = wait_until("the copy button",
                            lambda: showing(self.window, "push button", "Copy prefix results to clipboard"))[0]
        self.desktop.click(*desktop.centre(button))
        self.expect_clipboard(results, "the copy button on the Prefix page")

        # Ctrl+C in the Summarize page's box, its text selected: the
        # command copies the summary all the same.
        click_tab(self.desktop, self.window, "Summarize", "Summary", role="table")
        self.assertEqual(self.page_shown(), "Summarize")
        self.desktop.key("alt+a")
        self.desktop.key("ctrl+a")
        self.desktop.key("ctrl+c")
        self.expect_clipboard(FIRST_SUMMARY_COPY, "Ctrl+C on the Summarize page")

        # Edit > Copy with the mouse, back on the Prefix page.
        click_tab(self.desktop, self.window, "Prefix", "Prefix", role="table")
        edit = wait_until("the Edit menu", lambda: showing(self.window, "menu item", "Edit"))[0]
        self.desktop.click(*desktop.centre(edit))
        copy = wait_until("its Copy command", lambda: find_all(
            self.program.accessible(), lambda n: role_name(n) == "menu item" and n.name == "Copy" and is_showing(n)))[0]
        self.desktop.click(*desktop.centre(copy))
        self.expect_clipboard(results, "Edit > Copy on the Prefix page")
        self.program.close_with_ctrl_x()

    def test_plan_and_summarize_typed_lines(self):
        self.start_on_prefix(Entry="10.0.0.0/24", Page=2)
        self.grid("Plan")
        self.assertEqual(self.page_shown(), "Plan")
        self.type_lines("r", PLAN_LINES)
        self.assertEqual(desktop.column_headers(self.grid("Plan")), PLAN_HEADERS)
        self.expect_rows("Plan", PLAN_ROWS, "the plan")
        self.expect_message(PLAN_MESSAGE, "the plan")

        click_tab(self.desktop, self.window, "Summarize", "Summary", role="table")
        self.type_lines("a", SUMMARY_LINES)
        self.expect_rows("Summary", SUMMARY_ROWS, "the summary")
        self.expect_message(SUMMARY_MESSAGE, "the summary")
        self.program.close_with_ctrl_x()


if __name__ == "__main__":
    desktop.main()
