// Opening family documents. Files are parsed here first, so that a file that
// is not well-formed is reported with its line; catalogue aspects are UTF-8
// texts the catalogue built and are handed over as they come.
#include "family_document.h"

#include <algorithm>
#include <system_error>

#include "common/case_fold.h"
#include "family_lookup.h"
#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"
#include "vardel/guid.h"
#include "vardel/reference_evaluator_provider.h"
#include "vardel/xml_node_array.h"

namespace VardelTool {
namespace {

// A strings document and the language it names itself.
struct StringsText {
    std::wstring language;
    std::wstring xml;
};

// The strings documents in the order the family takes them: `language`'s
// first and the others after it, or none when no document is of `language`.
std::vector<std::wstring> OrderedStrings(std::vector<StringsText> strings,
                                         const std::wstring& language) {
    const auto first = std::find_if(strings.begin(), strings.end(), [&](const StringsText& text) {
        return !language.empty() && VardelCommon::EqualsNoCase(text.language, language);
    });
    if (first == strings.end()) {
        return {};
    }
    std::rotate(strings.begin(), first, first + 1);
    std::vector<std::wstring> texts;
    for (StringsText& text : strings) {
        texts.push_back(std::move(text.xml));
    }
    return texts;
}

Result<FamilyDocument> MakeFamily(const std::wstring& familyXml,
                                  const std::vector<StringsText>& strings,
                                  const std::wstring& language, std::string label) {
    FamilyDocument document;
    document.family =
        std::make_unique<CEncapFamily>(familyXml.c_str(), OrderedStrings(strings, language), L"",
                                       new CReferenceEvaluatorProvider(), language, false);
    int line = 0;
    std::wstring message;
    if (document.family->GetFamilyXML().GetParseError(line, message)) {
        return Refused("the document of " + label + " does not parse: line " +
                       std::to_string(line) + ": " + Utf8(message));
    }
    if (CEncapFamilyTable* table = document.family->GetEncapFamilyTable()) {
        table->SetLookupColumnByCaseSensitive(true);
    }
    for (const StringsText& text : strings) {
        document.languages.push_back(text.language);
    }
    document.label = std::move(label);
    return document;
}

// The XML text of `file`; a failure naming the file, and the line for a
// file that is not well-formed.
Result<XMLParser> ReadXmlFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return Refused(
            "cannot read " + file.string() +
            (std::filesystem::exists(file, error) ? ": not a regular file" : ": no such file"));
    }
    XMLParser document;
    if (!document.LoadXmlDocument(file.wstring().c_str())) {
        int line = 0;
        std::wstring message;
        if (document.GetParseError(line, message)) {
            return Refused(file.string() + ":" + std::to_string(line) +
                           ": not well-formed XML: " + Utf8(message));
        }
        return Refused("cannot read " + file.string());
    }
    return document;
}

std::wstring LanguageOf(const XMLParser& document) {
    std::wstring language;
    document.GetRootNode().GetProperty(L"xml:lang", language);
    return language;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() &&
           VardelCommon::EqualsNoCase(Wide(text.substr(text.size() - suffix.size())), Wide(suffix));
}

// "NAME.strings." for NAME.family.xml (or NAME.xml).
std::string StringsPrefix(const std::filesystem::path& file) {
    std::string stem = file.filename().string();
    for (const std::string_view suffix : {".family.xml", ".xml"}) {
        if (EndsWithNoCase(stem, suffix)) {
            stem.resize(stem.size() - suffix.size());
            break;
        }
    }
    return stem + ".strings.";
}

// The strings files beside `file`, in name order.
std::vector<std::filesystem::path> StringsFiles(const std::filesystem::path& file) {
    const std::string prefix = StringsPrefix(file);
    std::vector<std::filesystem::path> files;
    std::error_code error;
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > prefix.size() + 4 && name.starts_with(prefix) && name.ends_with(".xml")) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

Result<std::string> FetchAspect(const Session& session, const std::wstring& library,
                                const Vardel::Guid& family, const std::wstring& aspect) {
    std::vector<std::uint8_t> bytes;
    try {
        session.Server().GetFamilyAspect(session.Security(), library, family, aspect, L"", bytes);
    } catch (const TarnServerProxies::ProxyError& error) {
        return Refused("cannot read " + Utf8(aspect) + " of family " + Utf8(family.ToString()) +
                       ": " + error.what());
    }
    return std::string(bytes.begin(), bytes.end());
}

// The strings documents the catalogue holds for the family.
Result<std::vector<StringsText>> FetchStrings(const Session& session, const std::wstring& library,
                                              const Vardel::Guid& family) {
    Result<std::string> list = FetchAspect(session, library, family, L"FamilyStringsLanguages");
    if (!list.ok()) {
        return list.failure();
    }
    XMLParser languages;
    XMLNodeArray nodes;
    if (languages.LoadXmlBytes(list.value())) {
        languages.GetRootNode().GetChildNodes(L"Language", nodes);
    }
    std::vector<StringsText> strings;
    for (int i = 0; i < nodes.GetSize(); ++i) {
        std::wstring aspect = L"FamilyStrings.";
        std::wstring name;
        nodes[i].GetProperty(L"Name", name);
        aspect += name;
        Result<std::string> text = FetchAspect(session, library, family, aspect);
        if (!text.ok()) {
            return text.failure();
        }
        XMLParser document;
        document.LoadXmlBytes(text.value());
        strings.push_back({LanguageOf(document), Wide(text.value())});
    }
    return strings;
}

}  // namespace

