#pragma once

#include "view/clsChainPainter.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

struct TChainState;

// What the picture's marks mean, each drawn by the chain view's own painter
// beside its text: the source, the sink, a person, a load, a home area, the
// break mark and the two kinds of trail, a crowd's bar and its colours, that
// names stand only where they fit, then every person of the move in its colour. Sized for all its rows: it belongs in a scroll area.
class TLegend : public QWidget
{
    Q_OBJECT

public:
    explicit TLegend(QWidget* parent = nullptr);

    // The persons of a new move, in the chain's order.
    void SetPersons(const TChainState& state);

    QSize sizeHint() const override;

    struct TEntry
    {
        TChainPainter::TMark mark;
        QColor colour;
        QString text;
    };
    const std::vector<TEntry>& GetEntries() const { return entries; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Fill(const std::vector<TEntry>& persons);

    TChainPainter painter;
    std::vector<TEntry> entries;
    // The entry whose text heads the persons' rows: drawn as a heading, without a mark.
    std::size_t personsHeading = 0;
    // The longest text's width, worked out when the entries change.
    int textWidth = 0;
};
