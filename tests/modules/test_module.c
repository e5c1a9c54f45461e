/* One source for every test module. Compile definitions choose which rule
   of the module interface a module keeps or breaks:
     TM_ID              number the module reports from WHO() and TWIN()
     TM_TYPE_ID         0 "Func&Const", 1 "Tokenizer", 2 "Func&Const+Tokenizer",
                        3 "Calculator", 4 "func&const tokenizer"
     TM_LEVEL_ID        0 "1", 1 "1A", 2 "2", 3 "1 ", 4 "1a"
     TM_NO_INIT, TM_INIT_RESULT
     TM_CRASH_IN_INIT   Init writes through a null pointer
     TM_NO_INFO, TM_NULL_INFO, TM_INFO_SIZE, TM_NULL_TYPE, TM_NULL_COMMENT
     TM_NO_CONSTANTS, TM_NO_CONST_TABLE, TM_CONST_SET
     TM_NO_FUNCTIONS, TM_NO_FUNC_TABLE, TM_NO_DISPATCHER, TM_FUNC_SET
     TM_TOKENIZER       exports GetNextToken
     TM_TOKEN_STARTS    exports GetTokenStarts: tokens start with "#"
   The sets: 0 the regular tables, 1 a bad value tag, 2 odd record sizes,
   3 a null name, 4 a null table, 5 the shared names of two modules, 6 functions
   that misbehave: HANGFOREVER never returns, CRASHNOW writes through a null
   pointer, ABORTNOW aborts, OVERFLOWSTACK recurses without end, SPILLRESULT
   writes past its result buffer. */
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
#include <string.h>

#include "test_module_control.h"
#include "vm/vmx.h"

#ifndef TM_ID
#define TM_ID 1
#endif
#ifndef TM_TYPE_ID
#define TM_TYPE_ID 0
#endif
#ifndef TM_LEVEL_ID
#define TM_LEVEL_ID 0
#endif
#ifndef TM_INIT_RESULT
#define TM_INIT_RESULT 0
#endif
#ifndef TM_INFO_SIZE
#define TM_INFO_SIZE sizeof(VMXModuleInfo)
#endif
#ifndef TM_CONST_SET
#define TM_CONST_SET 0
#endif
#ifndef TM_FUNC_SET
#define TM_FUNC_SET 0
#endif

#define TM_UNUSED __attribute__((unused))

static const char* const Types[] TM_UNUSED = {"Func&Const", "Tokenizer", "Func&Const+Tokenizer", "Calculator",
                                    "func&const tokenizer"};
static const char* const Levels[] TM_UNUSED = {"1", "1A", "2", "1 ", "1a"};

static TestControl Control = {.Token = {.Result = vmxTokenNotRecognised}};

static void Log(const char* entry) {
    const size_t used = strlen(Control.CallLog);
    if (used + strlen(entry) + 2 > sizeof Control.CallLog) return;
    strcat(Control.CallLog, entry);
    strcat(Control.CallLog, " ");
}

VMX_EXPORT TestControl* TestGetControl(void) { return &Control; }

#ifndef TM_NO_INIT
VMX_EXPORT int32_t Init(void) {
    Log("Init");
#ifdef TM_CRASH_IN_INIT
    {
        volatile int* volatile nowhere = NULL;
        *nowhere = 1;
    }
#endif
    return TM_INIT_RESULT;
}
#endif

VMX_EXPORT int32_t SetStdout(VMXOutputProc output) {
    Log("SetStdout");
    Control.Output = output;
    return 0;
}

/* ---- information record ---- */

#ifndef TM_NO_INFO
static VMXModuleInfo Info = {
    TM_INFO_SIZE, "Test module", "Breaks or keeps one rule", NULL, NULL, NULL, "Tests", "None",
};

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) {
    Log("GetModuleInfo");
    Info.ModuleType = Types[TM_TYPE_ID];
    Info.InterpreterLevel = Levels[TM_LEVEL_ID];
#ifdef TM_NULL_TYPE
    Info.ModuleType = NULL;
#endif
#ifdef TM_NULL_COMMENT
    Info.Comment = NULL;
#endif
#ifdef TM_NULL_INFO
    return NULL;
#else
    return &Info;
#endif
}
#endif

/* ---- constants ---- */

#define INT_CONSTANT(name, value) {sizeof(VMXConstant), name, "test constant", {.ValueType = vmxInteger, .IntValue = value}}

