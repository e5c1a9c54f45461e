#include "base/plain_real_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace quenmark {
namespace {

std::string LibraryGeneral(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

// The short way through extended precision must write what the exact
// conversion writes: at ties and next to them, at powers of ten and their
// neighbours (where the number of digits before the point changes), at the
// ends of the fixed form, for quotients as calculations make them, and for
// doubles of every exponent.
TEST(PlainRealTextTest, FifteenDigitsMatchTheExactConversion) {
    std::vector<double> values = {0.0, -0.0, 0.5, 2.5, 1e15, 999999999999999.0, 999999999999999.5,
                                  123456789012345.5, 0.1, 1.0 / 3, 2.0 / 3, 1e-4, 9.99999999999999e-5,
                                  std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()};
    for (int exponent = -320; exponent <= 308; ++exponent) {
        const double power = std::pow(10.0, exponent);
        for (double value : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL), power / 2, -power})
            values.push_back(value);
    }
    for (int64_t k = 1; k < 20000; ++k) {
        values.push_back(static_cast<double>(k) * 0.5e-14);
        values.push_back(123456789012345.0 + static_cast<double>(k) * 0.5);
    }
    std::mt19937_64 random(18);
    for (int i = 0; i < 100000; ++i) {
        const uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) values.push_back(value);
        values.push_back(static_cast<double>(static_cast<int32_t>(random() % 2000001) - 1000000) /
                         static_cast<double>(random() % 997 + 1));
    }
    for (double value : values) ASSERT_EQ(FifteenDigitGeneral(value), LibraryGeneral(value)) << value;
}

}  // namespace
}  // namespace quenmark
