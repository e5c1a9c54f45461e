#include "chance.h"

#include <sys/random.h>
#include <time.h>
#include <unistd.h>

static uint64_t State[4];
static int Started = 0;

/* A mixing step that spreads a weak starting value over the whole state. */
static uint64_t MixStep(uint64_t* mix) {
    uint64_t z = (*mix += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

/* The state from getrandom; where that fails, from the clock and the
   process id. */
static void StartState(void) {
    if (getrandom(State, sizeof State, 0) != (ssize_t)sizeof State) {
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        uint64_t mix = (uint64_t)now.tv_sec * 1000000007u ^ (uint64_t)now.tv_nsec ^ ((uint64_t)getpid() << 32);
        for (int i = 0; i < 4; ++i) State[i] = MixStep(&mix);
    }
    Started = 1;
}

static uint64_t RotateLeft(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

static uint64_t NextRandom(void) {
    if (!Started) StartState();
    const uint64_t value = RotateLeft(State[1] * 5, 7) * 9;
    const uint64_t t = State[1] << 17;
    State[2] ^= State[0];
    State[3] ^= State[1];
    State[1] ^= State[2];
    State[0] ^= State[3];
    State[2] ^= t;
    State[3] = RotateLeft(State[3], 45);
    return value;
}

/* A uniform double in [0, 1): 53 random bits. */
int32_t NumbersRandom(const VMXValue* args, VMXValue* result) {
    (void)args;
    return MathSetReal(result, (double)(NextRandom() >> 11) * 0x1.0p-53);
}

/* A uniform whole number from a to b, both included; a <= b. Draws beyond
   the last whole multiple of the span are drawn again, so no value is
   favoured. */
int32_t NumbersRandInt(const VMXValue* args, VMXValue* result) {
    int64_t low = 0, high = 0;
    const int32_t status = MathTwoWholeArguments(args, &low, &high);
    if (status != vmxSuccess) return status;
    if (low > high) return mathOutsideDomain;
    const uint64_t span = (uint64_t)(high - low) + 1;
    const uint64_t limit = UINT64_MAX - UINT64_MAX % span;
    uint64_t draw;
    do draw = NextRandom();
    while (draw >= limit);
    return MathSetWhole(result, (double)(low + (int64_t)(draw % span)));
}
