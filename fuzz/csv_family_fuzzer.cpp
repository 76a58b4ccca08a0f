// Fuzz target: a CSV family (description and table) read against a fixed
// library. The input is the description, a NUL byte, then the table. Any
// input must give a family or an error with a message; a family's rendered
// document must read back, as a family document, to the same members.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "source/source_readers.h"

namespace {

using namespace VardelCatalog;

// Categories ...10 > ...11 and ...20; parameter ...1 (double) on ...10,
// ...2 (string) on ...11, ...3 (integer) on ...20.
constexpr std::string_view kLibrary =
    R"(<Library Name="Fuzz" Id="00000000-0000-0000-0000-000000000001" DefaultLanguage="en-US">
<Parameters>
<Parameter Id="00000000-0000-0000-0000-000000000001" ValueType="double"/>
<Parameter Id="00000000-0000-0000-0000-000000000002" Localized="true"/>
<Parameter Id="00000000-0000-0000-0000-000000000003" ValueType="integer"/>
</Parameters>
<Categories>
<Category Id="00000000-0000-0000-0000-000000000010"><ParameterRef Id="00000000-0000-0000-0000-000000000001"/>
<Category Id="00000000-0000-0000-0000-000000000011"><ParameterRef Id="00000000-0000-0000-0000-000000000002"/></Category>
</Category>
<Category Id="00000000-0000-0000-0000-000000000020"><ParameterRef Id="00000000-0000-0000-0000-000000000003"/></Category>
</Categories>
</Library>)";

const LibraryIndex& Index() {
    static const LibrarySource library = [] {
        LibrarySource read;
        SourceError error;
        if (!ParseLibraryDescription(kLibrary, "fuzz", read, error))
            __builtin_trap();
        return read;
    }();
    static const LibraryIndex index(library);
    return index;
}

bool SameMembers(const FamilySource& a, const FamilySource& b) {
    if (a.members.size() != b.members.size() ||
        a.parameterColumns.size() != b.parameterColumns.size() || a.categories != b.categories) {
        return false;
    }
    for (std::size_t r = 0; r < a.members.size(); ++r) {
        if (a.members[r].rowId != b.members[r].rowId || a.members[r].values != b.members[r].values)
            return false;
    }
    for (std::size_t m = 0; m < a.parameterColumns.size(); ++m) {
        if (a.parameterColumns[m].parameter != b.parameterColumns[m].parameter ||
            a.parameterColumns[m].column != b.parameterColumns[m].column) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(input.find('\0'), input.size());
    const std::string_view table = split < input.size() ? input.substr(split + 1) : "";
    FamilySource family;
    SourceError error;
    if (!ParseCsvFamily(input.substr(0, split), table, "fuzz/f.csvfamily.xml", Index(), family,
                        error)) {
        if (error.what.empty())
            __builtin_trap();
        return 0;
    }
    std::vector<StringsFile> strings;
    for (const auto& [language, bytes] : family.strings)
        strings.emplace_back("fuzz/f.strings.xml", bytes);
    FamilySource back;
    if (!ParseFamilyDocument(family.document, strings, "fuzz/f.family.xml", Index(), back, error) ||
        !SameMembers(family, back)) {
        __builtin_trap();
    }
    return 0;
}
