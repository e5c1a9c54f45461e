/* tables.vmx: a module for the module-loading harness. Its information
   record, its constant and function tables and its dispatcher's answers are
   all built from a script of bytes that the harness hands over with
   SetTableScript before the program loads the module, so that the loader
   meets every record a module can return, broken ones included.

   The module breaks the interface only in ways the program promises to
   survive: every text it returns ends in a zero byte, a table is walked by
   its records' own sizes only within the table, a string value's length
   never runs past its text, and a result is written only within the
   program's buffer. */
#include <string.h>

#include "vm/vmx.h"
#include "script_bytes.h"

#define MAX_RECORDS 24
#define TEXT_SLOTS 64
#define TEXT_SIZE 48
#define TABLE_BYTES (MAX_RECORDS * 64)


static char texts[TEXT_SLOTS][TEXT_SIZE];
static int textsUsed;

static int32_t initResult;
static VMXModuleInfo info;
static unsigned char constantTable[TABLE_BYTES];
static int32_t constantCount;
static unsigned char functionTable[TABLE_BYTES];
static int32_t functionCount;
static VMXOutputProc output;

static double Real(void) {
    uint64_t bits = 0;
    double value;
    for (int i = 0; i < 8; ++i) bits |= (uint64_t)Byte() << (8 * i);
    memcpy(&value, &bits, sizeof value);
    return value;
}

/* A text: null, one of the words the loader looks for, or script bytes. */
static const char* Text(void) {
    static const char* const words[] = {"Func&Const", "Tokenizer", "Func&Const Tokenizer", "1", "1A", "",
                                        "PI",         "X",         "LONG_NAME_OF_THIRTY_TWO_LETTERS_"};
    const unsigned code = Byte();
    if (code == 0) return NULL;
    if (code < 0x80) return words[code % (sizeof words / sizeof *words)];
    if (textsUsed == TEXT_SLOTS) return "";
    char* text = texts[textsUsed++];
    const size_t length = Byte() % TEXT_SIZE;
    for (size_t i = 0; i < length; ++i) text[i] = (char)Byte();
    text[length] = '\0';
    return text;
}

/* A record size: mostly right, sometimes another size that still keeps
   the next record inside the table, sometimes one that ends the walk. A
   wrong size is at least the Size field itself: the next record may
   overlap the rest of a record the program skips, never its size. */
static int32_t RecordSize(int32_t right, size_t offset) {
    const unsigned code = Byte();
    if (code < 0xC0) return right;
    if (code < 0xE0) return -(int32_t)(code & 3);
    const size_t room = TABLE_BYTES - offset - 64;
    return (int32_t)(sizeof(int32_t) + Byte() % (room > 1 ? room : 1));
}

static void BuildInfo(void) {
    const unsigned sizeCode = Byte();
    info.Size = sizeCode < 0xF0 ? (int32_t)sizeof(VMXModuleInfo) : Int32();
    info.Name = Text();
    info.Comment = Text();
    info.ModuleType = Text();
    info.InterpreterLevel = Text();
    info.Author = Text();
    info.Copyright = Text();
}

static void BuildValue(VMXValue* value) {
    memset(value, 0, sizeof *value);
    const unsigned type = Byte();
    value->ValueType = type < 0xF0 ? (int32_t)(1 + type % 3) : (int32_t)type;
    if (value->ValueType == vmxInteger) value->IntValue = Int32();
    if (value->ValueType == vmxReal) value->RealValue = Real();
    if (value->ValueType == vmxString) {
        const char* text = Text();
        value->StrValue = (char*)text;
        value->StrLength = text ? (int32_t)strlen(text) : (int32_t)(Byte() & 1);
        value->StrSize = Int32();
    }
}

/* Lays records of the table one after another by their own sizes; the
   count returned is at most the records laid. */
static int32_t BuildTable(unsigned char* table, int32_t rightSize, void (*fill)(unsigned char*, int32_t)) {
    const int32_t wanted = (int32_t)(int8_t)Byte();
    if (wanted <= 0) return wanted;
    size_t offset = 0;
    int32_t laid = 0;
    memset(table, 0, TABLE_BYTES);
    while (laid < wanted && laid < MAX_RECORDS && offset + 64 <= TABLE_BYTES) {
        const int32_t size = RecordSize(rightSize, offset);
        fill(table + offset, size);
        ++laid;
        if (size <= 0) break;
        offset += (size_t)size;
    }
    return laid;
}

static void FillConstant(unsigned char* record, int32_t size) {
    VMXConstant constant;
    constant.Size = size;
    constant.Name = Text();
    constant.Description = Text();
    BuildValue(&constant.Value);
    memcpy(record, &constant, sizeof constant);
}

static void FillFunction(unsigned char* record, int32_t size) {
    VMXFunction function;
    function.Size = size;
    function.Name = Text();
    function.Description = Text();
    const unsigned code = Byte();
    function.ArgCount = code < 0xF0 ? (int32_t)(code % 5) : Int32();
    memcpy(record, &function, sizeof function);
}

VMX_EXPORT void SetTableScript(const unsigned char* data, size_t size) {
    SetScript(data, size);
    textsUsed = 0;
    const unsigned code = Byte();
    initResult = code < 0xF0 ? 0 : Int32();
    BuildInfo();
    constantCount = BuildTable(constantTable, (int32_t)sizeof(VMXConstant), FillConstant);
    functionCount = BuildTable(functionTable, (int32_t)sizeof(VMXFunction), FillFunction);
}

VMX_EXPORT int32_t Init(void) { return initResult; }

VMX_EXPORT int32_t SetStdout(VMXOutputProc proc) {
    output = proc;
    return 0;
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return Byte() == 0xFF ? NULL : &info; }

VMX_EXPORT int32_t GetConstantsNum(void) { return constantCount; }

VMX_EXPORT const VMXConstant* GetConstants(void) { return (const VMXConstant*)constantTable; }

VMX_EXPORT int32_t GetFunctionsNum(void) { return functionCount; }

VMX_EXPORT const VMXFunction* GetFunctions(void) { return (const VMXFunction*)functionTable; }

/* Answers a call from the rest of the script: a result code, and a value
   of any type, a string written only within the program's buffer. */
VMX_EXPORT int32_t FunctionDispatcher(const char* name, VMXValue* result, VMXValue* args, int32_t argCount) {
    (void)name;
    (void)args;
    (void)argCount;
    const unsigned code = Byte();
    if (code >= 0xF0 && output) {
        const char* text = Text();
        if (text) output(text, (int32_t)strlen(text));
    }
    if (code >= 0xE0 && code < 0xF0) return 101 + (int32_t)(code % 8);
    const unsigned type = Byte();
    result->ValueType = type < 0xF0 ? (int32_t)(1 + type % 3) : (int32_t)type;
    if (result->ValueType == vmxInteger) result->IntValue = Int32();
    if (result->ValueType == vmxReal) result->RealValue = Real();
    if (result->ValueType == vmxString) {
        const int32_t room = result->StrSize > 0 ? result->StrSize : 0;
        const int32_t length = (int32_t)(Byte() * 4) % (room + 1);
        for (int32_t i = 0; i < length; ++i) result->StrValue[i] = (char)Byte();
        result->StrLength = length;
    }
    return 0;
}
