#include "analysis/SweepCsv.h"

#include "analysis/MoveReport.h"
#include "analysis/Version.h"

#include <algorithm>
#include <charconv>
#include <istream>

namespace {

constexpr std::array<std::pair<TMoveOutcome, const char*>, 3> OutcomeWords{
    {{TMoveOutcome::Finished, "finished"}, {TMoveOutcome::Stalled, "stalled"}, {TMoveOutcome::Running, "limit"}}};

// Where a column stands in its list, worked out when compiling.
template <std::size_t N>
constexpr std::size_t IndexOf(const std::array<const char*, N>& names, std::string_view name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i])
            return i;
    throw "no such sweep column";
}
// The plan's columns from here on say which program wrote the row.
constexpr std::size_t FirstProgramColumn = IndexOf(SweepPlanColumns, "version");

std::string Fixed(double value, int decimals)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return {text, end};
}

template <typename T>
bool ParseWhole(const std::string& text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool IsDecimal(const std::string& text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= 0.0;
}

// The plan's columns as this plan writes them, in the order of SweepPlanColumns.
std::vector<std::string> PlanValues(const TSweepPlan& plan)
{
    return {std::to_string(plan.maxSteps), std::to_string(plan.RunCount()), plan.sweepHash, ZembaVersion, ZembaCommit};
}

} // namespace

const char* SweepOutcomeWord(TMoveOutcome outcome)
{
    for (const auto& [value, word] : OutcomeWords)
        if (value == outcome)
            return word;
    return "";
}

std::optional<TMoveOutcome> SweepOutcomeOf(std::string_view word)
{
    for (const auto& [value, name] : OutcomeWords)
        if (word == name)
            return value;
    return std::nullopt;
}

std::string SweepCsvHeader(const TSweepPlan& plan)
{
    std::string header = "run";
    for (const std::string& pointer : plan.pointers)
        header += "," + pointer;
    for (const char* column : SweepRunColumns)
        header += std::string(",") + column;
    for (const char* column : SweepPlanColumns)
        header += std::string(",") + column;
    return header + "\n";
}

std::string SweepCsvRow(const TSweepPlan& plan, std::size_t run, const TSweepOutcome& o)
{
    std::string row = std::to_string(run);
    for (const std::string& value : plan.ValuesOf(plan.CombinationOf(run)))
        row += "," + value;
    const bool finished = o.end == TMoveOutcome::Finished;
    row += "," + std::to_string(plan.SeedOf(run)) + (finished ? ",1," : ",0,") + SweepOutcomeWord(o.end) + ","
        + std::to_string(o.steps) + "," + FormatSimulatedTime(o.steps) + "," + std::to_string(o.delivered) + ","
        + Fixed(o.perMinute, 4) + "," + Fixed(o.boundShare, 4) + "," + std::to_string(o.breaks);
    for (const std::string& value : PlanValues(plan))
        row += "," + value;
    return row + "\n";
}

std::vector<std::string> SplitCsvLine(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (const char c : line)
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    return fields;
}

TSweepCsvError::TSweepCsvError(TKind fault, const std::string& fileName, std::size_t number, const std::string& what)
    : std::runtime_error(fileName + ": line " + std::to_string(number) + ": " + what), kind(fault), line(number)
{
}

TSweepRowChecker::TSweepRowChecker(const TSweepPlan* sweep, TSweepRowsOf rowsOf) : plan(sweep), program(rowsOf) {}

std::optional<std::size_t> TSweepRowChecker::Column(const char* name) const
{
    const auto found = std::find(header.begin() + static_cast<std::ptrdiff_t>(seed), header.end(), name);
    if (found == header.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - header.begin());
}

void TSweepRowChecker::Header(const std::string& line, const std::string& fileName)
{
    using K = TSweepCsvError::TKind;
    if (plan && line + "\n" != SweepCsvHeader(*plan))
        throw TSweepCsvError(K::OtherPlan, fileName, 1, "another sweep's CSV: its columns differ from this plan's");
    header = SplitCsvLine(line);
    if (firstFile.empty())
        firstFile = fileName;
    const auto found = std::find(header.begin(), header.end(), "seed");
    seed = static_cast<std::size_t>(found - header.begin());
    if (header.front() != "run" || found == header.end())
        throw TSweepCsvError(K::NotSweepCsv, fileName, 1,
                             "not a sweep's CSV: the first column must be run, followed by the varied ones and seed");
    for (const char* name : {"finished", "steps"})
        if (!Column(name))
            throw TSweepCsvError(K::NotSweepCsv, fileName, 1, std::string("no column ") + name + ": not a sweep's CSV");
}

