#!/usr/bin/python3
"""Differential test of the Prefix calculator's core against Python's
ipaddress module as an independent oracle.

Generates seeded random cases (entries in every form, bad entries, address
types, splits, summaries, ranges and plans), runs the C++ driver once over
all of them and compares each answer with what ipaddress computes.

    prefix_oracle.py --driver <oracle_driver> [--seed N] [--cases N]

On a failure it prints the seed and the first failing cases; the same seed
reproduces them.
"""

import argparse
import ipaddress
import itertools
import math
import random
import subprocess
import sys

# Where ipaddress's notion of "globally reachable" differs from the IANA
# special-purpose registries, the registries are right; these are the
# blocks where this Python disagrees with them.
# The flag says whether every address of the block differs.
GLOBAL_DIFFERENCES = [
    # Python judges an IPv4-mapped address by its IPv4 address; the IPv6
    # registry lists the whole block as not globally reachable.
    (ipaddress.ip_network("::ffff:0:0/96"), False),
    # DNS-SD Service Registration Protocol Anycast (RFC 9665), globally
    # reachable, newer than Python's table, which still has it private
    # under 2001::/23.
    (ipaddress.ip_network("2001:1::3/128"), True),
    # Documentation (RFC 9637) and Segment Routing SIDs (RFC 9602), not
    # globally reachable, newer than Python's table.
    (ipaddress.ip_network("3fff::/20"), True),
    (ipaddress.ip_network("5f00::/16"), True),
]

LOOPBACK_NAMES = {"Loopback", "Loopback Address"}
LINK_LOCAL_NAMES = {"Link-Local", "Link-Local Unicast"}
UNSPECIFIED_NAMES = {"Unspecified Address", "This Host on This Network"}


def text(address):
    """The calculator's text of an address: Python's, except that an
    IPv4-mapped address ends in its IPv4 address (RFC 5952 section 5);
    the Python of Debian 12 writes it all in hexadecimal."""
    if address.version == 6 and address.ipv4_mapped is not None:
        return "::ffff:" + str(address.ipv4_mapped)
    return str(address)


def net_text(network):
    return f"{text(network.network_address)}/{network.prefixlen}"


def width(version):
    return 32 if version == 4 else 128


def make_address(version, value):
    return ipaddress.IPv4Address(value) if version == 4 else ipaddress.IPv6Address(value)


def make_network(version, value, length):
    return ipaddress.ip_network((make_address(version, value), length), strict=False)


