#pragma once

#include "base/context.h"
#include "definitions/profile_cache.h"

namespace quenmark::testing {

// A context of a test's own with a cache of definition files as its store,
// as the program's has: repeated reads of an unchanged file cost no read.
class CachedContext : public TCCContext {
public:
    CachedContext() { SetFiles(&FCache); }
    CachedContext(const CachedContext&) = delete;
    CachedContext& operator=(const CachedContext&) = delete;

    const TProfileCache& Cache() const { return FCache; }

private:
    TProfileCache FCache;
};

}  // namespace quenmark::testing
