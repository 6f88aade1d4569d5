#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TRun
{
    int status = -1;
    std::string out;
    std::string err;
};

TRun RunTool(const TRunOptions& options)
{
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.status = RunHeadless(options, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TRunOptions TraceToOutput(std::int64_t steps)
{
    TRunOptions options;
    options.steps = steps;
    options.tracePath = "-";
    return options;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& row)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = row.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(row.substr(start, comma - start));
    fields.push_back(row.substr(start));
    return fields;
}

// The trace with every object id made relative to the source's: two runs in
// one process make their objects under different ids.
std::string WithRelativeIds(const std::string& trace)
{
    std::ostringstream relative;
    const auto lines = Lines(trace);
    const std::int64_t sourceId = std::stoll(Fields(lines.at(1)).at(1));
    relative << lines.at(0) << '\n';
    for (std::size_t i = 1; i < lines.size(); ++i) {
        auto fields = Fields(lines[i]);
        fields.at(1) = std::to_string(std::stoll(fields[1]) - sourceId);
        for (std::size_t f = 0; f < fields.size(); ++f)
            relative << (f ? "," : "") << fields[f];
        relative << '\n';
    }
    return relative.str();
}

constexpr int HandlersOfTheMove = 13;
const char* const TraceHeader =
    "step,id,position,loads,fitness,break,state,counter,home,home_start,home_end,home_steps,home_corrections";

} // namespace

TEST(HeadlessRun, TracesEveryHandlerInChainOrderForEveryStep)
{
    const TRun run = RunTool(TraceToOutput(5));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 6 * HandlersOfTheMove) << "the header, then steps 0 to 5";
    EXPECT_EQ(lines[0], TraceHeader);

    const std::int64_t sourceId = std::stoll(Fields(lines[1])[1]);
    const std::regex number("-?[0-9.e+-]+");
    for (std::size_t row = 1; row < lines.size(); ++row) {
        const auto fields = Fields(lines[row]);
        ASSERT_EQ(fields.size(), 13u) << lines[row];
        const int handler = static_cast<int>((row - 1) % HandlersOfTheMove);
        EXPECT_EQ(fields[0], std::to_string((row - 1) / HandlersOfTheMove)) << lines[row];
        const std::int64_t id = handler == 0 ? sourceId : handler == 12 ? sourceId + 25 : sourceId + 1 + handler;
        EXPECT_EQ(fields[1], std::to_string(id)) << lines[row];
        if (handler > 0 && handler < 12) {
            for (const std::size_t f : {2u, 3u, 4u, 5u, 6u, 7u, 8u, 11u, 12u})
                EXPECT_TRUE(std::regex_match(fields[f], number)) << "field " << f << " of " << lines[row];
        }
    }
    // The source's row: its stock as its loads, nothing a person has.
    EXPECT_TRUE(std::regex_match(lines[5 * HandlersOfTheMove + 1], std::regex("5,[0-9]+,0,[0-9]+,,,,,,,,,")))
        << lines[5 * HandlersOfTheMove + 1];
    EXPECT_TRUE(std::regex_match(lines.back(), std::regex("5,[0-9]+,1\\.75,0,,,,,,,,,"))) << lines.back();
}

TEST(HeadlessRun, TracesEveryKthStepAndTheLast)
{
    TRunOptions options = TraceToOutput(5);
    options.every = 2;
    const TRun run = RunTool(options);
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> steps;
    const auto lines = Lines(run.out);
    for (std::size_t row = 1; row < lines.size(); row += HandlersOfTheMove)
        steps.push_back(Fields(lines[row])[0]);
    EXPECT_EQ(steps, (std::vector<std::string>{"0", "2", "4", "5"}));
}

TEST(HeadlessRun, SummarisesTheRunOnOneLineThatAccountsForEveryLoad)
{
    TRunOptions options;
    options.steps = 3000;
    options.summary = true;
    options.check = true;
    const TRun run = RunTool(options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(run.out, m,
                                 std::regex("steps=3000 stock=([0-9]+) in_hands=([0-9]+) delivered=([0-9]+) "
                                            "on_break=[0-9]+ in_home=[0-9]+\n")))
        << run.out;
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]) + std::stoi(m[3]), 666);
}

TEST(HeadlessRun, ATraceThatCannotBeWrittenFailsTheRun)
{
    TRunOptions options = TraceToOutput(5);
    options.tracePath = "/nonexistent-directory/trace.csv";
    const TRun run = RunTool(options);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write the trace"), std::string::npos) << run.err;
}

// The overtaking draw comes from a generator per thread that is never seeded:
// a run in a fresh thread draws the same sequence as any other.
TEST(HeadlessRun, RunsInFreshThreadsGiveIdenticalTraces)
{
    std::string traces[2];
    for (std::string& trace : traces) {
        std::thread([&trace] {
            const TRun run = RunTool(TraceToOutput(2000));
            trace = run.status == 0 ? run.out : run.err;
        }).join();
    }
    ASSERT_FALSE(traces[0].empty());
    EXPECT_TRUE(WithRelativeIds(traces[0]) == WithRelativeIds(traces[1])) << "the traces differ";
}
