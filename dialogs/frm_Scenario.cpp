#include "dialogs/frm_Scenario.h"

#include "ui_frm_Scenario.h"

#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/clsScenarioPreview.h"
#include "dialogs/clsScenarioWords.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsScenarioRules.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "strings/clsTypedNumber.h"

#include <QComboBox>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include <algorithm>
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
constexpr std::int32_t TextTrailLength = 2619;
constexpr std::int32_t TextCount = 2631;
constexpr std::int32_t TextWithHomeArea = 2638;
constexpr std::int32_t TextBoundFigure = 2641;
constexpr std::int32_t TextShortest = 2642;
constexpr std::int32_t TextPersonsAndLoads = 2643;

// The speeds column lists this many persons of a group, then "…".
constexpr std::int32_t ListedSpeeds = 6;
constexpr int NamesWidth = 110;
const QColor FaultBackground(255, 215, 215);

QString Number(double value)
{
    return TypedNumberText(value);
}

// A person's speed for reading, not for writing back: six digits say enough.
QString Speed(double value)
{
    return TypedNumberText(value, 6);
}

// Reads the form's fields into a description, collecting what cannot even be
// read as the faults the file reader gives for such text, each with the
// German reason why; every other rule is CheckScenario's.
class TFieldReader
{
public:
    std::vector<TScenarioFault> faults;
    std::map<std::string, QString> reasons;

    double Real(const QString& text, const std::string& path)
    {
        const TTypedNumber<double> read = ReadTypedDecimal(text);
        if (read.value)
            return *read.value;
        faults.push_back({TScenarioFaultKind::NotFinite, path, 0, 0, {}, "not a finite number"});
        reasons[path] = read.refusal;
        return 1.0;
    }

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
};

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
    ui->tblTrail->setHorizontalHeaderLabels({GetStringById(TextSectionKind), GetStringById(TextSectionKind + 1)});
    ui->tblPersons->setColumnCount(PersonColumns);
    QStringList headers;
    for (int column = 0; column < PersonColumns; ++column)
        headers << GetStringById(TextCount + column);
    ui->tblPersons->setHorizontalHeaderLabels(headers);
    ui->tblPersons->horizontalHeader()->setStretchLastSection(true);
    ui->tblTrail->horizontalHeader()->setStretchLastSection(true);

    for (QLineEdit* field : {ui->edDescription, ui->edSeed, ui->edStock, ui->edLoadWeight})
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
    unshown = description;
    ui->edDescription->setText(ShownDescription(description.description));
    ui->edSeed->setText(QString::number(description.seed));
    ui->cbHandover->setCurrentIndex(description.handover == THandoverRule::Finish ? 1 : 0);
    ui->edStock->setText(QString::number(description.stock));
    ui->edLoadWeight->setText(Number(description.loadWeight));
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
    ui->tblTrail->setItem(row, ColLength, new QTableWidgetItem(Number(section.length)));
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
    const QStringList texts{QString::number(group.count), QString(), Number(group.position), Number(group.speed),
                            Number(group.speedIncrement), names.join(QStringLiteral(", ")), QString()};
    for (int column = 0; column < PersonColumns; ++column)
        if (column != ColKind)
            ui->tblPersons->setItem(row, column, new QTableWidgetItem(texts[column]));
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
            const QString text = CellText(table, from, column);
            table->item(from, column)->setText(CellText(table, to, column));
            table->item(to, column)->setText(text);
        }
    }
    filling = false;
    table->setCurrentCell(to, table->currentColumn());
    Check();
}

