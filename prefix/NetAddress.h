#pragma once

// IPv4 and IPv6 addresses and prefixes of the Prefix calculator, their text
// forms, and the readers of what a user types.
//
// An address is a family and a 128-bit value; an IPv4 address keeps its 32
// bits in the low end of the value, in host order (first octet most
// significant), and the rest stays zero.
//
// Text forms:
// - IPv4: dotted decimal without leading zeros.
// - IPv6: the RFC 5952 form: lower case, no leading zeros in a group, the
//   longest run of two or more zero groups written "::" (the first of equal
//   runs). IPv4-mapped addresses (::ffff:0:0/96) end in their IPv4 address,
//   "::ffff:192.0.2.1", as RFC 5952 section 5 recommends for them; every
//   other address is all hexadecimal, the deprecated IPv4-compatible ones
//   (::/96) included, so "::1:0" never reads as "::0.1.0.0".
// - IPv6 expanded: eight groups of four lower-case digits.

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include "prefix/UInt128.h"

class QHostAddress;

enum class TIPFamily : quint8 { ifIPv4, ifIPv6 };

// 32 or 128.
constexpr int AddressWidth(TIPFamily family)
{
    return family == TIPFamily::ifIPv4 ? 32 : 128;
}

class TNetAddress
{
public:
    constexpr TNetAddress() = default;
    // Bits of `value` above the family's width are dropped.
    constexpr TNetAddress(TIPFamily family, const TUInt128 &value)
        : FFamily(family), FValue(value & TUInt128::LowBits(AddressWidth(family)))
    {
    }
    static constexpr TNetAddress IPv4(quint32 value) { return {TIPFamily::ifIPv4, TUInt128(value)}; }
    static constexpr TNetAddress IPv6(quint64 high, quint64 low) { return {TIPFamily::ifIPv6, TUInt128(high, low)}; }
    // An IPv4 or IPv6 QHostAddress (any other is read as IPv6 ::).
    static TNetAddress FromQHostAddress(const QHostAddress &host);

    constexpr TIPFamily Family() const { return FFamily; }
    constexpr bool IsIPv4() const { return FFamily == TIPFamily::ifIPv4; }
    constexpr int Width() const { return AddressWidth(FFamily); }
    constexpr const TUInt128 &Value() const { return FValue; }
    // The IPv4 value; meaningful for IPv4 addresses only.
    constexpr quint32 IPv4Value() const { return quint32(FValue.Low()); }
    // ::ffff:0:0/96.
    constexpr bool IsIPv4Mapped() const
    {
        return FFamily == TIPFamily::ifIPv6 && FValue.High() == 0 && (FValue.Low() >> 32) == 0xFFFF;
    }

    QString Text() const;
    void AppendText(QString &out) const;
    // Text into `buffer` (MaxTextLength characters at least, no terminating
    // zero); returns its length. For the long tables, which format
    // millions of addresses.
    static constexpr int MaxTextLength = 45;
    int PutText(char16_t *buffer) const;
    // IPv6: eight four-digit groups; IPv4: as Text.
    QString ExpandedText() const;
    // The PTR name: "4.3.2.1.in-addr.arpa", or 32 nibbles and "ip6.arpa".
    QString ReversePointer() const;

    // IPv4 before IPv6, then by value.
    friend constexpr bool operator==(const TNetAddress &, const TNetAddress &) = default;
    friend constexpr std::strong_ordering operator<=>(const TNetAddress &, const TNetAddress &) = default;

private:
    TIPFamily FFamily = TIPFamily::ifIPv4;
    TUInt128 FValue;
};

// An address with a prefix length. The address is kept as entered, host
// bits included; Network() clears them.
class TNetPrefix
{
public:
    constexpr TNetPrefix() = default;
    // `length` is clamped to 0..width.
    constexpr TNetPrefix(const TNetAddress &address, int length)
        : FAddress(address), FLength(qBound(0, length, address.Width()))
    {
    }

    constexpr const TNetAddress &Address() const { return FAddress; }
    constexpr TIPFamily Family() const { return FAddress.Family(); }
    constexpr int Width() const { return FAddress.Width(); }
    constexpr int Length() const { return FLength; }
    // Set bits: the network part, then the host part.
    constexpr TUInt128 NetMask() const { return MaskOf(Width(), FLength); }
    constexpr TUInt128 HostMask() const { return TUInt128::LowBits(Width() - FLength); }
    constexpr TNetAddress Network() const { return {Family(), FAddress.Value() & NetMask()}; }
    constexpr TNetAddress Last() const { return {Family(), FAddress.Value() | HostMask()}; }
    constexpr TAddressCount Size() const { return TAddressCount::PowerOfTwo(Width() - FLength); }
    // Whether `other` lies wholly inside this prefix.
    constexpr bool Contains(const TNetPrefix &other) const
    {
        return other.Family() == Family() && other.FLength >= FLength
            && (other.FAddress.Value() & NetMask()) == Network().Value();
    }
    constexpr bool Contains(const TNetAddress &address) const
    {
        return address.Family() == Family() && (address.Value() & NetMask()) == Network().Value();
    }

    // "10.1.0.0/19" of the network.
    QString Text() const;
    void AppendText(QString &out) const;

    // The network mask, `length` ones from the top of a `width`-bit value.
    static constexpr TUInt128 MaskOf(int width, int length)
    {
        return TUInt128::LowBits(width) & ~TUInt128::LowBits(width - length);
    }

    friend constexpr bool operator==(const TNetPrefix &, const TNetPrefix &) = default;

private:
    TNetAddress FAddress;
    int FLength = 0;
};

// The outcome of reading typed text: the value, or a short message that
// says what is wrong ("prefix length 33 is out of range 0–32").
template <typename T>
struct TReadResult
{
    bool Ok = false;
    T Value{};
    QString Message;

    static TReadResult Success(const T &value) { return {true, value, {}}; }
    static TReadResult Failure(const QString &message) { return {false, {}, message}; }
};

// One address, IPv4 dotted decimal (exactly four octets 0–255 without
// leading zeros, so "010" is never read as octal or decimal by guess) or
// IPv6 (RFC 4291 text, embedded IPv4 at the end allowed, no zone index).
// Blanks around it are ignored.
TReadResult<TNetAddress> ReadAddress(QStringView text);

// The prefix entry: "10.1.2.3/19", "10.1.2.3 255.255.224.0",
// "10.1.2.3/255.255.224.0", "2001:db8::1/48", "::ffff:10.1.2.3/120", or an
// address alone (/32 or /128). Blanks around the parts are ignored. The
// address keeps its host bits.
TReadResult<TNetPrefix> ReadPrefix(QStringView text);

// An inclusive address range of one family.
struct TAddressRange
{
    TIPFamily Family = TIPFamily::ifIPv4;
    TUInt128 First;
    TUInt128 Last;

    friend bool operator==(const TAddressRange &, const TAddressRange &) = default;
};

// Whatever ReadPrefix reads (as its whole network) or a range "a - b" of
// one family with a <= b (blanks around the dash optional).
TReadResult<TAddressRange> ReadAddressRange(QStringView text);

// The fewest prefixes whose union is exactly [first, last] (first <= last),
// in address order, appended to `out`.
void AppendRangePrefixes(TIPFamily family, const TUInt128 &first, const TUInt128 &last, QList<TNetPrefix> &out);

// The longest prefix holding both `first` and `last`.
TNetPrefix CoveringPrefix(TIPFamily family, const TUInt128 &first, const TUInt128 &last);
