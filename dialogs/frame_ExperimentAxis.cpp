#include "dialogs/frame_ExperimentAxis.h"

#include "dialogs/clsScenarioWords.h"
#include "scenario/clsScenarioFile.h"
#include "strings/clsStringTable.h"
#include "strings/clsTypedNumber.h"
#include "ui_frame_ExperimentAxis.h"

#include <nlohmann/json.hpp>

#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr std::int32_t TextNothing = 2703;
// The fields' names take TSweepField::TKind's order from here.
constexpr std::int32_t TextFirstField = 2720;

QString ValueText(const nlohmann::json& value)
{
    return QString::fromStdString(value.is_string() ? value.get<std::string>() : value.dump());
}

// Twelve digits: a step as a user types it.
QString NumberText(double value)
{
    return TypedNumberText(value, 12);
}

} // namespace

QString SweepFieldName(const std::vector<TSweepField>& fields, const std::string& pointer)
{
    const auto field = std::ranges::find(fields, pointer, &TSweepField::pointer);
    if (field == fields.end())
        return ScenarioPlaceName(pointer);
    const QString name = GetStringById(TextFirstField + static_cast<std::int32_t>(field->kind));
    return field->number > 0 ? name.arg(field->number) : name;
}

TframeExperimentAxis::TframeExperimentAxis(QWidget* owner)
    : QWidget(owner), ui(std::make_unique<Ui::TframeExperimentAxis>())
{
    ui->setupUi(this);
    connect(ui->cbField, &QComboBox::currentIndexChanged, this, &TframeExperimentAxis::FieldChosen);
    for (QLineEdit* edit : {ui->edFrom, ui->edTo, ui->edStep, ui->edList})
        connect(edit, &QLineEdit::textChanged, this, &TframeExperimentAxis::Changed);
    connect(ui->rbRange, &QRadioButton::toggled, this, &TframeExperimentAxis::Changed);
}

TframeExperimentAxis::~TframeExperimentAxis() = default;

void TframeExperimentAxis::SetScenario(const TScenarioDescription& varied)
{
    scenario = varied;
    fields = SweepFieldsOf(varied);
    {
        const QSignalBlocker quiet(ui->cbField);
        ui->cbField->clear();
        ui->cbField->addItem(GetStringById(TextNothing), QString());
        for (const TSweepField& field : fields)
            ui->cbField->addItem(SweepFieldName(fields, field.pointer), QString::fromStdString(field.pointer));
    }
    ui->rbRange->setEnabled(true);
    emit Changed();
}

std::string TframeExperimentAxis::GetPointer() const
{
    return ui->cbField->currentData().toString().toStdString();
}

QString TframeExperimentAxis::GetFieldName() const
{
    return ui->cbField->currentText();
}

const TSweepField* TframeExperimentAxis::ChosenField() const
{
    const auto field = std::ranges::find(fields, GetPointer(), &TSweepField::pointer);
    return field == fields.end() ? nullptr : &*field;
}

std::optional<std::vector<std::string>> TframeExperimentAxis::GetValues() const
{
    if (!ui->rbRange->isChecked())
        return ListValues(RuleWordsInFile(ui->edList->text()).toStdString());
    bool read = true;
    const auto number = [&read](const QLineEdit* edit) {
        const TTypedNumber<double> typed = ReadTypedDecimal(edit->text());
        read = read && typed.value;
        return typed.value.value_or(0.0);
    };
    const double from = number(ui->edFrom);
    const double to = number(ui->edTo);
    const double step = number(ui->edStep);
    if (!read)
        return std::nullopt;
    const TSweepField* field = ChosenField();
    return RangeValues(from, to, step, field && field->whole);
}

void TframeExperimentAxis::FieldChosen(int index)
{
    const std::string pointer = ui->cbField->itemData(index).toString().toStdString();
    if (const TSweepField* field = ChosenField()) {
        const QString now = RuleWordsInGerman(ValueText(ScenarioToJson(scenario)[nlohmann::json::json_pointer(pointer)]));
        ui->edFrom->setText(now);
        ui->edTo->setText(now);
        // A word-valued field, the hand-over rule, takes its words as a list.
        ui->edList->setText(field->word ? RuleWordsInGerman(QStringLiteral("restart, finish")) : now);
        (field->word ? ui->rbList : ui->rbRange)->setChecked(true);
        ui->rbRange->setEnabled(!field->word);
    }
    emit Changed();
}

void TframeExperimentAxis::ShowAxis(const std::string& pointer, const std::vector<std::string>& values)
{
    const QString place = QString::fromStdString(pointer);
    // A place a hand-written sweep file varies that none of the fields is.
    if (ui->cbField->findData(place) < 0)
        ui->cbField->addItem(ScenarioPlaceName(pointer), place);
    ui->cbField->setCurrentIndex(ui->cbField->findData(place));
    QStringList list;
    for (const std::string& value : values)
        list << QString::fromStdString(value);
    ui->edList->setText(RuleWordsInGerman(list.join(QStringLiteral(", "))));
    const TSweepField* field = ChosenField();
    const std::optional<TSweepRange> range = RangeOf(values, field && field->whole);
    if (range) {
        ui->edFrom->setText(list.front());
        ui->edTo->setText(list.back());
        ui->edStep->setText(NumberText(range->step));
    }
    (range ? ui->rbRange : ui->rbList)->setChecked(true);
}
