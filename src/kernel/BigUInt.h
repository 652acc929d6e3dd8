#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An unsigned integer of any size for counts that outgrow 64 bits (stellations, facetings,
// augmentation choices). Words are 32 bits, least significant first; a new value has no words and
// counts as zero. Leading zero words may remain after some operations and read as zero.
class BigUInt
{
public:
    BigUInt() = default;

    int NumWords() const { return int(mWords.size()); }
    uint32_t Word(int i) const { return mWords[size_t(i)]; }
    bool IsZero() const;

    // Leading white space is skipped; "0x" or "0X" starts hexadecimal, another leading 0 octal,
    // anything else decimal. Reading stops at the first character that is no digit of the base.
    void FromText(const char* text);

    void AddWord(uint32_t value);
    BigUInt& operator+=(const BigUInt& other);
    // A larger other value is an internal error and leaves zero.
    BigUInt& operator-=(const BigUInt& other);

    void ShiftLeft(int bits);
    void MulWord(uint32_t factor);
    // Returns the remainder; a divisor of 0 changes nothing and returns 0.
    uint32_t DivWord(uint32_t divisor);

    // Appends n zero words.
    void Grow(int n);
    // Drops leading zero words, keeping at least one.
    void Trim();

    // 1 for zero.
    int NumDecimalDigits() const;
    // The decimal text, or ">" and nines when it does not fit into size - 1 characters.
    // A size of 0 writes nothing.
    char* ToText(char* buffer, int size) const;

private:
    std::vector<uint32_t> mWords;
};
