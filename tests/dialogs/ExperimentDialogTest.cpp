#include "analysis/SweepCsv.h"
#include "analysis/SweepMove.h"
#include "dialogs/clsExperimentChart.h"
#include "dialogs/clsExperimentFiles.h"
#include "dialogs/clsScenarioWords.h"
#include "dialogs/frm_Compare.h"
#include "dialogs/frm_Experiment.h"
#include "dialogs/frame_ExperimentAxis.h"
#include "scenario/clsScenarioFile.h"
#include "tools/HeadlessRun.h"
#include "tools/SweepCommand.h"

#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QXYSeries>
#include <QScatterSeries>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>
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


template <typename T>
T& Child(const QObject& owner, const char* name)
{
    T* child = owner.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        throw std::logic_error(std::string("no ") + name);
    return *child;
}

void Vary(const QObject& axis, const char* pointer)
{
    auto& field = Child<QComboBox>(axis, "cbField");
    field.setCurrentIndex(field.findData(QString::fromLatin1(pointer)));
}

// Stocks 4 and 8 under both hand-over rules, two seeds: small moves that finish in a moment.
void SetUpSmallSweep(TfrmExperiment& dialog)
{
    const auto& first = Child<TframeExperimentAxis>(dialog, "fraFirstAxis");
    Vary(first, "/source/stock");
    Child<QLineEdit>(first, "edFrom").setText(QStringLiteral("4"));
    Child<QLineEdit>(first, "edTo").setText(QStringLiteral("8"));
    Child<QLineEdit>(first, "edStep").setText(QStringLiteral("4"));
    Vary(Child<TframeExperimentAxis>(dialog, "fraSecondAxis"), "/handover");
    Child<QSpinBox>(dialog, "seSeedFrom").setValue(3);
    Child<QSpinBox>(dialog, "seSeedCount").setValue(2);
    Child<QSpinBox>(dialog, "seMaxSteps").setValue(60000);
}

const QTableWidget& Groups(const TfrmExperiment& dialog)
{
    return Child<QTableWidget>(dialog, "tblGroups");
}

// The small sweep run once in the dialog, its sweep file and CSV saved.
class ExperimentDialog : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        base = folder->filePath(QStringLiteral("exp")).toStdString();
        dialog = new TfrmExperiment(nullptr, BuiltInMove(), QString(), QStringLiteral("Umzug"));
        SetUpSmallSweep(*dialog);
        ASSERT_TRUE(dialog->Start(2));
        ASSERT_TRUE(QTest::qWaitFor([] { return !dialog->IsRunning(); }, 60000));
        ASSERT_TRUE(dialog->SaveSweep(QString::fromStdString(base + ".json")));
        ASSERT_TRUE(dialog->SaveCsv(QString::fromStdString(base + ".csv")));
    }
    static void TearDownTestSuite()
    {
        delete dialog;
        delete folder;
    }

    static QString File(const char* ending) { return QString::fromStdString(base + ending); }

    static inline QTemporaryDir* folder = nullptr;
    static inline std::string base;
    static inline TfrmExperiment* dialog = nullptr;
};

TEST_F(ExperimentDialog, PlansTheSweepFileOfItsSetup)
{
    EXPECT_EQ(Child<QLabel>(*dialog, "lbRunCount").text(), QStringLiteral("8 Läufe"));
    const std::optional<TSweepPlan> plan = dialog->GetPlan();
    ASSERT_TRUE(plan);
    const TSweepPlan file = ParseSweep(R"({"vary": {"/source/stock": [4, 8], "/handover": ["restart", "finish"]},
                                           "seeds": [3, 4], "max_steps": 60000})", "f", ".");
    EXPECT_EQ(plan->pointers, file.pointers);
    EXPECT_EQ(plan->values, file.values);
    EXPECT_EQ(plan->combinations, file.combinations);
    EXPECT_EQ(plan->seeds, file.seeds);
}

