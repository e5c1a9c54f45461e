#include "exact_count.h"

#include <math.h>
#include <string.h>

/* A whole number in 32-bit words, least significant first. The counts stop
   growing once beyond 2^1024 (every double is below), and one step multiplies
   by a factor below 2^54, so 34 words always suffice. */
#define COUNT_WORDS 36
#define BEYOND_DOUBLES_BITS 1025 /* a count with this many bits exceeds every double */

typedef unsigned __int128 WideWord;

typedef struct WholeNumber {
    uint32_t Words[COUNT_WORDS];
    int Used; /* words in use; the top one is not zero, except for the number 0 */
} WholeNumber;

static void SetOne(WholeNumber* number) {
    memset(number, 0, sizeof *number);
    number->Words[0] = 1;
    number->Used = 1;
}

static void MultiplyBy(WholeNumber* number, uint64_t factor) {
    WideWord carry = 0;
    for (int i = 0; i < number->Used; ++i) {
        const WideWord product = (WideWord)number->Words[i] * factor + carry;
        number->Words[i] = (uint32_t)product;
        carry = product >> 32;
    }
    while (carry != 0 && number->Used < COUNT_WORDS) {
        number->Words[number->Used++] = (uint32_t)carry;
        carry >>= 32;
    }
}

/* Divides by a divisor of the number, so the quotient is exact. */
static void DivideExactlyBy(WholeNumber* number, uint64_t divisor) {
    WideWord rest = 0;
    for (int i = number->Used - 1; i >= 0; --i) {
        const WideWord part = (rest << 32) | number->Words[i];
        number->Words[i] = (uint32_t)(part / divisor);
        rest = part % divisor;
    }
    while (number->Used > 1 && number->Words[number->Used - 1] == 0) --number->Used;
}

static int BitLength(const WholeNumber* number) {
    int bits = (number->Used - 1) * 32;
    for (uint32_t top = number->Words[number->Used - 1]; top != 0; top >>= 1) ++bits;
    return bits;
}

static int IsBeyondDoubles(const WholeNumber* number) { return BitLength(number) >= BEYOND_DOUBLES_BITS; }

/* The nearest double, ties to even. The top 64 bits go to the conversion,
   which rounds correctly; any lower bit that is set is folded into the
   lowest of them so that a value just above a tie rounds up. */
static double NearestDouble(const WholeNumber* number) {
    const int bits = BitLength(number);
    if (bits >= BEYOND_DOUBLES_BITS) return INFINITY;
    const int shift = bits > 64 ? bits - 64 : 0;
    uint64_t top = 0;
    for (int bit = bits - 1; bit >= shift; --bit)
        top = (top << 1) | ((number->Words[bit / 32] >> (bit % 32)) & 1u);
    for (int bit = shift - 1; bit >= 0 && !(top & 1u); --bit)
        if ((number->Words[bit / 32] >> (bit % 32)) & 1u) top |= 1u;
    return ldexp((double)top, shift);
}

double ExactPermutations(uint64_t n, uint64_t k) {
    WholeNumber count;
    SetOne(&count);
    /* Every factor but the last is at least 2, so the loop ends after at most
       about a thousand steps once the count is beyond the doubles. */
    for (uint64_t i = 0; i < k && !IsBeyondDoubles(&count); ++i) MultiplyBy(&count, n - i);
    return NearestDouble(&count);
}

double ExactCombinations(uint64_t n, uint64_t k) {
    if (k > n - k) k = n - k;
    WholeNumber count;
    SetOne(&count);
    /* After step i the count is the whole number C(n - k + i, i), which never
       falls as i grows, so the loop may stop once it is beyond the doubles;
       C(n - k + i, i) >= 2^i bounds the steps. */
    for (uint64_t i = 1; i <= k && !IsBeyondDoubles(&count); ++i) {
        MultiplyBy(&count, n - k + i);
        DivideExactlyBy(&count, i);
    }
    return NearestDouble(&count);
}
