/* numbers.vmx: primes, bit operations, radix texts and random numbers for
   Quenmark. */
#include "bits.h"
#include "chance.h"
#include "primes.h"
#include "radix_text.h"
#include "../math/table_module.h"
#include "vm/vmx.h"

static const MathEntry Entries[] = {
    {"ISPRIME", 1, "ISPRIME(n): 1 if the whole number n is a prime, else 0", NumbersIsPrime},
    {"NEXTPRIME", 1, "NEXTPRIME(n): the least prime greater than n", NumbersNextPrime},
    {"PREVPRIME", 1, "PREVPRIME(n): the greatest prime less than n, n > 2", NumbersPrevPrime},
    {"FACTOR", 1, "FACTOR(n): the prime factors of n as text, \"2^2*3\" for 12; n <> 0", NumbersFactor},
    {"TOTIENT", 1, "TOTIENT(n): Euler's totient, how many of 1 to n share no factor with n; n >= 1",
     NumbersTotient},
    {"SHL", 2, "SHL(x, n): the 32-bit pattern of x shifted left by n bits", NumbersShl},
    {"SHR", 2, "SHR(x, n): the 32-bit pattern of x shifted right by n bits, filled with zeros", NumbersShr},
    {"ROL", 2, "ROL(x, n): the 32-bit pattern of x rotated left by n bits", NumbersRol},
    {"ROR", 2, "ROR(x, n): the 32-bit pattern of x rotated right by n bits", NumbersRor},
    {"BITAND", 2, "BITAND(a, b): bitwise and of the 32-bit patterns of a and b", NumbersBitAnd},
    {"BITOR", 2, "BITOR(a, b): bitwise or of the 32-bit patterns of a and b", NumbersBitOr},
    {"BITXOR", 2, "BITXOR(a, b): bitwise exclusive or of the 32-bit patterns of a and b", NumbersBitXor},
    {"BITNOT", 1, "BITNOT(x): the 32-bit pattern of x with every bit inverted", NumbersBitNot},
    {"BITCOUNT", 1, "BITCOUNT(x): the number of bits set in the 32-bit pattern of x", NumbersBitCount},
    {"BIN", 1, "BIN(n): the whole number n in binary, as text", NumbersBin},
    {"HEX", 1, "HEX(n): the whole number n in hexadecimal, as text", NumbersHex},
    {"OCT", 1, "OCT(n): the whole number n in octal, as text", NumbersOct},
    {"RANDOM", 0, "RANDOM(): a random number from 0 up to, not including, 1", NumbersRandom},
    {"RANDINT", 2, "RANDINT(a, b): a random whole number from a to b, both included", NumbersRandInt},
};

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Whole numbers",
    "Primes and factors, bit operations on 32-bit patterns, binary, octal and hexadecimal texts, "
    "random numbers. Failures: 101 argument outside the domain, 102 argument of the wrong type, "
    "103 result out of range, 104 argument not a whole number, 105 unknown function or argument count.",
    "Func&Const",
    "1",
    NULL,
    "The Quenmark developers",
    "Free to use, change and pass on.",
};

/* The entry points, made from the tables above. */
TABLE_MODULE_FUNCTIONS(Info, Entries)
