#pragma once

// Portable unsigned 128-bit arithmetic for IPv6 addresses, and the count of
// a set of addresses, which reaches 2^128 and so needs one value more.
//
// Both are plain pairs of 64-bit halves: no compiler-only integer type is
// used, so every compiler reads this header alike.

#include <bit>
#include <compare>
#include <optional>

#include <QString>
#include <QStringView>
#include <QtGlobal>

class TUInt128
{
public:
    constexpr TUInt128() = default;
    constexpr explicit TUInt128(quint64 low) : FLow(low) {}
    constexpr TUInt128(quint64 high, quint64 low) : FHigh(high), FLow(low) {}

    static constexpr TUInt128 Max() { return {~quint64(0), ~quint64(0)}; }
    // 2^n for n in 0..127; 0 beyond.
    static constexpr TUInt128 PowerOfTwo(int n) { return TUInt128(1) << n; }
    // The n lowest bits set (2^n - 1), n in 0..128.
    static constexpr TUInt128 LowBits(int n)
    {
        if (n <= 0)
            return {};
        if (n >= 128)
            return Max();
        return PowerOfTwo(n) - TUInt128(1);
    }

    constexpr quint64 High() const { return FHigh; }
    constexpr quint64 Low() const { return FLow; }
    constexpr bool IsZero() const { return (FHigh | FLow) == 0; }
    constexpr bool IsPowerOfTwo() const { return PopCount() == 1; }
    constexpr int PopCount() const { return std::popcount(FHigh) + std::popcount(FLow); }
    // 128 for zero.
    constexpr int CountLeadingZeros() const
    {
        return FHigh != 0 ? std::countl_zero(FHigh) : 64 + std::countl_zero(FLow);
    }
    constexpr int CountTrailingZeros() const
    {
        return FLow != 0 ? std::countr_zero(FLow) : 64 + std::countr_zero(FHigh);
    }
    // Bit n (0 the least significant), n in 0..127.
    constexpr bool Bit(int n) const { return n < 64 ? (FLow >> n) & 1 : (FHigh >> (n - 64)) & 1; }

    // Arithmetic wraps around modulo 2^128, like the built-in unsigned types.
    friend constexpr TUInt128 operator+(const TUInt128 &a, const TUInt128 &b)
    {
        const quint64 low = a.FLow + b.FLow;
        return {a.FHigh + b.FHigh + (low < a.FLow ? 1 : 0), low};
    }
    friend constexpr TUInt128 operator-(const TUInt128 &a, const TUInt128 &b)
    {
        return {a.FHigh - b.FHigh - (a.FLow < b.FLow ? 1 : 0), a.FLow - b.FLow};
    }
    constexpr TUInt128 &operator+=(const TUInt128 &b) { return *this = *this + b; }
    constexpr TUInt128 &operator-=(const TUInt128 &b) { return *this = *this - b; }

    // Shifts by 128 or more (or a negative count) give 0.
    friend constexpr TUInt128 operator<<(const TUInt128 &a, int n)
    {
        if (n <= 0)
            return n == 0 ? a : TUInt128();
        if (n >= 128)
            return {};
        if (n >= 64)
            return {a.FLow << (n - 64), 0};
        return {(a.FHigh << n) | (a.FLow >> (64 - n)), a.FLow << n};
    }
    friend constexpr TUInt128 operator>>(const TUInt128 &a, int n)
    {
        if (n <= 0)
            return n == 0 ? a : TUInt128();
        if (n >= 128)
            return {};
        if (n >= 64)
            return {0, a.FHigh >> (n - 64)};
        return {a.FHigh >> n, (a.FLow >> n) | (a.FHigh << (64 - n))};
    }
    friend constexpr TUInt128 operator~(const TUInt128 &a) { return {~a.FHigh, ~a.FLow}; }
    friend constexpr TUInt128 operator&(const TUInt128 &a, const TUInt128 &b)
    {
        return {a.FHigh & b.FHigh, a.FLow & b.FLow};
    }
    friend constexpr TUInt128 operator|(const TUInt128 &a, const TUInt128 &b)
    {
        return {a.FHigh | b.FHigh, a.FLow | b.FLow};
    }
    friend constexpr TUInt128 operator^(const TUInt128 &a, const TUInt128 &b)
    {
        return {a.FHigh ^ b.FHigh, a.FLow ^ b.FLow};
    }