class Generator:
    def __init__(self, rng):
        self.rng = rng
        # Registry edges the random values should hit often.
        self.edges4 = [ipaddress.ip_network(n) for n in (
            "0.0.0.0/8", "10.0.0.0/8", "100.64.0.0/10", "127.0.0.0/8", "169.254.0.0/16", "172.16.0.0/12",
            "192.0.0.0/24", "192.0.0.0/29", "192.0.0.8/32", "192.0.0.9/32", "192.0.0.10/32",
            "192.0.0.170/31", "192.0.2.0/24", "192.31.196.0/24", "192.52.193.0/24", "192.88.99.0/24",
            "192.168.0.0/16", "192.175.48.0/24", "198.18.0.0/15", "198.51.100.0/24", "203.0.113.0/24",
            "224.0.0.0/4", "240.0.0.0/4", "255.255.255.255/32")]
        self.edges6 = [ipaddress.ip_network(n) for n in (
            "::/128", "::1/128", "::ffff:0:0/96", "64:ff9b::/96", "64:ff9b:1::/48", "100::/64", "2001::/23",
            "2001::/32", "2001:1::1/128", "2001:1::2/128", "2001:1::3/128", "2001:2::/48", "2001:3::/32",
            "2001:4:112::/48", "2001:10::/28", "2001:20::/28", "2001:30::/28", "2001:db8::/32", "2002::/16",
            "2620:4f:8000::/48", "3fff::/20", "5f00::/16", "fc00::/7", "fe80::/10", "ff00::/8")]

    def value(self, version):
        r = self.rng.random()
        bits = width(version)
        if r < 0.3:
            edges = self.edges4 if version == 4 else self.edges6
            net = self.rng.choice(edges)
            pick = self.rng.randrange(4)
            base = int(net.network_address)
            if pick == 0:
                return base
            if pick == 1:
                return int(net.broadcast_address)
            if pick == 2:
                return (base - 1) % (1 << bits)
            return (int(net.broadcast_address) + 1) % (1 << bits)
        if version == 6 and r < 0.75:
            # Groups that are often zero, so zero runs of every length and
            # position appear.
            value = 0
            for _ in range(8):
                g = self.rng.choice((0, 0, 0, 1, self.rng.randrange(0x10000), 0xFFFF))
                value = (value << 16) | g
            if self.rng.random() < 0.1:
                value = 0xFFFF00000000 | self.rng.randrange(1 << 32)
            return value
        if r < 0.4:
            return self.rng.choice((0, 1, (1 << bits) - 1, (1 << bits) - 2, 1 << (bits - 1)))
        return self.rng.randrange(1 << bits)

    def ipv6_form(self, value):
        """Any RFC 4291 text of an IPv6 value, not only the canonical one."""
        groups = [(value >> (16 * (7 - i))) & 0xFFFF for i in range(8)]
        embed = self.rng.random() < 0.15
        hex_count = 6 if embed else 8
        texts = []
        for g in groups[:hex_count]:
            t = format(g, "x")
            if self.rng.random() < 0.2:
                t = t.rjust(self.rng.randint(len(t), 4), "0")
            if self.rng.random() < 0.2:
                t = t.upper()
            texts.append(t)
        if embed:
            texts.append(str(ipaddress.IPv4Address(value & 0xFFFFFFFF)))
        # "::" over a random run of zero groups (one group is allowed).
        runs = []
        i = 0
        while i < hex_count:
            if groups[i] == 0:
                j = i
                while j < hex_count and groups[j] == 0:
                    j += 1
                runs.append((i, j))
                i = j
            else:
                i += 1
        if runs and self.rng.random() < 0.8:
            start, end = self.rng.choice(runs)
            start_cut = self.rng.randint(start, end - 1)
            end_cut = self.rng.randint(start_cut + 1, end)
            return ":".join(texts[:start_cut]) + "::" + ":".join(texts[end_cut:])
        return ":".join(texts)

    def address_text(self, version, value):
        if version == 4:
            return str(ipaddress.IPv4Address(value))
        if self.rng.random() < 0.5:
            return str(ipaddress.IPv6Address(value))
        return self.ipv6_form(value)

    def length(self, version):
        bits = width(version)
        if self.rng.random() < 0.2:
            return self.rng.choice((0, 1, bits - 1, bits, 8, 16, 24, 64 % (bits + 1)))
        return self.rng.randint(0, bits)


def mask_text(version, length):
    return str(ipaddress.ip_network((0, length)).netmask) if version == 4 else None


# --- entry ---------------------------------------------------------------

def entry_case(gen):
    version = gen.rng.choice((4, 6))
    value = gen.value(version)
    length = gen.length(version)
    address = gen.address_text(version, value)
    form = gen.rng.randrange(6)
    if form == 0:
        entry, python_text, length = address, address, width(version)
    elif form == 1 and version == 4:
        mask = str(ipaddress.IPv4Network((0, length)).netmask)
        entry = f"{address}{' ' * gen.rng.randint(1, 3)}{mask}"
        python_text = f"{address}/{mask}"
    elif form == 2 and version == 4:
        mask = str(ipaddress.IPv4Network((0, length)).netmask)
        entry = python_text = f"{address}/{mask}"
    elif form == 3:
        digits = str(length).rjust(gen.rng.randint(1, 4), "0")
        entry = python_text = f"{address}/{digits}"
    else:
        entry = python_text = f"{address}/{length}"
    if gen.rng.random() < 0.1:
        entry = " " * gen.rng.randint(1, 2) + entry + "\t" * gen.rng.randint(0, 1)
    return ("E", [entry], lambda got: check_entry(python_text, got))


