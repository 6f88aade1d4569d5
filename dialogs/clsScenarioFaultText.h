#pragma once

#include <QString>

#include <functional>
#include <string>

class TScenarioFileError;
class TSweepCsvError;
class TSweepPlanError;
struct TScenarioFault;

// A refused scenario file in the window's words: "file: place: what is
// wrong", German, from the string table, with the fault's own values.
QString ScenarioFaultText(const TScenarioFileError& error);
// What is wrong alone, without file or place, as the scenario editor shows
// it beside the field.
QString ScenarioFaultWhat(const TScenarioFault& fault);
// A sweep's CSV refused in the window's words: "„file“, Zeile N: what is wrong".
QString SweepCsvFaultText(const TSweepCsvError& error, const QString& fileName);
// A sweep refused for what its values and seeds ask for, in the window's
// words, each varied place by fieldName: "Lasten = 0 macht das Szenario
// ungültig: ...".
QString SweepPlanFaultText(const TSweepPlanError& error, const std::function<QString(const std::string& pointer)>& fieldName);
