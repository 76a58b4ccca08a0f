// Reading library.xml: identity, readers, category-parameter definitions and
// the category tree. Parameters are read before categories, wherever they
// stand in the file, so that every ParameterRef can be checked as it is met.
// The categories' icons are read from the folder once the file is.
#include <unordered_set>

#include "source/name_guid.h"
#include "source/source_file.h"
#include "source/source_image.h"
#include "source/source_readers.h"
#include "source/source_values.h"
#include "source/xml_source.h"

namespace VardelCatalog {
namespace {

using GuidSet = std::unordered_set<Guid, GuidHash>;

class LibraryReader {
  public:
    LibraryReader(const std::filesystem::path& file, LibrarySource& library, SourceError& error)
        : xml_(file, error), library_(library) {}

    bool Read(std::string_view bytes) {
        XMLParser parser;
        if (!xml_.Load(bytes, parser, L"Library"))
            return false;
        const XMLNode root = parser.GetRootNode();
        return ReadIdentity(root) && ReadReaders(root) && ReadParameters(root) &&
               CheckUsesDefinitions() && ReadCategoryLists(root);
    }

  private:
    bool ReadIdentity(const XMLNode& root) {
        std::wstring language;
        if (!NonEmptyText(root, L"Name", library_.name) || !xml_.Id(root, L"Id", library_.id) ||
            !NonEmptyText(root, L"DefaultLanguage", language)) {
            return false;
        }
        library_.defaultLanguage = LanguageKey(language);
        return xml_.Time(root, L"LastModified", library_.lastModified);
    }

    bool NonEmptyText(const XMLNode& element, const wchar_t* name, std::wstring& value) {
        if (!xml_.Text(element, name, value, true))
            return false;
        return !value.empty() || xml_.Fail(element, "attribute " + Narrow(name) + " is empty");
    }

    bool ReadReaders(const XMLNode& root) {
        const XMLNodeArray lists = ChildElements(root, L"Readers");
        for (int i = 0; i < lists.GetSize(); ++i) {
            const XMLNodeArray users = ChildElements(lists[i], L"User");
            for (int u = 0; u < users.GetSize(); ++u) {
                std::wstring name;
                if (!NonEmptyText(users[u], L"Name", name))
                    return false;
                library_.readers.push_back(std::move(name));
            }
        }
        return true;
    }

    bool ReadParameters(const XMLNode& root) {
        const XMLNodeArray lists = ChildElements(root, L"Parameters");
        for (int i = 0; i < lists.GetSize(); ++i) {
            const XMLNodeArray elements = ChildElements(lists[i], L"Parameter");
            for (int p = 0; p < elements.GetSize(); ++p) {
                ParameterSource parameter;
                if (!ReadParameter(elements[p], parameter))
                    return false;
                library_.parameters.push_back(std::move(parameter));
            }
        }
        return true;
    }

    bool ReadParameter(const XMLNode& element, ParameterSource& parameter) {
        parameter.line = element.GetLineNumber();
        if (!xml_.Id(element, L"Id", parameter.id))
            return false;
        if (!parameterIds_.insert(parameter.id).second)
            return xml_.Fail(element, "duplicate id " + Narrow(parameter.id.ToString()));
        return xml_.ValueType(element, L"ValueType", parameter.valueType) &&
               xml_.Text(element, L"UnitType", parameter.unitType) &&
               xml_.Boolean(element, L"Localized", parameter.localized) &&
               xml_.Text(element, L"RefName", parameter.refName) &&
               xml_.OptionalId(element, L"UsesDefinition", parameter.usesDefinition) &&
               xml_.Boolean(element, L"Optional", parameter.optional) &&
               xml_.Boolean(element, L"Repeatable", parameter.repeatable) &&
               xml_.Boolean(element, L"NoIndex", parameter.noIndex) &&
               xml_.Boolean(element, L"DefinitionOnly", parameter.definitionOnly) &&
               xml_.Boolean(element, L"AppliesToMember", parameter.appliesToMember) &&
               xml_.LocalizedTexts(element, L"Name", parameter.names);
    }

