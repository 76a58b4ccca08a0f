#include "vardel/toc.h"

CTocCategory::~CTocCategory() = default;

bool CTocCategory::GetInternalName(std::wstring& value) const {
    return GetProperty(L"InternalName", value);
}
bool CTocCategory::GetDisplayName(std::wstring& value) const {
    return GetProperty(L"DisplayName", value);
}
bool CTocCategory::GetRevisionID(std::wstring& value) const {
    return GetProperty(L"RevisionId", value);
}
bool CTocCategory::GetLibraryID(std::wstring& value) const {
    return GetProperty(L"Library", value);
}
bool CTocCategory::GetDomain(std::wstring& value) const {
    return GetProperty(L"Domain", value);
}

bool CTocCategory::SpecialAuthoring() const {
    bool value = false;
    GetProperty(L"SpecialAuthoring", value);
    return value;
}

bool CTocCategory::IsHidden() const {
    bool value = false;
    GetProperty(L"Hidden", value);
    return value;
}

bool CTocCategory::IsCategoryNode() const {
    std::wstring name;
    return GetNodeName(name) && name == L"Category";
}

bool CTocCategory::GetSubCategoryNodes(XMLNodeArray& categories) const {
    return GetChildNodes(L"Category", categories);
}

bool CTocCategory::GetParent(CTocCategory& parent) const {
    parent = CTocCategory(GetParentNode());
    return parent.IsCategoryNode();
}

bool CTocCategory::GetReferencedFamilies(std::vector<std::wstring>& families) const {
    families.clear();
    XMLNodeArray references;
    if (!GetChildNodes(L"FamilyReference", references))
        return false;
    for (int i = 0; i < references.GetSize(); ++i) {
        std::wstring name;
        references[i].GetProperty(L"InternalName", name);
        families.push_back(name);
    }
    return true;
}

bool CTocCategory::GetReferencedFamilies(std::set<std::wstring>& families) const {
    families.clear();
    std::vector<std::wstring> names;
    if (!GetReferencedFamilies(names))
        return false;
    families.insert(names.begin(), names.end());
    return true;
}
