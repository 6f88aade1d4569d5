#include "dialogs/frm_Report.h"

#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "ui_frm_Report.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalStackedBarSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr std::int32_t TextReportFinished = 2501;
constexpr std::int32_t TextUnfinished = 2502;
constexpr std::int32_t TextReportStalled = 2503;
constexpr std::int32_t TextThroughput = 2504;
constexpr std::int32_t TextQuarter = 2505;
// The table takes the header of column i from 2510 + i; the shares' columns
// name the chart's bars too.
constexpr std::int32_t TextFirstColumn = 2510;
constexpr int ColumnCount = 11;
constexpr int FirstShareColumn = 2;
constexpr int BarHeight = 20;
constexpr int ChartMargins = 120;

QString Steps(std::int64_t steps)
{
    return QString::number(steps);
}

QString Time(std::int64_t steps)
{
    return QString::fromStdString(FormatSimulatedTime(steps));
}

// QString::number writes "." whatever the locale.
QString Decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QTableWidgetItem* Cell(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TfrmReport::TfrmReport(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmReport>())
{
    ui->setupUi(this);
    LocalizeComponent(this);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::close);

    QStringList headers;
    for (int column = 0; column < ColumnCount; ++column)
        headers << GetStringById(TextFirstColumn + column);
    ui->tbPersons->setColumnCount(ColumnCount);
    ui->tbPersons->setHorizontalHeaderLabels(headers);
    ui->tbPersons->verticalHeader()->hide();
    ui->tbPersons->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart, ui->pnlChart);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(ui->pnlChart);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

TfrmReport::~TfrmReport() = default;

void TfrmReport::SetReport(const TMoveReport& report)
{
    ShowMove(report);
    ShowPersons(report);
    ShowShares(report);
}

QString TfrmReport::GetMoveText() const
{
    return ui->lbMove->text();
}

void TfrmReport::ShowMove(const TMoveReport& r)
{
    QStringList lines;
    if (r.finishStep >= 0)
        lines << GetStringById(TextReportFinished).arg(r.stock).arg(Steps(r.finishStep), Time(r.finishStep));
    else
        lines << GetStringById(TextUnfinished).arg(r.delivered).arg(r.stock).arg(Steps(r.steps), Time(r.steps));
    if (r.stalledSince >= 0)
        lines << GetStringById(TextReportStalled).arg(Steps(r.stalledSince), Time(r.stalledSince));
    lines << GetStringById(TextThroughput)
                 .arg(Decimal(r.perMinute, 2), Decimal(r.percentOfBound, 0), Decimal(r.boundPerMinute, 2));
    for (std::size_t q = 0; q < r.quarters.size(); ++q) {
        const TMoveReport::TQuarter& quarter = r.quarters[q];
        if (quarter.firstStep <= quarter.lastStep)
            lines << GetStringById(TextQuarter)
                         .arg(q + 1)
                         .arg(Steps(quarter.firstStep), Steps(quarter.lastStep))
                         .arg(quarter.delivered)
                         .arg(Decimal(quarter.perMinute, 1));
    }
    ui->lbMove->setText(lines.join(QLatin1Char('\n')));
}

void TfrmReport::ShowPersons(const TMoveReport& r)
{
    QTableWidget& table = *ui->tbPersons;
    table.setRowCount(static_cast<int>(r.persons.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const TMoveReport::TPersonLine& p = r.persons[static_cast<std::size_t>(row)];
        // Speeds ×100, as the persons dialog shows them.
        const std::array<QString, ColumnCount> cells{
            QString::fromStdString(p.name), Decimal(p.speed * 100.0, 2), Decimal(p.share[0], 1),
            Decimal(p.share[1], 1),         Decimal(p.share[2], 1),      Decimal(p.share[3], 1),
            Decimal(p.share[4], 1),         Steps(p.breaks),             Steps(p.founded),
            Steps(p.givenUp),               Steps(p.moved)};
        for (int column = 0; column < ColumnCount; ++column)
            table.setItem(row, column, Cell(cells[static_cast<std::size_t>(column)], column > 0));
    }
    table.resizeColumnsToContents();
}

void TfrmReport::ShowShares(const TMoveReport& r)
{
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    auto* series = new QHorizontalStackedBarSeries;
    for (std::size_t a = 0; a < ActivityCount; ++a) {
        auto* set = new QBarSet(GetStringById(TextFirstColumn + FirstShareColumn + static_cast<int>(a)));
        // The last person at the top, as the table reads downwards.
        for (auto p = r.persons.rbegin(); p != r.persons.rend(); ++p)
            *set << p->share[a];
        series->append(set);
    }
    chart->addSeries(series);
    QStringList names;
    for (auto p = r.persons.rbegin(); p != r.persons.rend(); ++p)
        names << QString::fromStdString(p->name);
    auto* persons = new QBarCategoryAxis;
    persons->append(names);
    persons->setTruncateLabels(false);
    auto* percent = new QValueAxis;
    percent->setRange(0.0, 100.0);
    percent->setLabelFormat(QStringLiteral("%.0f %%"));
    // A bar per person, each tall enough for its name beside it.
    ui->pnlChart->setMinimumHeight(ChartMargins + BarHeight * static_cast<int>(r.persons.size()));
    chart->addAxis(persons, Qt::AlignLeft);
    chart->addAxis(percent, Qt::AlignBottom);
    series->attachAxis(persons);
    series->attachAxis(percent);
}