    // A definition may name a parameter that stands after it in the file.
    bool CheckUsesDefinitions() {
        for (const ParameterSource& parameter : library_.parameters) {
            if (parameter.usesDefinition && !parameterIds_.contains(*parameter.usesDefinition)) {
                return xml_.FailAt(parameter.line, "element Parameter",
                                   "UsesDefinition names no parameter of the library: " +
                                       Narrow(parameter.usesDefinition->ToString()));
            }
        }
        return true;
    }

    bool ReadCategoryLists(const XMLNode& root) {
        const XMLNodeArray lists = ChildElements(root, L"Categories");
        for (int i = 0; i < lists.GetSize(); ++i) {
            if (!ReadCategories(lists[i], nullptr, library_.categories))
                return false;
        }
        return true;
    }

    bool ReadCategories(const XMLNode& parent, const CategorySource* parentCategory,
                        std::vector<CategorySource>& categories) {
        const XMLNodeArray elements = ChildElements(parent, L"Category");
        for (int i = 0; i < elements.GetSize(); ++i) {
            CategorySource category;
            if (!ReadCategory(elements[i], parentCategory, category))
                return false;
            categories.push_back(std::move(category));
        }
        return true;
    }

    bool ReadCategory(const XMLNode& element, const CategorySource* parent,
                      CategorySource& category) {
        category.line = element.GetLineNumber();
        category.domain = parent != nullptr ? parent->domain : std::wstring();
        category.lastModified = library_.lastModified;
        if (!xml_.Id(element, L"Id", category.id))
            return false;
        if (!categoryIds_.insert(category.id).second)
            return xml_.Fail(element, "duplicate id " + Narrow(category.id.ToString()));
        std::optional<Guid> revision;
        if (!xml_.Boolean(element, L"Hidden", category.hidden) ||
            !xml_.Text(element, L"Domain", category.domain) ||
            !xml_.Text(element, L"Mnemonic", category.mnemonic) ||
            !xml_.Boolean(element, L"SpecialAuthoring", category.specialAuthoring) ||
            !xml_.Text(element, L"Icon", category.icon) ||
            !xml_.Time(element, L"LastModified", category.lastModified) ||
            !xml_.OptionalId(element, L"RevisionId", revision) ||
            !xml_.LocalizedTexts(element, L"Name", category.names) ||
            !ReadParameterRefs(element, category)) {
            return false;
        }
        category.revisionId =
            revision ? *revision : DerivedRevision(category.id, category.lastModified);
        return ReadCategories(element, &category, category.children);
    }

    bool ReadParameterRefs(const XMLNode& element, CategorySource& category) {
        const XMLNodeArray refs = ChildElements(element, L"ParameterRef");
        GuidSet seen;
        for (int i = 0; i < refs.GetSize(); ++i) {
            Guid id;
            if (!xml_.Id(refs[i], L"Id", id))
                return false;
            if (!parameterIds_.contains(id))
                return xml_.Fail(refs[i],
                                 "no parameter of the library has the id " + Narrow(id.ToString()));
            if (!seen.insert(id).second)
                return xml_.Fail(refs[i], "parameter " + Narrow(id.ToString()) + " given twice");
            category.parameters.push_back(id);
        }
        return true;
    }

    XmlSource xml_;
    LibrarySource& library_;
    GuidSet parameterIds_;
    GuidSet categoryIds_;
};

bool ReadIcons(const std::filesystem::path& folder, std::vector<CategorySource>& categories,
               SourceError& error) {
    for (CategorySource& category : categories) {
        std::string problem;
        if (!ReadSourceImage(folder, folder, category.icon, category.iconImage, problem)) {
            error = {folder / "library.xml", category.line, "element Category",
                     "attribute Icon: " + problem};
            return false;
        }
        if (!ReadIcons(folder, category.children, error))
            return false;
    }
    return true;
}

}  // namespace

bool ParseLibraryDescription(std::string_view xml, const std::filesystem::path& folder,
                             LibrarySource& library, SourceError& error) {
    library = LibrarySource();
    library.folder = folder;
    return LibraryReader(folder / "library.xml", library, error).Read(xml);
}

bool ReadLibraryDescription(const std::filesystem::path& folder, LibrarySource& library,
                            SourceError& error) {
    std::string bytes;
    return ReadSourceFile(folder / "library.xml", bytes, error) &&
           ParseLibraryDescription(bytes, folder, library, error) &&
           ReadIcons(folder, library.categories, error);
}

}  // namespace VardelCatalog
