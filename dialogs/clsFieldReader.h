#pragma once

#include "scenario/clsScenarioFault.h"
#include "scenario/clsScenarioRules.h"
#include "strings/clsTypedNumber.h"

#include <QString>

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QTableWidgetItem;

// Reads the scenario editor's fields into a description, collecting what
// cannot even be read as the faults the file reader gives for such text,
// each with the German reason why; every other rule is CheckScenario's.
class TFieldReader
{
public:
    std::vector<TScenarioFault> faults;
    std::map<std::string, QString> reasons;

    double Real(const QString& text, const std::string& path);
    template <typename TField>
    TField Whole(const QString& text, const std::string& path, std::int64_t low, std::int64_t high)
    {
        const TTypedNumber<std::int64_t> read = ReadTypedWhole(text);
        // Any number the field holds: whether it keeps the rules is CheckScenario's to say.
        if (read.value && *read.value >= std::numeric_limits<TField>::min()
            && *read.value <= std::numeric_limits<TField>::max())
            return static_cast<TField>(*read.value);
        faults.push_back(WholeNumberFault(path, text.trimmed().toStdString(), low, high));
        if (!read.value)
            reasons[path] = read.refusal;
        return static_cast<TField>(low);
    }
    // A value of the file shown in a planner's unit (see PlannerCell).
    double Planned(const QTableWidgetItem* cell, double factor, const std::string& path);
    // Says why the text at path is no value at all.
    void Refuse(const std::string& path, const QString& reason);
};

// A cell that shows a value of the file in a planner's unit, value × factor
// (metres for trail units, metres per second for units per step). It keeps
// the value itself while its text and the factor stay as they were: a value
// that was not edited is written back bit for bit, however its text rounds.
// The text shown stays when the factor changes; the value follows it.
QTableWidgetItem* PlannerCell(double value, double factor);
// The value a planner's cell stands for, or nothing for a text that is no number.
TTypedNumber<double> ReadPlannerCell(const QTableWidgetItem* cell, double factor);

// A cell of a value shown as text by a rule that depends on basis (a time
// shown as a clock time after the start): kept as PlannerCell keeps its
// value, while text and basis stay as they were. Nothing once edited.
void KeepCellValue(QTableWidgetItem& cell, double value, double basis);
std::optional<double> KeptCellValue(const QTableWidgetItem* cell, double basis);
