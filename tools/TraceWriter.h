#pragma once

#include "model/clsHandlerState.h"

#include <cstdint>
#include <ostream>

class TBucketChain;

// Writes the CSV trace of a run: one row per handler in chain order for each
// traced step. Numbers are printed with 17 significant digits, so that two
// traces agree exactly when the runs agree bit for bit.
class TTraceWriter
{
public:
    explicit TTraceWriter(std::ostream& out);

    void WriteHeader();
    void WriteStep(std::int64_t step, const TBucketChain& chain);

private:
    std::ostream& out;
    // Reused for every handler, so that tracing allocates nothing per row.
    THandlerState state;
};
