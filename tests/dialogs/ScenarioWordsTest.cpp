#include "dialogs/clsScenarioWords.h"

#include "scenario/clsScenarioDescription.h"

#include <gtest/gtest.h>

TEST(ScenarioWords, APlaceInAFileIsNamedByTheEditorsFieldsAndCountedFromOne)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/persons/0/speed", "Personengruppe 1, Geschwindigkeit"},
        {"/persons/2/names/4", "Personengruppe 3, Name 5"},
        {"/trail/1/length", "Wegabschnitt 2, Länge"},
        {"/source/load_weight", "Quelle, Gewicht einer Last"},
        {"/seed", "Startwert"},
        {"/persons", "Personengruppen"},
        {"/schedule/1/leave/name", "Ablauf, Eintrag 2, geht, Name"},
        // A key the file does not have stays as written.
        {"/colour/0", "colour, 0"},
    };
    for (const auto& [pointer, name] : cases)
        EXPECT_EQ(ScenarioPlaceName(pointer), QString::fromUtf8(name)) << pointer;
}

TEST(ScenarioWords, TheHandOverRulesAreListedInGermanAndWrittenInTheFilesWords)
{
    EXPECT_EQ(RuleWordsInGerman(QStringLiteral("restart, finish")), QStringLiteral("neu beginnen, beenden"));
    // As the sweep's CSV gives them.
    EXPECT_EQ(RuleWordsInGerman(QStringLiteral("\"finish\"")), QStringLiteral("beenden"));
    EXPECT_EQ(RuleWordsInFile(QStringLiteral("beenden,neu beginnen, 3")), QStringLiteral("finish, restart, 3"));
}

TEST(ScenarioWords, TheBuiltInMovesDescriptionShowsInGermanAndStaysTheBuiltInMove)
{
    const std::string builtIn = BuiltInMove().description;
    const QString shown = ShownDescription(builtIn);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Der eingebaute Umzug"))) << shown.toStdString();
    EXPECT_EQ(EditedDescription(shown), builtIn);
    EXPECT_EQ(ShownDescription("Umzug der Oma"), QStringLiteral("Umzug der Oma"));
    EXPECT_EQ(EditedDescription(QStringLiteral("Umzug der Oma")), "Umzug der Oma");
}
