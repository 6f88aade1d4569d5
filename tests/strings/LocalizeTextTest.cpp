#include "strings/clsStringsForVCLControls.h"

#include <gtest/gtest.h>

#include <QStringView>

#include <string_view>

namespace {

using namespace std::string_view_literals;

std::string Localized(std::u16string_view text)
{
    return LocalizeText(QStringView(text.data(), qsizetype(text.size())).toString()).toStdString();
}

std::string Utf8(std::u16string_view text)
{
    return QStringView(text.data(), qsizetype(text.size())).toString().toStdString();
}

// "#number" gives the table's text: the number read as scanf reads it (ASCII
// blanks and a sign, anything after the digits ignored), none beyond 32 bits
// (4294969296 is 2000 modulo 2^32); the first "&" goes before it is read.
TEST(LocalizeText, APlaceholderGivesItsTableTextAndAnyOtherTextLosesItsFirstAmpersand)
{
    const struct
    {
        std::u16string_view text, localized;
    } rows[] = {
        {u"#50110 EditPersons", u"Personen..."}, {u"#2002 Apply", u"\u00DCbernehmen"}, {u"&#50000 File", u"Datei"},
        {u"#20&00", u"OK"}, {u"&&#2000", u"&#2000"}, {u"&&&&#2000", u"&&&#2000"},
        {u"#  2000abc", u"OK"}, {u"#\t\n\v\f\r2000", u"OK"}, {u"#+2000", u"OK"},
        {u"#0000000000000000000000002000", u"OK"}, {u"#2000\0 x"sv, u"OK"},
        {u" #2000", u" #2000"}, {u"##2000", u"##2000"}, {u"#  ", u"#  "}, {u"#+", u"#+"},
        {u"#+-2000", u"#+-2000"}, {u"#- 2000", u"#- 2000"}, {u"#\0" u"2000"sv, u"#\0" u"2000"sv},
        {u"#\u00A02000", u"#\u00A02000"}, {u"#\u30002000", u"#\u30002000"},
        {u"#\u0662\u0660\u0660\u0660", u"#\u0662\u0660\u0660\u0660"}, {u"#\uFF12\uFF10\uFF10\uFF10", u"#\uFF12\uFF10\uFF10\uFF10"},
        {u"#12 x", u""}, {u"#-0", u""}, {u"#-2000", u""}, {u"#2147483647", u""}, {u"#-2147483648", u""},
        {u"#2147483648", u""}, {u"#-2147483649", u""}, {u"#4294969296", u""}, {u"#-4294965296", u""},
        {u"#18446744073709553616", u""}, {u"#99999999999999999999999999999999999999999999999999", u""},
        {u"&Close", u"Close"}, {u"Save && Exit", u"Save & Exit"}, {u"Cl&ose&", u"Close&"}, {u"&&", u"&"},
        {u"", u""}, {u"#", u"#"}, {u"&", u"&"}, {u"5", u"5"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Localized(row.text), Utf8(row.localized)) << '"' << Utf8(row.text) << '"';
}

} // namespace
