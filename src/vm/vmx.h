/* The binary interface between Quenmark and its extension modules.
   This is the one header a module author includes; it is valid C and C++.
   Records are packed and little-endian; pointer fields are pointer-sized,
   so on x86-64 the records are larger than on a 32-bit build. Every Size
   field holds sizeof of its record. */
#ifndef QUENMARK_VMX_H
#define QUENMARK_VMX_H

#include <stddef.h>
#include <stdint.h>

/* The version of this interface. It grows when an entry point or a record
   field is added; a module built against an older header keeps loading.
   1: the records and entry points of the first release.
   2: the optional export "GetTokenStarts". */
#define VMX_INTERFACE_VERSION 2

/* The width of VMXValue.IntValue in bits: an Integer is a signed 32-bit
   number (-2147483648 to 2147483647) on every platform, as it is in the
   program. A module whose result does not fit returns it as a Real. */
#define VMX_INT_BITS 32

#ifdef __cplusplus
extern "C" {
#endif

/* Type tags of VMXValue.ValueType. */
enum {
    vmxInteger = 1,
    vmxReal = 2,
    vmxString = 3
};

/* Results of "Init" and "FunctionDispatcher". A dispatcher reports its own
   failures with vmxFailure1 to vmxFailure5; each module documents what they
   mean. Any other nonzero result is reported as a failed call. */
enum {
    vmxSuccess = 0,
    vmxFailure1 = 101,
    vmxFailure2 = 102,
    vmxFailure3 = 103,
    vmxFailure4 = 104,
    vmxFailure5 = 105
};

/* Results of "GetNextToken". Anything else is reported as a broken module. */
enum {
    vmxTokenRecognised = 0,
    vmxTokenNotRecognised = 201,
    vmxTokenFailure = 202
};

/* TokenRecord.TokenClass. */
enum {
    vmxTokenLiteral = 1,
    vmxTokenOperator = 2,
    vmxTokenIdentifier = 3
};

/* TokenRecord.SubKind of a literal: its radix. */
enum {
    vmxRadixDecimal = 1,
    vmxRadixHexadecimal = 2,
    vmxRadixOctal = 3,
    vmxRadixBinary = 4
};

/* TokenRecord.SubKind of an operator. */
enum {
    vmxOpEqual = 1,
    vmxOpPlus = 2,
    vmxOpMinus = 3,
    vmxOpMultiple = 4,
    vmxOpDivide = 5,
    vmxOpIntdiv = 6,
    vmxOpSurplus = 7,
    vmxOpPower = 8,
    vmxOpFactorial = 9,
    vmxOpAnd = 10,
    vmxOpOr = 11,
    vmxOpXor = 12,
    vmxOpNot = 13,
    vmxOpLShift = 14,
    vmxOpRShift = 15
};

/* Capacity of every buffer the program lends to a module. */
#define VMX_BUFFER_SIZE 1024

#pragma pack(push, 1)

/* A value crossing to or from a module. The three value fields overlay each
   other at offset 4; ValueType tells which one is meaningful. */
typedef struct VMXValue {
    int32_t ValueType;
    union {
        int32_t IntValue;
        double RealValue;
        struct {
            char* StrValue;    /* first character */
            int32_t StrLength; /* characters in the value */
            int32_t StrSize;   /* capacity of the buffer at StrValue */
        };
    };
    uint8_t Reserved[sizeof(void*) == 8 ? 12 : 16]; /* pads the record to 32 bytes */
} VMXValue;

/* Returned by "GetModuleInfo"; every text ends in a zero byte. */
typedef struct VMXModuleInfo {
    int32_t Size;
    const char* Name;
    const char* Comment;
    const char* ModuleType;       /* contains "Func&Const", "Tokenizer" or both */
    const char* InterpreterLevel; /* "1" for functions and constants, "1A" for a tokenizer */
    const void* Reserved;
    const char* Author;
    const char* Copyright;
} VMXModuleInfo;

/* One entry of the table returned by "GetConstants". */
typedef struct VMXConstant {
    int32_t Size;
    const char* Name;
    const char* Description;
    VMXValue Value;
} VMXConstant;

/* One entry of the table returned by "GetFunctions". */
typedef struct VMXFunction {
    int32_t Size;
    const char* Name;
    const char* Description;
    int32_t ArgCount; /* the exact number of arguments */
} VMXFunction;

/* Prepared by the program, filled by "GetNextToken". */
typedef struct TokenRecord {
    int32_t Size;        /* set by the program; must stay as it is */
    char* TokenText;     /* program buffer of TextSize bytes for the token's characters */
    int32_t TokenLength; /* input characters the token covers */
    int32_t TextSize;
    int32_t TokenClass;  /* vmxTokenLiteral, vmxTokenOperator, vmxTokenIdentifier */
    int32_t SubKind;     /* radix of a literal or kind of an operator */
    VMXValue Value;      /* value of a literal; StrValue lends a program buffer */
    uint8_t Reserved[12];
} TokenRecord;

#pragma pack(pop)

/* The entry points a module exports, by their exported names. */
typedef int32_t (*VMXOutputProc)(const char* text, int32_t length);   /* the program's output */
typedef int32_t (*VMXInitProc)(void);                                  /* "Init" */
typedef int32_t (*VMXSetStdoutProc)(VMXOutputProc output);             /* "SetStdout" */
typedef const VMXModuleInfo* (*VMXGetModuleInfoProc)(void);            /* "GetModuleInfo" */
typedef int32_t (*VMXGetCountProc)(void);                              /* "GetConstantsNum", "GetFunctionsNum" */
typedef const VMXConstant* (*VMXGetConstantsProc)(void);               /* "GetConstants" */
typedef const VMXFunction* (*VMXGetFunctionsProc)(void);               /* "GetFunctions" */
typedef int32_t (*VMXFunctionDispatcher)(const char* name, VMXValue* result, VMXValue* args,
                                         int32_t argCount);            /* "FunctionDispatcher" */
typedef int32_t (*VMXGetNextTokenProc)(const char* text, int32_t length,
                                       TokenRecord* record);           /* "GetNextToken" */
/* "GetTokenStarts", optional for a tokenizer: a zero-terminated list of the
   ASCII characters a token of this module can start with. The program asks
   "GetNextToken" only where the next character is one of them, and may leave
   the module unloaded until a line holds one. A tokenizer without this export
   is loaded at start and asked at every token. */
typedef const char* (*VMXGetTokenStartsProc)(void);

#ifdef __cplusplus
}  /* extern "C" */
#endif

