#include "strings/clsTypedNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

// Every row: what a user types, and what a decimal field and a whole-number
// field make of it; refused rows name the word their message must contain.
TEST(TypedNumber, CommaAndPointAreDecimalMarksAndWhatLooksLikeThousandsIsRefusedWithItsReason)
{
    const struct
    {
        const char16_t* typed;
        std::optional<double> decimal;
        std::optional<std::int64_t> whole;
        const char16_t* why;
    } rows[] = {
        {u"0,05", 0.05, {}, u"ganze Zahl"},
        {u"0.05", 0.05, {}, u"ganze Zahl"},
        {u" -1,5 ", -1.5, {}, u"ganze Zahl"},
        {u"+2.", 2.0, {}, u"ganze Zahl"},
        {u",5", 0.5, {}, u"ganze Zahl"},
        {u"0,002", 0.002, {}, u"ganze Zahl"},
        {u"1,0000", 1.0, {}, u"ganze Zahl"},
        {u"1234.567", 1234.567, {}, u"ganze Zahl"},
        {u"666", 666.0, 666, nullptr},
        {u"-7", -7.0, -7, nullptr},
        {u"1.000", {}, {}, u"1000 ohne Trennzeichen"},
        {u"12,500", {}, {}, u"12500 ohne Trennzeichen"},
        {u"1.000.000", {}, {}, u"mehr als ein Trennzeichen"},
        {u"1.000,5", {}, {}, u"mehr als ein Trennzeichen"},
        {u"", {}, {}, u"fehlt eine Zahl"},
        {u"   ", {}, {}, u"fehlt eine Zahl"},
        {u"3e-04", {}, {}, u"keine Zahl"},
        {u"1 000", {}, {}, u"keine Zahl"},
        {u"-", {}, {}, u"keine Zahl"},
        {u".", {}, {}, u"keine Zahl"},
        {u"99999999999999999999", 1e20, {}, u"zu groß"},
    };
    for (const auto& row : rows) {
        const QString typed = QString::fromUtf16(row.typed);
        SCOPED_TRACE(typed.toStdString());
        const TTypedNumber<double> decimal = ReadTypedDecimal(typed);
        const TTypedNumber<std::int64_t> whole = ReadTypedWhole(typed);
        EXPECT_EQ(decimal.value, row.decimal);
        EXPECT_EQ(whole.value, row.whole);
        EXPECT_EQ(decimal.refusal.isEmpty(), decimal.value.has_value());
        EXPECT_EQ(whole.refusal.isEmpty(), whole.value.has_value());
        // The decimal field's refusal, or the whole-number field's where only that refuses.
        const QString refusal = row.decimal ? whole.refusal : decimal.refusal;
        if (row.why) {
            EXPECT_TRUE(refusal.contains(QString::fromUtf16(row.why))) << refusal.toStdString();
        }
    }
}

TEST(TypedNumber, AThousandsLookalikeInADecimalFieldSuggestsTheSameDecimalWithOtherPlaces)
{
    EXPECT_TRUE(ReadTypedDecimal(u"1.000").refusal.contains(QStringLiteral("(1.0)")));
    EXPECT_TRUE(ReadTypedDecimal(u"2,500").refusal.contains(QStringLiteral("(2,5)")));
    EXPECT_TRUE(ReadTypedDecimal(u"12.345").refusal.contains(QStringLiteral("(12.3450)")));
}

TEST(TypedNumber, NumbersAreShownWithAPointWithoutExponentOrNoise)
{
    const struct
    {
        double value;
        int significant;
        const char* shown;
    } rows[] = {
        {0.0003, 0, "0.0003"},      {0.002, 0, "0.002"},   {1e20, 0, "100000000000000000000"},
        {-0.0, 0, "0"},             {0.1 + 0.2, 0, "0.30000000000000004"},
        {300.00169999999997, 12, "300.0017"}, {0.1 + 0.2, 12, "0.3"}, {3e-5, 6, "0.00003"},
        {1234.5678, 4, "1235"},     {666, 12, "666"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TypedNumberText(row.value, row.significant).toStdString(), row.shown) << row.value;
}

} // namespace
