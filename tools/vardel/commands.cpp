// Dispatch to the chosen sub-command.
#include "commands.h"

namespace VardelTool {

void CommandSet::Add(CLI::App* command, Action action) {
    entries_.push_back({command, std::move(action)});
}

int CommandSet::RunParsed() const {
    for (const Entry& entry : entries_) {
        if (entry.command->parsed()) {
            return entry.action();
        }
    }
    return 0;
}

}  // namespace VardelTool
