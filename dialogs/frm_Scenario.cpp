#include "dialogs/frm_Scenario.h"

#include "ui_frm_Scenario.h"

#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "dialogs/clsFieldReader.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/clsScenarioPreview.h"
#include "dialogs/clsScenarioWords.h"
#include "dialogs/clsScheduleTable.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsClockTime.h"
#include "scenario/clsScenarioRules.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "strings/clsTypedNumber.h"

#include <QComboBox>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

namespace {

constexpr std::int32_t TextHandoverRestart = 2605;
constexpr std::int32_t TextCellFault = 2607;
constexpr std::int32_t TextSectionKind = 2615;
constexpr std::int32_t TextPlain = 2617;
constexpr std::int32_t TextStepsKind = 2618;
constexpr std::int32_t TextTrailLength = 3810;
constexpr std::int32_t TextNoClockTime = 3813;
constexpr std::int32_t TextLengthMetres = 3814;
// The persons table's headers, column by column: positions and speeds in the planner's units.
constexpr std::array<std::int32_t, TfrmScenario::PersonColumns> PersonHeaders{2631, 2632, 3815, 3816, 3817, 3843, 3818};
// How names are typed, told by the names header's tooltip.
constexpr std::int32_t TextNamesByComma = 2636;
constexpr std::int32_t TextWithHomeArea = 2638;
constexpr std::int32_t TextBoundFigure = 2641;
constexpr std::int32_t TextShortest = 2642;
constexpr std::int32_t TextPersonsAndLoads = 2643;

// The speeds column lists this many persons of a group, then "…".
constexpr std::int32_t ListedSpeeds = 6;
constexpr int NamesWidth = 110;
const QColor FaultBackground(255, 215, 215);

// A person's speed for reading, not for writing back: six digits say enough.
QString Speed(double value)
{
    return TypedNumberText(value, 6);
}

// A flight of steps is a floor, however many sections it was written in.
std::int64_t FloorCount(const std::vector<TSectionDescription>& trail)
{
    std::int64_t floors = 0;
    bool onSteps = false;
    for (const TSectionDescription& section : trail) {
        const bool steps = section.kind == TSectionDescription::TKind::Steps;
        floors += steps && !onSteps ? 1 : 0;
        onSteps = steps;
    }
    return floors;
}

QString CellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

QComboBox* KindBox(const QTableWidget* table, int row, int column)
{
    return qobject_cast<QComboBox*>(table->cellWidget(row, column));
}

} // namespace

