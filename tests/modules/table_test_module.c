/* A module made with the shared entry points of the table modules: two
   functions, and with TM_WITH_CONSTANTS two constants. */
#include "math/table_module.h"

static int32_t Half(const VMXValue* args, VMXValue* result) { return MathSetReal(result, MathNumber(&args[0]) / 2); }

static int32_t Sum(const VMXValue* args, VMXValue* result) {
    return MathSetReal(result, MathNumber(&args[0]) + MathNumber(&args[1]));
}

static const MathEntry Entries[] = {
    {"HALF", 1, "HALF(x): x / 2", Half},
    {"SUM", 2, "SUM(a, b): a + b", Sum},
};

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo), "Table", "A module made from tables.", "Func&Const", "1", NULL, "Tests", "None.",
};

TABLE_MODULE_FUNCTIONS(Info, Entries)

#ifdef TM_WITH_CONSTANTS
static const VMXConstant Constants[] = {
    {sizeof(VMXConstant), "SEVEN", "Seven", {.ValueType = vmxInteger, .IntValue = 7}},
    {sizeof(VMXConstant), "HALF_ONE", "One half", {.ValueType = vmxReal, .RealValue = 0.5}},
};

TABLE_MODULE_CONSTANTS(Constants)
#endif
