#include "strings/clsStringsForVCLControls.h"

#include <gtest/gtest.h>

#include <QStringView>

#include <initializer_list>
#include <string>
#include <string_view>

namespace {

using namespace std::string_view_literals;

struct TCase
{
    std::u16string_view text;
    std::u16string_view localized;
};

QString ToQString(std::u16string_view text)
{
    return QStringView(text.data(), qsizetype(text.size())).toString();
}

void ExpectLocalized(std::initializer_list<TCase> cases)
{
    for (const TCase& c : cases) {
        const QString text = ToQString(c.text);
        SCOPED_TRACE("text \"" + text.toStdString() + '"');
        EXPECT_EQ(LocalizeText(text).toStdString(), ToQString(c.localized).toStdString());
    }
}

TEST(LocalizeText, PlaceholderGivesTheTableTextOfItsNumber)
{
    ExpectLocalized({
        {u"#50110 EditPersons", u"Personen..."},
        {u"#2001 Cancel", u"Abbrechen"},
        {u"#1000 frmMain", u"Vuzuzidazerezeda V 0.01"},
        {u"#2002 Apply", u"\u00DCbernehmen"},
        {u"#2100 x", u"Personen"},
        {u"#50200 ?", u"?"},
    });
}

TEST(LocalizeText, FirstAmpersandGoesBeforeThePlaceholderIsRead)
{
    ExpectLocalized({
        {u"&#50000 File", u"Datei"},
        {u"#20&00", u"OK"},
        {u"&#", u"#"},
        // Only the first one goes, so the rest no longer starts with "#".
        {u"&&#2000", u"&#2000"},
        {u"&&&&#2000", u"&&&#2000"},
    });
}

TEST(LocalizeText, NumberIsReadTheWayScanfReadsIt)
{
    ExpectLocalized({
        {u"#  2000abc", u"OK"},
        {u"#\t\n\v\f\r2000", u"OK"},
        {u"#+2000", u"OK"},
        {u"#2000", u"OK"},
        {u"#0000000000000000000000002000", u"OK"},
        {u"#2000\0 x"sv, u"OK"},
        // No digits after "#", the blanks and the sign: no placeholder.
        {u" #2000", u" #2000"},
        {u"#x", u"#x"},
        {u"##2000", u"##2000"},
        {u"#  ", u"#  "},
        {u"#+", u"#+"},
        {u"#-", u"#-"},
        {u"#+-2000", u"#+-2000"},
        {u"#- 2000", u"#- 2000"},
        {u"#\0" u"2000"sv, u"#\0" u"2000"sv},
    });
}

TEST(LocalizeText, OnlyAsciiBlanksAndDigitsMakeAPlaceholder)
{
    ExpectLocalized({
        {u"#\u00A02000", u"#\u00A02000"},
        {u"#\u30002000", u"#\u30002000"},
        {u"#\u0662\u0660\u0660\u0660", u"#\u0662\u0660\u0660\u0660"},
        {u"#\uFF12\uFF10\uFF10\uFF10", u"#\uFF12\uFF10\uFF10\uFF10"},
    });
}

TEST(LocalizeText, NumberWithoutTextInTheTableGivesTheEmptyText)
{
    ExpectLocalized({
        {u"#12 x", u""},
        {u"#-5", u""},
        {u"#-0", u""},
        {u"#-2000", u""},
        {u"#2147483647", u""},
        {u"#-2147483648", u""},
    });
}

// scanf's result is undefined for these; each names no text, and none may
// wrap around onto an id that has one (4294969296 is 2000 modulo 2^32).
TEST(LocalizeText, NumberBeyondThirtyTwoBitsGivesTheEmptyText)
{
    ExpectLocalized({
        {u"#2147483648", u""},
        {u"#-2147483649", u""},
        {u"#4294969296", u""},
        {u"#-4294965296", u""},
        {u"#18446744073709553616", u""},
        {u"#99999999999999999999999999999999999999999999999999", u""},
    });
}

TEST(LocalizeText, TextWithoutPlaceholderLosesOnlyItsFirstAmpersand)
{
    ExpectLocalized({
        {u"About", u"About"},
        {u"&Close", u"Close"},
        {u"Save && Exit", u"Save & Exit"},
        {u"Cl&ose&", u"Close&"},
        {u"\u00DCber &Ok", u"\u00DCber Ok"},
        {u"&&", u"&"},
        {u"ab", u"ab"},
    });
}

TEST(LocalizeText, TextShorterThanTwoCharactersComesBackUnchanged)
{
    ExpectLocalized({
        {u"", u""},
        {u"#", u"#"},
        {u"&", u"&"},
        {u"5", u"5"},
    });
}

} // namespace
