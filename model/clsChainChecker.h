#pragma once

#include "model/clsHandlerState.h"

#include <cstdint>
#include <string>

class TBucketChain;
class TLoadSink;
class TLoadSource;

// Checks a chain between steps for what must always hold, and reports the
// first violation in words: loads are neither lost nor duplicated, no person
// holds more than its capacity allows, every handler is filed once under its
// position, figures are finite and in range, home areas keep their minimum length.
class TChainChecker
{
public:
    TChainChecker(const TBucketChain& chain, const TLoadSource& source, const TLoadSink& sink,
                  std::int32_t initialStock);

    // Empty while everything holds.
    std::string Check() const;

    // Loads the persons hold right now.
    std::int64_t CountLoadsInHands() const;

private:
    const TBucketChain& chain;
    const TLoadSource& source;
    const TLoadSink& sink;
    const std::int32_t initialStock;
    // Reused for every handler checked.
    mutable THandlerState state;
};
