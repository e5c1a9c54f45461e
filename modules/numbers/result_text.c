#include "result_text.h"

#include <string.h>

static char ResultText[RESULT_TEXT_CAPACITY];

int32_t SetResultText(VMXValue* result, const char* text) {
    const size_t length = strnlen(text, RESULT_TEXT_CAPACITY - 1);
    memcpy(ResultText, text, length);
    ResultText[length] = '\0';
    result->ValueType = vmxString;
    result->StrValue = ResultText;
    result->StrLength = (int32_t)length;
    result->StrSize = RESULT_TEXT_CAPACITY;
    return vmxSuccess;
}
