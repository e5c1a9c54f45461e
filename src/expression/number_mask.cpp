#include "expression/number_mask.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace quenmark {

namespace {

// The most integer digits a masked number is written with; larger values
// fall back to the plain form, whose exponent notation keeps them readable.
constexpr int MaxMaskedIntegerDigits = 18;
// The most exponent digits a mask can ask for.
constexpr int MaxExponentDigits = 4;
constexpr size_t MaxSections = 3;

enum class Section : size_t { Positive = 0, Negative = 1, Zero = 2 };

struct MaskItem {
    enum class Kind { IntegerDigit, DecimalDigit, Point, Literal, Exponent };
    Kind kind;
    std::string text;  // literal text
};

struct ExponentSpec {
    char letter = 'E';
    bool alwaysSign = false;
    int minimumDigits = 0;
};

// One section of a mask, read into the items it writes.
struct MaskSection {
    std::vector<MaskItem> items;
    int integerPositions = 0;
    int minimumIntegerDigits = 0;    // positions from the leftmost integer "0" on
    std::string decimalPlaceholders;  // "0" or "#" per decimal position
    bool thousands = false;
    std::optional<ExponentSpec> exponent;

    // A section without digit positions writes its text only.
    bool HasDigitPositions() const { return integerPositions > 0 || !decimalPlaceholders.empty(); }
};

// A value laid out for a section: its integer digits without leading zeros
// (empty for an integer part of 0), one digit per decimal position, and the
// exponent in scientific notation.
struct MaskedNumber {
    std::string integerDigits;
    std::string decimals;
    int exponent = 0;
    bool zero = true;
};

// Decimal digits of a non-negative value: value = 0.digits x 10^point. No
// leading or trailing zeros; empty for zero.
struct DecimalDigits {
    std::string digits;
    int point = 0;
};

// The sections of a mask, split at ";" outside quoted text; more than three
// are ignored.
std::vector<std::string_view> SplitSections(std::string_view mask) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    char quote = 0;
    for (size_t i = 0; i < mask.size() && sections.size() < MaxSections; ++i) {
        const char c = mask[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(mask.substr(start, i - start));
            start = i + 1;
        }
    }
    if (sections.size() < MaxSections) sections.push_back(mask.substr(start));
    return sections;
}

void AddLiteral(MaskSection& section, std::string_view text) {
    auto& items = section.items;
    if (!items.empty() && items.back().kind == MaskItem::Kind::Literal)
        items.back().text += text;
    else
        items.push_back({MaskItem::Kind::Literal, std::string(text)});
}

// Reads "E+", "E-", "e+" or "e-" and the "0"s after it at position i;
// returns the characters read, or 0 when there is no exponent there.
size_t ReadExponent(std::string_view text, size_t i, MaskSection& section) {
    const char letter = text[i];
    if ((letter != 'E' && letter != 'e') || i + 1 >= text.size()) return 0;
    const char sign = text[i + 1];
    if (sign != '+' && sign != '-') return 0;
    size_t end = i + 2;
    while (end < text.size() && text[end] == '0') ++end;
    const int zeros = static_cast<int>(end - i - 2);
    section.exponent = ExponentSpec{letter, sign == '+', std::min(zeros, MaxExponentDigits)};
    section.items.push_back({MaskItem::Kind::Exponent, {}});
    return end - i;
}

MaskSection ParseSection(std::string_view text) {
    MaskSection section;
    bool pointSeen = false;
    int firstIntegerZero = -1;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            const size_t close = text.find(c, i + 1);
            const size_t end = close == std::string_view::npos ? text.size() : close;
            AddLiteral(section, text.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        ++i;
        if (c == ',') {
            section.thousands = true;
        } else if (section.exponent) {
            AddLiteral(section, std::string_view(&c, 1));
        } else if ((c == '0' || c == '#') && pointSeen) {
            section.decimalPlaceholders += c;
            section.items.push_back({MaskItem::Kind::DecimalDigit, {}});
        } else if (c == '0' || c == '#') {
            if (c == '0' && firstIntegerZero < 0) firstIntegerZero = section.integerPositions;
            ++section.integerPositions;
            section.items.push_back({MaskItem::Kind::IntegerDigit, {}});
        } else if (c == '.' && !pointSeen) {
            pointSeen = true;
            section.items.push_back({MaskItem::Kind::Point, {}});
        } else if (const size_t read = ReadExponent(text, i - 1, section); read > 0) {
            i += read - 1;
        } else {
            AddLiteral(section, std::string_view(&c, 1));
        }
    }
    if (firstIntegerZero >= 0) section.minimumIntegerDigits = section.integerPositions - firstIntegerZero;
    return section;
}

