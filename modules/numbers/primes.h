/* Primes in numbers.vmx: the test, the neighbouring primes, the
   factorization and Euler's totient, for whole numbers up to 2^53. */
#ifndef QUENMARK_PRIMES_H
#define QUENMARK_PRIMES_H

#include "../math/math_values.h"

int32_t NumbersIsPrime(const VMXValue* args, VMXValue* result);
int32_t NumbersNextPrime(const VMXValue* args, VMXValue* result);
int32_t NumbersPrevPrime(const VMXValue* args, VMXValue* result);
int32_t NumbersFactor(const VMXValue* args, VMXValue* result);
int32_t NumbersTotient(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_PRIMES_H */