void TfrmScenario::ReadFields()
{
    TFieldReader read;
    // What the editor has no field for (the schedule, the planner's units) goes through as it came.
    TScenarioDescription d;
    d.schedule = unshown.schedule;
    d.metresPerUnit = unshown.metresPerUnit;
    d.startSecond = unshown.startSecond;
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
                           read.Real(CellText(ui->tblTrail, row, ColLength), at + "/length")});
    }
    for (int row = 0; row < ui->tblPersons->rowCount(); ++row) {
        const std::string at = "/persons/" + std::to_string(row);
        const auto text = [&](int column) { return CellText(ui->tblPersons, row, column); };
        TPersonGroup group;
        group.count = read.Whole<std::int32_t>(text(ColCount), at + "/count", 1, MaxScenarioCount);
        group.kind = KindBox(ui->tblPersons, row, ColKind)->currentIndex() == 1 ? TPersonGroup::TKind::Plain
                                                                                : TPersonGroup::TKind::HomeArea;
        group.position = read.Real(text(ColPosition), at + "/position");
        group.speed = read.Real(text(ColSpeed), at + "/speed");
        group.speedIncrement = read.Real(text(ColIncrement), at + "/speed_increment");
        if (!text(ColNames).trimmed().isEmpty())
            for (const QString& name : text(ColNames).split(QLatin1Char(',')))
                group.names.push_back(name.trimmed().toStdString());
        d.persons.push_back(std::move(group));
    }
    edited = std::move(d);
    faults = std::move(read.faults);
    reasons = std::move(read.reasons);
    // A field that could not be read stands in with a placeholder; the rules
    // would only complain about the placeholder there.
    for (TScenarioFault& fault : CheckScenario(edited))
        if (std::none_of(faults.begin(), faults.end(), [&](const TScenarioFault& f) { return f.path == fault.path; }))
            faults.push_back(std::move(fault));
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
    QStringList description, seed, stock, weight, trail, persons;
    filling = true;
    for (QTableWidget* table : {ui->tblTrail, ui->tblPersons})
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < table->columnCount(); ++column)
                if (QTableWidgetItem* item = table->item(row, column)) {
                    item->setBackground(QBrush());
                    item->setToolTip(QString());
                }
    for (const TScenarioFault& fault : faults) {
        const auto reason = reasons.find(fault.path);
        const QString what = reason != reasons.end() ? reason->second : ScenarioFaultWhat(fault);
        const QString path = QString::fromStdString(fault.path);
        const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (path == QLatin1String("/description"))
            description << what;
        else if (path == QLatin1String("/seed"))
            seed << what;
        else if (path == QLatin1String("/source/stock"))
            stock << what;
        else if (path == QLatin1String("/source/load_weight"))
            weight << what;
        else if (parts.size() >= 3 && (parts[0] == QLatin1String("trail") || parts[0] == QLatin1String("persons"))) {
            const bool isTrail = parts[0] == QLatin1String("trail");
            QTableWidget* table = isTrail ? ui->tblTrail : ui->tblPersons;
            static const QStringList trailKeys{QStringLiteral("kind"), QStringLiteral("length")};
            static const QStringList personKeys{QStringLiteral("count"), QStringLiteral("kind"),
                                                QStringLiteral("position"), QStringLiteral("speed"),
                                                QStringLiteral("speed_increment"), QStringLiteral("names")};
            const int row = parts[1].toInt();
            const int column = static_cast<int>((isTrail ? trailKeys : personKeys).indexOf(parts[2]));
            QTableWidgetItem* item = table->item(row, column);
            if (item) {
                item->setBackground(FaultBackground);
                item->setToolTip(what);
            }
            const QTableWidgetItem* header = column >= 0 ? table->horizontalHeaderItem(column) : nullptr;
            (isTrail ? trail : persons) << GetStringById(TextCellFault)
                                               .arg(row + 1)
                                               .arg(header ? header->text() : QString(), what);
        } else
            (parts.value(0) == QLatin1String("trail") ? trail : persons) << what;
    }
    filling = false;
    const QString newline = QStringLiteral("\n");
    ui->lbDescriptionFault->setText(description.join(newline));
    ui->lbSeedFault->setText(seed.join(newline));
    ui->lbStockFault->setText(stock.join(newline));
    ui->lbLoadWeightFault->setText(weight.join(newline));
    ui->lbTrailFault->setText(trail.join(newline));
    ui->lbPersonsFault->setText(persons.join(newline));
    for (QLabel* label : {ui->lbDescriptionFault, ui->lbSeedFault, ui->lbStockFault, ui->lbLoadWeightFault,
                          ui->lbTrailFault, ui->lbPersonsFault})
        label->setVisible(!label->text().isEmpty());
}

bool TfrmScenario::IsFaulty(const std::string& path) const
{
    return std::any_of(faults.begin(), faults.end(), [&](const TScenarioFault& f) { return f.path.starts_with(path); });
}

void TfrmScenario::ShowFigures()
{
    // A figure worked out from a faulty field would be a wrong one.
    const QString unknown = QStringLiteral("–");
    ui->lbTrailLength->setText(GetStringById(TextTrailLength)
                                   .arg(IsFaulty("/trail") ? unknown : TypedNumberText(edited.GetTrailLength(), 12)));
    // The speeds each group's persons will walk at, as the scenario sets them.
    filling = true;
    for (int row = 0; row < ui->tblPersons->rowCount() && row < static_cast<int>(edited.persons.size()); ++row) {
        const TPersonGroup& group = edited.persons[static_cast<std::size_t>(row)];
        const std::string at = "/persons/" + std::to_string(row) + "/";
        QStringList speeds;
        for (std::int32_t i = 0; i < std::min(group.count, ListedSpeeds); ++i)
            speeds << Speed(group.SpeedOf(i));
        if (group.count > ListedSpeeds)
            speeds << QStringLiteral("…") << Speed(group.SpeedOf(group.count - 1));
        const bool known = !IsFaulty(at + "count") && !IsFaulty(at + "speed");
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
