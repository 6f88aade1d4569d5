#include "model/clsTrail.h"

#include <algorithm>
#include <cmath>

TTrailSection::TTrailSection(TObjectIds& ids, double theLength)
    : TZembaObject(ids)
    , length(theLength)
{
}

double TTrailSection::GetSpeedFactor(bool) const
{
    return 1.0;
}

double TTrailSection::GetHeight() const
{
    return 0.0;
}

TTrailSectionSteps::TTrailSectionSteps(TObjectIds& ids, double theLength)
    : TTrailSection(ids, theLength)
{
}

double TTrailSectionSteps::GetSpeedFactor(bool empty) const
{
    return empty ? 1.3 : 0.5;
}

double TTrailSectionSteps::GetHeight() const
{
    return GetLength() * 0.5;
}

bool TTrail::AddSection(TTrailSection* section)
{
    if (!section || !std::isfinite(section->GetLength()) || section->GetLength() <= 0.0)
        return false;
    const double height = section->GetHeight();
    sections.push_back(section);
    heightsBefore.push_back(totalHeight);
    sectionHeights.push_back(height);
    length = length + section->GetLength();
    sectionEnds.push_back(length);
    totalHeight = totalHeight + height;
    return true;
}

TTrailSection* TTrail::GetSection(int index) const
{
    if (index < 0 || index >= GetSectionCount())
        return nullptr;
    return sections[static_cast<std::size_t>(index)];
}

TTrailSection* TTrail::GetSectionAt(double position) const
{
    std::int32_t hint = -1;
    return GetSectionAt(position, hint);
}

TTrailSection* TTrail::GetSectionAt(double position, std::int32_t& hint) const
{
    if (sections.empty())
        return nullptr;
    // The first section whose end lies strictly beyond the position, else the
    // last; the hint's section is that one if its end lies beyond the position
    // and the end before it does not.
    const auto last = static_cast<std::int32_t>(sectionEnds.size()) - 1;
    const bool hinted = hint >= 0 && hint <= last
        && (hint == 0 || !(position < sectionEnds[static_cast<std::size_t>(hint) - 1]))
        && (hint == last || position < sectionEnds[static_cast<std::size_t>(hint)]);
    if (!hinted) {
        const auto it = std::upper_bound(sectionEnds.begin(), sectionEnds.end(), position);
        hint = std::min(static_cast<std::int32_t>(it - sectionEnds.begin()), last);
    }
    return sections[static_cast<std::size_t>(hint)];
}

double TTrail::GetSectionStart(const TTrailSection* section) const
{
    const auto it = std::find(sections.begin(), sections.end(), section);
    if (it == sections.end())
        return length;
    const auto index = static_cast<std::size_t>(it - sections.begin());
    return index == 0 ? 0.0 : sectionEnds[index - 1];
}

double TTrail::GetTotalHeight() const
{
    return totalHeight;
}

double TTrail::GetHeightAt(double position) const
{
    // The first section whose end lies at or beyond the position, asked in the
    // walk's own words: a position that compares with nothing (NaN) lies
    // beyond every section, as it would for the walk, and gets the total height.
    const auto it = std::partition_point(sectionEnds.begin(), sectionEnds.end(),
                                         [position](double end) { return !(position <= end); });
    if (it == sectionEnds.end())
        return totalHeight;
    const auto index = static_cast<std::size_t>(it - sectionEnds.begin());
    const double sectionLength = sections[index]->GetLength();
    return heightsBefore[index]
        + sectionHeights[index] * (1 - (sectionEnds[index] - position) / sectionLength);
}