TEST_F(ExperimentDialog, WritesTheCsvOfZembaRunAndItsReportsFigures)
{
    EXPECT_EQ(Child<QTableWidget>(*dialog, "tblRuns").rowCount(), 8);
    // The CSV saved is zemba-run's on the sweep file saved, byte for byte.
    const std::string csv = ZembaRun({"--sweep", base + ".json", "--csv", "-", "--jobs", "1"});
    EXPECT_EQ(dialog->GetCsv(), csv);
    std::ifstream saved(base + ".csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), csv);

    // The table's figures are --sweep-report's, row for row: the values
    // (the hand-over rules in German), the counts, p10, the median and p90 of
    // its summary.
    std::istringstream summary(ZembaRun({"--sweep-report", base + ".csv", "--summary-csv", "-"}));
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(summary, line);)
        lines.push_back(SplitCsvLine(line));
    const QTableWidget& groups = Groups(*dialog);
    ASSERT_EQ(groups.rowCount(), 4);
    ASSERT_EQ(lines.size(), 5u);
    for (int r = 0; r < groups.rowCount(); ++r) {
        const std::vector<std::string>& row = lines[static_cast<std::size_t>(r) + 1];
        const auto cell = [&](int c) { return groups.item(r, c)->text().toStdString(); };
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(cell(c), RuleWordsInGerman(QString::fromStdString(row[static_cast<std::size_t>(c)])).toStdString()) << r << " " << c;
        EXPECT_EQ(std::vector<std::string>({cell(7), cell(8), cell(10)}), std::vector<std::string>({row[6], row[7], row[10]})) << r;
    }
}

TEST_F(ExperimentDialog, OpensARunAsZembaRunRunsItsScenarioAndSeed)
{
    std::optional<TScenarioDescription> opened;
    const QMetaObject::Connection told = QObject::connect(
        dialog, &TfrmExperiment::RunOpened, [&](const TScenarioDescription& s, const QString&) { opened = s; });
    emit Child<QTableWidget>(*dialog, "tblRuns").cellDoubleClicked(5, 2);
    QObject::disconnect(told);
    ASSERT_TRUE(opened);
    nlohmann::json edited = ScenarioToJson(BuiltInMove());
    edited["source"]["stock"] = 8;
    edited["handover"] = "restart";
    std::ofstream(base + "-run.json") << edited.dump();
    std::ofstream(base + "-opened.json") << WriteScenario(*opened);
    EXPECT_EQ(ZembaRun({"--scenario", base + "-opened.json", "--trace", "-", "--every", "50"}),
              ZembaRun({"--scenario", base + "-run.json", "--seed", "4", "--trace", "-", "--every", "50"}));
    // Each point of the chart opens a run of its own combination: the stock of its x.
    const std::optional<TSweepPlan> plan = dialog->GetPlan();
    ASSERT_TRUE(plan);
    const auto& chart = Child<TExperimentChart>(*dialog, "chart");
    for (QAbstractSeries* series : chart.GetChart()->series())
        if (auto* xy = qobject_cast<QXYSeries*>(series))
            for (qsizetype i = 0; i < xy->count(); ++i) {
                const std::size_t run = chart.RunAt(xy, i);
                ASSERT_LT(run, plan->RunCount());
                EXPECT_EQ(std::stod(plan->ValuesOf(plan->CombinationOf(run))[0]), xy->at(i).x())
                    << xy->name().toStdString() << ", point " << i;
            }
}

// Reopened in a dialog set up for another scenario, the experiment is back whole:
// its scenario, its set-up (the same sweep file), its table.
TEST_F(ExperimentDialog, ReopensWithItsScenarioSetupAndTable)
{
    TScenarioDescription other = BuiltInMove();
    other.stock = 9;
    TfrmExperiment reopened(nullptr, other, File("-other.json"), QStringLiteral("other.json"));
    ASSERT_TRUE(reopened.OpenResult(File(".json"), File(".csv")));
    std::ifstream sweep(base + ".json", std::ios::binary);
    EXPECT_EQ(reopened.GetSweepText(), std::string(std::istreambuf_iterator<char>(sweep), {}));
    const auto& first = Child<TframeExperimentAxis>(reopened, "fraFirstAxis");
    EXPECT_TRUE(Child<QRadioButton>(first, "rbRange").isChecked());
    EXPECT_EQ(Child<QLineEdit>(first, "edStep").text(), QStringLiteral("4"));
    const QTableWidget& groups = Groups(*dialog);
    ASSERT_EQ(Groups(reopened).rowCount(), groups.rowCount());
    for (int r = 0; r < groups.rowCount(); ++r)
        for (int c = 0; c < groups.columnCount(); ++c)
            EXPECT_EQ(Groups(reopened).item(r, c)->text(), groups.item(r, c)->text());
}

// The window saves the summary that zemba-run --sweep-report --summary-csv
// writes for the same sweep and CSV, person-hours included.
TEST_F(ExperimentDialog, SavesTheSummaryThatZembaRunWrites)
{
    ASSERT_TRUE(dialog->SaveSummary(File("-summary.csv")));
    TRunOptions options;
    options.mode = ERunMode::SweepReport;
    options.sweepReportPath = base + ".csv";
    options.sweepPath = base + ".json";
    options.summaryCsvPath = base + "-zemba-run.csv";
    std::ostringstream out, err;
    ASSERT_EQ(RunSweepReport(options, out, err), 0) << err.str();
    const auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string window = read(base + "-summary.csv");
    EXPECT_EQ(window, read(base + "-zemba-run.csv"));
    EXPECT_EQ(std::count(window.begin(), window.end(), '\n'), 5) << window;
}

