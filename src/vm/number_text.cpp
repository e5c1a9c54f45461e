#include "vm/number_text.h"

#include <cmath>
#include <optional>

#include "base/decimal_real.h"
#include "base/exception.h"
#include "base/plain_real_text.h"

namespace quenmark {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads the text through a cursor; every rule that fails throws.
class NumberTextReader {
public:
    NumberTextReader(std::string_view text, const NumberSeparators& separators)
        : text_(text), separators_(separators) {}

    double Read() {
        SkipBlanks();
        if (Peek() == '&') return ReadRadixInteger();
        const char lead = Peek();
        const bool leadingSign = lead == '+' || lead == '-';
        const bool leadingParen = lead == '(';
        if (leadingSign || leadingParen) ++pos_;
        bool negative = lead == '-' || leadingParen;

        ReadMantissa();
        ReadExponent();
        SkipBlanks();
        if (!leadingSign && !leadingParen && (Peek() == '+' || Peek() == '-')) {
            negative = Peek() == '-';
            ++pos_;
        }
        if (leadingParen) {
            if (Peek() != ')') throw EConvertError();
            ++pos_;
        }
        SkipBlanks();
        if (pos_ != text_.size()) throw EConvertError();
        const double magnitude = Convert();
        return negative ? -magnitude : magnitude;
    }

private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool At(std::string_view token) const {
        return !token.empty() && text_.substr(pos_, token.size()) == token;
    }
    void SkipBlanks() {
        while (Peek() == ' ') ++pos_;
    }

    // "&H" hexadecimal or "&O" octal: a 32-bit pattern read as signed.
    double ReadRadixInteger() {
        ++pos_;
        const char marker = Peek();
        int base;
        if (marker == 'H' || marker == 'h') base = 16;
        else if (marker == 'O' || marker == 'o') base = 8;
        else throw EConvertError();
        ++pos_;
        uint64_t pattern = 0;
        size_t digits = 0;
        for (int d; (d = HexDigitValue(Peek())) >= 0 && d < base; ++pos_, ++digits) {
            pattern = pattern * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
            if (pattern > 0xFFFFFFFFull) throw EOverflow();
        }
        SkipBlanks();
        if (digits == 0 || pos_ != text_.size()) throw EConvertError();
        return static_cast<int32_t>(static_cast<uint32_t>(pattern));
    }

    void ReadMantissa() {
        bool pointSeen = false;
        for (;;) {
            const char c = Peek();
            if (IsDigit(c)) {
                mantissa_ += c;
                ++digitCount_;
                ++pos_;
            } else if (!pointSeen && At(separators_.Decimal)) {
                mantissa_ += '.';
                pointSeen = true;
                pos_ += separators_.Decimal.size();
            } else if (!pointSeen && digitCount_ > 0 && At(separators_.Thousands)) {
                pos_ += separators_.Thousands.size();
            } else {
                break;
            }
        }
        if (digitCount_ == 0) throw EConvertError();
    }

    void ReadExponent() {
        if (Peek() != 'e' && Peek() != 'E') return;
        ++pos_;
        std::string exponent = "e";
        if (Peek() == '+' || Peek() == '-') exponent += text_[pos_++];
        if (!IsDigit(Peek())) throw EConvertError();
        while (IsDigit(Peek())) exponent += text_[pos_++];
        exponent_ = exponent;
    }

    // Below the double range reads as 0; beyond it is an overflow.
    double Convert() const {
        DecimalReal real;
        if (!ReadDecimalReal(mantissa_ + exponent_, real)) throw EConvertError();
        if (real.Range == DecimalRange::Overflow) throw EOverflow();
        return real.Value;
    }

    std::string_view text_;
    const NumberSeparators& separators_;
    size_t pos_ = 0;
    std::string mantissa_;
    std::string exponent_;
    int digitCount_ = 0;
};

}  // namespace

namespace {

std::string WithDecimalSeparator(std::string text, const NumberSeparators& separators) {
    const size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, separators.Decimal);
    return text;
}

}  // namespace

std::string RealToText(double value, const NumberSeparators& separators) {
    return WithDecimalSeparator(PlainRealText(value), separators);
}

std::string RealToGeneralText(double value, const NumberSeparators& separators) {
    return WithDecimalSeparator(GeneralRealText(value), separators);
}

double TextToReal(std::string_view text, const NumberSeparators& separators) {
    return NumberTextReader(text, separators).Read();
}

int32_t RoundToInteger(double value) {
    if (!std::isfinite(value)) throw EInvalidOp();
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) throw EInvalidOp();
    return static_cast<int32_t>(rounded);
}

}  // namespace quenmark
