#include "dialogs/clsScenarioWords.h"

#include "scenario/clsScenarioDescription.h"
#include "strings/clsStringTable.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

constexpr std::int32_t TextBuiltInDescription = 3301;

// The scenario file's keys by the names the editor gives their fields.
constexpr std::array<std::pair<const char*, std::int32_t>, 22> KeyTexts{{
    {"description", 2601}, {"seed", 2602},      {"handover", 2604}, {"trail", 2610},    {"length", 2616},
    {"source", 2620},      {"stock", 2621},     {"load_weight", 2622}, {"persons", 2630}, {"count", 2631},
    {"kind", 2632},        {"position", 2633},  {"speed", 2634},    {"speed_increment", 2635}, {"names", 3321},
    {"schedule", 3820},    {"at", 3821},        {"join", 3829},     {"leave", 3830},    {"name", 3836},
    {"metres_per_unit", 3811}, {"start", 3812}}};
// The n-th item of a list, counted from 1: a group, a section, a name, a change of the schedule.
constexpr std::array<std::pair<const char*, std::int32_t>, 4> ItemTexts{{
    {"persons", 3322}, {"trail", 3323}, {"names", 3324}, {"schedule", 3835}}};

// The hand-over rules by their words in a file and by the names the window gives them.
constexpr std::array<std::pair<const char*, std::int32_t>, 2> RuleNames{{{"restart", 3310}, {"finish", 3311}}};

template <std::size_t N>
const std::pair<const char*, std::int32_t>* Find(const std::array<std::pair<const char*, std::int32_t>, N>& table,
                                                 const std::string& key)
{
    const auto found = std::ranges::find_if(table, [&](const auto& entry) { return key == entry.first; });
    return found == table.end() ? nullptr : &*found;
}

QString RuleWords(const QString& list, bool toGerman)
{
    QStringList items;
    for (QString item : list.split(QLatin1Char(','))) {
        item = item.trimmed();
        // A sweep's CSV gives the words as JSON strings.
        const QString bare = item.size() > 1 && item.startsWith(QLatin1Char('"')) && item.endsWith(QLatin1Char('"'))
            ? item.mid(1, item.size() - 2)
            : item;
        for (const auto& [word, id] : RuleNames)
            if (bare == (toGerman ? QString::fromLatin1(word) : GetStringById(id)))
                item = toGerman ? GetStringById(id) : QString::fromLatin1(word);
        items << item;
    }
    return items.join(QStringLiteral(", "));
}

} // namespace

QString ScenarioPlaceName(const std::string& pointer)
{
    QStringList names;
    std::string key;
    for (const QString& part : QString::fromStdString(pointer).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        bool isIndex = false;
        const int index = part.toInt(&isIndex);
        if (const auto* item = Find(ItemTexts, key); isIndex && item && !names.isEmpty()) {
            names.back() = GetStringById(item->second).arg(index + 1);
            key.clear();
            continue;
        }
        key = part.toStdString();
        const auto* text = Find(KeyTexts, key);
        names << (text ? GetStringById(text->second) : part);
    }
    return names.join(QStringLiteral(", "));
}

QString RuleWordsInGerman(const QString& list)
{
    return RuleWords(list, true);
}

QString RuleWordsInFile(const QString& list)
{
    return RuleWords(list, false);
}

QString ShownDescription(const std::string& description)
{
    return description == BuiltInMove().description ? GetStringById(TextBuiltInDescription)
                                                    : QString::fromStdString(description);
}

std::string EditedDescription(const QString& text)
{
    return text == GetStringById(TextBuiltInDescription) ? BuiltInMove().description : text.toStdString();
}
