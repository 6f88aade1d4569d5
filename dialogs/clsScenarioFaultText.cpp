#include "dialogs/clsScenarioFaultText.h"

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"
#include "dialogs/clsScenarioWords.h"
#include "scenario/clsScenarioFault.h"
#include "strings/clsStringTable.h"
#include "strings/clsTypedNumber.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace {

constexpr std::int32_t TextLineAndColumn = 2401;
constexpr std::int32_t TextTopLevel = 2402;
// One text per kind of fault, in the order of TScenarioFaultKind up to Other,
// which only the headless tool meets and which keeps its English words: the
// kinds up to TrailTooLong from FirstKindText, the schedule's from FirstLeaveText.
constexpr std::int32_t FirstKindText = 2410;
constexpr auto FirstLeaveKind = static_cast<std::size_t>(TScenarioFaultKind::NobodyOfName);
constexpr std::int32_t FirstLeaveText = 3833;
constexpr auto KindCount = static_cast<std::size_t>(TScenarioFaultKind::Other);
static_assert(FirstLeaveKind == 25 && KindCount == 27, "a new kind of fault needs its text in the string table, after 3834");

QString KindText(std::size_t kind)
{
    return kind < FirstLeaveKind ? GetStringById(FirstKindText + static_cast<std::int32_t>(kind))
                                 : GetStringById(FirstLeaveText + static_cast<std::int32_t>(kind - FirstLeaveKind));
}

constexpr std::int32_t TextCsvLine = 2450;
// One text per kind of a refused sweep CSV, in the order of TSweepCsvError::TKind.
constexpr std::int32_t FirstCsvKindText = 2451;

constexpr std::int32_t TextValueTwice = 4010;
constexpr std::int32_t TextTooManyRuns = 4011;
constexpr std::int32_t TextInvalidCombination = 4012;

// JSON's names of its types, as a fault names what was expected and found.
constexpr std::array<std::pair<const char*, std::int32_t>, 6> TypeTexts{{
    {"object", 2440}, {"array", 2441}, {"string", 2442}, {"number", 2443}, {"boolean", 2444}, {"null", 2445}}};

QString Value(const std::string& value, TScenarioFaultKind kind)
{
    if (kind == TScenarioFaultKind::WrongType)
        for (const auto& [name, id] : TypeTexts)
            if (value == name)
                return GetStringById(id);
    // A real number worked out by the rules (the trail's summed length) is
    // shown without its rounding noise; whole numbers stay as they were written.
    double number = 0.0;
    const char* end = value.data() + value.size();
    const auto [at, error] = std::from_chars(value.data(), end, number);
    if (value.find_first_of(".eE") != std::string::npos && error == std::errc() && at == end && std::isfinite(number))
        return TypedNumberText(number, 12);
    return QString::fromStdString(value);
}
QString Place(const TScenarioFault& fault)
{
    if (fault.line > 0)
        return GetStringById(TextLineAndColumn).arg(fault.line).arg(fault.column);
    return fault.path.empty() ? GetStringById(TextTopLevel) : ScenarioPlaceName(fault.path);
}

} // namespace

QString ScenarioFaultWhat(const TScenarioFault& fault)
{
    const auto kind = static_cast<std::size_t>(fault.kind);
    QString what = kind < KindCount ? KindText(kind) : QString::fromStdString(fault.what);
    // As many values as the text has places: a kind's German words may leave
    // one out (the parser's English on a text that is no JSON).
    std::size_t places = 0;
    while (places < 3 && what.contains(QLatin1Char('%') + QString::number(places + 1)))
        ++places;
    const std::size_t shown = kind < KindCount ? std::min(places, fault.values.size()) : 0;
    // All at once: a value holding "%2" is not taken for the next place.
    std::array<QString, 3> values;
    for (std::size_t i = 0; i < shown; ++i)
        values[i] = Value(fault.values[i], fault.kind);
    return shown == 0 ? what
        : shown == 1  ? what.arg(values[0])
        : shown == 2  ? what.arg(values[0], values[1])
                      : what.arg(values[0], values[1], values[2]);
}

QString ScenarioFaultText(const TScenarioFileError& error)
{
    const TScenarioFault& fault = error.GetFault();
    const QString what = ScenarioFaultWhat(fault);
    QString text = QFile::decodeName(error.GetFileName().c_str()) + QStringLiteral(": ");
    if (fault.HasPlace())
        text += Place(fault) + QStringLiteral(": ");
    // One line, whatever the file's name and the fault's values hold.
    text += what;
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('?');
    return text;
}

QString SweepCsvFaultText(const TSweepCsvError& error, const QString& fileName)
{
    return GetStringById(TextCsvLine)
        .arg(fileName, QString::number(error.GetLine()),
             GetStringById(FirstCsvKindText + static_cast<std::int32_t>(error.GetKind())));
}

QString SweepPlanFaultText(const TSweepPlanError& error, const std::function<QString(const std::string& pointer)>& fieldName)
{
    QStringList values;
    for (const auto& [pointer, value] : error.GetCombination())
        values << fieldName(pointer) + QStringLiteral(" = ") + RuleWordsInGerman(QString::fromStdString(value));
    switch (error.GetKind()) {
    case TSweepPlanError::TKind::ValueTwice:
        return GetStringById(TextValueTwice).arg(values.join(QStringLiteral(", ")));
    case TSweepPlanError::TKind::TooManyRuns:
        return GetStringById(TextTooManyRuns).arg(MaxSweepRuns);
    case TSweepPlanError::TKind::InvalidCombination:
        break;
    }
    const TScenarioFault& cause = error.GetCause();
    const QString what = ScenarioFaultWhat(cause);
    return GetStringById(TextInvalidCombination)
        .arg(values.join(QStringLiteral(", ")), cause.HasPlace() ? Place(cause) + QStringLiteral(": ") + what : what);
}
