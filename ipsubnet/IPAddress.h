#pragma once

// Classful IPv4 value classes. Every state change goes through the virtual
// setters, and each override calls the inherited setter, so a subclass keeps
// its derived state (class, masks, bit counts) consistent whatever is set.
//
// Addresses are 32-bit values in host byte order with the first (leftmost)
// octet in the most significant byte; octet index 0 is that first octet.

#include <QtGlobal>
#include <QChar>
#include <QString>

// Keep the ordinals: they index the class selector and the stored settings.
enum class TIPClassType : quint8 { icClassA, icClassB, icClassC, icClassD, icClassE };

// The first octet of class C's last network; above it lie classes D and E,
// which hold no networks.
constexpr quint8 HighestNetworkOctet = 223;

class TIPAddress
{
public:
    TIPAddress() = default;
    explicit TIPAddress(quint32 value) : FValue(value) {}
    virtual ~TIPAddress() = default;
    TIPAddress(const TIPAddress &) = default;
    TIPAddress &operator=(const TIPAddress &) = default;

    // Index 0 to 3; a larger index raises "Invalid TIPAddress Byte Index".
    quint8 GetByte(quint8 index) const;
    virtual void SetByte(quint8 index, quint8 octet);
    quint32 GetValue() const { return FValue; }
    virtual void SetValue(quint32 value);

    QString DecimalText() const { return FormatDecimal(FValue); }
    QString HexText() const { return FormatHex(FValue); }

    // "255.255.255.0": decimal octets without leading zeros.
    static QString FormatDecimal(quint32 value);
    // "FF.FF.FF.00": two upper-case hexadecimal digits per octet.
    static QString FormatHex(quint32 value);

protected:
    static void CheckByteIndex(quint8 index);
    static quint32 WithByte(quint32 value, quint8 index, quint8 octet);

    quint32 FValue = 0;
};

// "first  -  last", both dotted decimal: an address range as the pages
// and the Subnets/Hosts table show it.
QString HostRangeText(quint32 first, quint32 last);

// The calculator's two address entry boxes: the subnet's address (Address
// Info page) and the supernet's (CIDR page).
enum class TOctetBox : quint8 { obSubnetAddress, obSupernetAddress };

// The octet that the text of octet field `index` (0 to 3, first octet
// first) of `box` sets. The text reads as a decimal number; an empty field
// counts as 1 in the first octet and 0 elsewhere, and one that is no number
// as 0. The number is then brought into the field's range: a first octet
// stops at HighestNetworkOctet, the last octet of a subnet address keeps
// to 1 ... 254 (never the subnet itself or its broadcast), every other
// octet to 0 ... 255. A first octet of 0 or 127 is left to the address
// model's network rules. An index above 3 raises "Invalid TIPAddress Byte
// Index".
quint8 ReadOctetText(TOctetBox box, quint8 index, const QString &text);

// What a count of bits entered for a subnet stands for: the subnet bits
// themselves, or the network prefix length (the class's network bits plus
// the subnet bits).
enum class TBitsMode : quint8 { bmSubnetBits, bmNetworkBits };

// The counts, Minimum to Maximum, that a count of bits may take.
struct TBitsRange
{
    int Minimum = 0;
    int Maximum = 0;
    bool operator==(const TBitsRange &) const = default;
};

// An address that knows its class, A to E, from its first octet.
class TIPAddClass : public TIPAddress
{
public:
    TIPAddClass() = default;

    void SetByte(quint8 index, quint8 octet) override;
    void SetValue(quint32 value) override;
    // A value above icClassE raises "Invalid TIPAddClass Class Type". Another
    // class replaces the first octet by the class's lowest first octet.
    virtual void SetClassType(TIPClassType classType);

    TIPClassType ClassType() const { return FClassType; }
    quint8 NetworkBits() const { return FNetworkBits; }
    QChar ClassLetter() const;
    // "A" to "E" through the virtual SetClassType; anything else raises
    // "Range check error".
    void SetClassLetter(QChar letter);

    static TIPClassType ClassOfFirstOctet(quint8 octet);
    // 8, 16, 24 for A, B, C; 0 for D and E.
    static quint8 NetworkBitsOf(TIPClassType classType);
    // 1, 128, 192, 224, 240.
    static quint8 FirstOctetOf(TIPClassType classType);

protected:
    void SetClassFromFirstOctet(quint8 octet);

    TIPClassType FClassType = TIPClassType::icClassA;
    quint8 FNetworkBits = 8;
};

// Adds the classful mask and a second mask whose meaning the subnet and
// supernet models give it.
class TIPAddMask : public TIPAddClass
{
public:
    TIPAddMask();

    void SetByte(quint8 index, quint8 octet) override;
    void SetValue(quint32 value) override;
    void SetClassType(TIPClassType classType) override;

    const TIPAddress &ClassMask() const { return FClassMask; }
    const TIPAddress &BitsMask() const { return FBitsMask; }

    // numBits one bits whose highest is bit startBit (31 is the most
    // significant). startBit 32 or more, or numBits above 32, raises
    // "Invalid TIPAddMask StartBit or NumBits Value".
    static quint32 MakeMask(quint8 startBit, quint8 numBits);

protected:
    void UpdateClassMask();

    TIPAddress FClassMask;
    TIPAddress FBitsMask;
};

// The usable network classes A to C only; the first octet never becomes
// the reserved 0 or 127 when it is set on its own.
class TIPAddNetwork : public TIPAddMask
{
public:
    TIPAddNetwork() = default;

