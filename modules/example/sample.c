/* sample.vmx: a small Quenmark module. It offers the constant ANSWER and
   the functions TWICE(x) and HELLO(name). */
#include <float.h>
#include <stdio.h>

#include "vmx.h"

/* This module's failure codes. */
enum {
    sampleWrongType = vmxFailure2, /* an argument is not of the type the function takes */
    sampleOutOfRange = vmxFailure3 /* the result is beyond the range of numbers */
};

static VMXOutputProc Output = NULL;

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Sample",                   /* Name */
    "An example module.",       /* Comment */
    "Func&Const",               /* ModuleType */
    "1",                        /* InterpreterLevel */
    NULL,                       /* reserved */
    "A. Author",                /* Author */
    "Placed in the public domain." /* Copyright */
};

static const VMXConstant Constants[] = {
    {sizeof(VMXConstant), "ANSWER", "The answer", {.ValueType = vmxInteger, .IntValue = 42}},
};

static const VMXFunction Functions[] = {
    {sizeof(VMXFunction), "TWICE", "TWICE(x): x times 2", 1},
    {sizeof(VMXFunction), "HELLO", "HELLO(name): writes and returns a greeting", 1},
};

static int32_t Twice(const VMXValue* x, VMXValue* result) {
    if (x->ValueType == vmxInteger && x->IntValue >= INT32_MIN / 2 && x->IntValue <= INT32_MAX / 2) {
        result->ValueType = vmxInteger;
        result->IntValue = x->IntValue * 2;
        return vmxSuccess;
    }
    if (x->ValueType != vmxInteger && x->ValueType != vmxReal) return sampleWrongType;
    const double value = x->ValueType == vmxInteger ? 2.0 * x->IntValue : 2.0 * x->RealValue;
    if (value > DBL_MAX || value < -DBL_MAX) return sampleOutOfRange;
    result->ValueType = vmxReal;
    result->RealValue = value;
    return vmxSuccess;
}

static int32_t Hello(const VMXValue* name, VMXValue* result) {
    if (name->ValueType != vmxString) return sampleWrongType;
    /* The greeting goes into the program's buffer of StrSize bytes. */
    int length = snprintf(result->StrValue, (size_t)result->StrSize, "Hello, %.*s!", (int)name->StrLength,
                          name->StrValue);
    if (length < 0) length = 0;
    if (length >= result->StrSize) length = result->StrSize - 1;
    result->ValueType = vmxString;
    result->StrLength = length;
    if (Output) Output(result->StrValue, length);
    return vmxSuccess;
}

VMX_EXPORT int32_t SetStdout(VMXOutputProc output) {
    Output = output;
    return 0;
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return &Info; }

VMX_EXPORT int32_t GetConstantsNum(void) { return 1; }

VMX_EXPORT const VMXConstant* GetConstants(void) { return Constants; }

VMX_EXPORT int32_t GetFunctionsNum(void) { return 2; }

VMX_EXPORT const VMXFunction* GetFunctions(void) { return Functions; }

/* name arrives in capitals; args points to argCount records. */
VMX_EXPORT int32_t FunctionDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    if (argCount != 1) return vmxFailure5;
    if (name[0] == 'T') return Twice(&args[0], result);
    if (name[0] == 'H') return Hello(&args[0], result);
    return vmxFailure5;
}
