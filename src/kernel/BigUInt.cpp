#include "kernel/BigUInt.h"

#include "kernel/Messages.h"

#include <algorithm>
#include <cstring>

namespace
{
int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
}  // namespace

bool BigUInt::IsZero() const
{
    for (uint32_t w : mWords)
        if (w)
            return false;
    return true;
}

void BigUInt::FromText(const char* text)
{
    mWords.assign(1, 0);
    if (!text)
        return;
    while (IsBlank(*text))
        ++text;
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    {
        base = 16;
        text += 2;
    }
    else if (text[0] == '0')
    {
        base = 8;
        ++text;
    }
    for (; *text; ++text)
    {
        const int digit = DigitValue(*text);
        if (digit >= base)
            break;
        if (base == 10)
            MulWord(10);
        else
            ShiftLeft(base == 16 ? 4 : 3);
        AddWord(uint32_t(digit));
    }
}

void BigUInt::AddWord(uint32_t value)
{
    uint64_t carry = value;
    for (size_t i = 0; carry && i < mWords.size(); ++i)
    {
        const uint64_t sum = uint64_t(mWords[i]) + carry;
        mWords[i] = uint32_t(sum);
        carry = sum >> 32;
    }
    if (carry || mWords.empty())
        mWords.push_back(uint32_t(carry));
}

BigUInt& BigUInt::operator+=(const BigUInt& other)
{
    const size_t n = std::max(mWords.size(), other.mWords.size());
    mWords.resize(n + 1, 0);
    uint64_t carry = 0;
    for (size_t i = 0; i <= n; ++i)
    {
        const uint64_t sum = uint64_t(mWords[i]) + (i < other.mWords.size() ? other.mWords[i] : 0) + carry;
        mWords[i] = uint32_t(sum);
        carry = sum >> 32;
    }
    Trim();
    return *this;
}

BigUInt& BigUInt::operator-=(const BigUInt& other)
{
    bool negative = false;
    for (size_t i = mWords.size(); i < other.mWords.size(); ++i)
        negative = negative || other.mWords[i] != 0;
    uint32_t borrow = 0;
    for (size_t i = 0; i < mWords.size() && !negative; ++i)
    {
        const uint64_t take = uint64_t(i < other.mWords.size() ? other.mWords[i] : 0) + borrow;
        borrow = uint64_t(mWords[i]) < take;
        mWords[i] = uint32_t(uint64_t(mWords[i]) - take);
    }
    if (negative || borrow)
    {
        InternalError("BigUInt::operator-=: must not become negative");
        mWords.assign(1, 0);
    }
    else if (mWords.empty())
        mWords.push_back(0);
    return *this;
}

void BigUInt::ShiftLeft(int bits)
{
    if (mWords.empty())
        mWords.push_back(0);
    if (bits <= 0)
        return;
    mWords.insert(mWords.begin(), size_t(bits / 32), 0u);
    bits %= 32;
    if (bits == 0)
        return;
    if (mWords.back() >> (32 - bits))
        mWords.push_back(0);
    for (size_t i = mWords.size(); i-- > 0;)
        mWords[i] = (mWords[i] << bits) | (i ? mWords[i - 1] >> (32 - bits) : 0);
}

void BigUInt::MulWord(uint32_t factor)
{
    // Whole words with a 64-bit product: the same result as working on half-words, and valid for
    // every 32-bit factor.
    uint64_t carry = 0;
    for (uint32_t& w : mWords)
    {
        const uint64_t p = uint64_t(w) * factor + carry;
        w = uint32_t(p);
        carry = p >> 32;
    }
    if (carry || mWords.empty())
        mWords.push_back(uint32_t(carry));
}

uint32_t BigUInt::DivWord(uint32_t divisor)
{
    if (divisor == 0)
        return 0;
    uint64_t remainder = 0;
    for (size_t i = mWords.size(); i-- > 0;)
    {
        const uint64_t t = (remainder << 32) | mWords[i];
        mWords[i] = uint32_t(t / divisor);
        remainder = t % divisor;
    }
    Trim();
    return uint32_t(remainder);
}

void BigUInt::Grow(int n)
{
    if (n > 0)
        mWords.resize(mWords.size() + size_t(n), 0);
}

void BigUInt::Trim()
{
    while (mWords.size() > 1 && mWords.back() == 0)
        mWords.pop_back();
    if (mWords.empty())
        mWords.push_back(0);
}

int BigUInt::NumDecimalDigits() const
{
    BigUInt rest = *this;
    int digits = 0;
    do
    {
        rest.DivWord(10);
        ++digits;
    } while (!rest.IsZero());
    return digits;
}

char* BigUInt::ToText(char* buffer, int size) const
{
    if (!buffer || size <= 0)
        return buffer;
    const int n = NumDecimalDigits();
    if (size - 1 < n)
    {
        if (size >= 2)
        {
            buffer[0] = '>';
            std::memset(buffer + 1, '9', size_t(size - 2));
        }
        buffer[size - 1] = '\0';
        return buffer;
    }
    BigUInt rest = *this;
    for (int i = n - 1; i >= 0; --i)
        buffer[i] = char('0' + rest.DivWord(10));
    buffer[n] = '\0';
    return buffer;
}
