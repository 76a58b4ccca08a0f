// Runs the built vardel binary as a child process, as a shell would, and
// captures its exit code, standard output and standard error. The child
// gets the test's environment without VARDEL_CATALOG (so no test depends on
// the caller's), plus the variables a test gives. A child that runs longer
// than a minute is killed and reported as hung.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace VardelToolTest {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs `vardel args...` with the extra environment `environment`.
ToolRun RunTool(const std::vector<std::string>& args,
                const std::map<std::string, std::string>& environment = {});

/// Standard output of a run parsed as JSON; a test failure (and null) when
/// it does not parse.
nlohmann::json ParseJson(const ToolRun& run);

/// The lines of `text`, without their line breaks.
std::vector<std::string> Lines(const std::string& text);

}  // namespace VardelToolTest
