#include "analysis/SweepMove.h"
#include "dialogs/clsExperimentChart.h"
#include "dialogs/frm_Compare.h"
#include "dialogs/frm_Experiment.h"
#include "scenario/clsScenarioFile.h"
#include "tools/HeadlessRun.h"
#include "tools/SweepCommand.h"

#include <QChart>
#include <QComboBox>
#include <QXYSeries>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace {

// zemba-run with these arguments; its standard output.
std::string ZembaRun(const std::vector<std::string>& args)
{
    const TRunOptionsParse parse = ParseRunOptions(args);
    EXPECT_TRUE(parse.error.empty()) << parse.error;
    std::ostringstream out, err;
    const std::atomic<bool> stop{false};
    const TRunOptions& o = parse.options;
    EXPECT_EQ(o.mode == ERunMode::Sweep ? RunSweepCommand(o, out, err, RunSweepMove, stop, {})
              : o.mode == ERunMode::SweepReport ? RunSweepReport(o, out, err)
                                                : RunHeadless(o, out, err),
              0) << err.str();
    return out.str();
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        if (w != "|")
            words.push_back(w);
    return words;
}

// Stocks 4 and 8 under both hand-over rules, two seeds: small moves that finish in a moment.
void SetUpSmallSweep(TfrmExperiment& dialog)
{
    TfrmExperiment::TAxisWidgets& first = dialog.GetAxis(0);
    first.field->setCurrentIndex(first.field->findData(QStringLiteral("/source/stock")));
    first.from->setText(QStringLiteral("4"));
    first.to->setText(QStringLiteral("8"));
    first.step->setText(QStringLiteral("4"));
    TfrmExperiment::TAxisWidgets& second = dialog.GetAxis(1);
    second.field->setCurrentIndex(second.field->findData(QStringLiteral("/handover")));
    dialog.GetSeedFrom()->setValue(3);
    dialog.GetSeedCount()->setValue(2);
    dialog.GetMaxSteps()->setValue(60000);
}

TEST(ExperimentDialog, RunsTheSweepOfZembaRunAndOpensItsRuns)
{
    QTemporaryDir folder;
    const std::string base = folder.filePath(QStringLiteral("exp")).toStdString();
    TfrmExperiment dialog(nullptr, BuiltInMove(), QString(), QStringLiteral("Umzug"));
    SetUpSmallSweep(dialog);
    const std::optional<TSweepPlan> plan = dialog.GetPlan();
    ASSERT_TRUE(plan);
    const TSweepPlan file = ParseSweep(R"({"vary": {"/source/stock": [4, 8], "/handover": ["restart", "finish"]},
                                           "seeds": [3, 4], "max_steps": 60000})", "f", ".");
    EXPECT_EQ(plan->pointers, file.pointers);
    EXPECT_EQ(plan->values, file.values);
    EXPECT_EQ(plan->combinations, file.combinations);
    EXPECT_EQ(plan->seeds, file.seeds);

    ASSERT_TRUE(dialog.Start(2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.IsRunning() && dialog.GetRunTable()->rowCount() == 8; }, 60000));
    // The CSV saved is zemba-run's on the sweep file saved, byte for byte.
    ASSERT_TRUE(dialog.SaveSweep(QString::fromStdString(base + ".json")));
    ASSERT_TRUE(dialog.SaveCsv(QString::fromStdString(base + ".csv")));
    const std::string csv = ZembaRun({"--sweep", base + ".json", "--csv", "-", "--jobs", "1"});
    EXPECT_EQ(dialog.GetCsv(), csv);
    std::ifstream saved(base + ".csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), csv);

    // The table's figures are --sweep-report's, row for row.
    std::istringstream report(ZembaRun({"--sweep-report", base + ".csv"}));
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(report, line);)
        lines.push_back(Words(line));
    const QTableWidget& groups = *dialog.GetGroupTable();
    ASSERT_EQ(groups.rowCount(), 4);
    for (int r = 0; r < groups.rowCount(); ++r) {
        std::vector<std::string> expected;
        for (int c = 0; c < 6; ++c)
            expected.push_back(groups.item(r, c)->text().toStdString());
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& w) {
            return w.size() == 16 && std::equal(expected.begin(), expected.end(), w.begin());
        });
        ASSERT_NE(line, lines.end()) << r;
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(groups.item(r, 6 + k)->text().toStdString(), (*line)[7 + 2 * k]) << r << " " << k;
    }

    // Reopened from its sweep file and CSV, the experiment shows the same table.
    TfrmExperiment reopened(nullptr, BuiltInMove(), QString(), QStringLiteral("Umzug"));
    ASSERT_TRUE(reopened.OpenResult(QString::fromStdString(base + ".json"), QString::fromStdString(base + ".csv")));
    ASSERT_EQ(reopened.GetGroupTable()->rowCount(), groups.rowCount());
    for (int r = 0; r < groups.rowCount(); ++r)
        for (int c = 0; c < groups.columnCount(); ++c)
            EXPECT_EQ(reopened.GetGroupTable()->item(r, c)->text(), groups.item(r, c)->text());

    // A double-clicked run is the run zemba-run makes of the scenario with its values and seed.
    std::optional<TScenarioDescription> opened;
    QObject::connect(&dialog, &TfrmExperiment::RunOpened, [&](const TScenarioDescription& s, const QString&) { opened = s; });
    emit dialog.GetRunTable()->cellDoubleClicked(5, 2);
    ASSERT_TRUE(opened);
    nlohmann::json edited = ScenarioToJson(BuiltInMove());
    edited["source"]["stock"] = 8;
    edited["handover"] = "restart";
    std::ofstream(base + "-run.json") << edited.dump();
    std::ofstream(base + "-opened.json") << WriteScenario(*opened);
    EXPECT_EQ(ZembaRun({"--scenario", base + "-opened.json", "--trace", "-", "--every", "50"}),
              ZembaRun({"--scenario", base + "-run.json", "--seed", "4", "--trace", "-", "--every", "50"}));
    // Each mark of the chart opens a run of its combination.
    for (QAbstractSeries* series : dialog.GetChart()->GetChart()->series())
        if (auto* xy = qobject_cast<QXYSeries*>(series); xy && xy->count() > 0) {
            EXPECT_LT(dialog.GetChart()->RunAt(xy, 0), 8u);
        }
}

TEST(CompareDialog, KeepsTheLastEightCurvesAndExportsThem)
{
    QTemporaryDir folder;
    TfrmCompare compare(nullptr);
    TScenarioDescription small = BuiltInMove();
    small.stock = 5;
    for (std::uint32_t seed = 1; seed <= 9; ++seed) {
        small.seed = seed;
        compare.AddRun(small, QStringLiteral("klein, Seed %1").arg(seed));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return compare.GetPending() == 0; }, 60000));
    EXPECT_EQ(compare.GetCurveCount(), TfrmCompare::MostCurves);
    // Every curve with its dashed bound.
    EXPECT_EQ(compare.GetChart()->series().size(), 2 * static_cast<qsizetype>(TfrmCompare::MostCurves));
    const std::string csv = compare.CsvText();
    int named = 0;
    for (int seed = 1; seed <= 9; ++seed)
        named += csv.find("Seed " + std::to_string(seed) + "\"") != std::string::npos ? 1 : 0;
    EXPECT_EQ(named, 8);
    for (const char* name : {"c.png", "c.svg", "c.csv"}) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(path.endsWith(QStringLiteral("csv")) ? compare.ExportCsv(path) : compare.ExportPicture(path));
        EXPECT_GT(QFileInfo(path).size(), 100) << name;
    }
}

} // namespace
