#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Numbers as a German user types them into the window's fields. "," and "."
// both stand for the decimal mark. There is no thousands separator, and a text
// that looks like one is refused rather than guessed at:
// - a whole-number field takes digits only: "1.000" and "1,5" are refused;
// - a decimal field refuses a second mark ("1.000.000", "1.000,5"), and a
//   single mark that follows one to three digits, the first not 0, and is
//   followed by exactly three digits ("1.000", "12,500"): a German reader
//   takes that for thousands. "0,005", "1,5", "1,0000" and "1234,567" are
//   decimals.
// Blanks around the number and one leading sign are allowed; exponents are not.
// A refusal says why, in German, and value stays empty.
template <typename TNumber>
struct TTypedNumber
{
    std::optional<TNumber> value;
    QString refusal;
};

TTypedNumber<double> ReadTypedDecimal(QStringView text);
TTypedNumber<std::int64_t> ReadTypedWhole(QStringView text);

// A number as the window shows it: "." as the decimal mark (files and
// `zemba-run` write it so too), never an exponent, and the fewest digits that
// read back as the same number. With significant above 0 the number is
// rounded to that many significant digits first: a figure worked out by
// arithmetic (a sum of lengths) shows 300.0017, not its noise 300.00169999999997.
QString TypedNumberText(double value, int significant = 0);
