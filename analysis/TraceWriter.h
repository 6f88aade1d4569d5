#pragma once

#include "model/clsHandlerState.h"

#include <cstdint>
#include <ostream>

class TBucketChain;
struct TChainState;

// Writes the CSV trace of a run: one row per handler in chain order for each
// traced step. Numbers are printed with 17 significant digits, so that two
// traces agree exactly when the runs agree bit for bit.
class TTraceWriter
{
public:
    explicit TTraceWriter(std::ostream& out);

    void WriteHeader();
    void WriteStep(std::int64_t step, const TBucketChain& chain);
    // The rows of a published copy of the chain: the same bytes as the chain
    // itself gives at that step.
    void WriteState(const TChainState& chain);

private:
    void WriteRow(std::int64_t step, const THandlerState& handler);

    std::ostream& out;
    // Reused for every handler, so that tracing allocates nothing per row.
    THandlerState state;
};
