#pragma once

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"
#include "analysis/SweepSummary.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QTableWidget;

// An experiment's answer as tables: per combination its values, runs,
// finished, stalled and limited, the finish time's figures as --sweep-report
// gives them ("> 2:46:40" past the limit, "nie" for runs that stood still),
// the median's 95 % interval and the median's person-hours (the first cell keeps the run of
// the seed nearest the median); and every run with its seed and end.
// names: the varied fields in words. With a deadline, a last column gives the
// share finished by then with its 95 % interval (ChanceByDeadline). Where the
// scenario has a start (startSecond from 0), times are clock times.
void ShowGroupTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table,
                    const std::vector<TSweepGroup>& groups, const QStringList& names,
                    std::optional<std::int64_t> deadline = std::nullopt, std::int32_t startSecond = -1);
void ShowRunTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table, const QStringList& names,
                  std::int32_t startSecond = -1);

// Steps as simulated h:mm:ss, rounded to the step as the sweep report rounds.
QString SimulatedTime(double steps);

// Written whole or not at all: to a temporary name beside it, then renamed.
bool WriteWhole(const QString& path, const QByteArray& bytes);
