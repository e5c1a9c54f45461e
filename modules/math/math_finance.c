#include "math_finance.h"

#include <math.h>

/* The growth of one unit over n periods at the given rate, as
   (1 + rate)^n - 1 and 1 - (1 + rate)^-n. Both go through log1p and expm1
   in long double, so a small rate loses no digits to 1 + rate, and a rate
   of 0 is the limit itself rather than 0 / 0. */
static long double Growth(long double rate, long double periods) { return expm1l(periods * log1pl(rate)); }
static long double Discount(long double rate, long double periods) { return -expm1l(-periods * log1pl(rate)); }

/* A rate of -100 % or less leaves nothing to grow. */
static int IsRateValid(long double rate) { return rate > -1.0L; }

static long double Argument(const VMXValue* args, int index) { return (long double)MathNumber(&args[index]); }

static int32_t SetExtended(VMXValue* result, long double value) { return MathSetReal(result, (double)(value + 0.0L)); }

/* PMT(rate, n, pv): the payment per period that pays off pv in n periods. */
int32_t MathPmt(const VMXValue* args, VMXValue* result) {
    const long double rate = Argument(args, 0), periods = Argument(args, 1), present = Argument(args, 2);
    if (!IsRateValid(rate) || periods <= 0.0L) return mathOutsideDomain;
    if (rate == 0.0L) return SetExtended(result, -present / periods);
    return SetExtended(result, -present * rate / Discount(rate, periods));
}

/* FV(rate, n, pmt): the value after n periods of paying pmt each. */
int32_t MathFv(const VMXValue* args, VMXValue* result) {
    const long double rate = Argument(args, 0), periods = Argument(args, 1), payment = Argument(args, 2);
    if (!IsRateValid(rate) || periods < 0.0L) return mathOutsideDomain;
    if (rate == 0.0L) return SetExtended(result, -payment * periods);
    return SetExtended(result, -payment * (Growth(rate, periods) / rate));
}

/* PV(rate, n, pmt): the present value of n payments of pmt. */
int32_t MathPv(const VMXValue* args, VMXValue* result) {
    const long double rate = Argument(args, 0), periods = Argument(args, 1), payment = Argument(args, 2);
    if (!IsRateValid(rate) || periods < 0.0L) return mathOutsideDomain;
    if (rate == 0.0L) return SetExtended(result, -payment * periods);
    return SetExtended(result, -payment * (Discount(rate, periods) / rate));
}

/* ln(1 + pv * rate / pmt), NaN where 1 + pv * rate / pmt <= 0. Near 0 the
   share itself is accurate and goes to log1p; farther out 1 + share is
   formed as (pmt + pv * rate) / pmt with one fused rounding, so that a
   payment just above the interest keeps its digits. */
static long double LogOfRemainingShare(long double rate, long double payment, long double present) {
    const long double share = present * rate / payment;
    if (fabsl(share) < 0.5L) return log1pl(share);
    const long double remaining = fmal(present, rate, payment) / payment;
    return remaining > 0.0L ? logl(remaining) : NAN;
}

/* NPER(rate, pmt, pv): the number of periods that pays off pv with payments
   of pmt, from pv (1 + rate)^n + pmt ((1 + rate)^n - 1) / rate = 0. There is
   none when the payment is 0 or does not cover the interest, or when the
   solution is a negative count (payment and loan of the same sign). */
int32_t MathNper(const VMXValue* args, VMXValue* result) {
    const long double rate = Argument(args, 0), payment = Argument(args, 1), present = Argument(args, 2);
    if (!IsRateValid(rate) || payment == 0.0L) return mathOutsideDomain;
    long double periods;
    if (rate == 0.0L) {
        periods = -present / payment;
    } else {
        periods = -LogOfRemainingShare(rate, payment, present) / log1pl(rate);
        if (isnan(periods)) return mathOutsideDomain;
    }
    if (periods < 0.0L) return mathOutsideDomain;
    return SetExtended(result, periods);
}