#if TM_CONST_SET == 0
static char HelloBuffer[] TM_UNUSED = "hello\0junk";
static char CutBuffer[] TM_UNUSED = "abcdef";
static const VMXConstant Constants[] TM_UNUSED = {
    INT_CONSTANT("IntConst", 42),
    {sizeof(VMXConstant), "RealConst", "a real", {.ValueType = vmxReal, .RealValue = 2.5}},
    {sizeof(VMXConstant), "StrConst", "ends at its zero byte", {.ValueType = vmxString, .StrValue = HelloBuffer, .StrLength = 10}},
    {sizeof(VMXConstant), "CutConst", "cut to its length", {.ValueType = vmxString, .StrValue = CutBuffer, .StrLength = 3}},
    {sizeof(VMXConstant), "EmptyConst", "no text", {.ValueType = vmxString, .StrValue = NULL, .StrLength = 0}},
};
#define CONSTANT_TABLE Constants
#define CONSTANT_COUNT 5
#elif TM_CONST_SET == 1
static const VMXConstant Constants[] TM_UNUSED = {
    INT_CONSTANT("BeforeBad", 1),
    {sizeof(VMXConstant), "BadTag", "tag 9", {.ValueType = 9}},
    INT_CONSTANT("AfterBad", 3),
};
#define CONSTANT_TABLE Constants
#define CONSTANT_COUNT 3
#elif TM_CONST_SET == 2
#pragma pack(push, 1)
static const struct {
    VMXConstant First;
    int32_t ShortSize;
    uint8_t ShortRest[36];
    VMXConstant Third;
} OddConstants TM_UNUSED = {INT_CONSTANT("FirstConst", 1), 40, {0}, INT_CONSTANT("ThirdConst", 3)};
#pragma pack(pop)
_Static_assert(sizeof OddConstants == 2 * sizeof(VMXConstant) + 40, "a short record of 40 bytes");
#define CONSTANT_TABLE (&OddConstants.First)
#define CONSTANT_COUNT 3
#elif TM_CONST_SET == 3
static const VMXConstant Constants[] TM_UNUSED = {
    INT_CONSTANT("Named", 1),
    INT_CONSTANT(NULL, 2),
    INT_CONSTANT("AfterNull", 3),
};
#define CONSTANT_TABLE Constants
#define CONSTANT_COUNT 3
#elif TM_CONST_SET == 4
#define CONSTANT_TABLE NULL
#define CONSTANT_COUNT 2
#elif TM_CONST_SET == 5
static const VMXConstant Constants[] TM_UNUSED = {
    INT_CONSTANT(TM_ID == 1 ? "dup" : "DUP", TM_ID),
};
#define CONSTANT_TABLE Constants
#define CONSTANT_COUNT 1
#endif

#ifndef TM_NO_CONSTANTS
VMX_EXPORT int32_t GetConstantsNum(void) {
    Log("GetConstantsNum");
    return CONSTANT_COUNT;
}

#ifndef TM_NO_CONST_TABLE
VMX_EXPORT const VMXConstant* GetConstants(void) {
    Log("GetConstants");
    return CONSTANT_TABLE;
}
#endif
#endif

/* ---- functions ---- */

#define FUNCTION(name, count) {sizeof(VMXFunction), name, "test function", count}

#if TM_FUNC_SET == 0
static const VMXFunction Functions[] TM_UNUSED = {
    FUNCTION("Status", 1), FUNCTION("Echo", 1), FUNCTION("Out", 1), FUNCTION("Who", 0),
};
#define FUNCTION_TABLE Functions
#define FUNCTION_COUNT 4
#elif TM_FUNC_SET == 2
#pragma pack(push, 1)
static const struct {
    VMXFunction First;
    int32_t ShortSize;
    uint8_t ShortRest[16];
    VMXFunction Third;
} OddFunctions TM_UNUSED = {FUNCTION("FirstFn", 0), 20, {0}, FUNCTION("ThirdFn", 0)};
#pragma pack(pop)
_Static_assert(sizeof OddFunctions == 2 * sizeof(VMXFunction) + 20, "a short record of 20 bytes");
#define FUNCTION_TABLE (&OddFunctions.First)
#define FUNCTION_COUNT 3
#elif TM_FUNC_SET == 3
static const VMXFunction Functions[] TM_UNUSED = {FUNCTION("Who", 0), FUNCTION(NULL, 0)};
#define FUNCTION_TABLE Functions
#define FUNCTION_COUNT 2
#elif TM_FUNC_SET == 5
static const VMXFunction Functions[] TM_UNUSED = {FUNCTION(TM_ID == 1 ? "twin" : "TWIN", TM_ID)};
#define FUNCTION_TABLE Functions
#define FUNCTION_COUNT 1
#endif

#if TM_FUNC_SET == 6
static const VMXFunction Functions[] TM_UNUSED = {
    FUNCTION("HangForever", 0), FUNCTION("CrashNow", 0), FUNCTION("AbortNow", 0),
    FUNCTION("OverflowStack", 0), FUNCTION("SpillResult", 0),
};
#define FUNCTION_TABLE Functions
#define FUNCTION_COUNT 5
#endif

#ifndef TM_NO_FUNCTIONS
VMX_EXPORT int32_t GetFunctionsNum(void) {
    Log("GetFunctionsNum");
    return FUNCTION_COUNT;
}

#ifndef TM_NO_FUNC_TABLE
VMX_EXPORT const VMXFunction* GetFunctions(void) {
    Log("GetFunctions");
    return FUNCTION_TABLE;
}
#endif
#endif

