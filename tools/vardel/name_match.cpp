// Name matching for every lookup of the tool.
#include "name_match.h"

#include <algorithm>

#include "common/case_fold.h"
#include "output.h"

namespace VardelTool {
namespace {

// The first entry of each node (by id) named `wanted`.
std::vector<std::size_t> Matches(const std::vector<NamedNode>& nodes, const std::wstring& wanted,
                                 bool exact) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const bool named =
            exact ? nodes[i].name == wanted : VardelCommon::EqualsNoCase(nodes[i].name, wanted);
        const bool seen = std::any_of(found.begin(), found.end(),
                                      [&](std::size_t f) { return nodes[f].id == nodes[i].id; });
        if (named && !seen) {
            found.push_back(i);
        }
    }
    return found;
}

std::string Candidates(const std::vector<NamedNode>& nodes, const std::vector<std::size_t>& found) {
    std::string list;
    for (const std::size_t i : found) {
        list += (list.empty() ? "" : ", ") + Quoted(Utf8(nodes[i].name)) + " (" +
                Utf8(nodes[i].id) + ")";
    }
    return list;
}

}  // namespace

Result<std::size_t> PickByName(const std::vector<NamedNode>& nodes, const std::wstring& wanted,
                               const std::string& what) {
    std::vector<std::size_t> found = Matches(nodes, wanted, true);
    if (found.empty()) {
        found = Matches(nodes, wanted, false);
    }
    if (found.empty()) {
        return Refused("no " + what + " named " + Quoted(Utf8(wanted)));
    }
    if (found.size() > 1) {
        return Refused(what + " name " + Quoted(Utf8(wanted)) +
                       " is ambiguous: " + Candidates(nodes, found));
    }
    return found.front();
}

}  // namespace VardelTool
