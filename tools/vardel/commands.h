// The sub-commands of the tool. Each command group (one source file each)
// adds its CLI11 sub-commands to the application and registers, for each,
// the action to run once the command line has parsed; the action returns
// the exit code. Options live in objects the actions own, so they outlive
// parsing.
#pragma once

#include <functional>
#include <vector>

#include <CLI/CLI.hpp>

namespace VardelTool {

class CommandSet {
  public:
    using Action = std::function<int()>;

    void Add(CLI::App* command, Action action);
    /// Runs the action of the sub-command the command line chose; 0 when
    /// none has one.
    int RunParsed() const;

  private:
    struct Entry {
        CLI::App* command;
        Action action;
    };
    std::vector<Entry> entries_;
};

void AddBrowseCommand(CLI::App& app, CommandSet& commands);
void AddShowCommand(CLI::App& app, CommandSet& commands);
void AddSearchCommands(CLI::App& app, CommandSet& commands);
void AddHistoryCommands(CLI::App& app, CommandSet& commands);
void AddFavoritesCommands(CLI::App& app, CommandSet& commands);
void AddCatalogCommands(CLI::App& app, CommandSet& commands);
void AddFamilyCommands(CLI::App& app, CommandSet& commands);
void AddIconCommands(CLI::App& app, CommandSet& commands);

}  // namespace VardelTool
