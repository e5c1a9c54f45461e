/* The script of bytes that a fuzzing module follows, read from the front;
   once it is used up every read gives 0. */
#ifndef QUENMARK_FUZZ_SCRIPT_BYTES_H
#define QUENMARK_FUZZ_SCRIPT_BYTES_H

#include <stddef.h>
#include <stdint.h>

static const unsigned char* script;
static size_t scriptLeft;

static void SetScript(const unsigned char* data, size_t size) {
    script = data;
    scriptLeft = size;
}

static unsigned Byte(void) {
    if (scriptLeft == 0) return 0;
    --scriptLeft;
    return *script++;
}

/* Four bytes, least significant first. */
static int32_t Int32(void) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= (uint32_t)Byte() << (8 * i);
    return (int32_t)value;
}

#endif
