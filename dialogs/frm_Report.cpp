#include "dialogs/frm_Report.h"

#include "dialogs/clsReportText.h"
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

constexpr int BarHeight = 20;
constexpr int ChartMargins = 120;

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
    for (int column = 0; column < ReportColumnCount; ++column)
        headers << ReportColumnHeader(column);
    ui->tbPersons->setColumnCount(ReportColumnCount);
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
    ui->lbMove->setText(ReportMoveLines(r).join(QLatin1Char('\n')));
}

void TfrmReport::ShowPersons(const TMoveReport& r)
{
    QTableWidget& table = *ui->tbPersons;
    table.setRowCount(static_cast<int>(r.persons.size()));
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::array<QString, ReportColumnCount> cells = ReportPersonCells(r.persons[static_cast<std::size_t>(row)]);
        for (int column = 0; column < ReportColumnCount; ++column)
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
        auto* set = new QBarSet(ReportColumnHeader(ReportFirstShareColumn + static_cast<int>(a)));
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
