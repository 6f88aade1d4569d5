#pragma once

#include <QString>

#include <string>

// The scenario's own words, which the files and zemba-run keep in English, as
// the German window shows them, and back.

// A place in a scenario file, a JSON pointer, by the names of the editor's
// fields: "/persons/0/speed" is "Personengruppe 1, Geschwindigkeit".
QString ScenarioPlaceName(const std::string& pointer);

// A list of values such as "restart, finish" with the hand-over rules' words
// as German names, and such a list back in the file's words; every other
// value stays as it is.
QString RuleWordsInGerman(const QString& list);
QString RuleWordsInFile(const QString& list);

// A scenario's description as the editor shows it, the built-in move's in
// German, and as the editor gives it back: the German one is the built-in
// move's own again, so that the built-in move stays that move.
QString ShownDescription(const std::string& description);
std::string EditedDescription(const QString& text);
