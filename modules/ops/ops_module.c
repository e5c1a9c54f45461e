/* ops.vmx: extra operator spellings for Quenmark: "**" raises to a power
   and the word "mod" (any letter case) gives the remainder. */
#include <string.h>

#include "vm/vmx.h"

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Operators",
    "\"**\" is the power operator (2**10 = 1024); the word mod is the remainder operator (7 mod 3 = 1).",
    "Tokenizer",
    "1A",
    NULL,
    "The Quenmark developers",
    "Free to use, change and pass on.",
};

static int IsWordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

static char Lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

/* "mod" as a whole word: a longer name such as "model" is an identifier. */
static int IsModWord(const char* text, int32_t length) {
    if (length < 3) return 0;
    if (Lower(text[0]) != 'm' || Lower(text[1]) != 'o' || Lower(text[2]) != 'd') return 0;
    return length == 3 || !IsWordCharacter(text[3]);
}

static int32_t Operator(TokenRecord* record, const char* text, int32_t length, int32_t kind) {
    if (!record->TokenText || record->TextSize <= length) return vmxTokenFailure;
    memcpy(record->TokenText, text, (size_t)length);
    record->TokenText[length] = '\0';
    record->TokenLength = length;
    record->TokenClass = vmxTokenOperator;
    record->SubKind = kind;
    return vmxTokenRecognised;
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return &Info; }

/* Every token of this module starts with "*" or with the "m" of mod. */
VMX_EXPORT const char* GetTokenStarts(void) { return "*mM"; }

VMX_EXPORT int32_t GetNextToken(const char* text, int32_t length, TokenRecord* record) {
    if (!text || !record || record->Size != (int32_t)sizeof(TokenRecord)) return vmxTokenFailure;
    if (length >= 2 && text[0] == '*' && text[1] == '*') return Operator(record, text, 2, vmxOpPower);
    if (IsModWord(text, length)) return Operator(record, text, 3, vmxOpSurplus);
    return vmxTokenNotRecognised;
}
