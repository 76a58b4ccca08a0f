// Vardel::CSearchQueryData: a search query, owning its records.
#include "search/find_prop.h"
#include "search/owned_list.h"
#include "search/search_text.h"
#include "vardel/search_query.h"

namespace Vardel {

CSearchQueryData::CSearchQueryData() : recursive_(true), queryFinal_(false) {}

// Delegates first so that the destructor frees what was copied when an
// allocation fails half-way.
CSearchQueryData::CSearchQueryData(const CSearchQueryData& other) : CSearchQueryData() {
    VardelSearch::AppendCopies(other.constraints_, constraints_);
    VardelSearch::AppendCopies(other.returns_, returns_);
    clientReturns_ = other.clientReturns_;
    expectedClientStrs_ = other.expectedClientStrs_;
    recursive_ = other.recursive_;
    queryFinal_ = other.queryFinal_;
}

CSearchQueryData& CSearchQueryData::operator=(const CSearchQueryData& other) {
    if (this != &other) {
        // The copy takes the old records with it when it goes.
        CSearchQueryData copy(other);
        constraints_.swap(copy.constraints_);
        returns_.swap(copy.returns_);
        clientReturns_.swap(copy.clientReturns_);
        expectedClientStrs_.swap(copy.expectedClientStrs_);
        recursive_ = copy.recursive_;
        queryFinal_ = copy.queryFinal_;
    }
    return *this;
}

CSearchQueryData::~CSearchQueryData() {
    Clear();
}

void CSearchQueryData::AddConstraintData(CSearchData* data) {
    if (data != nullptr) {
        VardelSearch::AppendOwned(constraints_, data);
    }
}

void CSearchQueryData::AddReturnsData(CSearchData* data) {
    if (data != nullptr) {
        VardelSearch::AppendOwned(returns_, data);
    }
}

void CSearchQueryData::AddExpClientStr(const wchar_t* text) {
    expectedClientStrs_.insert(VardelSearch::TextOrEmpty(text));
}

void CSearchQueryData::AddClientReturnsData(const wchar_t* name, const wchar_t* value) {
    clientReturns_.emplace(VardelSearch::TextOrEmpty(name), VardelSearch::TextOrEmpty(value));
}

const std::vector<CSearchData*>* CSearchQueryData::GetConstraints() const {
    return &constraints_;
}

const std::vector<CSearchData*>* CSearchQueryData::GetReturns() const {
    return &returns_;
}

std::map<std::wstring, std::wstring>* CSearchQueryData::GetClientReturnsData() {
    return &clientReturns_;
}

const std::map<std::wstring, std::wstring>* CSearchQueryData::GetClientReturnsData() const {
    return &clientReturns_;
}

std::set<std::wstring>* CSearchQueryData::GetExpectedClientStrs() {
    return &expectedClientStrs_;
}

const std::set<std::wstring>* CSearchQueryData::GetExpectedClientStrs() const {
    return &expectedClientStrs_;
}

void CSearchQueryData::SetRecursive(bool recursive) {
    recursive_ = recursive;
}

bool CSearchQueryData::GetRecursive() const {
    return recursive_;
}

void CSearchQueryData::SetIsQueryFinal(bool isFinal) {
    queryFinal_ = isFinal;
}

bool CSearchQueryData::IsQueryFinal() const {
    return queryFinal_;
}

bool CSearchQueryData::GetMemberIdReturnAsStr(std::wstring& alias) const {
    for (const CSearchData* record : returns_) {
        if (record->GetType() != CSearchData::SearchMember) {
            continue;
        }
        if (const PropertyData* name = VardelSearch::FindFirstProperty(*record, L"InternalName")) {
            alias = name->value;
            return true;
        }
    }
    return false;
}

void CSearchQueryData::Clear() {
    VardelSearch::DestroyAll(constraints_);
    VardelSearch::DestroyAll(returns_);
    clientReturns_.clear();
    expectedClientStrs_.clear();
}

}  // namespace Vardel