TM_UNUSED static int32_t SetInteger(VMXValue* result, int32_t value) {
    result->ValueType = vmxInteger;
    result->IntValue = value;
    return vmxSuccess;
}

/* OUT(k): writes one of the output cases and returns k. */
TM_UNUSED static int32_t Out(int32_t which, VMXValue* result) {
    if (Control.Output) {
        switch (which) {
        case 1: Control.Output("a\nb", 3); break;
        case 2: Control.Output("a", 1); Control.Output("b", 1); break;
        case 3: Control.Output("x\r\ny\rz\n", 7); break;
        case 4: Control.Output("abcdef", 3); break;
        case 5: Control.Output("ab\0cd", 5); break;
        case 6: Control.Output("", 0); break;
        case 7: Control.Output("a\r\n\r\nb", 6); break;
        case 8: Control.Output("ignored", -1); break;
        default: break;
        }
    }
    return SetInteger(result, which);
}

static volatile int Depth TM_UNUSED;

/* Each call adds a frame the compiler cannot fold away, until the stack is gone. */
TM_UNUSED static int32_t Recurse(int32_t level) {
    volatile char frame[512];
    frame[0] = (char)level;
    Depth = level;
    if (Depth >= 0) return Recurse(level + 1) + frame[0];
    return frame[0];
}

TM_UNUSED static int32_t Misbehave(const char* name, VMXValue* result) {
    if (strcmp(name, "HANGFOREVER") == 0)
        for (;;) pause();
    if (strcmp(name, "CRASHNOW") == 0) {
        volatile int* volatile nowhere = NULL;
        *nowhere = 1;
    }
    if (strcmp(name, "ABORTNOW") == 0) abort();
    if (strcmp(name, "OVERFLOWSTACK") == 0) return SetInteger(result, Recurse(0));
    if (strcmp(name, "SPILLRESULT") == 0) {
        memset(result->StrValue, 'x', (size_t)result->StrSize + 16);
        result->ValueType = vmxString;
        result->StrLength = 1;
        return vmxSuccess;
    }
    return vmxFailure5;
}

#ifndef TM_NO_DISPATCHER
VMX_EXPORT int32_t FunctionDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    Log("FunctionDispatcher");
    if (strcmp(name, "WHO") == 0 || strcmp(name, "FIRSTFN") == 0 || strcmp(name, "THIRDFN") == 0)
        return SetInteger(result, TM_ID);
    if (strcmp(name, "TWIN") == 0) return SetInteger(result, TM_ID * 100 + argCount);
    if (TM_FUNC_SET == 6) return Misbehave(name, result);
    if (argCount != 1 || args[0].ValueType != vmxInteger) return vmxFailure5;
    if (strcmp(name, "STATUS") == 0) return args[0].IntValue == 0 ? SetInteger(result, 7) : args[0].IntValue;
    if (strcmp(name, "OUT") == 0) return Out(args[0].IntValue, result);
    if (strcmp(name, "ECHO") == 0) return SetInteger(result, args[0].IntValue);
    return vmxFailure5;
}
#endif

/* ---- tokenizer ---- */

TM_UNUSED static void Fill(char* target, char letter, int32_t count) {
    for (int32_t i = 0; i < count; ++i) target[i] = letter;
}

TM_UNUSED static void ScriptValue(const TestTokenScript* script, VMXValue* value) {
    value->ValueType = script->ValueType;
    if (script->ValueType == vmxInteger) value->IntValue = script->IntValue;
    if (script->ValueType == vmxReal) value->RealValue = script->RealValue;
    if (script->ValueType != vmxString) return;
    if (script->StrFill > 0) Fill(value->StrValue, 'y', script->StrFill);
    else if (script->StrText) strcpy(value->StrValue, script->StrText);
    value->StrLength = script->StrLength;
    if (script->NullStr) value->StrValue = NULL;
}

#ifdef TM_TOKEN_STARTS
VMX_EXPORT const char* GetTokenStarts(void) {
    Log("GetTokenStarts");
    return "#";
}
#endif

#ifdef TM_TOKENIZER
VMX_EXPORT int32_t GetNextToken(const char* text, int32_t length, TokenRecord* record) {
    const TestTokenScript* script = &Control.Token;
    ++Control.TokenCalls;
    strncpy(Control.LastInput, text, sizeof Control.LastInput - 1);
    Control.LastLength = length;
    Control.LastTextSize = record->TextSize;
    Control.LastStrSize = record->Value.StrSize;
    if (script->Result != vmxTokenRecognised) return script->Result;

    if (script->Size != 0) record->Size = script->Size;
    record->TokenLength = script->TokenLength;
    record->TokenClass = script->TokenClass;
    record->SubKind = script->SubKind;
    if (script->TextFill > 0) Fill(record->TokenText, 'x', script->TextFill);
    else if (script->Text) strcpy(record->TokenText, script->Text);
    if (script->NullText) record->TokenText = NULL;
    if (script->OwnText) record->TokenText = (char*)script->OwnText;
    ScriptValue(script, &record->Value);
    return vmxTokenRecognised;
}
#endif
