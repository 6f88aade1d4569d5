#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

// A whole number read from the start of a text the way the C library's "%d"
// reads it: optional ASCII blanks, an optional sign, at least one decimal
// digit; whatever follows the digits is ignored.
struct TDecimalRead
{
    // The text starts with a number.
    bool isNumber = false;
    // Its value, unless it lies beyond a 32-bit integer (where the C
    // conversion's behaviour is undefined).
    std::optional<std::int32_t> value;
};

TDecimalRead ReadDecimal(QStringView text);
