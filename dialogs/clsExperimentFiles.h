#pragma once

#include <QString>

// An experiment is kept as two files side by side under one name: its rows
// (helfer.csv) and its sweep file (helfer.json). Speichern... writes both.
struct TExperimentFiles
{
    QString sweep;
    QString csv;
};

// The pair the file chosen belongs to: a .csv file is the rows, any other
// the sweep file; its partner has the other ending, beside it.
TExperimentFiles ExperimentFilesOf(const QString& chosen);
