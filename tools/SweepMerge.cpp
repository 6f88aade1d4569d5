#include "tools/SweepCommand.h"

#include "analysis/OutputFile.h"
#include "analysis/SweepReport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <ostream>

int RunSweepMerge(const TRunOptions& options, std::ostream& err)
{
    const std::optional<TSweepPlan> plan = ReadSweepPlan(options.sweepPath, err);
    if (!plan)
        return 2;
    std::vector<TSweepInput> inputs{ScenarioOf(*plan)};
    for (const std::string& shard : options.mergePaths) {
        // Each shard once, whatever its name: twice, its every row would be a run found twice.
        for (std::size_t i = 1; i < inputs.size(); ++i)
            if (NameOneFile(shard, inputs[i].path)) {
                err << "zemba-run: --merge names one shard twice: '" << inputs[i].path << "' and '" << shard << "'\n";
                return 2;
            }
        inputs.push_back({"a shard", shard});
    }
    if (const std::string refusal = RefuseInputAsOutput("--csv", options.csvPath, inputs); !refusal.empty()) {
        err << "zemba-run: " << refusal << '\n';
        return 2;
    }
    // One checker for every shard: each run once across them all, and one plan.
    TSweepRowChecker checker(&*plan, TSweepRowsOf::AnyProgram);
    std::vector<TSweepRow> rows;
    try {
        for (const std::string& shard : options.mergePaths) {
            std::ifstream in(shard, std::ios::binary);
            if (!in) {
                err << "zemba-run: cannot read the shard '" << shard << "'\n";
                return 2;
            }
            TSweepCsvRows read = ReadSweepRows(in, shard, checker);
            if (!read.hasHeader || !read.lastLineCut.empty()) {
                err << "zemba-run: " << shard << ": line " << read.rows.size() + (read.hasHeader ? 2 : 1)
                    << ": cut short (no newline): resume the shard's sweep first\n";
                return 2;
            }
            std::ranges::move(read.rows, std::back_inserter(rows));
        }
    } catch (const TSweepCsvError& error) {
        err << "zemba-run: " << error.what() << '\n';
        return 2;
    }
    const std::optional<TSeedRule> rule = plan->IsSequential() ? std::optional(plan->SeedRule()) : std::nullopt;
    if (const TMissingRuns missing = MissingRuns(plan->RunCount(), rule, rows); !missing.runs.empty()) {
        err << "zemba-run: the shards are not the whole sweep: " << DescribeMissing(missing.runs, missing.due) << '\n';
        return 2;
    }
    TOutputFile merged(options.csvPath, TOutputFile::TWrite::Whole);
    merged.Write(SweepCsvHeader(*plan));
    std::ranges::sort(rows, {}, &TSweepRow::run);
    for (const TSweepRow& row : rows)
        merged.Write(row.text);
    if (!merged.Commit()) {
        err << "zemba-run: " << merged.Error() << '\n';
        return 1;
    }
    return 0;
}
