/* The control block of the test modules: the tests read which entry points
   a module ran and script what its tokenizer answers. Every test module
   exports TestGetControl, which returns its own block. */
#ifndef QUENMARK_TEST_MODULE_CONTROL_H
#define QUENMARK_TEST_MODULE_CONTROL_H

#include "vm/vmx.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What "GetNextToken" writes into the record before it returns Result. */
typedef struct TestTokenScript {
    int32_t Result;
    int32_t Size;        /* written to the record's Size unless 0 */
    int32_t TokenLength;
    int32_t TokenClass;
    int32_t SubKind;
    const char* Text;    /* copied into TokenText with its zero byte */
    int32_t TextFill;    /* instead of Text: this many "x" bytes, no zero byte */
    int32_t NullText;    /* TokenText set to null */
    const char* OwnText; /* TokenText pointed here instead */
    int32_t ValueType;
    int32_t IntValue;
    double RealValue;
    const char* StrText; /* copied into the value buffer with its zero byte */
    int32_t StrFill;     /* instead of StrText: this many "y" bytes, no zero byte */
    int32_t StrLength;
    int32_t NullStr;     /* StrValue set to null */
} TestTokenScript;

typedef struct TestControl {
    char CallLog[512];       /* names of the entry points called, each followed by a blank */
    TestTokenScript Token;
    char LastInput[256];     /* the text of the last GetNextToken call, cut to fit */
    int32_t LastLength;
    int32_t TokenCalls;
    int32_t LastTextSize;    /* TextSize and StrSize the program offered */
    int32_t LastStrSize;
    VMXOutputProc Output;
} TestControl;

typedef TestControl* (*TestGetControlProc)(void);

#ifdef __cplusplus
}
#endif

#endif /* QUENMARK_TEST_MODULE_CONTROL_H */
