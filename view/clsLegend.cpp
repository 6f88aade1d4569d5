#include "view/clsLegend.h"

#include "model/clsChainState.h"
#include "strings/clsStringTable.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr std::int32_t TextSourceMark = 2351;
constexpr std::int32_t TextSinkMark = 2352;
constexpr std::int32_t TextPersonMark = 2353;
constexpr std::int32_t TextLoadMark = 2354;
constexpr std::int32_t TextHomeAreaMark = 2355;
constexpr std::int32_t TextBreakMark = 2356;
constexpr std::int32_t TextStepsMark = 2357;
constexpr std::int32_t TextLevelMark = 2358;
constexpr std::int32_t TextPersons = 2359;
constexpr std::int32_t TextCrowd = 3210;
// One text per activity, in the order of TCrowdActivity.
constexpr std::int32_t FirstActivityText = 3211;
constexpr std::int32_t TextNamesWhereTheyFit = 3215;

// A bar's full height and a little room below it.
constexpr int RowHeight = 36;
// Wide enough for the break mark, which is a text.
constexpr int MarkWidth = 80;
constexpr int Gap = 6;

} // namespace

TLegend::TLegend(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("legend"));
    Fill({});
}

void TLegend::SetPersons(const TChainState& state)
{
    std::vector<TEntry> persons;
    for (const THandlerState& handler : state.handlers)
        if (handler.IsPerson())
            persons.push_back({TChainPainter::TMark::Person, TChainPainter::HandlerColour(handler),
                               QString::fromStdString(handler.name)});
    Fill(persons);
}

void TLegend::Fill(const std::vector<TEntry>& persons)
{
    using TMark = TChainPainter::TMark;
    // A colour of the built-in move's persons stands for them all.
    const QColor person = TChainPainter::HandlerColour(4);
    entries = {
        {TMark::Source, {}, GetStringById(TextSourceMark)},
        {TMark::Sink, {}, GetStringById(TextSinkMark)},
        {TMark::Person, person, GetStringById(TextPersonMark)},
        {TMark::Load, {}, GetStringById(TextLoadMark)},
        {TMark::HomeArea, person, GetStringById(TextHomeAreaMark)},
        {TMark::Break, {}, GetStringById(TextBreakMark)},
        {TMark::RisingSection, {}, GetStringById(TextStepsMark)},
        {TMark::LevelSection, {}, GetStringById(TextLevelMark)},
        {TMark::Crowd, {}, GetStringById(TextCrowd)},
    };
    for (std::size_t k = 0; k < CrowdActivityCount; ++k)
        entries.push_back({TMark::Crowd, TChainPainter::CrowdColour(static_cast<TCrowdActivity>(k)),
                           GetStringById(FirstActivityText + static_cast<std::int32_t>(k))});
    entries.push_back({TMark::Person, person, GetStringById(TextNamesWhereTheyFit)});
    personsHeading = entries.size();
    entries.push_back({TMark::Person, {}, GetStringById(TextPersons)});
    entries.insert(entries.end(), persons.begin(), persons.end());
    // The heading is bold; the rest are not.
    QFont bold = font();
    bold.setBold(true);
    textWidth = QFontMetrics(bold).horizontalAdvance(entries[personsHeading].text);
    for (const TEntry& entry : entries)
        textWidth = std::max(textWidth, fontMetrics().horizontalAdvance(entry.text));
    setMinimumHeight(sizeHint().height());
    updateGeometry();
    update();
}

QSize TLegend::sizeHint() const
{
    return {MarkWidth + Gap + textWidth + Gap, static_cast<int>(entries.size()) * RowHeight};
}

void TLegend::paintEvent(QPaintEvent* event)
{
    QPainter canvas(this);
    canvas.fillRect(rect(), TChainPainter::Background);
    canvas.setPen(palette().color(QPalette::WindowText));
    // Only the rows the event asks for: a large move lists thousands.
    const int first = std::max(0, event->rect().top() / RowHeight);
    const int last = std::min(static_cast<int>(entries.size()) - 1, event->rect().bottom() / RowHeight);
    for (int i = first; i <= last; ++i) {
        const TEntry& entry = entries[static_cast<std::size_t>(i)];
        const QRect row(0, i * RowHeight, width(), RowHeight);
        if (static_cast<std::size_t>(i) != personsHeading)
            painter.DrawMark(canvas, entry.mark, QRect(row.topLeft(), QSize(MarkWidth, RowHeight)), entry.colour);
        QFont font = canvas.font();
        font.setBold(static_cast<std::size_t>(i) == personsHeading);
        canvas.setFont(font);
        canvas.drawText(row.adjusted(MarkWidth + Gap, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, entry.text);
    }
}