std::vector<std::string> TSweepRowChecker::GetVariedColumns() const
{
    return {header.begin() + 1, header.begin() + static_cast<std::ptrdiff_t>(seed)};
}

TSweepRow TSweepRowChecker::Row(const std::string& line, const std::string& fileName, std::size_t number)
{
    using K = TSweepCsvError::TKind;
    const auto fail = [&](K kind, const std::string& what) { throw TSweepCsvError(kind, fileName, number, what); };
    const std::vector<std::string> fields = SplitCsvLine(line);
    if (fields.size() != header.size())
        fail(K::DamagedRow, std::to_string(fields.size()) + " fields where the header has " + std::to_string(header.size()));
    TSweepRow row;
    row.text = line + "\n";
    if (!ParseWhole(fields.front(), row.run) || row.run >= MaxSweepRuns)
        fail(K::DamagedRow, "run must be a whole number below " + std::to_string(MaxSweepRuns) + ", not '" + fields.front() + "'");
    const std::string run = "run " + fields.front();
    row.values.assign(fields.begin() + 1, fields.begin() + static_cast<std::ptrdiff_t>(seed));
    row.seed = fields[seed];
    if (plan) {
        if (row.run >= plan->RunCount())
            fail(K::OtherPlan, run + " is not one of this plan's " + std::to_string(plan->RunCount()) + " runs");
        std::vector<std::string> expected = plan->ValuesOf(plan->CombinationOf(row.run));
        expected.push_back(std::to_string(plan->SeedOf(row.run)));
        for (std::size_t k = 0; k < expected.size(); ++k)
            if (fields[1 + k] != expected[k])
                fail(K::OtherPlan, run + " is another plan's: " + header[1 + k] + " is '" + fields[1 + k]
                                       + "' where this plan has " + expected[k]);
    }
    if (const std::string problem = CheckFigures(fields, row); !problem.empty())
        fail(K::DamagedRow, problem);
    const std::string here = (fileName == firstFile ? "" : fileName + " ") + "line " + std::to_string(number);
    // Only now, so that a damaged row is named as such rather than as another plan's.
    if (const std::string problem = CheckPlanColumns(fields, here); !problem.empty())
        fail(K::OtherPlan, problem);
    if (const auto [place, added] = placeOfRun.try_emplace(row.run, here); !added)
        fail(K::RunTwice, run + " is there twice, also in " + place->second);
    return row;
}

std::string TSweepRowChecker::CheckFigures(const std::vector<std::string>& fields, TSweepRow& row) const
{
    const auto at = [&](const char* name) -> const std::string* {
        const std::optional<std::size_t> column = Column(name);
        return column ? &fields[*column] : nullptr;
    };
    const std::string& finished = *at("finished");
    if (finished != "0" && finished != "1")
        return "finished must be 0 or 1, not '" + finished + "'";
    row.end = finished == "1" ? TMoveOutcome::Finished : TMoveOutcome::Running;
    // CSVs written before runs could stall have no outcome: an unfinished run there ran to its limit.
    if (const std::string* word = at("outcome")) {
        const std::optional<TMoveOutcome> end = SweepOutcomeOf(*word);
        if (!end)
            return "outcome must be finished, stalled or limit, not '" + *word + "'";
        if ((*end == TMoveOutcome::Finished) != (row.end == TMoveOutcome::Finished))
            return "outcome " + *word + " where finished is " + finished;
        row.end = *end;
    }
    const std::string& steps = *at("steps");
    if (!ParseWhole(steps, row.steps) || row.steps < 0)
        return "steps must be a whole number, not '" + steps + "'";
    if (row.end == TMoveOutcome::Finished && row.steps == 0)
        return "a finished run with 0 steps";
    if (const std::string* limit = at("max_steps")) {
        std::int64_t maxSteps = 0;
        if (!ParseWhole(*limit, maxSteps) || maxSteps < 1)
            return "max_steps must be a whole number from 1, not '" + *limit + "'";
        if (row.steps > maxSteps)
            return "steps " + steps + " beyond max_steps " + *limit;
        if (row.end == TMoveOutcome::Running && row.steps != maxSteps)
            return "a run that met the limit with steps " + steps + ", not max_steps " + *limit;
    }
    if (const std::string* time = at("time"); time && *time != FormatSimulatedTime(row.steps))
        return "time " + *time + " is not the time of " + steps + " steps, " + FormatSimulatedTime(row.steps);
    // Whole numbers from 0, read as such where there is more to check.
    std::map<std::string_view, std::int64_t> counts;
    for (const char* name : {"delivered", "breaks", "plan_runs"})
        if (const std::string* text = at(name); text && (!ParseWhole(*text, counts[name]) || counts[name] < 0))
            return std::string(name) + " must be a whole number, not '" + *text + "'";
    for (const char* name : {"per_minute", "bound_share"})
        if (const std::string* text = at(name); text && !IsDecimal(*text))
            return std::string(name) + " must be a number with a decimal point, not '" + *text + "'";
    if (at("delivered") && plan) {
        const std::int64_t delivered = counts["delivered"];
        const std::int32_t stock = plan->combinations[plan->CombinationOf(row.run)].stock;
        if (row.end == TMoveOutcome::Finished && delivered != stock)
            return "delivered " + std::to_string(delivered) + " where a finished run delivered " + std::to_string(stock);
        if (delivered > stock)
            return "delivered " + std::to_string(delivered) + " beyond the stock of " + std::to_string(stock);
    }
    if (at("plan_runs")) {
        const std::int64_t runs = counts["plan_runs"];
        if (runs < 1 || runs > static_cast<std::int64_t>(MaxSweepRuns))
            return "plan_runs must be from 1 to " + std::to_string(MaxSweepRuns) + ", not " + std::to_string(runs);
        if (row.run >= static_cast<std::size_t>(runs))
            return "run " + fields.front() + " beyond the plan's " + std::to_string(runs) + " runs";
    }
    return {};
}