    // Members compare in declaration order: the high half first.
    friend constexpr bool operator==(const TUInt128 &, const TUInt128 &) = default;
    friend constexpr std::strong_ordering operator<=>(const TUInt128 &, const TUInt128 &) = default;

    // Whether a + b leaves the 128 bits; `sum` gets the wrapped sum.
    static constexpr bool AddOverflows(const TUInt128 &a, const TUInt128 &b, TUInt128 &sum)
    {
        sum = a + b;
        return sum < a;
    }

    // Decimal digits, no leading zeros ("0" for zero); at most 39 digits.
    QString DecimalText() const;
    void AppendDecimal(QString &out) const;
    // The digits into `buffer` (MaxDecimalLength characters at least, no
    // terminating zero); returns how many.
    static constexpr int MaxDecimalLength = 39;
    int PutDecimal(char16_t *buffer) const;
    // ASCII digits only (no sign, no blanks, leading zeros allowed); nothing
    // when the text is empty, holds anything else, or exceeds 2^128 - 1.
    static std::optional<TUInt128> FromDecimal(QStringView text);

private:
    quint64 FHigh = 0;
    quint64 FLow = 0;
};

// The number of addresses in a set: 0 to 2^128 inclusive. 2^128 is the one
// value that needs the 129th bit, so it is kept as a flag beside a zero
// value.
class TAddressCount
{
public:
    constexpr TAddressCount() = default;
    constexpr explicit TAddressCount(const TUInt128 &value) : FValue(value) {}

    // 2^n for n in 0..128.
    static constexpr TAddressCount PowerOfTwo(int n)
    {
        TAddressCount count;
        if (n >= 128)
            count.FFull = true;
        else
            count.FValue = TUInt128::PowerOfTwo(n);
        return count;
    }
    // The size of [first, last], first <= last: last - first + 1.
    static constexpr TAddressCount OfRange(const TUInt128 &first, const TUInt128 &last)
    {
        TAddressCount count(last - first);
        return count.Incremented();
    }

    // 2^128.
    constexpr bool IsFull() const { return FFull; }
    constexpr bool IsZero() const { return !FFull && FValue.IsZero(); }
    // The value below 2^128 (0 for 2^128 itself).
    constexpr const TUInt128 &Value() const { return FValue; }
    // n when the count is 2^n.
    constexpr std::optional<int> Log2() const
    {
        if (FFull)
            return 128;
        if (!FValue.IsPowerOfTwo())
            return std::nullopt;
        return FValue.CountTrailingZeros();
    }

    // Sums of counts of disjoint sets of one family never pass 2^128; a sum
    // that would is held at 2^128.
    constexpr TAddressCount &operator+=(const TAddressCount &b)
    {
        TUInt128 sum;
        const bool carry = TUInt128::AddOverflows(FValue, b.FValue, sum);
        if (FFull || b.FFull || carry) {
            // Exactly 2^128 when the halves carry out to zero; held there
            // otherwise.
            FFull = true;
            FValue = TUInt128();
            return *this;
        }
        FValue = sum;
        return *this;
    }
    friend constexpr TAddressCount operator+(TAddressCount a, const TAddressCount &b) { return a += b; }
    constexpr TAddressCount Incremented() const
    {
        if (FFull)
            return *this;
        if (FValue == TUInt128::Max())
            return PowerOfTwo(128);
        return TAddressCount(FValue + TUInt128(1));
    }

    friend constexpr bool operator==(const TAddressCount &, const TAddressCount &) = default;
    friend constexpr std::strong_ordering operator<=>(const TAddressCount &a, const TAddressCount &b)
    {
        if (a.FFull != b.FFull)
            return a.FFull ? std::strong_ordering::greater : std::strong_ordering::less;
        return a.FValue <=> b.FValue;
    }

    // Exact decimal text, up to the 39 digits of 2^128.
    QString DecimalText() const;
    // As DecimalText, with " (2^n)" added when the count is a power of two.
    QString TextWithPower() const;
    // As TUInt128::FromDecimal, reaching 2^128.
    static std::optional<TAddressCount> FromDecimal(QStringView text);

private:
    bool FFull = false;
    TUInt128 FValue;
};
