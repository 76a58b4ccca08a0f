// posix_spawn with standard output and error redirected to files in a
// scratch folder: no pipe can fill up and block the child.
#include "tool_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

extern char** environ;

namespace VardelToolTest {
namespace {

constexpr auto kTimeout = std::chrono::seconds(60);

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Environment(const std::map<std::string, std::string>& extra) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text(*variable);
        if (!text.starts_with("VARDEL_CATALOG=")) {
            variables.push_back(text);
        }
    }
    for (const auto& [name, value] : extra) {
        variables.push_back(name + "=" + value);
    }
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Waits for `child`; kills it after kTimeout. The exit code, or -1.
int Wait(pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ADD_FAILURE() << "vardel hung";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& args,
                const std::map<std::string, std::string>& environment) {
    TempFolder scratch;
    const std::string out = (scratch.path() / "out").string();
    const std::string err = (scratch.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argv{VARDEL_TOOL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = Environment(environment);
    std::vector<char*> argvPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, VARDEL_TOOL_PATH, &actions, nullptr,
                                    argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << VARDEL_TOOL_PATH;
        return {};
    }
    ToolRun run;
    run.exitCode = Wait(child);
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

nlohmann::json ParseJson(const ToolRun& run) {
    try {
        return nlohmann::json::parse(run.out);
    } catch (const nlohmann::json::parse_error& error) {
        ADD_FAILURE() << "not JSON: " << error.what() << "\n" << run.out << run.err;
        return nullptr;
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace VardelToolTest
