#include "strings/clsDecimalText.h"

#include <algorithm>
#include <limits>

namespace {

// The white space that scanf skips in the C locale; Unicode blanks do not count.
bool IsAsciiSpace(QChar c)
{
    switch (c.unicode()) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
        return true;
    default:
        return false;
    }
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

TDecimalRead ReadDecimal(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && IsAsciiSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    const qsizetype firstDigit = at;
    // The magnitude stops growing just past the largest that fits, so long
    // digit runs cannot overflow it.
    constexpr std::int64_t tooLarge = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t magnitude = 0;
    for (; at < text.size() && IsAsciiDigit(text[at]); ++at)
        magnitude = std::min(magnitude * 10 + (text[at].unicode() - u'0'), tooLarge);
    if (at == firstDigit)
        return {};

    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return {true, std::nullopt};
    return {true, static_cast<std::int32_t>(value)};
}
