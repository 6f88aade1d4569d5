#pragma once

#include "analysis/SweepSetup.h"
#include "scenario/clsScenarioDescription.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TframeExperimentAxis;
}

// One value an experiment varies: a field of the scenario, named in words,
// with its values as from, to and step or as a list. The first choice,
// "(nichts)", varies nothing.
class TframeExperimentAxis : public QWidget
{
    Q_OBJECT

public:
    explicit TframeExperimentAxis(QWidget* owner = nullptr);
    ~TframeExperimentAxis() override;

    // Offers the scenario's fields and varies nothing; a field chosen then
    // starts from its value in this scenario.
    void SetScenario(const TScenarioDescription& scenario);

    // The JSON pointer of the field chosen; empty when nothing varies.
    std::string GetPointer() const;
    QString GetFieldName() const;
    // The values as a sweep file writes them; nothing when they cannot be read.
    std::optional<std::vector<std::string>> GetValues() const;

    // Shows a field of a sweep with its values as the CSV gives them: as a
    // range where from, to and step give exactly these values, else as a list.
    void ShowAxis(const std::string& pointer, const std::vector<std::string>& values);

signals:
    void Changed();

private:
    void FieldChosen(int index);
    const TSweepField* ChosenField() const;

    std::unique_ptr<Ui::TframeExperimentAxis> ui;
    TScenarioDescription scenario;
    std::vector<TSweepField> fields;
};

// The words the window names a field by ("Personen in Gruppe 2"); the
// place's German name for a place that is none of the fields.
QString SweepFieldName(const std::vector<TSweepField>& fields, const std::string& pointer);
