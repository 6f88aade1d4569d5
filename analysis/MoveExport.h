#pragma once

#include "model/clsChainState.h"
#include "scenario/clsScenarioDescription.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// What a window hands out of a move, each as zemba-run would write it, so that
// a file saved from the window and one written by the tool can be compared.

// The trace of the move from step 0 to steps, every step, as
// `zemba-run --steps <steps> --trace` writes it, from a fresh run of the
// scenario. Streams into a file beside path and renames it once whole;
// false, with a one-line reason in error, when it could not or cancel was
// set, from another thread, on the way.
bool WriteMoveTraceFile(const TScenarioDescription& description, std::int64_t steps, const std::string& path,
                        std::string& error, const std::atomic<bool>& cancel);

// The delivery curve as CSV: step, simulated minutes, loads delivered, loads per
// simulated minute over the last simulated minute (as the chart draws it)
// and the throughput bound in loads per simulated minute.
std::string DeliverySeriesCsv(const std::vector<TDeliveryPoint>& curve, double boundPerMinute);
