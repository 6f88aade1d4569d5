#include "scenario/clsClockTime.h"

#include <charconv>
#include <cstdio>

namespace {

// Digits only, up to the end of the text; nothing for none or too many.
std::optional<std::int64_t> Digits(std::string_view text)
{
    std::int64_t value = 0;
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Two digits below 60.
std::optional<std::int64_t> Sixty(std::string_view text)
{
    const std::optional<std::int64_t> value = text.size() == 2 ? Digits(text) : std::nullopt;
    return value && *value < 60 ? value : std::nullopt;
}

std::string Format(const char* format, long long a, long long b, long long c = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

} // namespace

std::optional<std::int64_t> ReadClockTime(std::string_view text, bool withoutSeconds)
{
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = text.substr(first + 1);
    const std::size_t second = rest.find(':');
    if (second == std::string_view::npos && !withoutSeconds)
        return std::nullopt;
    const std::optional<std::int64_t> hours = Digits(text.substr(0, first));
    const std::optional<std::int64_t> minutes = Sixty(rest.substr(0, second));
    const std::optional<std::int64_t> seconds =
        second == std::string_view::npos ? std::optional<std::int64_t>(0) : Sixty(rest.substr(second + 1));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return (*hours * 60 + *minutes) * 60 + *seconds;
}

std::string SimulatedTimeText(std::int64_t seconds)
{
    return Format("%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string ClockTimeText(std::int64_t secondOfDay)
{
    if (secondOfDay % 60 != 0)
        return SimulatedTimeText(secondOfDay);
    return Format("%lld:%02lld", secondOfDay / 3600, secondOfDay / 60 % 60);
}

std::string ClockTimeAfter(std::int64_t startSecond, std::int64_t seconds)
{
    const std::int64_t at = startSecond + seconds;
    const std::int64_t days = at / SecondsPerDay;
    std::string text = Format("%lld:%02lld", at % SecondsPerDay / 3600, at / 60 % 60);
    if (days > 0)
        text += " (+" + std::to_string(days) + (days == 1 ? " day)" : " days)");
    return text;
}