// The shortest decimal digits that read back as the value, so that a value
// rounds as it was typed (1.005 to two decimals gives 1.01).
DecimalDigits ShortestDigits(double magnitude) {
    DecimalDigits result;
    if (magnitude == 0) return result;
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<size_t>(written.ptr - buffer));
    const size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.') result.digits += c;
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
    int power = 0;
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
    result.point = power + 1;
    while (!result.digits.empty() && result.digits.back() == '0') result.digits.pop_back();
    return result;
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundDigits(DecimalDigits& number, int keep) {
    if (keep >= static_cast<int>(number.digits.size())) return;
    if (keep < 0) {
        number = {};
        return;
    }
    const bool up = number.digits[static_cast<size_t>(keep)] >= '5';
    number.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && number.digits[static_cast<size_t>(i)] == '9'; --i) number.digits[static_cast<size_t>(i)] = '0';
        if (i < 0) {
            number.digits.insert(number.digits.begin(), '1');
            ++number.point;
        } else {
            ++number.digits[static_cast<size_t>(i)];
        }
    }
    while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
    if (number.digits.empty()) number.point = 0;
}

// The digit at a position counted from the decimal point (0 = first decimal).
char DigitAfterPoint(const DecimalDigits& number, int position) {
    const int index = number.point + position;
    if (index < 0 || index >= static_cast<int>(number.digits.size())) return '0';
    return number.digits[static_cast<size_t>(index)];
}

// Fixed notation; nothing when the integer part is too long for a mask.
std::optional<MaskedNumber> LayOutFixed(const MaskSection& section, double magnitude) {
    const int decimals = static_cast<int>(section.decimalPlaceholders.size());
    DecimalDigits number = ShortestDigits(magnitude);
    RoundDigits(number, number.point + decimals);
    if (number.point > MaxMaskedIntegerDigits) return std::nullopt;
    MaskedNumber result;
    result.zero = number.digits.empty();
    if (!result.zero && number.point > 0) {
        const size_t point = static_cast<size_t>(number.point);
        result.integerDigits = number.digits.substr(0, point);
        result.integerDigits.resize(point, '0');
    }
    for (int i = 0; i < decimals; ++i) result.decimals += DigitAfterPoint(number, i);
    return result;
}

// Scientific notation: the mantissa has as many integer digits as the
// section has integer positions.
MaskedNumber LayOutScientific(const MaskSection& section, double magnitude) {
    const int integers = section.integerPositions;
    const int decimals = static_cast<int>(section.decimalPlaceholders.size());
    DecimalDigits number = ShortestDigits(magnitude);
    RoundDigits(number, integers + decimals);
    MaskedNumber result;
    result.zero = number.digits.empty();
    std::string digits = number.digits;
    digits.resize(static_cast<size_t>(integers + decimals), '0');
    if (!result.zero) {
        result.exponent = number.point - integers;
        result.integerDigits = digits.substr(0, static_cast<size_t>(integers));
    }
    result.decimals = digits.substr(static_cast<size_t>(integers));
    return result;
}

std::optional<MaskedNumber> LayOut(const MaskSection& section, double magnitude) {
    if (section.exponent) return LayOutScientific(section, magnitude);
    return LayOutFixed(section, magnitude);
}

std::string ExponentText(const ExponentSpec& exponentFormat, int exponent) {
    std::string text(1, exponentFormat.letter);
    if (exponent < 0) text += '-';
    else if (exponentFormat.alwaysSign) text += '+';
    const std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < exponentFormat.minimumDigits)
        text.append(static_cast<size_t>(exponentFormat.minimumDigits) - digits.size(), '0');
    return text + digits;
}

