#pragma once

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QTableWidget;

// An experiment's answer as tables: per combination its values, runs,
// finished, stalled and limited, the finish time's figures as --sweep-report
// gives them and the median's person-hours (the first cell keeps the run of
// the seed nearest the median); and every run with its seed and end.
// names: the varied fields in words.
void ShowGroupTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table,
                    const std::vector<TSweepGroup>& groups, const QStringList& names);
void ShowRunTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table, const QStringList& names);

// Steps as simulated h:mm:ss, rounded to the step as the sweep report rounds.
QString SimulatedTime(double steps);

// The persons of each of the plan's combinations, by its varied values as
// groups and rows carry them.
std::map<std::vector<std::string>, std::int64_t> PersonsByValues(const TSweepPlan& plan);
// A time in steps counted once per person, in hours.
double PersonHours(double steps, std::int64_t persons);

// Written whole or not at all: to a temporary name beside it, then renamed.
bool WriteWhole(const QString& path, const QByteArray& bytes);
