#include "vardel/toc.h"

CTocFamily::~CTocFamily() = default;

bool CTocFamily::GetInternalName(std::wstring& value) const {
    return GetProperty(L"InternalName", value);
}
bool CTocFamily::GetDisplayName(std::wstring& value) const {
    return GetProperty(L"DisplayName", value);
}
bool CTocFamily::GetSourceLib(std::wstring& value) const {
    return GetProperty(L"FromSource", value);
}
bool CTocFamily::GetSourceFamily(std::wstring& value) const {
    return GetProperty(L"SourceMoniker", value);
}
bool CTocFamily::GetStandardOrg(std::wstring& value) const {
    return GetProperty(L"StandardsOrg", value);
}
bool CTocFamily::GetSourceRevision(std::wstring& value) const {
    return GetProperty(L"SourceRevisionId", value);
}
bool CTocFamily::GetRevision(std::wstring& value) const {
    return GetProperty(L"RevisionId", value);
}

bool CTocFamily::GetFamilyProperty(FamilyPropType type, std::wstring& value) const {
    value.clear();
    const wchar_t* attribute = nullptr;
    switch (type) {
        case FamilyPropDisplayName:
            attribute = L"DisplayName";
            break;
        case FamilyPropDescription:
            attribute = L"Description";
            break;
        case FamilyPropStandard:
            attribute = L"Standard";
            break;
        case FamilyPropStandardsOrg:
            attribute = L"StandardsOrg";
            break;
        case FamilyPropManufacturer:
            attribute = L"Manufacturer";
            break;
        case FamilyPropFolderName:
            attribute = L"FolderName";
            break;
        case FamilyPropRevisionId:
            attribute = L"RevisionId";
            break;
        case FamilyPropInternalName:
            attribute = L"InternalName";
            break;
        case FamilyPropLibrary:
            attribute = L"Library";
            break;
        case FamilyPropSourceMoniker:
            attribute = L"SourceMoniker";
            break;
        case FamilyPropSrcActive:
            attribute = L"SrcActive";
            break;
        case FamilyPropLastModifiedTime:
            attribute = L"LastModifiedTime";
            break;
        default:  // no attribute in the table of contents: absent
            break;
    }
    return attribute != nullptr && GetProperty(attribute, value);
}
