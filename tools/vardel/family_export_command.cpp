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
    const CEncapFamily& family = *document.value().family;
    const std::filesystem::path output(options.output);
    if (!family.SaveFamilyXML(output.wstring().c_str())) {
        return Refused("cannot write " + options.output);
    }
    std::cout << Printable(options.output) << '\n';
    for (int i = 0; i < family.GetFamStringsCount(); ++i) {
        XMLParser strings;
        std::wstring language;
        if (!family.GetStringsFamilyXML(i, strings) ||
            !strings.GetRootNode().GetProperty(L"xml:lang", language)) {
            continue;
        }
        const std::filesystem::path path = StringsFileOf(output, language);
        if (!strings.SaveXmlDocument(path.wstring().c_str(), false)) {
            return Refused("cannot write " + path.string());
        }
        std::cout << Printable(path.string()) << '\n';
    }
    return std::nullopt;
}

}  // namespace VardelTool
