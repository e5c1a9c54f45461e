/* units.vmx: the short form of a unit conversion for Quenmark.
   "100 [km/h -> m/s]" converts the value before the bracket from the first
   unit to the second, as CONVERT(100, "km/h", "m/s") does.

   A tokenizer sees only the characters of the line, never the unit files,
   so the module does no arithmetic: it reads the whole bracket as one
   postfix operator token (vmxOpFactorial, the postfix class) whose text is
   the two unit names joined by "->", and the expression parser compiles a
   postfix token of that form into a call of the program's own CONVERT
   with the operand before it. An unknown unit is then reported by CONVERT
   when the line runs, in the user's language. "[" starts no token of an
   expression today, so no line that worked before changes its meaning. */
#include <string.h>

#include "vm/vmx.h"

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Units",
    "value [from -> to] converts between two units of the unit file: 100 [km/h -> m/s] = 27.7777777777778.",
    "Tokenizer",
    "1A",
    NULL,
    "The Quenmark developers",
    "Free to use, change and pass on.",
};

/* The part of text from begin to end without blanks at either end. */
static void Trim(const char* text, int32_t* begin, int32_t* end) {
    while (*begin < *end && text[*begin] == ' ') ++*begin;
    while (*end > *begin && text[*end - 1] == ' ') --*end;
}

/* The position of "->" between begin and end, or -1. */
static int32_t FindArrow(const char* text, int32_t begin, int32_t end) {
    for (int32_t i = begin; i + 1 < end; ++i)
        if (text[i] == '-' && text[i + 1] == '>') return i;
    return -1;
}

/* Writes from "->" to into the token's text; 0 when it does not fit. */
static int PutUnits(TokenRecord* record, const char* text, int32_t fromBegin, int32_t fromEnd, int32_t toBegin,
                    int32_t toEnd) {
    const int32_t fromLength = fromEnd - fromBegin;
    const int32_t toLength = toEnd - toBegin;
    if (!record->TokenText || record->TextSize <= fromLength + 2 + toLength) return 0;
    memcpy(record->TokenText, text + fromBegin, (size_t)fromLength);
    memcpy(record->TokenText + fromLength, "->", 2);
    memcpy(record->TokenText + fromLength + 2, text + toBegin, (size_t)toLength);
    record->TokenText[fromLength + 2 + toLength] = '\0';
    return 1;
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return &Info; }

VMX_EXPORT const char* GetTokenStarts(void) { return "["; }

/* "[" from "->" to "]", each name not empty once its blanks are trimmed.
   Anything else is left to the built-in tokenizer. */
VMX_EXPORT int32_t GetNextToken(const char* text, int32_t length, TokenRecord* record) {
    if (!text || !record || record->Size != (int32_t)sizeof(TokenRecord)) return vmxTokenFailure;
    if (length < 1 || text[0] != '[') return vmxTokenNotRecognised;
    int32_t close = 1;
    while (close < length && text[close] != ']') ++close;
    if (close >= length) return vmxTokenNotRecognised;
    const int32_t arrow = FindArrow(text, 1, close);
    if (arrow < 0) return vmxTokenNotRecognised;
    int32_t fromBegin = 1, fromEnd = arrow, toBegin = arrow + 2, toEnd = close;
    Trim(text, &fromBegin, &fromEnd);
    Trim(text, &toBegin, &toEnd);
    if (fromBegin == fromEnd || toBegin == toEnd) return vmxTokenNotRecognised;
    if (!PutUnits(record, text, fromBegin, fromEnd, toBegin, toEnd)) return vmxTokenFailure;
    record->TokenLength = close + 1;
    record->TokenClass = vmxTokenOperator;
    record->SubKind = vmxOpFactorial;
    return vmxTokenRecognised;
}
