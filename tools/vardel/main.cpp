// The vardel command-line tool: works with a content library from the shell.
// Every subcommand prints its result on standard output and returns 0, or
// prints a message on standard error and returns non-zero.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <string>

#include "vardel/app.h"
#include "vardel/string_util.h"

namespace {

// Narrows a text that holds only ASCII, such as a GUID, for printing.
std::string Ascii(const std::wstring& text) { return {text.begin(), text.end()}; }

int PrintNewGuid() {
    const std::wstring guid = CStringUtil::NewGuid();
    if (guid.empty()) {
        std::cerr << "vardel: the system gave no GUID\n";
        return 1;
    }
    std::cout << Ascii(guid) << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Works with a CAD content library catalogue.", "vardel"};
    app.set_version_flag("--version", std::string("vardel ") + CVardelApp::Version());
    app.require_subcommand(1);

    CLI::App* guid = app.add_subcommand("guid", "Print a new GUID text");

    CLI11_PARSE(app, argc, argv);
    if (guid->parsed()) {
        return PrintNewGuid();
    }
    return 0;
}
