#include "primes.h"

#include <stdio.h>
#include <string.h>

#include "result_text.h"

/* At most 15 distinct primes divide a number below 2^53. */
#define MOST_PRIME_FACTORS 16
#define LARGEST_EXACT ((uint64_t)1 << 53)

typedef struct Factorization {
    uint64_t Primes[MOST_PRIME_FACTORS];
    int Powers[MOST_PRIME_FACTORS];
    int Count;
} Factorization;

static const uint64_t SmallPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
#define SMALL_PRIME_COUNT ((int)(sizeof SmallPrimes / sizeof SmallPrimes[0]))

static uint64_t MultiplyModulo(uint64_t a, uint64_t b, uint64_t modulus) {
    return (uint64_t)((unsigned __int128)a * b % modulus);
}

static uint64_t PowerModulo(uint64_t base, uint64_t exponent, uint64_t modulus) {
    uint64_t power = 1;
    base %= modulus;
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1u) power = MultiplyModulo(power, base, modulus);
        base = MultiplyModulo(base, base, modulus);
    }
    return power;
}

/* Miller-Rabin with the first twelve primes as witnesses, which decides
   every number below 3.3 * 10^24 without error. */
static int IsPrime(uint64_t n) {
    if (n < 2) return 0;
    for (int i = 0; i < SMALL_PRIME_COUNT; ++i)
        if (n % SmallPrimes[i] == 0) return n == SmallPrimes[i];
    uint64_t odd = n - 1;
    int twos = 0;
    for (; (odd & 1u) == 0; odd >>= 1) ++twos;
    for (int i = 0; i < SMALL_PRIME_COUNT; ++i) {
        uint64_t x = PowerModulo(SmallPrimes[i], odd, n);
        if (x == 1 || x == n - 1) continue;
        int witness = 1;
        for (int r = 1; r < twos && witness; ++r) {
            x = MultiplyModulo(x, x, n);
            if (x == n - 1) witness = 0;
        }
        if (witness) return 0;
    }
    return 1;
}

/* A proper divisor of the odd composite n by Pollard's rho method; each
   polynomial x^2 + c that fails is replaced by the next. */
static uint64_t RhoDivisor(uint64_t n) {
    for (uint64_t c = 1;; ++c) {
        uint64_t slow = 2, fast = 2, divisor = 1;
        while (divisor == 1) {
            slow = (MultiplyModulo(slow, slow, n) + c) % n;
            fast = (MultiplyModulo(fast, fast, n) + c) % n;
            fast = (MultiplyModulo(fast, fast, n) + c) % n;
            divisor = MathGreatestCommonDivisor(slow > fast ? slow - fast : fast - slow, n);
        }
        if (divisor != n) return divisor;
    }
}

static void AddFactor(Factorization* factors, uint64_t prime, int power) {
    for (int i = 0; i < factors->Count; ++i)
        if (factors->Primes[i] == prime) {
            factors->Powers[i] += power;
            return;
        }
    int at = factors->Count++;
    for (; at > 0 && factors->Primes[at - 1] > prime; --at) {
        factors->Primes[at] = factors->Primes[at - 1];
        factors->Powers[at] = factors->Powers[at - 1];
    }
    factors->Primes[at] = prime;
    factors->Powers[at] = power;
}

/* n has no prime factor below 1000 here. */
static void FactorLarge(uint64_t n, Factorization* factors) {
    if (n == 1) return;
    if (IsPrime(n)) {
        AddFactor(factors, n, 1);
        return;
    }
    const uint64_t divisor = RhoDivisor(n);
    FactorLarge(divisor, factors);
    FactorLarge(n / divisor, factors);
}

static void Factor(uint64_t n, Factorization* factors) {
    memset(factors, 0, sizeof *factors);
    for (uint64_t p = 2; p < 1000 && p * p <= n; p += p == 2 ? 1 : 2) {
        int power = 0;
        for (; n % p == 0; n /= p) ++power;
        if (power > 0) AddFactor(factors, p, power);
    }
    FactorLarge(n, factors);
}

int32_t NumbersIsPrime(const VMXValue* args, VMXValue* result) {
    int64_t n = 0;
    const int32_t status = MathWholeArgument(&args[0], &n);
    if (status != vmxSuccess) return status;
    return MathSetInteger(result, n > 0 && IsPrime((uint64_t)n));
}

/* The least prime above n; beyond 2^53 a prime is no double. */
int32_t NumbersNextPrime(const VMXValue* args, VMXValue* result) {
    int64_t n = 0;
    const int32_t status = MathWholeArgument(&args[0], &n);
    if (status != vmxSuccess) return status;
    uint64_t candidate = n < 2 ? 2 : (uint64_t)n + 1;
    while (!IsPrime(candidate)) ++candidate;
    if (candidate > LARGEST_EXACT) return mathOutOfRange;
    return MathSetWhole(result, (double)candidate);
}

/* The greatest prime below n, n > 2. */
int32_t NumbersPrevPrime(const VMXValue* args, VMXValue* result) {
    int64_t n = 0;
    const int32_t status = MathWholeArgument(&args[0], &n);
    if (status != vmxSuccess) return status;
    if (n <= 2) return mathOutsideDomain;
    uint64_t candidate = (uint64_t)n - 1;
    while (!IsPrime(candidate)) --candidate;
    return MathSetWhole(result, (double)candidate);
}

/* The prime factors of n as text, "2^2*3" for 12, "-2^2*3" for -12,
   "1" for 1; n must not be 0. */
int32_t NumbersFactor(const VMXValue* args, VMXValue* result) {
    int64_t n = 0;
    const int32_t status = MathWholeArgument(&args[0], &n);
    if (status != vmxSuccess) return status;
    if (n == 0) return mathOutsideDomain;
    char text[RESULT_TEXT_CAPACITY] = "";
    size_t length = 0;
    if (n < 0) text[length++] = '-';
    const uint64_t magnitude = n < 0 ? (uint64_t)-n : (uint64_t)n;
    if (magnitude == 1) return SetResultText(result, n < 0 ? "-1" : "1");
    Factorization factors;
    Factor(magnitude, &factors);
    for (int i = 0; i < factors.Count; ++i) {
        length += (size_t)snprintf(text + length, sizeof text - length, i > 0 ? "*%llu" : "%llu",
                                   (unsigned long long)factors.Primes[i]);
        if (factors.Powers[i] > 1)
            length += (size_t)snprintf(text + length, sizeof text - length, "^%d", factors.Powers[i]);
    }
    return SetResultText(result, text);
}

/* Euler's totient: how many of 1 to n share no factor with n; n >= 1. */
int32_t NumbersTotient(const VMXValue* args, VMXValue* result) {
    int64_t n = 0;
    const int32_t status = MathWholeArgument(&args[0], &n);
    if (status != vmxSuccess) return status;
    if (n < 1) return mathOutsideDomain;
    Factorization factors;
    Factor((uint64_t)n, &factors);
    uint64_t totient = (uint64_t)n;
    for (int i = 0; i < factors.Count; ++i) totient = totient / factors.Primes[i] * (factors.Primes[i] - 1);
    return MathSetWhole(result, (double)totient);
}
