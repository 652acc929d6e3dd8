#pragma once

#include <cstdint>
#include <string>

// A signed time span of whole days and milliseconds. Normal form: |ms| < one day, and when days
// is not 0 the milliseconds are 0 or share its sign.
class Duration
{
public:
    static constexpr int64_t kMsPerDay = 86400000;

    Duration() = default;
    Duration(int64_t days, int64_t ms) { Set(days, ms); }

    static Duration FromMilliseconds(int64_t ms) { return Duration(0, ms); }
    static Duration FromSeconds(double seconds);

    void Set(int64_t days, int64_t ms);
    void Normalise();

    int64_t Days() const { return mDays; }
    int64_t Milliseconds() const { return mMs; }
    double TotalSeconds() const { return double(mDays) * 86400.0 + double(mMs) * 0.001; }
    bool IsNegative() const { return mDays < 0 || (mDays == 0 && mMs < 0); }

    Duration& operator+=(const Duration& other);
    Duration& operator-=(const Duration& other);
    friend Duration operator-(const Duration& a, const Duration& b);
    friend Duration operator+(const Duration& a, const Duration& b);
    friend Duration operator/(const Duration& span, double x);
    friend bool operator==(const Duration& a, const Duration& b) = default;

    // The largest two units present, in words: "2 hours, 5 minutes", "1 month, 4 days", "0.50 seconds".
    std::string Format() const;

private:
    int64_t mDays = 0;
    int64_t mMs = 0;
};
