#pragma once

#include "fuzzsupport.h"

#include "editor/colorengine.h"

#include <vector>

namespace fuzz {

// What every colouring pass promises: runs ascending, apart or different, end
// inclusive, inside the stretch [base, base + length).
inline void checkRuns(const std::vector<TKeyDescr> &runs, int base, int length)
{
    for (size_t i = 0; i < runs.size(); ++i) {
        const TKeyDescr &k = runs[i];
        FUZZ_CHECK(k.BeginChar >= base && k.BeginChar <= k.EndChar && k.EndChar < base + length);
        if (i > 0) {
            const TKeyDescr &p = runs[i - 1];
            FUZZ_CHECK(p.EndChar < k.BeginChar);
            FUZZ_CHECK(p.EndChar + 1 < k.BeginChar || p.Color != k.Color || p.Order != k.Order
                || p.Keyword != k.Keyword);
        }
    }
}

} // namespace fuzz