TfrmScenario::TfrmScenario(QWidget* owner)
    : QDialog(owner)
    , ui(std::make_unique<Ui::TfrmScenario>())
{
    ui->setupUi(this);
    LocalizeComponent(this);
    preview = new TScenarioPreview(ui->pnlPreview);
    auto* previewLayout = new QVBoxLayout(ui->pnlPreview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(preview);
    ui->cbHandover->addItems({GetStringById(TextHandoverRestart), GetStringById(TextHandoverRestart + 1)});

    ui->tblTrail->setColumnCount(TrailColumns);
    ui->tblTrail->setHorizontalHeaderLabels({GetStringById(TextSectionKind), GetStringById(TextLengthMetres)});
    ui->tblPersons->setColumnCount(PersonColumns);
    QStringList headers;
    for (const std::int32_t id : PersonHeaders)
        headers << GetStringById(id);
    ui->tblPersons->setHorizontalHeaderLabels(headers);
    ui->tblPersons->horizontalHeaderItem(ColNames)->setToolTip(GetStringById(TextNamesByComma));
    ui->tblPersons->horizontalHeader()->setStretchLastSection(true);
    ui->tblTrail->horizontalHeader()->setStretchLastSection(true);

    schedule = new TScheduleTable(*ui->tblSchedule, *ui->btScheduleAdd, *ui->btScheduleRemove);
    connect(schedule, &TScheduleTable::Changed, this, &TfrmScenario::Check);
    for (QLineEdit* field : {ui->edDescription, ui->edSeed, ui->edStock, ui->edLoadWeight, ui->edMetresPerUnit, ui->edStart})
        connect(field, &QLineEdit::textChanged, this, &TfrmScenario::Check);
    connect(ui->cbHandover, &QComboBox::currentIndexChanged, this, &TfrmScenario::Check);
    connect(ui->tblTrail, &QTableWidget::itemChanged, this, &TfrmScenario::Check);
    connect(ui->tblPersons, &QTableWidget::itemChanged, this, &TfrmScenario::Check);
    connect(ui->btRandomSeed, &QPushButton::clicked, this,
            [this] { ui->edSeed->setText(QString::number(QRandomGenerator::global()->generate())); });
    ConnectRowButtons(ui->tblTrail, ui->btTrailAdd, ui->btTrailRemove, ui->btTrailUp, ui->btTrailDown);
    ConnectRowButtons(ui->tblPersons, ui->btPersonsAdd, ui->btPersonsRemove, ui->btPersonsUp, ui->btPersonsDown);
    connect(ui->btOk, &QPushButton::clicked, this, [this] {
        Apply();
        accept();
    });
    connect(ui->btApply, &QPushButton::clicked, this, &TfrmScenario::Apply);
    connect(ui->btCancel, &QPushButton::clicked, this, &QDialog::reject);
    SetDescription(BuiltInMove());
}

TfrmScenario::~TfrmScenario() = default;

void TfrmScenario::SetDescription(const TScenarioDescription& description)
{
    filling = true;
    metresPerUnit = description.metresPerUnit;
    startSecond = description.startSecond;
    ui->edDescription->setText(ShownDescription(description.description));
    ui->edSeed->setText(QString::number(description.seed));
    ui->cbHandover->setCurrentIndex(description.handover == THandoverRule::Finish ? 1 : 0);
    ui->edStock->setText(QString::number(description.stock));
    ui->edLoadWeight->setText(TypedNumberText(description.loadWeight));
    ui->edMetresPerUnit->setText(TypedNumberText(description.metresPerUnit));
    ui->edStart->setText(description.startSecond >= 0 ? QString::fromStdString(ClockTimeText(description.startSecond)) : QString());
    ui->tblTrail->setRowCount(0);
    ui->tblTrail->setRowCount(static_cast<int>(description.trail.size()));
    for (std::size_t i = 0; i < description.trail.size(); ++i)
        FillTrailRow(static_cast<int>(i), description.trail[i]);
    ui->tblPersons->setRowCount(0);
    ui->tblPersons->setRowCount(static_cast<int>(description.persons.size()));
    for (std::size_t i = 0; i < description.persons.size(); ++i)
        FillPersonRow(static_cast<int>(i), description.persons[i]);
    ui->tblPersons->resizeColumnsToContents();
    // The names give way to the speeds, which say more about the move.
    ui->tblPersons->setColumnWidth(ColNames, std::min(ui->tblPersons->columnWidth(ColNames), NamesWidth));
    schedule->Fill(description.schedule, metresPerUnit, startSecond);
    filling = false;
    Check();
}

void TfrmScenario::FillTrailRow(int row, const TSectionDescription& section)
{
    auto* kind = new QComboBox;
    kind->addItems({GetStringById(TextPlain), GetStringById(TextStepsKind)});
    kind->setCurrentIndex(section.kind == TSectionDescription::TKind::Steps ? 1 : 0);
    connect(kind, &QComboBox::currentIndexChanged, this, &TfrmScenario::Check);
    ui->tblTrail->setCellWidget(row, ColSectionKind, kind);
    ui->tblTrail->setItem(row, ColLength, PlannerCell(section.length, metresPerUnit));
}

void TfrmScenario::FillPersonRow(int row, const TPersonGroup& group)
{
    auto* kind = new QComboBox;
    kind->addItems({GetStringById(TextWithHomeArea), GetStringById(TextWithHomeArea + 1)});
    kind->setCurrentIndex(group.kind == TPersonGroup::TKind::Plain ? 1 : 0);
    connect(kind, &QComboBox::currentIndexChanged, this, &TfrmScenario::Check);
    QStringList names;
    for (const std::string& name : group.names)
        names << QString::fromStdString(name);
    const double speedFactor = metresPerUnit * StepsPerSecond;
    ui->tblPersons->setItem(row, ColCount, new QTableWidgetItem(QString::number(group.count)));
    ui->tblPersons->setItem(row, ColPosition, PlannerCell(group.position, metresPerUnit));
    ui->tblPersons->setItem(row, ColSpeed, PlannerCell(group.speed, speedFactor));
    ui->tblPersons->setItem(row, ColIncrement, PlannerCell(group.speedIncrement, speedFactor));
    ui->tblPersons->setItem(row, ColNames, new QTableWidgetItem(names.join(QStringLiteral(", "))));
    ui->tblPersons->setItem(row, ColSpeeds, new QTableWidgetItem);
    ui->tblPersons->item(row, ColSpeeds)->setFlags(Qt::ItemIsEnabled);
    ui->tblPersons->setCellWidget(row, ColKind, kind);
}

void TfrmScenario::ConnectRowButtons(QTableWidget* table, QWidget* add, QWidget* remove, QWidget* up, QWidget* down)
{
    connect(static_cast<QPushButton*>(add), &QPushButton::clicked, this, [this, table] {
        // A new row copies the selected one, or the last: the likeliest next value.
        const int from = table->currentRow() >= 0 ? table->currentRow() : table->rowCount() - 1;
        const int row = from + 1;
        filling = true;
        table->insertRow(row);
        if (table == ui->tblTrail)
            FillTrailRow(row, from >= 0 && from < static_cast<int>(edited.trail.size()) ? edited.trail[from]
                                                                                     : TSectionDescription{{}, 0.1});
        else
            FillPersonRow(row, from >= 0 && from < static_cast<int>(edited.persons.size())
                                   ? TPersonGroup{edited.persons[from].count, edited.persons[from].kind,
                                                  edited.persons[from].position, edited.persons[from].speed,
                                                  edited.persons[from].speedIncrement, {}}
                                   : TPersonGroup{1, {}, 0.0, 0.002, 0.0, {}});
        filling = false;
        table->setCurrentCell(row, 1);
        Check();
    });
    connect(static_cast<QPushButton*>(remove), &QPushButton::clicked, this, [this, table] {
        if (table->currentRow() >= 0)
            table->removeRow(table->currentRow());
        Check();
    });
    connect(static_cast<QPushButton*>(up), &QPushButton::clicked, this,
            [this, table] { MoveRow(table, table->currentRow(), table->currentRow() - 1); });
    connect(static_cast<QPushButton*>(down), &QPushButton::clicked, this,
            [this, table] { MoveRow(table, table->currentRow(), table->currentRow() + 1); });
}

void TfrmScenario::MoveRow(QTableWidget* table, int from, int to)
{
    if (from < 0 || to < 0 || from >= table->rowCount() || to >= table->rowCount())
        return;
    filling = true;
    for (int column = 0; column < table->columnCount(); ++column) {
        if (QComboBox* a = KindBox(table, from, column)) {
            QComboBox* b = KindBox(table, to, column);
            const int index = a->currentIndex();
            a->setCurrentIndex(b->currentIndex());
            b->setCurrentIndex(index);
        } else {
            // Whole items, so that a value kept beside its text goes with it.
            QTableWidgetItem* item = table->takeItem(from, column);
            table->setItem(from, column, table->takeItem(to, column));
            table->setItem(to, column, item);
        }
    }
    filling = false;
    table->setCurrentCell(to, table->currentColumn());
    Check();
}

void TfrmScenario::ReadFields()
{
    TFieldReader read;
    TScenarioDescription d;
    ReadPlannersUnits(read, d);
    d.description = EditedDescription(ui->edDescription->text());
    d.seed = read.Whole<std::uint32_t>(ui->edSeed->text(), "/seed", 0, std::numeric_limits<std::uint32_t>::max());
    d.handover = ui->cbHandover->currentIndex() == 1 ? THandoverRule::Finish : THandoverRule::Restart;
    d.stock = read.Whole<std::int32_t>(ui->edStock->text(), "/source/stock", 1, MaxScenarioCount);
    d.loadWeight = read.Real(ui->edLoadWeight->text(), "/source/load_weight");
    for (int row = 0; row < ui->tblTrail->rowCount(); ++row) {
        const std::string at = "/trail/" + std::to_string(row);
        d.trail.push_back({KindBox(ui->tblTrail, row, ColSectionKind)->currentIndex() == 1
                               ? TSectionDescription::TKind::Steps
                               : TSectionDescription::TKind::Plain,
                           read.Planned(ui->tblTrail->item(row, ColLength), metresPerUnit, at + "/length")});
    }
    for (int row = 0; row < ui->tblPersons->rowCount(); ++row) {
        const std::string at = "/persons/" + std::to_string(row);
        const auto text = [&](int column) { return CellText(ui->tblPersons, row, column); };
        TPersonGroup group;
        group.count = read.Whole<std::int32_t>(text(ColCount), at + "/count", 1, MaxScenarioCount);
        group.kind = KindBox(ui->tblPersons, row, ColKind)->currentIndex() == 1 ? TPersonGroup::TKind::Plain
                                                                                : TPersonGroup::TKind::HomeArea;
        const double speedFactor = metresPerUnit * StepsPerSecond;
        group.position = read.Planned(ui->tblPersons->item(row, ColPosition), metresPerUnit, at + "/position");
        group.speed = read.Planned(ui->tblPersons->item(row, ColSpeed), speedFactor, at + "/speed");
        group.speedIncrement = read.Planned(ui->tblPersons->item(row, ColIncrement), speedFactor, at + "/speed_increment");
        if (!text(ColNames).trimmed().isEmpty())
            for (const QString& name : text(ColNames).split(QLatin1Char(',')))
                group.names.push_back(name.trimmed().toStdString());
        d.persons.push_back(std::move(group));
    }
    d.schedule = schedule->Read(read, metresPerUnit, startSecond);
    edited = std::move(d);
    faults = std::move(read.faults);
    reasons = std::move(read.reasons);
    // A field that could not be read stands in with a placeholder; the rules
    // would only complain about the placeholder there.
    for (TScenarioFault& fault : CheckScenario(edited))
        if (std::none_of(faults.begin(), faults.end(), [&](const TScenarioFault& f) { return f.path == fault.path; }))
            faults.push_back(std::move(fault));
}

void TfrmScenario::ReadPlannersUnits(TFieldReader& read, TScenarioDescription& d)
{
    d.metresPerUnit = read.Real(ui->edMetresPerUnit->text(), "/metres_per_unit");
    // While the field holds no sound unit, the lengths are read in the last one.
    if (!read.reasons.contains("/metres_per_unit") && std::isfinite(d.metresPerUnit) && d.metresPerUnit > 0.0)
        metresPerUnit = d.metresPerUnit;
    const QString start = ui->edStart->text().trimmed();
    const std::optional<std::int64_t> second = ReadClockTime(start.toStdString(), true);
    if (start.isEmpty())
        d.startSecond = -1;
    else if (second && *second < SecondsPerDay)
        d.startSecond = static_cast<std::int32_t>(*second);
    else {
        read.Refuse("/start", GetStringById(TextNoClockTime).arg(start));
        d.startSecond = startSecond;
    }
    startSecond = d.startSecond;
}

void TfrmScenario::Check()
{
    if (filling)
        return;
    ReadFields();
    ShowFaults();
    ShowFigures();
    const bool sound = faults.empty();
    ui->btOk->setEnabled(sound);
    ui->btApply->setEnabled(sound);
    preview->Show(sound ? std::optional(edited) : std::nullopt);
}

void TfrmScenario::ShowFaults()
{
    // Each field's faults beside it; a table's in the cell and below the table.
    const std::map<QString, QLabel*> labels{
        {QStringLiteral("description"), ui->lbDescriptionFault}, {QStringLiteral("seed"), ui->lbSeedFault},
        {QStringLiteral("source/stock"), ui->lbStockFault},      {QStringLiteral("source/load_weight"), ui->lbLoadWeightFault},
        {QStringLiteral("metres_per_unit"), ui->lbMetresPerUnitFault}, {QStringLiteral("start"), ui->lbStartFault},
        {QStringLiteral("trail"), ui->lbTrailFault},             {QStringLiteral("persons"), ui->lbPersonsFault},
        {QStringLiteral("schedule"), ui->lbScheduleFault}};
    const std::map<QString, QTableWidget*> tables{{QStringLiteral("trail"), ui->tblTrail},
                                                  {QStringLiteral("persons"), ui->tblPersons},
                                                  {QStringLiteral("schedule"), ui->tblSchedule}};
    std::map<QLabel*, QStringList> shown;
    filling = true;
    for (const auto& [key, table] : tables)
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < table->columnCount(); ++column)
                if (QTableWidgetItem* item = table->item(row, column)) {
                    item->setBackground(QBrush());
                    item->setToolTip(QString());
                }
    for (const TScenarioFault& fault : faults) {
        const auto reason = reasons.find(fault.path);
        const QString what = reason != reasons.end() ? reason->second : ScenarioFaultWhat(fault);
        const QStringList parts = QString::fromStdString(fault.path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const auto found = labels.find(parts.mid(0, parts.value(0) == QLatin1String("source") ? 2 : 1).join(QLatin1Char('/')));
        // A fault of no field of its own (the move has no person at all) goes with the persons.
        const auto label = found != labels.end() ? found : labels.find(QStringLiteral("persons"));
        const auto table = tables.find(parts.value(0));
        if (table == tables.end() || parts.size() < 3) {
            shown[label->second] << what;
            continue;
        }
        const int row = parts[1].toInt();
        const int column = ColumnOf(table->first, fault.path.substr(fault.path.find('/', 1 + parts[0].size() + 1)));
        if (QTableWidgetItem* item = table->second->item(row, column)) {
            item->setBackground(FaultBackground);
            item->setToolTip(what);
        }
        const QTableWidgetItem* header = column >= 0 ? table->second->horizontalHeaderItem(column) : nullptr;
        shown[label->second] << GetStringById(TextCellFault).arg(row + 1).arg(header ? header->text() : QString(), what);
    }
    filling = false;
    for (const auto& [key, label] : labels) {
        label->setText(shown[label].join(QStringLiteral("\n")));
        label->setVisible(!label->text().isEmpty());
    }
}

int TfrmScenario::ColumnOf(const QString& table, const std::string& inRow)
{
    static const std::vector<std::string> trailKeys{"/kind", "/length"};
    static const std::vector<std::string> personKeys{"/count", "/kind", "/position", "/speed", "/speed_increment", "/names"};
    if (table == QLatin1String("schedule"))
        return TScheduleTable::ColumnOf(inRow);
    const std::vector<std::string>& keys = table == QLatin1String("trail") ? trailKeys : personKeys;
    const auto found = std::find(keys.begin(), keys.end(), inRow);
    return found == keys.end() ? -1 : static_cast<int>(found - keys.begin());
}

bool TfrmScenario::IsFaulty(const std::string& path) const
{
    return std::any_of(faults.begin(), faults.end(), [&](const TScenarioFault& f) { return f.path.starts_with(path); });
}

void TfrmScenario::ShowFigures()
{
    // A figure worked out from a faulty field would be a wrong one.
    const QString unknown = QStringLiteral("–");
    const bool trailKnown = !IsFaulty("/trail") && !IsFaulty("/metres_per_unit");
    ui->lbTrailLength->setText(GetStringById(TextTrailLength)
                                   .arg(trailKnown ? TypedNumberText(edited.GetTrailLength() * edited.metresPerUnit, 12) : unknown)
                                   .arg(FloorCount(edited.trail)));
    // The speeds each group's persons will walk at, as the scenario sets them.
    const double speedFactor = edited.metresPerUnit * StepsPerSecond;
    filling = true;
    for (int row = 0; row < ui->tblPersons->rowCount() && row < static_cast<int>(edited.persons.size()); ++row) {
        const TPersonGroup& group = edited.persons[static_cast<std::size_t>(row)];
        const std::string at = "/persons/" + std::to_string(row) + "/";
        QStringList speeds;
        for (std::int32_t i = 0; i < std::min(group.count, ListedSpeeds); ++i)
            speeds << Speed(group.SpeedOf(i) * speedFactor);
        if (group.count > ListedSpeeds)
            speeds << QStringLiteral("…") << Speed(group.SpeedOf(group.count - 1) * speedFactor);
        const bool known = !IsFaulty(at + "count") && !IsFaulty(at + "speed") && !IsFaulty("/metres_per_unit");
        ui->tblPersons->item(row, ColSpeeds)->setText(known ? speeds.join(QStringLiteral(", ")) : unknown);
    }
    filling = false;
    if (!faults.empty()) {
        ui->lbFigures->clear();
        return;
    }
    const double bound = BoundPerMinute(MoveLayoutOf(edited));
    // Persons slow beyond any clock's reach have no finish time worth a figure.
    const double shortest = std::ceil(edited.stock / bound * StepsPerMinute);
    const QString finish = shortest < 1e15 ? QString::fromStdString(FormatSimulatedTime(static_cast<std::int64_t>(shortest)))
                                           : QStringLiteral("∞");
    ui->lbFigures->setText(
        GetStringById(TextBoundFigure).arg(TypedNumberText(bound, 4)) + QLatin1Char('\n')
        + GetStringById(TextShortest).arg(finish) + QLatin1Char('\n')
        + GetStringById(TextPersonsAndLoads).arg(edited.GetPersonCount()).arg(edited.stock));
}

void TfrmScenario::Apply()
{
    Check();
    if (faults.empty())
        emit Applied(edited);
}