// Writes the items of a section with the digits of a laid-out number.
class MaskWriter {
public:
    MaskWriter(const MaskSection& section, const MaskedNumber& number, const NumberSeparators& separators)
        : section_(section), number_(number), separators_(separators), integer_(number.integerDigits) {
        if (static_cast<int>(integer_.size()) < section.minimumIntegerDigits)
            integer_.insert(0, static_cast<size_t>(section.minimumIntegerDigits) - integer_.size(), '0');
        keptDecimals_ = static_cast<int>(number.decimals.size());
        while (keptDecimals_ > 0 && section.decimalPlaceholders[static_cast<size_t>(keptDecimals_ - 1)] == '#' &&
               number.decimals[static_cast<size_t>(keptDecimals_ - 1)] == '0')
            --keptDecimals_;
        // A number is never written without any digit where the mask has room.
        if (integer_.empty() && keptDecimals_ == 0 && section.HasDigitPositions()) integer_.push_back('0');
    }

    std::string Write() {
        int integerPosition = 0;
        int decimalPosition = 0;
        const int offset = static_cast<int>(integer_.size()) - section_.integerPositions;
        for (const MaskItem& item : section_.items) {
            switch (item.kind) {
            case MaskItem::Kind::IntegerDigit:
                // The first position also takes the digits the mask has no room for.
                WriteIntegerDigitsUpTo(offset + ++integerPosition);
                break;
            case MaskItem::Kind::Point:
                // Without integer positions the integer digits go before the separator.
                if (section_.HasDigitPositions()) WriteIntegerDigitsUpTo(static_cast<int>(integer_.size()));
                if (keptDecimals_ > 0) out_ += separators_.Decimal;
                break;
            case MaskItem::Kind::DecimalDigit:
                if (decimalPosition < keptDecimals_) out_ += number_.decimals[static_cast<size_t>(decimalPosition)];
                ++decimalPosition;
                break;
            case MaskItem::Kind::Literal: out_ += item.text; break;
            case MaskItem::Kind::Exponent: out_ += ExponentText(*section_.exponent, number_.exponent); break;
            }
        }
        return std::move(out_);
    }

private:
    void WriteIntegerDigitsUpTo(int end) {
        const size_t count = integer_.size();
        while (static_cast<int>(next_) < end && next_ < count) {
            out_ += integer_[next_++];
            const size_t remaining = count - next_;
            if (section_.thousands && remaining > 0 && remaining % 3 == 0) out_ += separators_.Thousands;
        }
    }

    const MaskSection& section_;
    const MaskedNumber& number_;
    const NumberSeparators& separators_;
    std::string integer_;
    int keptDecimals_ = 0;
    size_t next_ = 0;
    std::string out_;
};

}  // namespace

// Formats a value through a mask. The choices where the mask rules leave room:
// - rounding works on the shortest decimal text of the double, half away
//   from zero, so a value rounds as the user reads it (0.35 with "0.0" gives
//   0.4, not the 0.3 its binary value would give);
// - a zero written with only "#" positions gives "0", never an empty text;
// - a section with an exponent formats every value through the mask, also
//   1E18 and above, where fixed sections fall back to the plain form;
// - a negative value that rounds to zero uses the zero section when there is
//   one, else the first section, and is written without a minus sign;
// - a negative value keeps its minus in a section without digit positions,
//   where nothing is rounded away (only a true zero counts as zero there).
std::string ApplyNumberMask(double value, std::string_view mask, const NumberSeparators& separators) {
    const std::vector<std::string_view> sections = SplitSections(mask);
    if (sections.front().empty() || !std::isfinite(value)) return RealToText(value, separators);
    const auto usable = [&](Section which) {
        const size_t index = static_cast<size_t>(which);
        return index < sections.size() && !sections[index].empty();
    };
    Section chosen = value > 0 ? Section::Positive : value < 0 ? Section::Negative : Section::Zero;
    if (!usable(chosen)) chosen = Section::Positive;
    MaskSection section = ParseSection(sections[static_cast<size_t>(chosen)]);
    std::optional<MaskedNumber> number = LayOut(section, std::fabs(value));
    if (!number) return RealToText(value, separators);
    bool zero = section.HasDigitPositions() ? number->zero : value == 0;
    if (zero && chosen != Section::Zero) {
        const Section zeroSection = usable(Section::Zero) ? Section::Zero : Section::Positive;
        if (zeroSection != chosen) {
            section = ParseSection(sections[static_cast<size_t>(zeroSection)]);
            number = LayOut(section, 0.0);
        }
        chosen = zeroSection;
    }
    const bool minus = value < 0 && chosen == Section::Positive && !zero;
    std::string text = MaskWriter(section, *number, separators).Write();
    return minus ? "-" + text : text;
}

}  // namespace quenmark
