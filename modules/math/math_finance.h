/* Annuity calculations of math.vmx with the sign convention of spreadsheets:
   money received is positive, money paid out negative, so a loan (positive
   present value) has negative payments. Payments fall at the end of each
   period and the loan is paid off completely (no balance left). */
#ifndef QUENMARK_MATH_FINANCE_H
#define QUENMARK_MATH_FINANCE_H

#include "math_values.h"

int32_t MathPmt(const VMXValue* args, VMXValue* result);
int32_t MathFv(const VMXValue* args, VMXValue* result);
int32_t MathPv(const VMXValue* args, VMXValue* result);
int32_t MathNper(const VMXValue* args, VMXValue* result);

#endif /* QUENMARK_MATH_FINANCE_H */
