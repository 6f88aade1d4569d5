#pragma once

#include <QString>

class TScenarioFileError;
class TSweepCsvError;
struct TScenarioFault;

// A refused scenario file in the window's words: "file: place: what is
// wrong", German, from the string table, with the fault's own values.
QString ScenarioFaultText(const TScenarioFileError& error);
// What is wrong alone, without file or place, as the scenario editor shows
// it beside the field.
QString ScenarioFaultWhat(const TScenarioFault& fault);
// A sweep's CSV refused in the window's words: "„file“, Zeile N: what is wrong".
QString SweepCsvFaultText(const TSweepCsvError& error, const QString& fileName);