// Speichern... writes the rows and their sweep file under one name, and either finds the other by it.
TEST_F(ExperimentDialog, SavesItsRowsBesideTheirSweepFileAndEitherFindsTheOther)
{
    ASSERT_TRUE(dialog->SaveResult(File("-pair.csv")));
    EXPECT_FALSE(dialog->HasUnsavedResult());
    for (const char* chosen : {"-pair.csv", "-pair.json"}) {
        const TExperimentFiles files = ExperimentFilesOf(File(chosen));
        EXPECT_EQ(files.csv, File("-pair.csv")) << chosen;
        EXPECT_EQ(files.sweep, File("-pair.json")) << chosen;
    }
    TfrmExperiment reopened(nullptr, BuiltInMove(), QString(), QStringLiteral("Umzug"));
    ASSERT_TRUE(reopened.OpenResult(File("-pair.json"), File("-pair.csv")));
    EXPECT_EQ(reopened.GetCsv(), dialog->GetCsv());
}

// Rows of another sweep are refused in German, naming file and line, and leave the dialog as it was.
TEST_F(ExperimentDialog, RefusesTheCsvOfAnotherSweepInGerman)
{
    std::ifstream sweep(base + ".json", std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(sweep), {});
    text.replace(text.find("60000"), 5, "60001");
    std::ofstream(base + "-longer.json") << text;
    TfrmExperiment reopened(nullptr, BuiltInMove(), QString(), QStringLiteral("Umzug"));
    EXPECT_FALSE(reopened.OpenResult(File("-longer.json"), File(".csv")));
    const auto& refusal = Child<QMessageBox>(reopened, "");
    EXPECT_EQ(refusal.text(), QStringLiteral("„%1“, Zeile 2: Die Zeilen gehören zu einer anderen Versuchsreihe.").arg(File(".csv")));
    EXPECT_EQ(Groups(reopened).rowCount(), 0);
}

// A run that stood still and one that met the limit are marked each its own way, and open their runs.
TEST(ExperimentChart, MarksStalledRunsAndRunsAtTheLimitApart)
{
    const TSweepPlan plan = ParseSweep(R"({"vary": {"/source/stock": [4, 8]}, "seeds": [1, 2], "max_steps": 60000})", "s", ".");
    std::istringstream csv("run,/source/stock,seed,finished,outcome,steps,max_steps\n"
                           "0,4,1,1,finished,3000,60000\n1,4,2,0,stalled,2000,60000\n"
                           "2,8,1,0,limit,60000,60000\n3,8,2,1,finished,5000,60000\n");
    const TSweepTable table = ReadSweepCsv(csv, "s.csv");
    TExperimentChart chart;
    chart.Show(plan, table, SummariseSweep(table), QStringLiteral("Lasten"), false);
    std::map<QString, std::pair<QScatterSeries::MarkerShape, std::vector<std::size_t>>> marked;
    for (QAbstractSeries* series : chart.GetChart()->series())
        if (auto* marks = qobject_cast<QScatterSeries*>(series); marks && marks->color() == Qt::black)
            for (qsizetype i = 0; i < marks->count(); ++i) {
                marked[marks->name()].first = marks->markerShape();
                marked[marks->name()].second.push_back(chart.RunAt(marks, i));
            }
    using TMarks = std::pair<QScatterSeries::MarkerShape, std::vector<std::size_t>>;
    EXPECT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[QStringLiteral("steht still")], TMarks(QScatterSeries::MarkerShapeStar, {1}));
    EXPECT_EQ(marked[QStringLiteral("Grenze erreicht")], TMarks(QScatterSeries::MarkerShapeRotatedRectangle, {2}));
}

