#include "dialogs/clsChartPicture.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QLayout>
#include <QResizeEvent>
#include <QWidget>
#include <QXYSeries>

#include <vector>

namespace {

// The frame's point of a point in the chart's own coordinates.
QPointF InFrame(const QChartView& view, const QWidget& frame, QPointF point)
{
    const QPointF inView = view.mapFromScene(view.chart()->mapToScene(point));
    return view.viewport()->mapTo(&frame, inView);
}

// The chart's line curves as it draws them, in the frame's coordinates.
TPainting Curves(QChartView& view, const QWidget& frame)
{
    return [&view, &frame](QPainter& painter) {
        painter.setRenderHints(view.renderHints());
        for (QAbstractSeries* series : view.chart()->series()) {
            auto* line = qobject_cast<QXYSeries*>(series);
            if (!line || !line->isVisible())
                continue;
            QPolygonF points;
            for (const QPointF& value : line->points())
                points << InFrame(view, frame, view.chart()->mapToPosition(value, line));
            painter.setPen(line->pen());
            painter.drawPolyline(points);
        }
    };
}

// A frame never shown has not laid out its charts: its layout, the views'
// resizes and the charts' own layouts wait for a show that may never come.
void LayOut(QWidget& frame, const std::vector<QChartView*>& views)
{
    if (frame.isVisible())
        return;
    if (QLayout* layout = frame.layout())
        layout->activate();
    for (QChartView* view : views) {
        QResizeEvent resized(view->size(), view->size());
        QCoreApplication::sendEvent(view, &resized);
        if (QGraphicsLayout* layout = view->chart()->layout())
            layout->activate();
    }
}

} // namespace

TPicture ChartsPicture(QWidget& frame, const QString& title)
{
    std::vector<QChartView*> views;
    if (auto* view = qobject_cast<QChartView*>(&frame))
        views.push_back(view);
    for (QChartView* view : frame.findChildren<QChartView*>())
        views.push_back(view);
    LayOut(frame, views);
    TPicture picture{frame.size(), {}, {}, title};
    // The frame without its curves: their opacity 0 leaves the legend's marks as they are.
    picture.paint = [&frame, views](QPainter& painter) {
        std::vector<std::pair<QAbstractSeries*, qreal>> opacities;
        for (QChartView* view : views)
            for (QAbstractSeries* series : view->chart()->series())
                if (qobject_cast<QXYSeries*>(series)) {
                    opacities.emplace_back(series, series->opacity());
                    series->setOpacity(0.0);
                }
        frame.render(&painter);
        for (const auto& [series, opacity] : opacities)
            series->setOpacity(opacity);
    };
    for (QChartView* view : views) {
        const QRectF plot = view->chart()->plotArea();
        const QRectF area(InFrame(*view, frame, plot.topLeft()), InFrame(*view, frame, plot.bottomRight()));
        picture.clipped.push_back({area, Curves(*view, frame)});
    }
    return picture;
}