    // Octet 0: 0 becomes 1, 127 becomes 126, above 223 becomes 223.
    void SetByte(quint8 index, quint8 octet) override;
    // A first octet above 223 becomes 223; 0 and 127 pass.
    void SetValue(quint32 value) override;
    // Classes above C become C.
    void SetClassType(TIPClassType classType) override;
};

// A classful network divided into subnets by FSubnetBits, with or without
// the RFC 1878 allowance (one subnet bit; the all-zeros and all-ones subnets
// usable). Without the allowance the address is kept inside the usable
// allocation range.
class TIPAddSubnet : public TIPAddNetwork
{
public:
    // 128.0.0.1, class B, 8 subnet bits, RFC 1878 off.
    TIPAddSubnet();

    void SetByte(quint8 index, quint8 octet) override;
    // Applies the first octet through the octet rules, so 0 becomes 1 and
    // the class follows the stored first octet.
    void SetValue(quint32 value) override;
    // Cuts the subnet bits to the new class's maximum, then clamps.
    void SetClassType(TIPClassType classType) override;
    // 0 becomes 1, above 22 becomes 22; growing beyond the class's room
    // switches to a class with more host bits (C to B, B or C to A).
    virtual void SetSubnetBits(quint8 count);
    void SetRFC1878(bool value);
    // Without the allowance: below AllocationFirst or above AllocationLast
    // moves to that bound.
    void ClampToRange();

    // The count of `mode`: the subnet bits, or the prefix length.
    int BitsCount(TBitsMode mode) const;
    // The counts of `mode` this class and allowance can hold: MinSubnetBits
    // to MaxSubnetBits subnet bits, or the network bits plus those (always
    // up to 30).
    TBitsRange BitsRange(TBitsMode mode) const;
    // A count entered in `mode`. In network-bits mode a prefix no longer
    // than the network bits holds no subnet and is ignored. True when the
    // count differed from BitsCount and was applied through SetSubnetBits.
    bool SetBitsCount(TBitsMode mode, int count);
    // SetClassType keeping the count of `mode` where the new class allows
    // it: the subnet bits are cut to the class's maximum as ever; in
    // network-bits mode the prefix length is then brought into the new
    // class's BitsRange (class B /24 to class C gives /26, and back /26).
    void SetClassTypeKeepingBits(TBitsMode mode, TIPClassType classType);
    // The text of octet field `index` of the subnet's entry box, read by
    // ReadOctetText. A first octet of another class keeps the count of
    // `mode` as SetClassTypeKeepingBits does.
    void SetOctetText(TBitsMode mode, quint8 index, const QString &text);
    // One subnet bit without the allowance lies below MinSubnetBits (the
    // allowance went off, or a store held it): raised to MinSubnetBits.
    // True when it was.
    bool RaiseToMinSubnetBits();

    bool RFC1878() const { return FRFC1878; }
    quint8 SubnetBits() const { return FSubnetBits; }
    // Always 30 minus the network bits: 22, 14, 6 for A, B, C.
    quint8 MaxSubnetBits() const { return FMaxSubnetBits; }
    const TIPAddress &SubnetMask() const { return FSubnetMask; }

    quint8 HostBits() const;
    quint8 MinSubnetBits() const { return FRFC1878 ? 1 : 2; }
    quint32 MaxSubnets() const;
    quint32 MaxHosts() const;
    quint32 NetworkID() const;
    quint32 SubnetID() const;
    quint32 HostID() const;
    // The first and last host of the address's own subnet.
    quint32 FirstHost() const;
    quint32 LastHost() const;
    // The first host of the first usable subnet, the last of the last.
    quint32 AllocationFirst() const;
    quint32 AllocationLast() const;
    // 32 letters n/s/h (with the class's leading 0, 10 or 110) in four
    // dot-separated groups of eight: "10nnnnnn.nnnnnnnn.ssssssss.hhhhhhhh".
    QString BitMap() const;

private:
    void ApplyByte(quint8 index, quint8 octet);
    // In network-bits mode, the prefix length `prefix` of the class before a
    // class change, brought into the BitsRange of the class now held.
    void KeepPrefixLength(TBitsMode mode, int prefix);
    // The class change of SetClassType without the clamp, for callers that
    // clamp once their own change is complete.
    void ChangeClassType(TIPClassType classType);
    void UpdateSubnetMasks();

    bool FRFC1878 = false;
    quint8 FMaxSubnetBits = 14;
    quint8 FSubnetBits = 8;
    TIPAddress FSubnetMask;
};

// Classful networks aggregated under a shorter prefix. Changing the address
// changes neither the supernet bits nor the supernet mask (FBitsMask).
class TIPAddSupernet : public TIPAddNetwork
{
public:
    // 192.0.0.1, class C, 23 supernet bits.
    TIPAddSupernet();

    // Cuts the supernet bits to the new class's network bits minus 1.
    void SetClassType(TIPClassType classType) override;
    // 0 becomes 1, above 24 becomes 24; may select another class (and so a
    // new first octet) before the count is stored.
    virtual void SetSupernetBits(quint8 count);
    // The counts SetSupernetBits keeps.
    static constexpr TBitsRange BitsRange() { return {1, 24}; }
    // The text of octet field `index` of the CIDR page's entry box, read by
    // ReadOctetText; the first octet then follows the network rules.
    void SetOctetText(quint8 index, const QString &text);

    quint8 SupernetBits() const { return FSupernetBits; }
    quint32 Route() const;
    quint32 LastAddress() const;
    // Classful networks covered: 2 to the power (network bits minus supernet
    // bits); 0 when the prefix is longer than the class's network part.
    quint32 NumNetworks() const;

private:
    quint8 FSupernetBits = 23;
};
