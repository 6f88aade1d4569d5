#pragma once

#include <cstdint>

// How a move stands: under way, every load delivered, or standing still for
// good with loads left to carry. A sweep's run that is still under way when it
// reaches its step limit ends as Running: it met the limit.
enum class TMoveOutcome : std::uint8_t { Running, Finished, Stalled };
