#include "tools/FilmCommand.h"

#include "analysis/PlotApplication.h"
#include "film/FilmRenderer.h"
#include "scenario/clsScenarioFile.h"
#include "tools/HeadlessRun.h"

#include <ostream>

int RunFilmCommand(const TRunOptions& options, std::ostream& err)
{
    TScenarioDescription description;
    try {
        description = ChosenScenario(options);
    } catch (const TScenarioFileError& e) {
        err << "zemba-run: " << e.what() << '\n';
        return 2;
    }
    TFilmStretch stretch;
    if (options.filmSteps) {
        stretch.from = options.filmSteps->first;
        stretch.to = options.filmSteps->second;
    }
    const auto application = StartPlotApplication();
    const std::atomic<bool> never{false};
    const TFilmOutcome outcome = RenderFilm(description, stretch, FilmSettingsOf(options), options.filmPath, never);
    switch (outcome.status) {
    case TFilmOutcome::TStatus::Written:
        return 0;
    case TFilmOutcome::TStatus::Refused:
        err << "zemba-run: " << outcome.error << '\n';
        return 2;
    case TFilmOutcome::TStatus::Failed:
    case TFilmOutcome::TStatus::Cancelled:
        break;
    }
    err << "zemba-run: " << outcome.error << '\n';
    return 1;
}