Result<CEncapFamilyTable*> FamilyDocument::Table() const {
    if (CEncapFamilyTable* table = family->GetEncapFamilyTable()) {
        return table;
    }
    return Refused(label + " has no family table");
}

bool IsFamilyFile(const std::string& argument) {
    return EndsWithNoCase(argument, ".xml");
}

std::filesystem::path StringsFileOf(const std::filesystem::path& file,
                                    const std::wstring& language) {
    return file.parent_path() / (StringsPrefix(file) + Utf8(language) + ".xml");
}

Result<FamilyDocument> OpenFamilyFile(const std::filesystem::path& file,
                                      const std::wstring& language, MissingStrings missing) {
    Result<XMLParser> document = ReadXmlFile(file);
    if (!document.ok()) {
        return document.failure();
    }
    std::vector<StringsText> strings;
    for (const std::filesystem::path& path : StringsFiles(file)) {
        Result<XMLParser> text = ReadXmlFile(path);
        if (!text.ok()) {
            return text.failure();
        }
        std::wstring xml;
        text.value().GetXml(xml);
        strings.push_back({LanguageOf(text.value()), std::move(xml)});
    }
    const bool found = std::any_of(strings.begin(), strings.end(), [&](const StringsText& text) {
        return VardelCommon::EqualsNoCase(text.language, language);
    });
    if (!found && missing == MissingStrings::Add && !language.empty()) {
        XMLParser added;
        added.SetXml(L"<FamilyStrings/>");
        added.GetRootNode().SetProperty(L"xml:lang", language);
        std::wstring xml;
        added.GetXml(xml);
        strings.push_back({language, std::move(xml)});
    }
    std::wstring xml;
    document.value().GetXml(xml);
    return MakeFamily(xml, strings, language, file.string());
}

Result<std::vector<std::string>> WriteFamilyFiles(const CEncapFamily& family,
                                                  const std::filesystem::path& output) {
    if (!family.SaveFamilyXML(output.wstring().c_str())) {
        return Refused("cannot write " + output.string());
    }
    std::vector<std::string> written = {output.string()};
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
        written.push_back(path.string());
    }
    return written;
}

Result<FamilyDocument> OpenCatalogFamily(const Session& session, const std::wstring& library,
                                         const std::wstring& familyId, FamilyTexts texts) {
    const std::optional<Vardel::Guid> id = Vardel::Guid::Parse(familyId);
    if (!id) {
        return Refused("no family with id " + Quoted(Utf8(familyId)));
    }
    Result<std::string> xml = FetchAspect(session, library, *id, L"FamilyDocument");
    if (!xml.ok()) {
        return xml.failure();
    }
    std::vector<StringsText> strings;
    std::wstring language = session.Language();
    if (texts == FamilyTexts::WithStrings) {
        Result<std::vector<StringsText>> fetched = FetchStrings(session, library, *id);
        if (!fetched.ok()) {
            return fetched.failure();
        }
        strings = std::move(fetched.value());
        const VardelCatalog::LibrarySummary* summary = session.FindLibrary(library);
        if (language.empty() && summary != nullptr) {
            language = summary->defaultLanguage;
        }
    }
    Result<FamilyDocument> document =
        MakeFamily(Wide(xml.value()), strings, language, "family " + Utf8(familyId));
    if (document.ok()) {
        document.value().library = library;
    }
    return document;
}

Result<FamilyDocument> OpenFamily(const std::string& argument, const CatalogOptions& options) {
    if (IsFamilyFile(argument)) {
        return OpenFamilyFile(argument, Wide(options.language));
    }
    Result<std::unique_ptr<Session>> session = Session::Open(options);
    if (!session.ok()) {
        return session.failure();
    }
    Result<Vardel::CContext> context =
        session.value()->MakeContext(Vardel::LibraryBrowsing, nullptr);
    if (!context.ok()) {
        return context.failure();
    }
    Result<Vardel::CBrowseId> family = FindFamily(context.value(), argument);
    if (!family.ok()) {
        return family.failure();
    }
    std::wstring library;
    if (Status failed = CheckCall(Vardel::GetLibrary(&context.value(), family.value(), library),
                                  "reading the library of the family")) {
        return *failed;
    }
    Result<FamilyDocument> document = OpenCatalogFamily(
        *session.value(), library, family.value().GetInternalName(), FamilyTexts::WithStrings);
    if (document.ok()) {
        document.value().label = "family " + Quoted(argument);
    }
    return document;
}

}  // namespace VardelTool
