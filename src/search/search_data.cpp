// Vardel::CSearchData: one record of a search query, owning its pairs.
#include "search/owned_list.h"
#include "search/search_text.h"
#include "vardel/search_query.h"

namespace Vardel {

CSearchData::CSearchData() : CSearchData(SearchNone) {}

CSearchData::CSearchData(ObjectType type) : type_(type) {}

// Delegates first so that the destructor frees what was copied when an
// allocation fails half-way.
CSearchData::CSearchData(const CSearchData& other) : CSearchData(other.type_) {
    attributes_ = other.attributes_;
    VardelSearch::AppendCopies(other.properties_, properties_);
}

CSearchData& CSearchData::operator=(const CSearchData& other) {
    if (this != &other) {
        // The copy takes the old pairs with it when it goes.
        CSearchData copy(other);
        attributes_.swap(copy.attributes_);
        properties_.swap(copy.properties_);
        type_ = copy.type_;
    }
    return *this;
}

CSearchData::~CSearchData() {
    Clear();
}

CSearchData::ObjectType CSearchData::GetType() const {
    return type_;
}

void CSearchData::AddAttribute(const wchar_t* name, const wchar_t* value) {
    attributes_.emplace(VardelSearch::TextOrEmpty(name), VardelSearch::TextOrEmpty(value));
}

void CSearchData::AddProperty(const wchar_t* name, const wchar_t* value, CSearchQueryData* query) {
    VardelSearch::AppendOwned(properties_, new PropertyData{VardelSearch::TextOrEmpty(name),
                                                            VardelSearch::TextOrEmpty(value)});
    if (query != nullptr) {
        query->AddExpClientStr(value);
    }
}

const std::map<std::wstring, std::wstring>* CSearchData::GetAttributes() const {
    return &attributes_;
}

const std::vector<PropertyData*>* CSearchData::GetProperties() const {
    return &properties_;
}

void CSearchData::Clear() {
    attributes_.clear();
    VardelSearch::DestroyAll(properties_);
}

}  // namespace Vardel
