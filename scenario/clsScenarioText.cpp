#include "scenario/clsScenarioText.h"

#include "scenario/clsScenarioFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using nlohmann::json;

namespace {

[[noreturn]] void Fail(const std::string& fileName, TScenarioFaultKind kind, std::vector<std::string> values,
                       std::string what, std::size_t line = 0, std::size_t column = 0)
{
    throw TScenarioFileError(fileName, {kind, {}, static_cast<std::int64_t>(line), static_cast<std::int64_t>(column),
                                        std::move(values), std::move(what)});
}

[[noreturn]] void FailTooLarge(const std::string& fileName)
{
    const std::string mebibytes = std::to_string(MaxScenarioFileBytes >> 20);
    Fail(fileName, TScenarioFaultKind::TooLarge, {mebibytes}, "larger than the " + mebibytes + " MiB a scenario file may have");
}

// Builds the document as nlohmann's own parser does, but stops at a key its
// object already holds, which that parser would silently overwrite.
class TDocumentBuilder final : public nlohmann::json_sax<json>
{
public:
    json document;
    bool duplicate = false;
    json::json_pointer duplicatePlace;
    std::size_t errorPosition = 0;
    std::string errorText;

    bool null() override { return Add(nullptr) != nullptr; }
    bool boolean(bool value) override { return Add(value) != nullptr; }
    bool number_integer(json::number_integer_t value) override { return Add(value) != nullptr; }
    bool number_unsigned(json::number_unsigned_t value) override { return Add(value) != nullptr; }
    bool number_float(json::number_float_t value, const json::string_t&) override { return Add(value) != nullptr; }
    bool string(json::string_t& value) override { return Add(std::move(value)) != nullptr; }
    bool binary(json::binary_t& value) override { return Add(json::binary(std::move(value))) != nullptr; }

    bool start_object(std::size_t) override { return Open(json::object()); }
    bool start_array(std::size_t) override { return Open(json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(json::string_t& name) override
    {
        if (open.back()->contains(name)) {
            duplicate = true;
            duplicatePlace = OpenPlace() / name;
            return false;
        }
        pendingKey = std::move(name);
        return true;
    }

    bool parse_error(std::size_t position, const std::string&, const json::exception& error) override
    {
        errorPosition = position;
        errorText = error.what();
        return false;
    }

private:
    json* Add(json value)
    {
        if (open.empty()) {
            document = std::move(value);
            return &document;
        }
        json& parent = *open.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        return &(parent[pendingKey] = std::move(value));
    }

    // A container's address holds while it is open: only its last child grows.
    bool Open(json container)
    {
        const std::string token = open.empty() || open.back()->is_object()
            ? pendingKey : std::to_string(open.back()->size());
        open.push_back(Add(std::move(container)));
        tokens.push_back(token);
        return true;
    }

    bool Close()
    {
        open.pop_back();
        tokens.pop_back();
        return true;
    }

    json::json_pointer OpenPlace() const
    {
        json::json_pointer place;
        for (std::size_t i = 1; i < tokens.size(); ++i)
            place /= tokens[i];
        return place;
    }

    std::vector<json*> open;
    std::vector<std::string> tokens;
    std::string pendingKey;
};

// The parser counts bytes read, the last one being where it failed: its line
// and its column, from 1.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view text, std::size_t bytesRead)
{
    const std::size_t failedAt = std::min(bytesRead > 0 ? bytesRead - 1 : 0, text.size());
    const std::string_view before = text.substr(0, failedAt);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lastBreak = before.rfind('\n');
    const std::size_t lineStart = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    return {line, failedAt - lineStart + 1};
}

// nlohmann's message without its exception name and its own idea of the place.
std::string SyntaxProblem(const std::string& what)
{
    std::string problem = what.substr(std::min(what.find("] "), what.size() - 2) + 2);
    if (problem.rfind("parse error", 0) == 0 && problem.find(": ") != std::string::npos)
        problem = problem.substr(problem.find(": ") + 2);
    return problem;
}

} // namespace

void FailScenario(const std::string& fileName, const std::string& place, const std::string& what)
{
    throw TScenarioFileError(fileName, {TScenarioFaultKind::Other, place, 0, 0, {}, what});
}

// Reads at most one byte beyond the limit, whatever the file is: a pipe or a
// device has no size to look at first.
std::string ReadScenarioText(const std::string& path)
{
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        const std::string reason = std::strerror(errno);
        Fail(path, TScenarioFaultKind::CannotOpen, {reason}, "cannot be opened: " + reason);
    }
    std::string text;
    std::vector<char> buffer(1 << 16);
    while (const std::size_t read = std::fread(buffer.data(), 1, buffer.size(), file.get())) {
        text.append(buffer.data(), read);
        if (text.size() > MaxScenarioFileBytes)
            FailTooLarge(path);
    }
    if (std::ferror(file.get())) {
        const std::string reason = std::strerror(errno);
        Fail(path, TScenarioFaultKind::CannotRead, {reason}, "cannot be read: " + reason);
    }
    return text;
}

json ParseScenarioText(std::string_view text, const std::string& fileName)
{
    if (text.size() > MaxScenarioFileBytes)
        FailTooLarge(fileName);
    TDocumentBuilder builder;
    if (!json::sax_parse(text.begin(), text.end(), &builder)) {
        if (builder.duplicate)
            throw TScenarioFileError(fileName, {TScenarioFaultKind::DuplicateKey, builder.duplicatePlace.to_string(), 0,
                                                0, {}, "duplicate key"});
        const auto [line, column] = LineAndColumn(text, builder.errorPosition);
        if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
            Fail(fileName, TScenarioFaultKind::Empty, {}, "the file is empty", line, column);
        if (builder.errorPosition > text.size())
            Fail(fileName, TScenarioFaultKind::CutShort, {}, "the file ends before its JSON does; is it cut short?", line,
                 column);
        const std::string problem = SyntaxProblem(builder.errorText);
        Fail(fileName, TScenarioFaultKind::NotJson, {problem}, "not JSON: " + problem, line, column);
    }
    return std::move(builder.document);
}