std::string TSweepRowChecker::CheckPlanColumns(const std::vector<std::string>& fields, const std::string& place)
{
    std::vector<std::string> values;
    std::vector<std::size_t> columns;
    for (const char* name : SweepPlanColumns)
        if (const std::optional<std::size_t> column = Column(name)) {
            columns.push_back(*column);
            values.push_back(fields[*column]);
        }
    if (plan) {
        // Written by this program's version and commit, unless rows of any program belong.
        const std::size_t compared = program == TSweepRowsOf::ThisProgram ? SweepPlanColumns.size() : FirstProgramColumn;
        const std::vector<std::string> own = PlanValues(*plan);
        for (std::size_t k = 0; k < compared; ++k)
            if (values[k] != own[k])
                return header[columns[k]] + " is " + values[k] + " where this plan"
                    + (k < FirstProgramColumn ? " has " : " is run by zemba-run with ") + own[k];
    }
    if (firstPlace.empty()) {
        firstPlan = values;
        firstPlace = place;
        if (const std::optional<std::size_t> runs = Column("plan_runs"))
            planRuns = std::stoull(fields[*runs]);
    }
    for (std::size_t k = 0; k < values.size(); ++k)
        if (values[k] != firstPlan[k])
            return "rows of more than one plan: " + header[columns[k]] + " is " + values[k] + " here and " + firstPlan[k]
                + " in " + firstPlace;
    return {};
}

TSweepCsvRows ReadSweepRows(std::istream& csv, const std::string& fileName, TSweepRowChecker& checker)
{
    TSweepCsvRows read;
    std::string line;
    // A line without its newline was cut short, or is the last of a file written by hand.
    const auto whole = [&] { return std::getline(csv, line) && !csv.eof(); };
    if (!whole()) {
        read.lastLineCut = line;
        return read;
    }
    checker.Header(line, fileName);
    read.hasHeader = true;
    read.wholeBytes = line.size() + 1;
    for (std::size_t number = 2; whole(); ++number) {
        read.rows.push_back(checker.Row(line, fileName, number));
        read.wholeBytes += line.size() + 1;
    }
    read.lastLineCut = line;
    return read;
}

TSweepCsvRows ReadFinishedRows(const TSweepPlan& plan, const std::vector<std::size_t>& runs, std::istream& csv,
                               const std::string& fileName, TSweepRowsOf program)
{
    TSweepRowChecker checker(&plan, program);
    TSweepCsvRows read = ReadSweepRows(csv, fileName, checker);
    for (std::size_t i = 0; i < read.rows.size(); ++i)
        if (!std::binary_search(runs.begin(), runs.end(), read.rows[i].run))
            throw TSweepCsvError(TSweepCsvError::TKind::OtherPlan, fileName, i + 2,
                                 "run " + std::to_string(read.rows[i].run) + " belongs to another shard");
    return read;
}
