#include "ipsubnet/IPAddress.h"

#include <algorithm>
#include <string_view>

#include <QStringList>

#include "app/VorlGlobal.h"

namespace {

constexpr quint8 LoopbackOctet = 127;

quint8 FirstOctet(quint32 value)
{
    return static_cast<quint8>(value >> 24);
}

// 2 to the power `bits`, for bits 0 to 31.
quint32 PowerOfTwo(int bits)
{
    return quint32(1) << bits;
}

// TIPAddress::FormatDecimal written straight into a buffer: the Subnets/Hosts
// table makes two of these per row for up to 16385 rows, and formatting
// through QString::arg would cost most of the fill.
QChar *AppendDottedDecimal(QChar *out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        const uint octet = (value >> shift) & 0xFF;
        if (octet >= 100)
            *out++ = QChar(u'0' + octet / 100);
        if (octet >= 10)
            *out++ = QChar(u'0' + octet / 10 % 10);
        *out++ = QChar(u'0' + octet % 10);
        if (shift > 0)
            *out++ = u'.';
    }
    return out;
}

} // namespace

QString HostRangeText(quint32 first, quint32 last)
{
    // Two addresses of at most 15 characters and the 5 of the separator.
    QChar buffer[35];
    QChar *out = AppendDottedDecimal(buffer, first);
    for (char16_t c : std::u16string_view(u"  -  "))
        *out++ = c;
    out = AppendDottedDecimal(out, last);
    return QString(buffer, out - buffer);
}

quint8 ReadOctetText(TOctetBox box, quint8 index, const QString &text)
{
    if (index > 3)
        RaiseError(QStringLiteral("Invalid TIPAddress Byte Index"));
    const bool subnetLastOctet = box == TOctetBox::obSubnetAddress && index == 3;
    const int lowest = subnetLastOctet ? 1 : 0;
    const int highest = index == 0 ? HighestNetworkOctet : subnetLastOctet ? 254 : 255;
    // The fields take at most three digits, so toInt's failure value 0 and
    // its overflow are reached only by text no field can hold.
    const int number = text.isEmpty() ? (index == 0 ? 1 : 0) : text.toInt();
    return quint8(std::clamp(number, lowest, highest));
}

// --- TIPAddress ---

void TIPAddress::CheckByteIndex(quint8 index)
{
    if (index > 3)
        RaiseError(QStringLiteral("Invalid TIPAddress Byte Index"));
}

quint32 TIPAddress::WithByte(quint32 value, quint8 index, quint8 octet)
{
    const int shift = 8 * (3 - index);
    return (value & ~(quint32(0xFF) << shift)) | (quint32(octet) << shift);
}

quint8 TIPAddress::GetByte(quint8 index) const
{
    CheckByteIndex(index);
    return static_cast<quint8>(FValue >> (8 * (3 - index)));
}

void TIPAddress::SetByte(quint8 index, quint8 octet)
{
    CheckByteIndex(index);
    FValue = WithByte(FValue, index, octet);
}

void TIPAddress::SetValue(quint32 value)
{
    FValue = value;
}

QString TIPAddress::FormatDecimal(quint32 value)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

