#pragma once

#include "scenario/clsScenarioDescription.h"
#include "scenario/clsScenarioFault.h"

#include <QDialog>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QTableWidget;
class TFieldReader;
class TScenarioPreview;
class TScheduleTable;

namespace Ui {
class TfrmScenario;
}

// The scenario editor: every value of a move's description in fields and three
// tables (the trail's sections, the person groups, the schedule of persons
// who come and go), lengths in metres and speeds in metres per second, the
// start as a clock time; checked on every change by
// the same rules as the file reader (CheckScenario), each fault in German
// beside its field. Beside the form, the figures of the move (the report's
// throughput bound, the shortest finish at that bound, persons and loads) and
// its height profile as the chain view draws it. OK and Apply hand the
// description over while no fault remains; the dialog is not modal.
class TfrmScenario : public QDialog
{
    Q_OBJECT

public:
    // The persons table's columns, in order.
    enum TPersonColumn { ColCount, ColKind, ColPosition, ColSpeed, ColIncrement, ColNames, ColSpeeds, PersonColumns };
    enum TTrailColumn { ColSectionKind, ColLength, TrailColumns };

    explicit TfrmScenario(QWidget* owner = nullptr);
    ~TfrmScenario() override;

    // Fills every field from the description, faulty values included.
    void SetDescription(const TScenarioDescription& description);
    // The fields as a description; meaningful while GetFaults() is empty.
    const TScenarioDescription& GetDescription() const { return edited; }
    // What is wrong with the fields, in the order of a written file.
    const std::vector<TScenarioFault>& GetFaults() const { return faults; }

signals:
    // OK or Apply with a description that can run.
    void Applied(const TScenarioDescription& description);

private:
    void Check();
    void ReadFields();
    // The metres per unit and the start, into d; the ones the lengths and times are read in follow them.
    void ReadPlannersUnits(TFieldReader& read, TScenarioDescription& d);
    // The column of a fault's path within a row of a table ("/speed"), or -1.
    static int ColumnOf(const QString& table, const std::string& inRow);
    void ShowFaults();
    void ShowFigures();
    // Whether a fault's path starts with path: a field or all within it.
    bool IsFaulty(const std::string& path) const;
    void FillTrailRow(int row, const TSectionDescription& section);
    void FillPersonRow(int row, const TPersonGroup& group);
    void ConnectRowButtons(QTableWidget* table, QWidget* add, QWidget* remove, QWidget* up, QWidget* down);
    void MoveRow(QTableWidget* table, int from, int to);
    void Apply();

    std::unique_ptr<Ui::TfrmScenario> ui;
    TScenarioPreview* preview = nullptr;
    TScheduleTable* schedule = nullptr;
    // The metres per trail unit and the start (below 0: none) that lengths,
    // speeds and times are shown and read in: the last sound ones typed.
    double metresPerUnit = TScenarioDescription::DefaultMetresPerUnit;
    std::int32_t startSecond = -1;
    TScenarioDescription edited;
    std::vector<TScenarioFault> faults;
    // Why a field's text is no number, by the path of its fault, in German.
    std::map<std::string, QString> reasons;
    // While the form writes its own fields, their change signals are not edits.
    bool filling = false;
};
