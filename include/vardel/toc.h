// The table of contents a content library publishes: a document with the
// root "TableOfContents", its "Families" (one element per family) and its
// "Categories" tree ("Category" elements nested to any depth, each with
// "FamilyReference" children). CToc indexes families and categories by
// internal name (case-sensitive) when the document is set; the indexes do
// not follow later changes of the document. CTocCategory and CTocFamily are
// views of one element with named attribute readers. Absence is always
// reported as false; nothing throws. Not thread-safe.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "vardel/export.h"
#include "vardel/family_prop_type.h"
#include "vardel/xml_node.h"
#include "vardel/xml_node_array.h"
#include "vardel/xml_parser.h"

class VARDEL_API CTocCategory : public XMLNode {
  public:
    CTocCategory() = default;
    CTocCategory(const XMLNode& node) : XMLNode(node) {}
    ~CTocCategory() override;

    // Each string reader empties its output first and tells whether the
    // attribute exists.
    bool GetInternalName(std::wstring& value) const;  ///< "InternalName"
    bool GetDisplayName(std::wstring& value) const;   ///< "DisplayName"
    bool GetRevisionID(std::wstring& value) const;    ///< "RevisionId"
    bool GetLibraryID(std::wstring& value) const;     ///< "Library"
    bool GetDomain(std::wstring& value) const;        ///< "Domain"
    /// The logical "SpecialAuthoring"; false when missing.
    bool SpecialAuthoring() const;
    /// The logical "Hidden"; false when missing.
    bool IsHidden() const;
    /// Whether the element's name is exactly "Category".
    bool IsCategoryNode() const;
    /// The "Category" children.
    bool GetSubCategoryNodes(XMLNodeArray& categories) const;
    /// The parent element in `parent`; true when it is a category.
    bool GetParent(CTocCategory& parent) const;
    /// The "InternalName" of every "FamilyReference" child in order (empty
    /// for a reference without one); cleared first.
    bool GetReferencedFamilies(std::vector<std::wstring>& families) const;
    /// The same names as a set; cleared first.
    bool GetReferencedFamilies(std::set<std::wstring>& families) const;
};

class VARDEL_API CTocFamily : public XMLNode {
  public:
    CTocFamily() = default;
    CTocFamily(const XMLNode& node) : XMLNode(node) {}
    ~CTocFamily() override;

    // Each reader empties its output first and tells whether the attribute
    // exists.
    bool GetInternalName(std::wstring& value) const;    ///< "InternalName"
    bool GetDisplayName(std::wstring& value) const;     ///< "DisplayName"
    bool GetSourceLib(std::wstring& value) const;       ///< "FromSource"
    bool GetSourceFamily(std::wstring& value) const;    ///< "SourceMoniker"
    bool GetStandardOrg(std::wstring& value) const;     ///< "StandardsOrg"
    bool GetSourceRevision(std::wstring& value) const;  ///< "SourceRevisionId"
    bool GetRevision(std::wstring& value) const;        ///< "RevisionId"
    /// The attribute of `type`; false for a type without attribute.
    bool GetFamilyProperty(FamilyPropType type, std::wstring& value) const;
};

class VARDEL_API CToc {
  public:
    /// No document, empty indexes.
    CToc();
    /// Shares the document and copies the indexes; the copy's iterations
    /// start from the beginning.
    CToc(const CToc& other);
    CToc& operator=(const CToc& other);
    virtual ~CToc();

    /// Takes `toc`'s document (shared) and indexes its families and categories.
    void SetToc(const XMLParser& toc);
    /// A parser over the same document.
    XMLParser GetToc() const;
    XMLDocumentPtr GetDocument() const;

    int GetCategoryCount() const;
    /// The family element with that internal name.
    bool GetFamilyInfo(const wchar_t* name, XMLNode& node) const;
    /// The category element with that internal name.
    bool GetCategoryInfo(const wchar_t* name, XMLNode& node) const;
    /// The category and its ancestors up to its first-level category,
    /// innermost first; cleared first, false when the category is unknown.
    bool GetCategoryPath(const wchar_t* name, XMLNodeArray& path) const;
    /// The "Category" children of "Categories" below the root.
    bool GetFirstLevelCategories(XMLNodeArray& categories) const;
    /// For each category in ascending name order (hidden ones skipped when
    /// asked), maps every referenced family to it: a family referenced twice
    /// ends with the later category. Entries already in `map` stay unless
    /// overwritten.
    bool GetFam2CatMap(std::map<std::wstring, std::wstring>& map, bool skipHidden) const;

    /// Restarts the family iteration; NextNode then gives the families in
    /// ascending name order, false at the end.
    void ResetIter();
    bool NextNode(XMLNode& node);
    /// The same over the categories, independent of the family iteration.
    void ResetCatIter();
    bool NextCategory(XMLNode& node);

  private:
    using NodeMap = std::map<std::wstring, XMLNode>;

    bool CreateFamiliesMap();
    bool CreateCategoryMap();
    static bool GetInfo(const NodeMap& map, const wchar_t* name, XMLNode& node);
    static bool Next(const NodeMap& map, NodeMap::const_iterator& position, bool& firstStep,
                     XMLNode& node);

    bool firstFamilyStep_ = true;
    bool firstCategoryStep_ = true;
    XMLDocumentPtr document_;
    NodeMap families_;
    NodeMap categories_;
    NodeMap::const_iterator familyPosition_;
    NodeMap::const_iterator categoryPosition_;
};