QString TIPAddress::FormatHex(quint32 value)
{
    QStringList octets;
    for (int shift = 24; shift >= 0; shift -= 8)
        octets << QStringLiteral("%1").arg((value >> shift) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    return octets.join(QLatin1Char('.'));
}

// --- TIPAddClass ---

TIPClassType TIPAddClass::ClassOfFirstOctet(quint8 octet)
{
    if (octet < 128)
        return TIPClassType::icClassA;
    if (octet < 192)
        return TIPClassType::icClassB;
    if (octet < 224)
        return TIPClassType::icClassC;
    if (octet < 240)
        return TIPClassType::icClassD;
    return TIPClassType::icClassE;
}

quint8 TIPAddClass::NetworkBitsOf(TIPClassType classType)
{
    switch (classType) {
    case TIPClassType::icClassA: return 8;
    case TIPClassType::icClassB: return 16;
    case TIPClassType::icClassC: return 24;
    default: return 0;
    }
}

quint8 TIPAddClass::FirstOctetOf(TIPClassType classType)
{
    switch (classType) {
    case TIPClassType::icClassA: return 1;
    case TIPClassType::icClassB: return 128;
    case TIPClassType::icClassC: return 192;
    case TIPClassType::icClassD: return 224;
    default: return 240;
    }
}

void TIPAddClass::SetClassFromFirstOctet(quint8 octet)
{
    FClassType = ClassOfFirstOctet(octet);
    FNetworkBits = NetworkBitsOf(FClassType);
}

void TIPAddClass::SetByte(quint8 index, quint8 octet)
{
    CheckByteIndex(index);
    if (index == 0 && octet != GetByte(0))
        SetClassFromFirstOctet(octet);
    TIPAddress::SetByte(index, octet);
}

void TIPAddClass::SetValue(quint32 value)
{
    TIPAddress::SetValue(value);
    SetClassFromFirstOctet(FirstOctet(value));
}

void TIPAddClass::SetClassType(TIPClassType classType)
{
    if (static_cast<quint8>(classType) > static_cast<quint8>(TIPClassType::icClassE))
        RaiseError(QStringLiteral("Invalid TIPAddClass Class Type"));
    if (classType == FClassType)
        return;
    FNetworkBits = NetworkBitsOf(classType);
    FValue = WithByte(FValue, 0, FirstOctetOf(classType));
    FClassType = classType;
}

QChar TIPAddClass::ClassLetter() const
{
    return QChar(u'A' + static_cast<char16_t>(FClassType));
}

void TIPAddClass::SetClassLetter(QChar letter)
{
    if (letter < u'A' || letter > u'E')
        RaiseError(QStringLiteral("Range check error"));
    SetClassType(static_cast<TIPClassType>(letter.unicode() - u'A'));
}

// --- TIPAddMask ---

TIPAddMask::TIPAddMask()
    : FClassMask(MakeMask(31, FNetworkBits))
{
}

quint32 TIPAddMask::MakeMask(quint8 startBit, quint8 numBits)
{
    if (startBit >= 32 || numBits > 32)
        RaiseError(QStringLiteral("Invalid TIPAddMask StartBit or NumBits Value"));
    const quint64 ones = (quint64(1) << numBits) - 1;
    const int shift = int(startBit) - int(numBits) + 1;
    // A run longer than the bits below startBit loses its low end.
    return static_cast<quint32>(shift >= 0 ? ones << shift : ones >> -shift);
}

void TIPAddMask::UpdateClassMask()
{
    FClassMask.SetValue(MakeMask(31, FNetworkBits));
}

void TIPAddMask::SetByte(quint8 index, quint8 octet)
{
    TIPAddClass::SetByte(index, octet);
    UpdateClassMask();
}

void TIPAddMask::SetValue(quint32 value)
{
    TIPAddClass::SetValue(value);
    UpdateClassMask();
}

void TIPAddMask::SetClassType(TIPClassType classType)
{
    TIPAddClass::SetClassType(classType);
    UpdateClassMask();
}

// --- TIPAddNetwork ---

void TIPAddNetwork::SetByte(quint8 index, quint8 octet)
{
    if (index == 0) {
        if (octet == 0)
            octet = 1;
        else if (octet == LoopbackOctet)
            octet = LoopbackOctet - 1;
        else if (octet > HighestNetworkOctet)
            octet = HighestNetworkOctet;
    }
    TIPAddMask::SetByte(index, octet);
}

void TIPAddNetwork::SetValue(quint32 value)
{
    if (FirstOctet(value) > HighestNetworkOctet)
        value = WithByte(value, 0, HighestNetworkOctet);
    TIPAddMask::SetValue(value);
}

void TIPAddNetwork::SetClassType(TIPClassType classType)
{
    if (static_cast<quint8>(classType) > static_cast<quint8>(TIPClassType::icClassC))
        classType = TIPClassType::icClassC;
    TIPAddMask::SetClassType(classType);
}

// --- TIPAddSubnet ---

TIPAddSubnet::TIPAddSubnet()
{
    FValue = 0x80000001;
    FClassType = TIPClassType::icClassB;
    FNetworkBits = 16;
    UpdateClassMask();
    UpdateSubnetMasks();
}

void TIPAddSubnet::UpdateSubnetMasks()
{
    FMaxSubnetBits = 30 - FNetworkBits;
    FBitsMask.SetValue(MakeMask(31 - FNetworkBits, FSubnetBits));
    FSubnetMask.SetValue(FClassMask.GetValue() | FBitsMask.GetValue());
}

void TIPAddSubnet::SetByte(quint8 index, quint8 octet)
{
    if (octet == GetByte(index))
        return;
    ApplyByte(index, octet);
}

void TIPAddSubnet::ApplyByte(quint8 index, quint8 octet)
{
    TIPAddNetwork::SetByte(index, octet);
    if (FClassType == TIPClassType::icClassB && FSubnetBits > 14)
        SetSubnetBits(14);
    else if (FClassType == TIPClassType::icClassC && FSubnetBits > 6)
        SetSubnetBits(6);
    UpdateSubnetMasks();
    ClampToRange();
}

void TIPAddSubnet::SetValue(quint32 value)
{
    // The first octet is cleared so that the octet rules below always see a
    // change and apply: a stored first octet of 0 becomes 1 like a typed one.
    FValue = value & 0x00FFFFFF;
    ApplyByte(0, FirstOctet(value));
}

void TIPAddSubnet::ChangeClassType(TIPClassType classType)
{
    if (classType == FClassType)
        return;
    TIPAddNetwork::SetClassType(classType);
    FMaxSubnetBits = 30 - FNetworkBits;
    FSubnetBits = std::min(FSubnetBits, FMaxSubnetBits);
    UpdateSubnetMasks();
}

void TIPAddSubnet::SetClassType(TIPClassType classType)
{
    if (classType == FClassType)
        return;
    ChangeClassType(classType);
    ClampToRange();
}

void TIPAddSubnet::SetSubnetBits(quint8 count)
{
    count = std::clamp<quint8>(count, 1, 22);
    if (count == FSubnetBits)
        return;
    if (count > FSubnetBits) {
        if (count >= 7 && count <= 14 && FClassType == TIPClassType::icClassC)
            ChangeClassType(TIPClassType::icClassB);
        else if (count >= 15)
            ChangeClassType(TIPClassType::icClassA);
    }
    FSubnetBits = count;
    UpdateSubnetMasks();
    ClampToRange();
}

void TIPAddSubnet::SetRFC1878(bool value)
{
    FRFC1878 = value;
    ClampToRange();
}

void TIPAddSubnet::ClampToRange()
{
    if (FRFC1878)
        return;
    const quint32 first = AllocationFirst();
    const quint32 last = AllocationLast();
    if (FValue < first)
        FValue = first;
    else if (FValue > last)
        FValue = last;
}

int TIPAddSubnet::BitsCount(TBitsMode mode) const
{
    const int base = mode == TBitsMode::bmNetworkBits ? FNetworkBits : 0;
    return base + FSubnetBits;
}

TBitsRange TIPAddSubnet::BitsRange(TBitsMode mode) const
{
    const int base = mode == TBitsMode::bmNetworkBits ? FNetworkBits : 0;
    return {base + MinSubnetBits(), base + FMaxSubnetBits};
}

bool TIPAddSubnet::SetBitsCount(TBitsMode mode, int count)
{
    if (count == BitsCount(mode))
        return false;
    const int subnetBits = mode == TBitsMode::bmNetworkBits ? count - FNetworkBits : count;
    if (subnetBits <= 0 && mode == TBitsMode::bmNetworkBits)
        return false;
    SetSubnetBits(quint8(std::clamp(subnetBits, 0, 255)));
    return true;
}

void TIPAddSubnet::KeepPrefixLength(TBitsMode mode, int prefix)
{
    if (mode != TBitsMode::bmNetworkBits)
        return;
    const TBitsRange range = BitsRange(mode);
    SetBitsCount(mode, std::clamp(prefix, range.Minimum, range.Maximum));
}

void TIPAddSubnet::SetClassTypeKeepingBits(TBitsMode mode, TIPClassType classType)
{
    const int prefix = BitsCount(TBitsMode::bmNetworkBits);
    SetClassType(classType);
    KeepPrefixLength(mode, prefix);
}

void TIPAddSubnet::SetOctetText(TBitsMode mode, quint8 index, const QString &text)
{
    const int prefix = BitsCount(TBitsMode::bmNetworkBits);
    SetByte(index, ReadOctetText(TOctetBox::obSubnetAddress, index, text));
    if (index == 0)
        KeepPrefixLength(mode, prefix);
}

bool TIPAddSubnet::RaiseToMinSubnetBits()
{
    if (FSubnetBits >= MinSubnetBits())
        return false;
    SetSubnetBits(MinSubnetBits());
    return true;
}

quint8 TIPAddSubnet::HostBits() const
{
    return 32 - FNetworkBits - FSubnetBits;
}

quint32 TIPAddSubnet::MaxSubnets() const
{
    const quint32 all = PowerOfTwo(FSubnetBits);
    return FRFC1878 ? all : all - 2;
}

quint32 TIPAddSubnet::MaxHosts() const
{
    return PowerOfTwo(HostBits()) - 2;
}

quint32 TIPAddSubnet::NetworkID() const
{
    return FValue & FSubnetMask.GetValue();
}

quint32 TIPAddSubnet::SubnetID() const
{
    return FValue & FBitsMask.GetValue();
}

quint32 TIPAddSubnet::HostID() const
{
    return FValue & ~FSubnetMask.GetValue();
}

quint32 TIPAddSubnet::FirstHost() const
{
    return (FValue & FSubnetMask.GetValue()) + 1;
}

quint32 TIPAddSubnet::LastHost() const
{
    return (FValue | ~FSubnetMask.GetValue()) - 1;
}

quint32 TIPAddSubnet::AllocationFirst() const
{
    const quint32 skipped = FRFC1878 ? 0 : PowerOfTwo(HostBits());
    return (FValue & FClassMask.GetValue()) | skipped | 1;
}

quint32 TIPAddSubnet::AllocationLast() const
{
    const quint32 subnetSize = PowerOfTwo(HostBits());
    quint32 lastSubnet = (PowerOfTwo(FSubnetBits) - 1) * subnetSize;
    if (!FRFC1878)
        lastSubnet -= subnetSize;
    return (FValue & FClassMask.GetValue()) | lastSubnet | (subnetSize - 2);
}

QString TIPAddSubnet::BitMap() const
{
    QString bits;
    switch (FClassType) {
    case TIPClassType::icClassA: bits = QStringLiteral("0"); break;
    case TIPClassType::icClassB: bits = QStringLiteral("10"); break;
    default: bits = QStringLiteral("110"); break;
    }
    bits = bits.leftJustified(FNetworkBits, u'n');
    bits += QString(FSubnetBits, u's');
    bits = bits.leftJustified(32, u'h');
    for (int position = 8; position < bits.size(); position += 9)
        bits.insert(position, u'.');
    return bits;
}

// --- TIPAddSupernet ---

TIPAddSupernet::TIPAddSupernet()
{
    FValue = 0xC0000001;
    FClassType = TIPClassType::icClassC;
    FNetworkBits = 24;
    UpdateClassMask();
    FBitsMask.SetValue(MakeMask(31, FSupernetBits));
}

void TIPAddSupernet::SetClassType(TIPClassType classType)
{
    if (classType == FClassType)
        return;
    TIPAddNetwork::SetClassType(classType);
    if (FSupernetBits > FNetworkBits - 1)
        FSupernetBits = FNetworkBits - 1;
    FBitsMask.SetValue(MakeMask(31, FSupernetBits));
}

void TIPAddSupernet::SetSupernetBits(quint8 count)
{
    count = quint8(std::clamp<int>(count, BitsRange().Minimum, BitsRange().Maximum));
    if (count == FSupernetBits)
        return;
    if (count < FSupernetBits) {
        if (count == 1)
            SetClassType(TIPClassType::icClassA);
        else if (count == 2)
            SetClassType(TIPClassType::icClassB);
    } else {
        if (count >= 9 && count <= 16)
            SetClassType(TIPClassType::icClassB);
        else if (count >= 17)
            SetClassType(TIPClassType::icClassC);
    }
    FSupernetBits = count;
    FBitsMask.SetValue(MakeMask(31, FSupernetBits));
}

void TIPAddSupernet::SetOctetText(quint8 index, const QString &text)
{
    SetByte(index, ReadOctetText(TOctetBox::obSupernetAddress, index, text));
}

quint32 TIPAddSupernet::Route() const
{
    return FValue & FBitsMask.GetValue();
}

quint32 TIPAddSupernet::LastAddress() const
{
    return FValue | ~FBitsMask.GetValue();
}

quint32 TIPAddSupernet::NumNetworks() const
{
    if (FSupernetBits > FNetworkBits)
        return 0;
    return PowerOfTwo(FNetworkBits - FSupernetBits);
}
