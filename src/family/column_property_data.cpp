// CEncapFamilyColIPropertyData: the host object a column is bound to, and
// the text form of its object type as family documents store it.
#include <array>
#include <string_view>

#include "common/case_fold.h"
#include "vardel/family_column.h"

namespace {

// Texts of the object types, indexed by value.
constexpr std::array<std::wstring_view, 8> kTypeTexts = {
    L"Unknown",
    L"kUserParameterObject",
    L"kPropertyObject",
    L"kPartComponentDefinitionObject",
    L"kPartDocumentObject",
    L"kModelParameterObject",
    L"kPartFeatureObject",
    L"kRenderStyleObject",
};

}  // namespace

CEncapFamilyColIPropertyData::CEncapFamilyColIPropertyData(const std::wstring& objectRefKey,
                                                           const std::wstring& subObjectId,
                                                           ColPropertyObjectType type)
    : objectRefKey_(objectRefKey), subObjectId_(subObjectId), type_(type) {}

std::wstring CEncapFamilyColIPropertyData::PropObjTypeStr() const {
    return ColPropObjTypeToString(type_);
}

void CEncapFamilyColIPropertyData::SetPropObjTypeStr(const std::wstring& text) {
    type_ = StringToColPropObjType(text);
}

std::wstring CEncapFamilyColIPropertyData::ColPropObjTypeToString(ColPropertyObjectType type) {
    const bool known = type >= 0 && static_cast<std::size_t>(type) < kTypeTexts.size();
    return std::wstring(kTypeTexts[known ? static_cast<std::size_t>(type) : 0]);
}

CEncapFamilyColIPropertyData::ColPropertyObjectType
CEncapFamilyColIPropertyData::StringToColPropObjType(const std::wstring& text) {
    for (std::size_t i = 0; i < kTypeTexts.size(); ++i) {
        if (VardelCommon::EqualsNoCase(text, kTypeTexts[i])) {
            return static_cast<ColPropertyObjectType>(i);
        }
    }
    return Unknown;
}
