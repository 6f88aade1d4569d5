#pragma once

#include "analysis/DeliveryWindow.h"
#include "model/clsChainState.h"

#include <QWidget>

#include <cstdint>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QValueAxis;

// The chart dock's content: loads delivered against simulated time beside the
// throughput bound's line, and loads per simulated minute over a sliding
// window of one simulated minute, against simulated time in h:mm. Fed by its owner from published states, so
// it never touches the simulation; it draws whenever a point is added.
class TRunChart : public QWidget
{
    Q_OBJECT

public:
    explicit TRunChart(QWidget* parent = nullptr);

    // A fresh move: the curves start empty; the bound (loads per simulated
    // minute, 0 for none) and the stock scale the axes.
    void Start(double boundPerMinute, std::int32_t stock);
    // Adds the points of a move's delivery curve later than the last one added.
    void Follow(const std::vector<TDeliveryPoint>& curve);

    // For tests: the points of the delivered curve, and the time axes' labels.
    qsizetype GetPointCount() const;
    QStringList GetTimeLabels() const;

private:
    void FitAxes(double minutes);

    QLineSeries* delivered = nullptr;
    QLineSeries* deliveredBound = nullptr;
    QLineSeries* rate = nullptr;
    QLineSeries* rateBound = nullptr;
    QCategoryAxis* deliveredTime = nullptr;
    QValueAxis* deliveredLoads = nullptr;
    QCategoryAxis* rateTime = nullptr;
    QValueAxis* rateLoads = nullptr;
    TDeliveryWindow window;
    double bound = 0.0;
    std::int32_t stock = 0;
    std::int64_t lastStep = -1;
    double highestRate = 0.0;
    // The tick spacing the time axes' labels were made for.
    double tickMinutes = 0.0;
};
