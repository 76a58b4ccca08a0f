// The exported search functions: Search runs a query in every library of a
// search context and turns the found rows into browse identifiers;
// SearchCatParamData collects the values of one category parameter.
#include <map>
#include <memory>
#include <set>

#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "api/utf16_order.h"
#include "bridge/server_proxies_provider.h"
#include "browse/library_item.h"
#include "search/result_rows.h"
#include "vardel/search.h"

namespace Vardel {
namespace {

using Provider = ServerProxiesProvider;
using VardelSearch::RowProperties;

// Family id -> library -> the rows that library found for it.
using FoundRows = std::map<std::wstring, std::map<std::wstring, std::vector<RowProperties>>>;

// The rows a family's chosen library found for it.
const std::vector<RowProperties>& RowsOf(const FoundRows& found, const CLibraryItem& item) {
    static const std::vector<RowProperties> kNone;
    const auto family = found.find(item.GetId());
    if (family == found.end()) {
        return kNone;
    }
    const auto library = family->second.find(item.GetPreferredLibrary());
    return library == family->second.end() ? kNone : library->second;
}

// Appends one identifier per row of every item, carrying the row as its
// cached properties; a row with a member id under `memberAlias` gives a
// member identifier.
void AppendFoundIds(const CContext* ctx, const VardelBrowse::LibraryItems& items,
                    const FoundRows& found, const std::wstring* memberAlias,
                    std::vector<CBrowseId>& ids) {
    for (const std::unique_ptr<CLibraryItem>& item : items) {
        for (const RowProperties& row : RowsOf(found, *item)) {
            std::wstring memberId;
            if (memberAlias != nullptr) {
                const auto value = row.find(*memberAlias);
                memberId = value == row.end() ? std::wstring() : value->second;
            }
            CBrowseId id = item->CreateBrowseId(ctx, memberId);
            if (auto* family = VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(id)) {
                family->CachedProperties() = row;
            }
            ids.push_back(std::move(id));
        }
    }
}

// The query of SearchCatParamData: the parameter equal to itself, returning
// its value under the alias "catParam".
void BuildParameterQuery(const std::wstring& parameter, CSearchQueryData& query) {
    auto constraint = std::make_unique<CSearchData>(CSearchData::SearchProperty);
    constraint->AddAttribute(L"InternalName", parameter.c_str());
    constraint->AddAttribute(L"Operator", L"=");
    constraint->AddAttribute(L"ReferencedAs", L"A");
    query.AddConstraintData(constraint.release());
    auto returned = std::make_unique<CSearchData>(CSearchData::SearchProperty);
    returned->AddAttribute(L"InternalName", parameter.c_str());
    returned->AddProperty(L"Value", L"catParam", &query);
    query.AddReturnsData(returned.release());
}

}  // namespace

HRESULT Search(const CContext* ctx, const CSearchQueryData* query, std::vector<CBrowseId>& ids) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || context->GetBrowsingType() != SearchBrowsing) {
        return E_INVALIDARG;
    }
    const CSearchQueryData empty;
    const CSearchQueryData& search = query != nullptr ? *query : empty;
    ContentQueryPtr converted(Provider::CreateContentQuery(&search, context->GetLanguage()));

    FoundRows found;
    VardelBrowse::IdCollector collector;
    std::size_t failed = 0;
    for (const std::wstring& library : context->GetLibraries()) {
        std::wstring xml;
        if (Provider::Search(*context, library, search.GetRecursive(), converted.get(), xml) !=
            S_OK) {
            ++failed;
            continue;
        }
        VardelSearch::LibraryRows rows = VardelSearch::ReadResultRows(xml, search);
        for (auto& [family, familyRows] : rows.rows) {
            found[family][library] = std::move(familyRows);
        }
        collector.Add(library, std::move(rows.families));
    }
    converted.reset();
    if (failed != 0 && failed == context->GetLibraries().size()) {
        return E_FAIL;
    }

    VardelBrowse::CollectedIds collected = collector.Finish();
    if (collected.empty()) {
        return S_OK;
    }
    VardelBrowse::LibraryItems items;
    HRESULT status = VardelBrowse::BuildFamilyItems(std::move(collected), items);
    if (status != S_OK) {
        return status;
    }
    VardelBrowse::MergeItems(*context, items);
    status = VardelBrowse::FilterItems(*context, items);
    if (status != S_OK) {
        return status;
    }
    std::wstring memberAlias;
    const bool namesMembers = search.GetMemberIdReturnAsStr(memberAlias);
    AppendFoundIds(ctx, items, found, namesMembers ? &memberAlias : nullptr, ids);
    return S_OK;
}

HRESULT SearchCatParamData(const CContext* ctx, const std::wstring& parameter,
                           std::vector<std::wstring>& values) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr) {
        return E_INVALIDARG;
    }
    CSearchQueryData query;
    BuildParameterQuery(parameter, query);
    const ContentQueryPtr converted(Provider::CreateContentQuery(&query, context->GetLanguage()));

    std::set<std::wstring, VardelUtils::Utf16Less> found;
    HRESULT status = S_OK;
    bool answered = context->GetLibraries().empty();
    for (const std::wstring& library : context->GetLibraries()) {
        std::wstring xml;
        const HRESULT searched =
            Provider::Search(*context, library, query.GetRecursive(), converted.get(), xml);
        if (searched != S_OK) {
            status = searched;
            continue;
        }
        answered = true;
        const XMLNodeArray rows = VardelSearch::SelectResultRows(xml);
        for (int i = 0; i < rows.GetSize(); ++i) {
            std::wstring value;
            if (rows[i].GetProperty(L"catParam", value) && !value.empty()) {
                found.insert(std::move(value));
            }
        }
    }
    values.assign(found.begin(), found.end());
    return answered ? S_OK : status;
}

}  // namespace Vardel