def check_entry(python_text, got):
    try:
        interface = ipaddress.ip_interface(python_text)
    except ValueError as error:
        if got[0] == "ERR":
            return None
        return f"Python rejects it ({error}); the calculator reads {got[1:3]}"
    if got[0] != "OK":
        return f"Python reads {interface}; the calculator says {got[1:]}"
    net = interface.network
    ip = interface.ip
    version = ip.version
    unit = 8 if version == 4 else 4
    zone_length = -(-net.prefixlen // unit) * unit
    labels = net.network_address.reverse_pointer.split(".")
    units = width(version) // unit
    zone = ".".join(labels[units - zone_length // unit:])
    if version == 4:
        if net.prefixlen <= 30:
            host_first, host_last = net.network_address + 1, net.broadcast_address - 1
            usable = net.num_addresses - 2
        else:
            hosts = list(net.hosts())
            host_first, host_last, usable = hosts[0], hosts[-1], len(hosts)
        if net.prefixlen <= 30 and net.prefixlen >= 24:
            hosts = list(net.hosts())
            assert (hosts[0], hosts[-1], len(hosts)) == (host_first, host_last, usable)
        netmask, hostmask = str(net.netmask), str(net.hostmask)
    else:
        # IPv6 has no broadcast: every address is usable.
        host_first, host_last, usable = net.network_address, net.broadcast_address, net.num_addresses
        netmask, hostmask = text(net.netmask), text(net.hostmask)
    expected = ["OK", net_text(net), text(net.network_address), text(net.broadcast_address), str(net.num_addresses),
                text(ip), ip.exploded, ip.reverse_pointer, zone, str(2 ** (zone_length - net.prefixlen)),
                text(host_first), text(host_last), str(usable), netmask, hostmask]
    if got != expected:
        return f"expected {expected}, got {got}"
    return None


BAD_ENTRIES = [
    ("10.1.2.3/33", "prefix length 33 is out of range 0–32"),
    ("10.1.2.3/129", "prefix length 129 is out of range 0–32"),
    ("2001:db8::/129", "prefix length 129 is out of range 0–128"),
    ("10.1.2.256", "octet 256 is out of range 0–255"),
    ("10.1.2", "IPv4 address '10.1.2' has 3 octets instead of 4"),
    ("10.1.2.3.4", "IPv4 address '10.1.2.3.4' has 5 octets instead of 4"),
    ("10.01.2.3", "octet '01' has a leading zero"),
    ("10..2.3", "IPv4 address '10..2.3' has an empty octet"),
    ("10.1.2.3/255.0.255.0", "netmask 255.0.255.0 is not contiguous"),
    ("10.1.2.3/", "prefix length is missing after '/'"),
    ("10.1.2.3/x", "prefix length 'x' is not a number"),
    ("1::2::3", "IPv6 address '1::2::3' has more than one '::'"),
    ("12345::", "group '12345' has more than 4 hex digits"),
    ("1:2:3:4:5:6:7:8:9", "IPv6 address '1:2:3:4:5:6:7:8:9' has 9 groups instead of 8"),
    ("1:2:3:4:5:6:7", "IPv6 address '1:2:3:4:5:6:7' has 7 groups instead of 8"),
    ("1:2:3:4:5:6:7:8::", "IPv6 address '1:2:3:4:5:6:7:8::' has 8 groups besides '::', at most 7"),
    (":1::", "IPv6 address ':1::' starts with a single ':'"),
    ("1::2:", "IPv6 address '1::2:' ends with a single ':'"),
    ("::g", "unexpected character 'g' in IPv6 address '::g'"),
    ("::1.2.3.4:5", "IPv6 address '::1.2.3.4:5' has an IPv4 part before its end"),
    ("::ffff:1.2.3.04", "octet '04' has a leading zero"),
]


def bad_entry_case(gen):
    entry, message = gen.rng.choice(BAD_ENTRIES)
    prefix_len = None
    if gen.rng.random() < 0.5 and "/" not in entry:
        # The same fault with a length after it.
        prefix_len = gen.rng.randint(0, 32)
        entry = f"{entry}/{prefix_len}"

    def check(got):
        try:
            ipaddress.ip_interface(entry)
            return "Python reads it"
        except ValueError:
            pass
        if got[0] != "ERR" or got[1] != message:
            return f"expected the message {message!r}, got {got}"
        return None
    return ("E", [entry], check)


MUTATION_CHARACTERS = "0123456789abcdefABCDEF:./"


def mutated_entry_case(gen):
    """A valid entry with a few random edits: both readers must agree on
    whether it is an entry at all, and on what it reads."""
    version = gen.rng.choice((4, 6))
    value = gen.value(version)
    entry = f"{gen.address_text(version, value)}/{gen.length(version)}"
    chars = list(entry)
    for _ in range(gen.rng.randint(1, 3)):
        op = gen.rng.randrange(3)
        pos = gen.rng.randrange(len(chars) + (1 if op == 1 else 0)) if chars else 0
        if op == 0 and chars:
            del chars[pos]
        elif op == 1:
            chars.insert(pos, gen.rng.choice(MUTATION_CHARACTERS))
        elif chars:
            chars[pos] = gen.rng.choice(MUTATION_CHARACTERS)
    entry = "".join(chars)

    def check(got):
        # ipaddress also reads "a/hostmask" (0.0.0.255), which the
        # calculator refuses as not contiguous.
        if "/" in entry and "." in entry.split("/", 1)[-1] and got[0] == "ERR" and "wildcard" in got[1]:
            return None
        return check_entry(entry, got)
    return ("E", [entry], check)


# --- address type ----------------------------------------------------------

def type_case(gen):
    version = gen.rng.choice((4, 6))
    value = gen.value(version)
    address = make_address(version, value)

    def check(got):
        name, reach = got[0], got[1]
        problems = []
        if address.is_loopback != (name in LOOPBACK_NAMES):
            problems.append(f"is_loopback {address.is_loopback}")
        if address.is_link_local != (name in LINK_LOCAL_NAMES):
            problems.append(f"is_link_local {address.is_link_local}")
        if address.is_multicast != (name == "Multicast"):
            problems.append(f"is_multicast {address.is_multicast}")
        if address.is_unspecified != (name in UNSPECIFIED_NAMES):
            problems.append(f"is_unspecified {address.is_unspecified}")
        known = [always for net, always in GLOBAL_DIFFERENCES if address in net]
        if reach != "-" and not known and address.is_global != (reach == "Y"):
            problems.append(f"is_global {address.is_global}")
        if known and known[0] and address.is_global == (reach == "Y"):
            problems.append("a listed difference no longer differs")
        if problems:
            return f"{address}: the calculator says {name!r} (global {reach}), Python {', '.join(problems)}"
        return None
    return ("T", [text(address)], check)


# --- split -----------------------------------------------------------------

def subnet_cells(net, index):
    cells = [str(index + 1), net_text(net)]
    if net.version == 4:
        if net.prefixlen <= 30:
            cells.append(f"{net.network_address + 1} - {net.broadcast_address - 1}")
            cells.append(str(net.broadcast_address))
        else:
            hosts = list(net.hosts())
            cells.append(str(hosts[0]) if len(hosts) == 1 else f"{hosts[0]} - {hosts[-1]}")
            cells.append("none")
    else:
        first, last = net.network_address, net.broadcast_address
        cells.append(text(first) if first == last else f"{text(first)} - {text(last)}")
    return "|".join(cells)


def split_case(gen):
    version = gen.rng.choice((4, 6))
    bits = width(version)
    length = gen.rng.randint(0, bits - 1)
    if gen.rng.random() < 0.05:
        length = 0
    net = make_network(version, gen.value(version), length)
    if gen.rng.random() < 0.5:
        new_length = gen.rng.randint(length + 1, min(bits, length + 6))
    else:
        new_length = gen.rng.randint(length + 1, bits)
    if gen.rng.random() < 0.02:
        length, new_length = 0, bits
        net = make_network(version, 0, 0)
    count = 2 ** (new_length - length)
    if count <= 16:
        indexes = list(range(count))
        subnets = list(net.subnets(new_prefix=new_length))
    else:
        indexes = [0, 1, count - 1, count - 2] + [gen.rng.randrange(count) for _ in range(2)]
        if count > 2 ** 31:
            indexes.append(2 ** 31 + gen.rng.randrange(min(count - 2 ** 31, 2 ** 40)))
        head = list(itertools.islice(net.subnets(new_prefix=new_length), 2))
        subnets = None

    def subnet_at(i):
        if subnets is not None:
            return subnets[i]
        if i < 2:
            return head[i]
        step = 2 ** (bits - new_length)
        return ipaddress.ip_network((make_address(version, int(net.network_address) + i * step), new_length))

    def check(got):
        expected = [str(count)] + [subnet_cells(subnet_at(i), i) for i in indexes]
        if got != expected:
            return f"{net} into /{new_length}: expected {expected}, got {got}"
        return None
    return ("S", [net_text(net), str(new_length), ";".join(map(str, indexes))], check)


# --- summarize and ranges --------------------------------------------------

def summary_item(gen, version, base, span):
    bits = width(version)
    top = (1 << bits) - 1
    a = min(top, base + gen.rng.randrange(span))
    kind = gen.rng.randrange(5)
    if kind == 0:
        return text(make_address(version, a)), [make_network(version, a, bits)]
    if kind in (1, 2):
        length = gen.rng.randint(max(0, bits - int(math.log2(span)) - 2), bits)
        net = make_network(version, a, length)
        host = make_address(version, a)
        form = gen.rng.randrange(3)
        if version == 4 and form == 1:
            return f"{host} {net.netmask}", [net]
        return f"{text(host)}/{length}", [net]
    b = min(top, a + gen.rng.randrange(span))
    first, last = make_address(version, a), make_address(version, b)
    return f"{text(first)}{gen.rng.choice((' - ', '-', '  -  '))}{text(last)}", list(
        ipaddress.summarize_address_range(first, last))


def summary_case(gen):
    versions = gen.rng.choice(((4,), (6,), (4, 6)))
    lines = []
    networks = {4: [], 6: []}
    bad = []
    for version in versions:
        bits = width(version)
        # Mostly small spans, so that entries overlap and adjoin; now and
        # then a wide one (its ranges split into many prefixes).
        span = 2 ** gen.rng.randint(1, 16 if gen.rng.random() < 0.9 else min(bits, 24 if version == 4 else 80))
        base = gen.rng.randrange(max(1, (1 << bits) - span))
        if gen.rng.random() < 0.1:
            base = 0
        for _ in range(gen.rng.randint(1, 8)):
            line, nets = summary_item(gen, version, base, span)
            if gen.rng.random() < 0.1:
                line += "  # comment"
            lines.append(line)
            networks[version].extend(nets)
    gen.rng.shuffle(lines)
    if gen.rng.random() < 0.3:
        bad_line = gen.rng.choice(("10.0.0.256", "junk", "1::2::3", "10.0.0.9 - 10.0.0.1", "10.0.0.1 - ::1"))
        lines.insert(gen.rng.randrange(len(lines) + 1), bad_line)
    if gen.rng.random() < 0.2:
        lines.insert(gen.rng.randrange(len(lines) + 1), "# only a comment")
    bad = [str(i + 1) for i, line in enumerate(lines)
           if line in ("10.0.0.256", "junk", "1::2::3", "10.0.0.9 - 10.0.0.1", "10.0.0.1 - ::1")]

    def check(got):
        expected_prefixes = []
        totals = []
        for version in (4, 6):
            nets = networks[version]
            collapsed = list(ipaddress.collapse_addresses(nets))
            expected_prefixes.extend(net_text(n) for n in collapsed)
            if not nets:
                totals += ["-", "-"]
                continue
            low = min(int(n.network_address) for n in nets)
            high = max(int(n.broadcast_address) for n in nets)
            # The longest prefix holding both ends: it holds high, and its
            # halves split low from high.
            summary = make_network(version, low, width(version) - (low ^ high).bit_length())
            assert make_address(version, high) in summary
            if summary.prefixlen < width(version):
                assert not any(make_address(version, low) in half and make_address(version, high) in half
                               for half in summary.subnets())
            totals += [str(sum(n.num_addresses for n in collapsed)), net_text(summary)]
        expected = [";".join(expected_prefixes), ";".join(bad)] + totals
        if got != expected:
            return f"lines {lines}: expected {expected}, got {got}"
        return None
    return ("U", [";".join(lines)], check)


def range_case(gen):
    version = gen.rng.choice((4, 6))
    a, b = sorted((gen.value(version), gen.value(version)))
    if gen.rng.random() < 0.5:
        b = min((1 << width(version)) - 1, a + gen.rng.randrange(1 << gen.rng.randint(1, 20)))
    first, last = make_address(version, a), make_address(version, b)

    def check(got):
        expected = ";".join(net_text(n) for n in ipaddress.summarize_address_range(first, last))
        if got[0] != expected:
            return f"{first} - {last}: expected {expected}, got {got[0]}"
        return None
    return ("R", [text(first), text(last)], check)


# --- plan ------------------------------------------------------------------

def plan_case(gen):
    version = gen.rng.choice((4, 6))
    if version == 4:
        length = gen.rng.randint(16, 30)
    else:
        length = gen.rng.randint(40, 66)
    net = make_network(version, gen.value(version), length)
    lines = []
    for i in range(gen.rng.randint(0, 8)):
        r = gen.rng.random()
        if r < 0.08:
            lines.append(gen.rng.choice(("Nothing", "Zero 0", "Bad 12x", "")))
            continue
        top = 300 if version == 4 else 40
        number = gen.rng.choice((1, 2, 3, gen.rng.randint(1, top), gen.rng.randint(1, top)))
        name = gen.rng.choice(("Sales", "Lab", "Links", "Office Floor 2", "Wi-Fi", "A"))
        lines.append(f"{name} {number}")

    def check(got):
        allocations, free, bad, missing, failed_line = got[:5]
        unit_bits = 0 if version == 4 else 64
        wanted = []
        expected_bad = []
        for number, line in enumerate(lines, 1):
            stripped = line.strip()
            if not stripped:
                continue
            token = stripped.split()[-1]
            if not token.isdigit() or int(token) == 0:
                expected_bad.append(str(number))
                continue
            n = int(token)
            if version == 4:
                # Network and broadcast beside the hosts, also for 1 or 2 hosts.
                block = 32 - math.ceil(math.log2(n + 2))
            else:
                block = 64 - math.ceil(math.log2(n))
            wanted.append((block, number))
        wanted.sort(key=lambda w: w[0])  # stable: ties keep their line order
        space = 2 ** max(0, width(version) - unit_bits - length) if width(version) - unit_bits >= length else 0
        used = 0
        first_failed = None
        for block, number in wanted:
            used += 2 ** (width(version) - unit_bits - block)
            if first_failed is None and used > space:
                first_failed = number
        if first_failed is not None:
            # A prefix longer than /64 holds no /64 at all: no count is missing.
            missing = str(used - space) if width(version) - unit_bits >= length else "none"
            expected = ["", net_text(net), ";".join(expected_bad), missing, str(first_failed)]
        else:
            cursor = int(net.network_address)
            blocks = []
            for block, number in wanted:
                allocated = ipaddress.ip_network((make_address(version, cursor), block))  # strict: aligned
                assert allocated.subnet_of(net)
                blocks.append(f"{number}={net_text(allocated)}")
                cursor += allocated.num_addresses
            # The free space, by ipaddress: the prefix without its blocks.
            remaining = [net]
            for entry in blocks:
                taken = ipaddress.ip_network(entry.split("=")[1])
                holder = next(n for n in remaining if taken.subnet_of(n))
                remaining.remove(holder)
                if holder != taken:
                    remaining.extend(holder.address_exclude(taken))
            remaining = sorted(ipaddress.collapse_addresses(remaining))
            expected = [";".join(blocks), ";".join(net_text(n) for n in remaining), ";".join(expected_bad), "-", "-"]
        if [allocations, free, bad, missing, failed_line] != expected:
            return f"{net} with {lines}: expected {expected}, got {got}"
        return None
    return ("P", [net_text(net), ";".join(lines)], check)


# ---------------------------------------------------------------------------

MIX = [
    (entry_case, 0.32),
    (bad_entry_case, 0.04),
    (mutated_entry_case, 0.12),
    (type_case, 0.16),
    (split_case, 0.14),
    (summary_case, 0.08),
    (range_case, 0.08),
    (plan_case, 0.06),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--driver", required=True)
    parser.add_argument("--seed", type=int, default=20261208)
    parser.add_argument("--cases", type=int, default=100000)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    gen = Generator(rng)
    makers = [m for m, _ in MIX]
    weights = [w for _, w in MIX]
    cases = [rng.choices(makers, weights)[0](gen) for _ in range(args.cases)]

    lines = []
    for i, (command, fields, _) in enumerate(cases):
        lines.append("\t".join([str(i), command] + fields) + "\n")
    run = subprocess.run([args.driver], input="".join(lines).encode("utf-8"), stdout=subprocess.PIPE, check=True)
    answers = {}
    for line in run.stdout.decode("utf-8").splitlines():
        fields = line.split("\t")
        answers[int(fields[0])] = fields[1:]

    failures = []
    counts = {}
    for i, (command, fields, check) in enumerate(cases):
        counts[command] = counts.get(command, 0) + 1
        got = answers.get(i)
        problem = "no answer" if got is None else check(got)
        if problem:
            failures.append(f"case {i} ({command} {fields!r}): {problem}")
    summary = ", ".join(f"{c} {n}" for c, n in sorted(counts.items()))
    if failures:
        print(f"{len(failures)} of {len(cases)} cases differ (seed {args.seed}; {summary})")
        for failure in failures[:20]:
            print(failure)
        return 1
    print(f"{len(cases)} cases agree with Python {sys.version.split()[0]} ipaddress (seed {args.seed}; {summary})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
