#pragma once

#include "model/clsZembaObject.h"

#include <vector>

// A stretch of plain ground. Its length is all that distinguishes one section
// of a class from another.
class TTrailSection : public TZembaObject
{
public:
    TTrailSection(TObjectIds& ids, double length);

    double GetLength() const { return length; }

    // Walking-speed factor on this section; empty means the walker carries nothing.
    virtual double GetSpeedFactor(bool empty) const;
    // How far the section rises from its start to its end.
    virtual double GetHeight() const;

private:
    const double length;
};

// A flight of steps: climbed faster with empty hands, slower with a load, and
// rising by half its length.
class TTrailSectionSteps : public TTrailSection
{
public:
    TTrailSectionSteps(TObjectIds& ids, double length);

    double GetSpeedFactor(bool empty) const override;
    double GetHeight() const override;
};

// The path from the source (position 0.0) to the sink: sections in the order
// added. It does not own them. Built before the simulation starts and never
// changed afterwards, so both threads read it without a lock.
class TTrail : public TZembaObject
{
public:
    using TZembaObject::TZembaObject;

    // Appends the section. Refuses (false, nothing changed) a null section or
    // one whose length is not a finite number above 0: such a section would
    // leave the trail's height undefined.
    bool AddSection(TTrailSection* section);

    double GetLength() const { return length; }
    int GetSectionCount() const { return static_cast<int>(sections.size()); }
    // Null for an index out of range.
    TTrailSection* GetSection(int index) const;

    // The section under a position: a border belongs to the later section,
    // anything before the start to the first, anything at or past the end to
    // the last. Null while the trail has no sections.
    TTrailSection* GetSectionAt(double position) const;
    // The same, tried first at the section index hint, which is then set to
    // the section found: a walker stays in one section for many steps.
    TTrailSection* GetSectionAt(double position, std::int32_t& hint) const;
    // Sum of the lengths before the section; the trail's length for a section
    // that is not on the trail.
    double GetSectionStart(const TTrailSection* section) const;
    double GetTotalHeight() const;
    // Height at a position, rising linearly within each section.
    double GetHeightAt(double position) const;

private:
    std::vector<TTrailSection*> sections;
    double length = 0.0;

    // Running sums kept as the sections are added, in the same order and with
    // the same additions as a walk over the sections would make, so that a
    // binary search gives bit for bit the walk's results.
    std::vector<double> sectionEnds;     // start + length of each section
    std::vector<double> heightsBefore;   // summed rise of the sections before each
    std::vector<double> sectionHeights;
    double totalHeight = 0.0;
};
