#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::int64_t SecondsPerDay = 24 * 3600;

// Times as a scenario file writes them. "h:mm:ss" (hours of any number of
// digits, minutes and seconds of two below 60), or with withoutSeconds also
// "h:mm"; the seconds it gives, or nothing for any other text.
std::optional<std::int64_t> ReadClockTime(std::string_view text, bool withoutSeconds);
// Seconds as a simulated time, h:mm:ss.
std::string SimulatedTimeText(std::int64_t seconds);
// A second of the day as a clock time: "10:00", or "10:00:30" where the
// seconds are not 0.
std::string ClockTimeText(std::int64_t secondOfDay);
// The clock time so many seconds after a start, to the minute cut off
// downwards, a day or more later with the days added: "12:27", "0:15 (+1 day)".
std::string ClockTimeAfter(std::int64_t startSecond, std::int64_t seconds);
