// vardel family export FAMILY -o FILE: a family of the catalogue written
// out as a family document file with its strings files beside it
// (NAME.strings.LANG.xml), the form the other family commands read and set
// edits. Each file is saved atomically; the paths written are printed.
#include <iostream>

#include "family_command.h"
#include "family_document.h"

namespace VardelTool {

Status CheckOutputFile(const std::string& output) {
    if (!IsFamilyFile(output)) {
        return UsageError("-o must name a family document file ending in .xml, not " +
                          Quoted(output));
    }
    return std::nullopt;
}

Status RunFamilyExport(const FamilyOptions& options) {
    if (IsFamilyFile(options.family)) {
        return UsageError("export writes a family of the catalogue; " + Quoted(options.family) +
                          " is a file already");
    }
    if (Status failed = CheckOutputFile(options.output)) {
        return failed;
    }
    Result<FamilyDocument> document = OpenFamily(options.family, options.catalog);
    if (!document.ok()) {
        return document.failure();
    }
    Result<std::vector<std::string>> written =
        WriteFamilyFiles(*document.value().family, options.output);
    if (!written.ok()) {
        return written.failure();
    }
    for (const std::string& path : written.value()) {
        std::cout << Printable(path) << '\n';
    }
    return std::nullopt;
}

}  // namespace VardelTool
