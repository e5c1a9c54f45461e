#include "radix_text.h"

#include "result_text.h"

static int32_t RadixText(const VMXValue* args, VMXValue* result, unsigned radix) {
    int64_t whole = 0;
    const int32_t status = MathWholeArgument(&args[0], &whole);
    if (status != vmxSuccess) return status;
    if (whole < INT32_MIN) return mathOutsideDomain;
    uint64_t value = whole < 0 ? (uint64_t)(uint32_t)whole : (uint64_t)whole;
    char text[RESULT_TEXT_CAPACITY];
    char* digit = text + sizeof text - 1;
    *digit = '\0';
    do {
        *--digit = "0123456789ABCDEF"[value % radix];
        value /= radix;
    } while (value != 0);
    return SetResultText(result, digit);
}

int32_t NumbersBin(const VMXValue* args, VMXValue* result) { return RadixText(args, result, 2); }
int32_t NumbersHex(const VMXValue* args, VMXValue* result) { return RadixText(args, result, 16); }
int32_t NumbersOct(const VMXValue* args, VMXValue* result) { return RadixText(args, result, 8); }
