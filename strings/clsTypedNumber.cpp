#include "strings/clsTypedNumber.h"

#include "strings/clsStringTable.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr std::int32_t TextEmpty = 3200;
constexpr std::int32_t TextNotANumber = 3201;
constexpr std::int32_t TextSecondMark = 3202;
constexpr std::int32_t TextGroupedDecimal = 3203;
constexpr std::int32_t TextGroupedWhole = 3204;
constexpr std::int32_t TextNotWhole = 3205;
constexpr std::int32_t TextTooLarge = 3206;

// A typed number taken apart: its sign, the digits before and after the
// decimal mark, and the mark as typed; or why it is none.
struct TTypedParts
{
    QString refusal;
    QString text;
    bool negative = false;
    std::string head;
    std::string tail;
    QChar mark;

    // One to three digits, the first not 0, a mark and three digits: "1.000", "12,500".
    bool LooksGrouped() const
    {
        return !mark.isNull() && tail.size() == 3 && !head.empty() && head.size() <= 3 && head[0] != '0';
    }
    QString Digits() const { return QString::fromStdString((negative ? "-" : "") + head + tail); }
};

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

TTypedParts Split(QStringView typed)
{
    TTypedParts parts;
    parts.text = typed.trimmed().toString();
    const QString& text = parts.text;
    if (text.isEmpty()) {
        parts.refusal = GetStringById(TextEmpty);
        return parts;
    }
    qsizetype at = 0;
    if (text[0] == u'+' || text[0] == u'-') {
        parts.negative = text[0] == u'-';
        ++at;
    }
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (IsDigit(c)) {
            (parts.mark.isNull() ? parts.head : parts.tail) += static_cast<char>(c.unicode());
        } else if ((c == u',' || c == u'.') && parts.mark.isNull()) {
            parts.mark = c;
        } else if (c == u',' || c == u'.') {
            parts.refusal = GetStringById(TextSecondMark).arg(text);
            return parts;
        } else {
            parts.refusal = GetStringById(TextNotANumber).arg(text);
            return parts;
        }
    }
    if (parts.head.empty() && parts.tail.empty())
        parts.refusal = GetStringById(TextNotANumber).arg(text);
    return parts;
}

// What "1.000" would be as a decimal with another count of places: "1,0", "2,5", "12,3450".
QString OtherPlaces(const TTypedParts& parts)
{
    std::string tail = parts.tail;
    while (!tail.empty() && tail.back() == '0')
        tail.pop_back();
    if (tail.size() == parts.tail.size())
        tail += '0';
    else if (tail.empty())
        tail = "0";
    return QString::fromStdString((parts.negative ? "-" : "") + parts.head) + parts.mark + QString::fromStdString(tail);
}

} // namespace

TTypedNumber<double> ReadTypedDecimal(QStringView typed)
{
    const TTypedParts parts = Split(typed);
    if (!parts.refusal.isEmpty())
        return {std::nullopt, parts.refusal};
    if (parts.LooksGrouped())
        return {std::nullopt, GetStringById(TextGroupedDecimal).arg(parts.text, parts.Digits(), OtherPlaces(parts))};
    const std::string number = (parts.negative ? "-" : "") + (parts.head.empty() ? "0" : parts.head)
        + (parts.tail.empty() ? "" : "." + parts.tail);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return {std::nullopt, GetStringById(TextTooLarge).arg(parts.text)};
    return {value, {}};
}

TTypedNumber<std::int64_t> ReadTypedWhole(QStringView typed)
{
    const TTypedParts parts = Split(typed);
    if (!parts.refusal.isEmpty())
        return {std::nullopt, parts.refusal};
    if (parts.LooksGrouped())
        return {std::nullopt, GetStringById(TextGroupedWhole).arg(parts.text, parts.Digits())};
    if (!parts.mark.isNull())
        return {std::nullopt, GetStringById(TextNotWhole).arg(parts.text)};
    const std::string number = (parts.negative ? "-" : "") + parts.head;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return {std::nullopt, GetStringById(TextTooLarge).arg(parts.text)};
    return {value, {}};
}

QString TypedNumberText(double value, int significant)
{
    if (std::isnan(value))
        return QStringLiteral("–");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-∞") : QStringLiteral("∞");
    // Fixed notation needs at most 309 digits before the mark (the largest
    // double) or 326 characters after "0." (the smallest): room for either.
    char text[400];
    // Rounded by writing it with the digits asked for and reading it back.
    if (significant > 0) {
        const auto rounded = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, significant - 1);
        std::from_chars(text, rounded.ptr, value);
    }
    if (value == 0.0)
        return QStringLiteral("0");
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return QString::fromLatin1(text, written.ptr - text);
}
