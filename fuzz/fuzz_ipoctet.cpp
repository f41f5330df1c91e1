// Octet entry of the IP subnet calculator, at the model: any sequence of
// octets (raw, or as the text of an octet field entered in either bit
// mode), whole addresses, classes, class letters, bit counts and the
// RFC 1878 switch keeps the subnet and supernet models consistent, and only
// the documented messages are ever raised.
//   input: operations, each an opcode byte followed by its argument bytes;
//   a field text is a length byte (0 ... 7) and that many UTF-16 units of
//   two bytes each

#include "fuzz/FuzzCommon.h"

#include "app/VorlGlobal.h"
#include "ipsubnet/IPAddress.h"

namespace {

// Runs op and checks that it either succeeds or raises `allowed`.
template <typename Op>
void Expect(const QString &allowed, bool mustRaise, Op op)
{
    try {
        op();
    } catch (const TVorlError &error) {
        if (error.Message() != allowed) {
            std::fprintf(stderr, "unexpected error: %s\n", error.what());
            FUZZ_CHECK(!"unexpected error");
        }
        return;
    }
    FUZZ_CHECK(!mustRaise);
}

bool IsUsableClass(TIPClassType type)
{
    return type == TIPClassType::icClassA || type == TIPClassType::icClassB || type == TIPClassType::icClassC;
}

// `inRange`: the range rule has applied since the start (the default
// address 128.0.0.1 itself lies in the excluded all-zeros subnet).
void CheckSubnet(const TIPAddSubnet &s, bool inRange)
{
    const quint8 first = s.GetByte(0);
    FUZZ_CHECK(first >= 1 && first <= HighestNetworkOctet && first != 127);
    FUZZ_CHECK(IsUsableClass(s.ClassType()));
    FUZZ_CHECK(s.ClassType() == TIPAddClass::ClassOfFirstOctet(first));
    FUZZ_CHECK(s.NetworkBits() == TIPAddClass::NetworkBitsOf(s.ClassType()));
    FUZZ_CHECK(s.MaxSubnetBits() == 30 - s.NetworkBits());
    FUZZ_CHECK(s.SubnetBits() >= 1 && s.SubnetBits() <= s.MaxSubnetBits());
    FUZZ_CHECK(s.ClassMask().GetValue() == TIPAddMask::MakeMask(31, s.NetworkBits()));
    FUZZ_CHECK(s.SubnetMask().GetValue() == TIPAddMask::MakeMask(31, s.NetworkBits() + s.SubnetBits()));
    // One subnet bit without the allowance leaves no usable subnet at all
    // (the area's bits field stops at MinSubnetBits).
    if (inRange && !s.RFC1878() && s.SubnetBits() >= s.MinSubnetBits())
        FUZZ_CHECK(s.AllocationFirst() <= s.GetValue() && s.GetValue() <= s.AllocationLast());
    // Everything the pages show is computed without a failure.
    (void)s.MaxSubnets();
    (void)s.MaxHosts();
    (void)s.FirstHost();
    (void)s.LastHost();
    FUZZ_CHECK(s.BitMap().size() == 35);
    FUZZ_CHECK(s.DecimalText().size() <= 15);
}

// An octet field's text as the area hands it on: the octet stays in the
// field's range whatever the text, and text as a field holds it (up to
// three digits) reads as its number brought into that range.
quint8 CheckedOctetText(TOctetBox box, quint8 index, const QString &text)
{
    const bool subnetLast = box == TOctetBox::obSubnetAddress && index == 3;
    const int lowest = subnetLast ? 1 : 0;
    const int highest = index == 0 ? HighestNetworkOctet : subnetLast ? 254 : 255;
    const quint8 octet = ReadOctetText(box, index, text);
    FUZZ_CHECK(octet >= lowest && octet <= highest);
    bool digits = text.size() <= 3;
    for (const QChar c : text)
        digits = digits && c >= u'0' && c <= u'9';
    if (digits && !text.isEmpty())
        FUZZ_CHECK(octet == qBound(lowest, text.toInt(), highest));
    if (text.isEmpty())
        FUZZ_CHECK(octet == qMax(lowest, index == 0 ? 1 : 0));
    return octet;
}

void CheckSupernet(const TIPAddSupernet &s)
{
    FUZZ_CHECK(IsUsableClass(s.ClassType()));
    FUZZ_CHECK(s.ClassType() == TIPAddClass::ClassOfFirstOctet(s.GetByte(0)));
    FUZZ_CHECK(s.GetByte(0) <= HighestNetworkOctet);
    FUZZ_CHECK(s.SupernetBits() >= 1 && s.SupernetBits() <= 24);
    FUZZ_CHECK(s.Route() <= s.GetValue() && s.GetValue() <= s.LastAddress());
    (void)s.NumNetworks();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFuzzInput input(data, size);
    const QString byteIndex = QStringLiteral("Invalid TIPAddress Byte Index");
    const QString classType = QStringLiteral("Invalid TIPAddClass Class Type");
    const QString rangeCheck = QStringLiteral("Range check error");

    TIPAddSubnet subnet;
    TIPAddSupernet supernet;
    bool inRange = false;
    CheckSubnet(subnet, inRange);
    CheckSupernet(supernet);
    for (int steps = 0; input.Remaining() > 0 && steps < 64; ++steps) {
        const uint8_t op = input.Byte();
        const uint8_t a = input.Byte();
        const uint8_t b = input.Byte();
        const bool onSubnet = !(op & 0x80);
        TIPAddNetwork &target = onSubnet ? static_cast<TIPAddNetwork &>(subnet) : supernet;
        switch (op % 8) {
        case 0: {
            const quint8 index = a % 5;
            Expect(byteIndex, index > 3, [&] { target.SetByte(index, b); });
            break;
        }
        case 1: {
            const quint32 value = quint32(a) << 24 | quint32(b) << 16 | quint32(input.Byte()) << 8 | input.Byte();
            target.SetValue(value);
            break;
        }
        case 2: {
            // The network models turn every class above C into C, even an
            // ordinal beyond E read from a corrupted store.
            const quint8 type = a % 6;
            Expect(classType, false, [&] { target.SetClassType(TIPClassType(type)); });
            break;
        }
        case 3: {
            const QChar letter(char16_t(a | b << 8));
            const bool valid = letter >= u'A' && letter <= u'E';
            Expect(rangeCheck, !valid, [&] { target.SetClassLetter(letter); });
            break;
        }
        case 4:
            if (onSubnet)
                subnet.SetSubnetBits(a);
            else
                supernet.SetSupernetBits(a);
            break;
        case 5:
            subnet.SetRFC1878(a & 1);
            inRange = true;
            break;
        case 6:
            subnet.ClampToRange();
            inRange = true;
            break;
        case 7: {
            const quint8 index = a % 4;
            QString text;
            for (int length = b % 8; length > 0 && input.Remaining() > 0; --length)
                text += QChar(char16_t(input.Byte() | input.Byte() << 8));
            const TOctetBox box = onSubnet ? TOctetBox::obSubnetAddress : TOctetBox::obSupernetAddress;
            const quint8 octet = CheckedOctetText(box, index, text);
            if (!onSubnet) {
                supernet.SetOctetText(index, text);
                FUZZ_CHECK(supernet.GetByte(index) == octet || index == 0);
                break;
            }
            // As the Address Info page enters it: in network-bits mode a
            // first octet of another class keeps the prefix length where
            // the new class allows it.
            const TBitsMode mode = op & 0x40 ? TBitsMode::bmNetworkBits : TBitsMode::bmSubnetBits;
            const int prefix = subnet.BitsCount(TBitsMode::bmNetworkBits);
            const TIPClassType before = subnet.ClassType();
            subnet.SetOctetText(mode, index, text);
            if (mode == TBitsMode::bmNetworkBits && subnet.ClassType() != before) {
                const TBitsRange range = subnet.BitsRange(mode);
                FUZZ_CHECK(subnet.BitsCount(mode) == qBound(range.Minimum, prefix, range.Maximum));
            }
            break;
        }
        }
        CheckSubnet(subnet, inRange);
        CheckSupernet(supernet);
    }
    return 0;
}
