#pragma once

#include <QString>

class TScenarioFileError;

// A refused scenario file in the window's words: "file: place: what is
// wrong", German, from the string table, with the fault's own values.
QString ScenarioFaultText(const TScenarioFileError& error);
