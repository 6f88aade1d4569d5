// Feeds arbitrary texts to LocalizeText and arbitrary ids to the string table,
// and aborts when a property that must hold for every input is broken.
#include "FuzzProperty.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

struct TExpectation
{
    QString text;
    bool fromTable = false;
};

// What a text must localise to, worked out apart from LocalizeText: the C
// library's strtoll reads the number as "%d" would, but reports overflow
// instead of leaving it undefined.
TExpectation Expect(const QString& text)
{
    if (text.size() < 2)
        return {text};
    QString stripped = text;
    if (const qsizetype ampersand = stripped.indexOf(u'&'); ampersand >= 0)
        stripped.remove(ampersand, 1);
    if (!stripped.startsWith(u'#'))
        return {stripped};

    // UTF-8 keeps every non-ASCII character out of strtoll's blanks and
    // digits, and an embedded NUL ends the number as any other non-digit does.
    const QByteArray number = stripped.sliced(1).toUtf8();
    char* end = nullptr;
    errno = 0;
    const long long id = std::strtoll(number.constData(), &end, 10);
    if (end == number.constData())
        return {stripped};
    if (errno == ERANGE || id < std::numeric_limits<std::int32_t>::min()
        || id > std::numeric_limits<std::int32_t>::max())
        return {QString()};
    return {GetStringById(static_cast<std::int32_t>(id)), true};
}

void CheckLocalizeText(const QString& text)
{
    const QString localized = LocalizeText(text);
    const TExpectation expected = Expect(text);
    Check(localized == expected.text, "LocalizeText reads the text as the rules say");
    Check(localized.size() <= text.size() || expected.fromTable,
          "only a table text can be longer than the text it replaces");
}

void CheckStringTable(std::int32_t id)
{
    const QString text = GetStringById(id);
    Check(text.trimmed() == text, "table texts carry no surrounding blanks");
    Check(LocalizeText(QStringLiteral("#%1 x").arg(id)) == text, "a placeholder gives its id's table text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    CheckLocalizeText(QString::fromUtf8(bytes, static_cast<qsizetype>(size)));

    // The same bytes as raw UTF-16: lone surrogates and any code unit at all.
    std::vector<char16_t> units(size / sizeof(char16_t));
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    CheckLocalizeText(QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size())));

    if (size >= sizeof(std::int32_t)) {
        std::int32_t id = 0;
        std::memcpy(&id, data, sizeof id);
        CheckStringTable(id);
    }
    return 0;
}