// What the sweep engine refuses in a set-up a user can type is said in
// German, each field by its name, and nothing starts.
TEST(ExperimentSetup, IsRefusedInGermanWhereTheSweepEngineRefusesIt)
{
    TfrmExperiment dialog(nullptr, BuiltInMove(), QString(), QStringLiteral("Umzug"));
    const auto& first = Child<TframeExperimentAxis>(dialog, "fraFirstAxis");
    Vary(first, "/source/stock");
    const QString refused = QStringLiteral("Die Versuchsreihe wird abgelehnt: ");
    // 101 values with 100,000 seeds each are more runs than a sweep takes.
    QStringList stocks;
    for (int stock = 1; stock <= 101; ++stock)
        stocks << QString::number(stock);
    const struct { QString list; int seeds; const char* within; QString reason; } rows[] = {
        {QStringLiteral("6, 8, 6"), 2, "", refused + QStringLiteral("Lasten = 6 steht zweimal in der Liste")},
        {QStringLiteral("6, 0"), 2, "", refused + QStringLiteral("Lasten = 0 macht das Szenario ungültig: Quelle, Lasten: "
                                                 "0 muss eine ganze Zahl von 1 bis 1000000 sein")},
        {QStringLiteral("6, 8"), 2, "0:00", QStringLiteral("„0:00“ ist keine Zeit über 0 in h:mm:ss, wie „0:05:00“; leer lassen für alle Startwerte.")},
        {stocks.join(QStringLiteral(", ")),
         100'000, "", refused + QStringLiteral("mehr als 10000000 Läufe; bitte weniger Werte oder Startwerte wählen")},
    };
    Child<QRadioButton>(first, "rbList").setChecked(true);
    for (const auto& row : rows) {
        Child<QLineEdit>(first, "edList").setText(row.list);
        Child<QSpinBox>(dialog, "seSeedCount").setValue(row.seeds);
        Child<QLineEdit>(dialog, "edMedianWithin").setText(QString::fromUtf8(row.within));
        QString reason;
        EXPECT_FALSE(dialog.GetPlan(&reason));
        EXPECT_EQ(reason, row.reason);
    }
}

// A scenario that is in no file travels inside the sweep file, which zemba-run runs to the dialog's own rows.
TEST(ExperimentOfAnEditedMove, HoldsItsScenarioInTheSweepFileThatZembaRunRuns)
{
    QTemporaryDir folder;
    TScenarioDescription edited = BuiltInMove();
    edited.stock = 5;
    TfrmExperiment dialog(nullptr, edited, QString(), QStringLiteral("unbenannt*"));
    Child<QSpinBox>(dialog, "seSeedCount").setValue(2);
    ASSERT_TRUE(dialog.Start(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsRunning(); }, 60000));
    const std::string sweep = folder.filePath(QStringLiteral("edited.json")).toStdString();
    ASSERT_TRUE(dialog.SaveSweep(QString::fromStdString(sweep)));
    std::ifstream written(sweep);
    EXPECT_EQ(nlohmann::json::parse(written)["scenario"], nlohmann::json::parse(WriteScenario(edited)));
    EXPECT_EQ(ZembaRun({"--sweep", sweep, "--csv", "-", "--jobs", "1"}), dialog.GetCsv());
}

// A move with a start is planned by the clock: its finish times, and the deadline typed.
TEST(ExperimentOfAMoveWithAStart, GivesFinishTimesAndTakesTheDeadlineByTheClock)
{
    TScenarioDescription move = BuiltInMove();
    move.startSecond = 10 * 3600;
    TfrmExperiment dialog(nullptr, move, QString(), QStringLiteral("Umzug um zehn"));
    SetUpSmallSweep(dialog);
    ASSERT_TRUE(dialog.Start(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsRunning(); }, 60000));
    EXPECT_EQ(Child<QLabel>(dialog, "lbDeadline").text(), QStringLiteral("Fertig bis (Uhrzeit)"));
    Child<QLineEdit>(dialog, "edDeadline").setText(QStringLiteral("10:05"));
    const QTableWidget& groups = Groups(dialog);
    const int last = groups.columnCount() - 1;
    EXPECT_EQ(groups.horizontalHeaderItem(last)->text(), QStringLiteral("fertig bis 10:05:00"));
    // The median of each combination, a few minutes after ten.
    for (int row = 0; row < groups.rowCount(); ++row)
        EXPECT_TRUE(groups.item(row, 8)->text().startsWith(QStringLiteral("10:0"))) << groups.item(row, 8)->text().toStdString();
}

TEST(CompareDialog, KeepsTheLastEightCurvesAndExportsThem)
{
    QTemporaryDir folder;
    TJobPool work(2);
    TfrmCompare compare(nullptr, work);
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
    // The curves and their bounds stay inside the plot, in every SVG reader.
    QFile svg(folder.filePath(QStringLiteral("c.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<clipPath id=\"clip1\">") && text.contains("clip-path=\"url(#clip1)\""));
    EXPECT_TRUE(text.contains("<title>Vergleich</title>"));
}

} // namespace
