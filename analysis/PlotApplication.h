#pragma once

#include <QGuiApplication>

#include <memory>

// Text needs a font database, which only an application provides; a picture
// written to a file needs no display, so the offscreen platform serves
// wherever this runs. Starts one if the process has none yet and returns it;
// returns null when an application exists already.
std::unique_ptr<QGuiApplication> StartPlotApplication();
