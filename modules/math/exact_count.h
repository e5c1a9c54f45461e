/* Counts (factorials, permutations, combinations) computed exactly in
   whole-number arithmetic and rounded once to the nearest double, so that
   every count the double range holds is correctly rounded. */
#ifndef QUENMARK_EXACT_COUNT_H
#define QUENMARK_EXACT_COUNT_H

#include <stdint.h>

/* n! / (n - k)!, the ordered selections of k out of n; 0 <= k <= n <= 2^53.
   Infinite when the count is beyond the double range. */
double ExactPermutations(uint64_t n, uint64_t k);

/* n! / (k! (n - k)!), the unordered selections of k out of n;
   0 <= k <= n <= 2^53. Infinite when the count is beyond the double range. */
double ExactCombinations(uint64_t n, uint64_t k);

#endif /* QUENMARK_EXACT_COUNT_H */
