/* record_tokens.vmx: a tokenizer module for the token-record harness. Its
   GetNextToken fills the record from a script of bytes that the harness
   hands over with SetRecordScript, one record per call, so that the program
   meets every record a module can return, broken ones included. Once the
   script is used up the module recognises nothing.

   The module breaks the interface only in ways the program promises to
   survive: it never writes past the program's guard behind a lent buffer,
   and a buffer of its own always ends in a zero byte. */
#include <string.h>

#include "vm/vmx.h"
#include "script_bytes.h"

/* How far the program's guard reaches behind each lent buffer. */
#define GUARDED_SIZE (VMX_BUFFER_SIZE + 1024)
#define OWN_SIZE 64

static const VMXModuleInfo Info = {
    sizeof(VMXModuleInfo),
    "Record tokens",
    "Returns the token records of a script.",
    "Tokenizer",
    "1A",
    NULL,
    "The Quenmark developers",
    "Test module.",
};

static char ownText[OWN_SIZE];
static char ownValue[OWN_SIZE];

VMX_EXPORT void SetRecordScript(const unsigned char* data, size_t size) {
    SetScript(data, size);
}

/* A length: mostly small, often just around the buffer size, sometimes any
   32-bit value. */
static int32_t Length(void) {
    const unsigned code = Byte();
    if (code < 0x80) return (int32_t)code;
    if (code < 0xF0) return VMX_BUFFER_SIZE + (int32_t)code - 0xB8;
    return Int32();
}

/* Fills count bytes (at most limit) from the script or with one byte. */
static void Fill(char* buffer, size_t limit) {
    const int32_t wanted = Length();
    size_t count = wanted < 0 ? 0 : (size_t)wanted;
    if (count > limit) count = limit;
    if (Byte() & 1) {
        if (count > scriptLeft) count = scriptLeft;
        memcpy(buffer, script, count);
        script += count;
        scriptLeft -= count;
    } else {
        memset(buffer, (int)Byte(), count);
    }
}

/* The buffer a pointer field is left at, or moved to. */
static char* Pointer(char* lent, char* otherLent, char* own) {
    switch (Byte() % 4) {
    case 1: return NULL;
    case 2: return own;
    case 3: return otherLent;
    default: return lent;
    }
}

static int32_t Result(void) {
    const unsigned code = Byte() % 8;
    if (code <= 4) return vmxTokenRecognised;
    if (code == 5) return vmxTokenNotRecognised;
    if (code == 6) return vmxTokenFailure;
    return Int32();
}

static void FillValue(TokenRecord* record, char* lentText, char* lentValue) {
    record->Value.ValueType = (int32_t)(Byte() % 5);
    if (record->Value.ValueType == vmxString) {
        record->Value.StrValue = Pointer(lentValue, lentText, ownValue);
        record->Value.StrLength = Length();
        record->Value.StrSize = Length();
    } else {
        unsigned char raw[8];
        for (int i = 0; i < 8; ++i) raw[i] = (unsigned char)Byte();
        memcpy((char*)&record->Value + 4, raw, sizeof raw);
    }
}

VMX_EXPORT const VMXModuleInfo* GetModuleInfo(void) { return &Info; }

VMX_EXPORT int32_t GetNextToken(const char* text, int32_t length, TokenRecord* record) {
    (void)text;
    (void)length;
    if (scriptLeft == 0) return vmxTokenNotRecognised;
    char* const lentText = record->TokenText;
    char* const lentValue = record->Value.StrValue;
    const int32_t result = Result();
    if (Byte() & 1) record->Size = Int32();
    record->TokenLength = Length();
    record->TokenClass = (int32_t)(Byte() % 5);
    const unsigned subKind = Byte();
    record->SubKind = subKind < 0xF0 ? (int32_t)(subKind % 17) : Int32();
    FillValue(record, lentText, lentValue);
    if (Byte() & 1) record->TextSize = Int32();
    Fill(lentText, GUARDED_SIZE);
    Fill(lentValue, GUARDED_SIZE);
    memset(ownText, 0, sizeof ownText);
    memset(ownValue, 0, sizeof ownValue);
    Fill(ownText, OWN_SIZE - 1);
    Fill(ownValue, OWN_SIZE - 1);
    record->TokenText = Pointer(lentText, lentValue, ownText);
    return result;
}