/* Put in front of each exported entry point of a module. */
#ifdef __cplusplus
#define VMX_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define VMX_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define VMX_STATIC_ASSERT static_assert
#else
#define VMX_STATIC_ASSERT _Static_assert
#endif

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
VMX_STATIC_ASSERT(sizeof(VMXValue) == 32, "VMXValue is 32 bytes");
VMX_STATIC_ASSERT(offsetof(VMXValue, ValueType) == 0, "ValueType at 0");
VMX_STATIC_ASSERT(offsetof(VMXValue, IntValue) == 4, "IntValue at 4");
VMX_STATIC_ASSERT(offsetof(VMXValue, RealValue) == 4, "RealValue at 4");
VMX_STATIC_ASSERT(offsetof(VMXValue, StrValue) == 4, "StrValue at 4");
VMX_STATIC_ASSERT(offsetof(VMXValue, StrLength) == 12, "StrLength at 12");
VMX_STATIC_ASSERT(offsetof(VMXValue, StrSize) == 16, "StrSize at 16");
VMX_STATIC_ASSERT(offsetof(VMXValue, Reserved) == 20, "reserved bytes at 20");

VMX_STATIC_ASSERT(sizeof(VMXModuleInfo) == 60, "VMXModuleInfo is 60 bytes");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Name) == 4, "Name at 4");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Comment) == 12, "Comment at 12");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, ModuleType) == 20, "ModuleType at 20");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, InterpreterLevel) == 28, "InterpreterLevel at 28");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Reserved) == 36, "reserved slot at 36");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Author) == 44, "Author at 44");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Copyright) == 52, "Copyright at 52");

VMX_STATIC_ASSERT(sizeof(VMXConstant) == 52, "VMXConstant is 52 bytes");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Name) == 4, "Name at 4");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Description) == 12, "Description at 12");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Value) == 20, "Value at 20");

