#include "dialogs/frm_MarkCompare.h"

#include "dialogs/clsStepText.h"
#include "strings/clsStringTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGridLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

constexpr std::int32_t TextCompareTitle = 3010;
constexpr std::int32_t TextStepRow = 3011;
constexpr std::int32_t TextDeliveredRow = 3012;
constexpr std::int32_t TextPerMinuteRow = 3013;
constexpr std::int32_t TextBoundRow = 3014;
constexpr std::int32_t TextDeliveredOf = 3015;
constexpr std::int32_t TextPercent = 3016;
constexpr std::int32_t TextMeanShare = 3017;
constexpr std::int32_t TextMarkColumn = 3018;
constexpr std::int32_t TextClose = 3019;
// The report's own names of its columns, from 2510 on.
constexpr std::int32_t TextFirstColumn = 2510;
constexpr std::int32_t FirstShareColumn = 2;
constexpr std::int32_t FirstCountColumn = FirstShareColumn + static_cast<std::int32_t>(ActivityCount);

// QString::number writes "." whatever the locale, as the report does.
QString Decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

double MeanShare(const TMoveReport& r, std::size_t activity)
{
    if (r.persons.empty())
        return 0.0;
    const double sum = std::accumulate(r.persons.begin(), r.persons.end(), 0.0,
                                       [&](double total, const auto& p) { return total + p.share[activity]; });
    return sum / static_cast<double>(r.persons.size());
}

std::int64_t Sum(const TMoveReport& r, std::int64_t TMoveReport::TPersonLine::*count)
{
    return std::accumulate(r.persons.begin(), r.persons.end(), std::int64_t{0},
                           [&](std::int64_t total, const auto& p) { return total + p.*count; });
}

struct TFigure
{
    QString name;
    std::function<QString(const TMoveReport&)> value;
};

// The rows: where the move stands, its throughput, the persons' mean shares
// of the steps and their summed breaks and home-area changes.
std::vector<TFigure> Figures()
{
    std::vector<TFigure> rows{
        {GetStringById(TextStepRow), [](const TMoveReport& r) { return StepAndTimeText(r.steps); }},
        {GetStringById(TextDeliveredRow),
         [](const TMoveReport& r) { return GetStringById(TextDeliveredOf).arg(r.delivered).arg(r.stock); }},
        {GetStringById(TextPerMinuteRow), [](const TMoveReport& r) { return Decimal(r.perMinute, 2); }},
        {GetStringById(TextBoundRow),
         [](const TMoveReport& r) { return GetStringById(TextPercent).arg(Decimal(r.percentOfBound, 0)); }},
    };
    for (std::size_t a = 0; a < ActivityCount; ++a)
        rows.push_back({GetStringById(TextMeanShare).arg(GetStringById(TextFirstColumn + FirstShareColumn + static_cast<std::int32_t>(a))),
                        [a](const TMoveReport& r) { return Decimal(MeanShare(r, a), 1); }});
    using TLine = TMoveReport::TPersonLine;
    const std::array<std::int64_t TLine::*, 4> counts{&TLine::breaks, &TLine::founded, &TLine::givenUp, &TLine::moved};
    for (std::size_t c = 0; c < counts.size(); ++c)
        rows.push_back({GetStringById(TextFirstColumn + FirstCountColumn + static_cast<std::int32_t>(c)),
                        [count = counts[c]](const TMoveReport& r) { return QString::number(Sum(r, count)); }});
    return rows;
}

const std::vector<TFigure>& FigureRows()
{
    static const std::vector<TFigure> rows = Figures();
    return rows;
}

} // namespace

TfrmMarkCompare::TfrmMarkCompare(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmMarkCompare"));
    setWindowTitle(GetStringById(TextCompareTitle));
    table = new QTableWidget(static_cast<int>(FigureRows().size()), Columns, this);
    table->setObjectName(QStringLiteral("tbMarkFigures"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->hide();
    QStringList names;
    for (const TFigure& figure : FigureRows())
        names << figure.name;
    table->setVerticalHeaderLabels(names);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* layout = new QGridLayout(this);
    for (int column = 0; column < Columns; ++column) {
        choices[column] = new QComboBox(this);
        choices[column]->setToolTip(GetStringById(TextMarkColumn));
        layout->addWidget(choices[column], 0, column + 1);
        connect(choices[column], &QComboBox::currentIndexChanged, this, [this, column] {
            ShowReport(column, nullptr);
            if (GetMark(column) >= 0)
                emit MarkChosen(column, GetMark(column));
        });
    }
    layout->addWidget(table, 1, 0, 1, Columns + 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(GetStringById(TextClose));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons, 2, 0, 1, Columns + 1);
    resize(560, 420);
}

void TfrmMarkCompare::SetMarks(const std::vector<std::int64_t>& marks)
{
    for (int column = 0; column < Columns; ++column) {
        const std::int64_t mark = GetMark(column);
        const bool kept = std::find(marks.begin(), marks.end(), mark) != marks.end();
        const std::size_t back = static_cast<std::size_t>(Columns - column);
        const std::int64_t shown = kept ? mark : marks.empty() ? -1 : marks[marks.size() >= back ? marks.size() - back : 0];
        {
            const QSignalBlocker quiet(choices[column]);
            choices[column]->clear();
            for (const std::int64_t each : marks)
                choices[column]->addItem(StepAndTimeText(each), QVariant::fromValue<qlonglong>(each));
            choices[column]->setCurrentIndex(choices[column]->findData(QVariant::fromValue<qlonglong>(shown)));
        }
        ShowReport(column, nullptr);
        if (shown >= 0)
            emit MarkChosen(column, shown);
    }
}

std::int64_t TfrmMarkCompare::GetMark(int column) const
{
    const QVariant mark = choices[column]->currentData();
    return mark.isValid() ? mark.toLongLong() : -1;
}

void TfrmMarkCompare::ShowReport(int column, const TMoveReport* report)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        const QString text = report ? FigureRows()[static_cast<std::size_t>(row)].value(*report) : QString();
        auto* cell = new QTableWidgetItem(text);
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, cell);
    }
}

QString TfrmMarkCompare::GetFigure(int row, int column) const
{
    const QTableWidgetItem* cell = table->item(row, column);
    return cell ? cell->text() : QString();
}
