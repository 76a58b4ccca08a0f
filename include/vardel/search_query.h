// The host's description of a content search. A CSearchQueryData holds
// constraint records (what a hit must satisfy) and returns records (what each
// hit brings back), plus client-side names the host expects back and two
// flags. Each record is a CSearchData: a record type, named attributes and an
// ordered list of name/value pairs.
//
// Ownership: a query owns the records added to it, and a record owns its
// pairs; destroying or clearing either destroys what it owns. Copies are
// deep: a copy owns records and pairs of its own. The model only stores and
// never fails; a null text argument counts as an empty text. One thread at a
// time per object.
//
// Attribute keys with meaning: "InternalName" (the key of the property, or the
// category id), "Operator" ("=", "!=", "LIKE", "<", "<=", ">", ">=", "IN", any
// case), "ReferencedAs", "Tolerance" (decimal text with a point), "Index".
// Pair names with meaning (any case): "Value" (a comparison value, or the
// client alias of a returned value) and "InternalName" (the alias of a family
// or member identifier return).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "vardel/export.h"

namespace Vardel {

/// One name/value pair of a search record.
struct VARDEL_API PropertyData {
    std::wstring name;
    std::wstring value;
};

class CSearchQueryData;

/// One constraint or returns record of a search query.
class VARDEL_API CSearchData {
  public:
    /// The record type; what it means depends on the list the record is in.
    enum ObjectType : std::int32_t {
        SearchNone = 0,      ///< Ignored in both lists.
        SearchFamily = 1,    ///< Return: the hit's family identifier.
        SearchMember = 2,    ///< Return: the hit's member (row) identifier.
        SearchCategory = 3,  ///< Constraint: the hit lies in the given categories.
        SearchProperty = 4,  ///< Constraint: a property compares; return: a property's value.
    };

    /// An empty record of type SearchNone.
    CSearchData();
    /// An empty record of the given type.
    explicit CSearchData(ObjectType type);
    /// A deep copy: the attributes and new copies of every pair.
    CSearchData(const CSearchData& other);
    /// Replaces this record's content by a deep copy of the other's.
    CSearchData& operator=(const CSearchData& other);
    /// Destroys every pair the record owns.
    virtual ~CSearchData();

    /// The record type given at construction.
    ObjectType GetType() const;

    /// Inserts the attribute; a name already present keeps its first value.
    void AddAttribute(const wchar_t* name, const wchar_t* value);
    /// Appends the pair; when `query` is not null, also adds `value` to its
    /// expected client strings.
    void AddProperty(const wchar_t* name, const wchar_t* value, CSearchQueryData* query);

    /// The attributes, ordered by key (case-sensitive).
    const std::map<std::wstring, std::wstring>* GetAttributes() const;
    /// The pairs in insertion order; names may repeat.
    const std::vector<PropertyData*>* GetProperties() const;

    /// Removes every attribute and destroys every pair; the type stays.
    void Clear();

  private:
    std::map<std::wstring, std::wstring> attributes_;
    std::vector<PropertyData*> properties_;
    ObjectType type_;
};

/// A search query: constraint and returns records with the host's extras.
class VARDEL_API CSearchQueryData {
  public:
    /// An empty query; recursive search on, not final.
    CSearchQueryData();
    /// A deep copy: new copies of every record, the maps, the set and both flags.
    CSearchQueryData(const CSearchQueryData& other);
    /// Replaces this query's content by a deep copy of the other's.
    CSearchQueryData& operator=(const CSearchQueryData& other);
    /// Destroys every record the query owns.
    virtual ~CSearchQueryData();

    /// Appends `data` and takes ownership of it; null is ignored.
    void AddConstraintData(CSearchData* data);
    /// Appends `data` and takes ownership of it; null is ignored.
    void AddReturnsData(CSearchData* data);
    /// Adds a client alias expected back in the result.
    void AddExpClientStr(const wchar_t* text);
    /// Inserts a client return; a name already present keeps its first value.
    void AddClientReturnsData(const wchar_t* name, const wchar_t* value);

    /// The constraint records in insertion order.
    const std::vector<CSearchData*>* GetConstraints() const;
    /// The returns records in insertion order.
    const std::vector<CSearchData*>* GetReturns() const;
    /// Client return names and their values, ordered by name.
    std::map<std::wstring, std::wstring>* GetClientReturnsData();
    const std::map<std::wstring, std::wstring>* GetClientReturnsData() const;
    /// The client aliases expected back, ordered.
    std::set<std::wstring>* GetExpectedClientStrs();
    const std::set<std::wstring>* GetExpectedClientStrs() const;

    /// Whether the server searches sub-categories too (default true).
    void SetRecursive(bool recursive);
    /// Whether the server searches sub-categories too.
    bool GetRecursive() const;
    /// A mark kept for the host (default false); the library never reads it.
    void SetIsQueryFinal(bool isFinal);
    /// The mark set by SetIsQueryFinal.
    bool IsQueryFinal() const;

    /// The client name under which each hit's member identifier comes back:
    /// the first "InternalName" pair (any case) of the first SearchMember
    /// return that has one. False, with `alias` untouched, when there is none.
    bool GetMemberIdReturnAsStr(std::wstring& alias) const;

    /// Destroys every record and empties both lists, the client returns and
    /// the expected strings; the two flags keep their values.
    void Clear();

  private:
    std::vector<CSearchData*> constraints_;
    std::vector<CSearchData*> returns_;
    std::map<std::wstring, std::wstring> clientReturns_;
    std::set<std::wstring> expectedClientStrs_;
    bool recursive_;
    bool queryFinal_;
};

}  // namespace Vardel