VMX_STATIC_ASSERT(sizeof(VMXFunction) == 24, "VMXFunction is 24 bytes");
VMX_STATIC_ASSERT(offsetof(VMXFunction, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(VMXFunction, Name) == 4, "Name at 4");
VMX_STATIC_ASSERT(offsetof(VMXFunction, Description) == 12, "Description at 12");
VMX_STATIC_ASSERT(offsetof(VMXFunction, ArgCount) == 20, "ArgCount at 20");

VMX_STATIC_ASSERT(sizeof(TokenRecord) == 72, "TokenRecord is 72 bytes");
VMX_STATIC_ASSERT(offsetof(TokenRecord, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TokenText) == 4, "TokenText at 4");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TokenLength) == 12, "TokenLength at 12");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TextSize) == 16, "TextSize at 16");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TokenClass) == 20, "TokenClass at 20");
VMX_STATIC_ASSERT(offsetof(TokenRecord, SubKind) == 24, "SubKind at 24");
VMX_STATIC_ASSERT(offsetof(TokenRecord, Value) == 28, "Value at 28");
VMX_STATIC_ASSERT(offsetof(TokenRecord, Reserved) == 60, "reserved bytes at 60");
#else
VMX_STATIC_ASSERT(sizeof(VMXValue) == 32, "VMXValue is 32 bytes");
VMX_STATIC_ASSERT(offsetof(VMXValue, ValueType) == 0, "ValueType at 0");
VMX_STATIC_ASSERT(offsetof(VMXValue, IntValue) == 4, "IntValue at 4");
VMX_STATIC_ASSERT(offsetof(VMXValue, RealValue) == 4, "RealValue at 4");
VMX_STATIC_ASSERT(offsetof(VMXValue, StrValue) == 4, "StrValue at 4");
VMX_STATIC_ASSERT(offsetof(VMXValue, StrLength) == 8, "StrLength at 8");
VMX_STATIC_ASSERT(offsetof(VMXValue, StrSize) == 12, "StrSize at 12");
VMX_STATIC_ASSERT(offsetof(VMXValue, Reserved) == 16, "reserved bytes at 16");

VMX_STATIC_ASSERT(sizeof(VMXModuleInfo) == 32, "VMXModuleInfo is 32 bytes");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Name) == 4, "Name at 4");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Comment) == 8, "Comment at 8");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, ModuleType) == 12, "ModuleType at 12");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, InterpreterLevel) == 16, "InterpreterLevel at 16");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Reserved) == 20, "reserved slot at 20");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Author) == 24, "Author at 24");
VMX_STATIC_ASSERT(offsetof(VMXModuleInfo, Copyright) == 28, "Copyright at 28");

VMX_STATIC_ASSERT(sizeof(VMXConstant) == 44, "VMXConstant is 44 bytes");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Name) == 4, "Name at 4");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Description) == 8, "Description at 8");
VMX_STATIC_ASSERT(offsetof(VMXConstant, Value) == 12, "Value at 12");

VMX_STATIC_ASSERT(sizeof(VMXFunction) == 16, "VMXFunction is 16 bytes");
VMX_STATIC_ASSERT(offsetof(VMXFunction, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(VMXFunction, Name) == 4, "Name at 4");
VMX_STATIC_ASSERT(offsetof(VMXFunction, Description) == 8, "Description at 8");
VMX_STATIC_ASSERT(offsetof(VMXFunction, ArgCount) == 12, "ArgCount at 12");

VMX_STATIC_ASSERT(sizeof(TokenRecord) == 68, "TokenRecord is 68 bytes");
VMX_STATIC_ASSERT(offsetof(TokenRecord, Size) == 0, "Size at 0");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TokenText) == 4, "TokenText at 4");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TokenLength) == 8, "TokenLength at 8");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TextSize) == 12, "TextSize at 12");
VMX_STATIC_ASSERT(offsetof(TokenRecord, TokenClass) == 16, "TokenClass at 16");
VMX_STATIC_ASSERT(offsetof(TokenRecord, SubKind) == 20, "SubKind at 20");
VMX_STATIC_ASSERT(offsetof(TokenRecord, Value) == 24, "Value at 24");
VMX_STATIC_ASSERT(offsetof(TokenRecord, Reserved) == 56, "reserved bytes at 56");
#endif

#endif /* QUENMARK_VMX_H */
