#pragma once

#include <QString>

class TScenarioFileError;
struct TScenarioFault;

// A refused scenario file in the window's words: "file: place: what is
// wrong", German, from the string table, with the fault's own values.
QString ScenarioFaultText(const TScenarioFileError& error);
// What is wrong alone, without file or place, as the scenario editor shows
// it beside the field.
QString ScenarioFaultWhat(const TScenarioFault& fault);
