#include "vardel/toc.h"

#include "common/case_fold.h"

namespace {

// The first `child` element of the document element, when that is
// "TableOfContents".
XMLNode TocChild(const XMLDocumentPtr& document, const wchar_t* child) {
    if (document == nullptr)
        return {};
    XMLParser parser;
    parser.SetDocument(document);
    XMLNode root = parser.GetRootNode();
    XMLNode found;
    std::wstring name;
    if (!root.GetNodeName(name) || name != L"TableOfContents" || !root.GetChildNode(child, found))
        return {};
    return found;
}

}  // namespace

CToc::CToc() : familyPosition_(families_.end()), categoryPosition_(categories_.end()) {}

CToc::CToc(const CToc& other)
    : document_(other.document_), families_(other.families_), categories_(other.categories_) {
    ResetIter();
    ResetCatIter();
}

CToc& CToc::operator=(const CToc& other) {
    if (this != &other) {
        document_ = other.document_;
        families_ = other.families_;
        categories_ = other.categories_;
        ResetIter();
        ResetCatIter();
    }
    return *this;
}

CToc::~CToc() = default;

void CToc::SetToc(const XMLParser& toc) {
    document_ = toc.GetDocument();
    CreateFamiliesMap();
    CreateCategoryMap();
    // The old positions pointed into the maps just rebuilt.
    ResetIter();
    ResetCatIter();
}

XMLParser CToc::GetToc() const {
    XMLParser parser;
    parser.SetDocument(document_);
    return parser;
}

XMLDocumentPtr CToc::GetDocument() const {
    return document_;
}

int CToc::GetCategoryCount() const {
    return static_cast<int>(categories_.size());
}

bool CToc::GetInfo(const NodeMap& map, const wchar_t* name, XMLNode& node) {
    if (name == nullptr)
        return false;
    const auto found = map.find(name);
    if (found == map.end())
        return false;
    node = found->second;
    return true;
}

bool CToc::GetFamilyInfo(const wchar_t* name, XMLNode& node) const {
    return GetInfo(families_, name, node);
}

bool CToc::GetCategoryInfo(const wchar_t* name, XMLNode& node) const {
    return GetInfo(categories_, name, node);
}

bool CToc::GetCategoryPath(const wchar_t* name, XMLNodeArray& path) const {
    path.RemoveAll();
    XMLNode category;
    if (!GetCategoryInfo(name, category))
        return false;
    path.Add(category);
    std::wstring parentName;
    for (XMLNode parent = category.GetParentNode();
         parent.GetNodeName(parentName) && VardelCommon::EqualsNoCase(parentName, L"Category");
         parent = parent.GetParentNode()) {
        path.Add(parent);
    }
    return true;
}

bool CToc::GetFirstLevelCategories(XMLNodeArray& categories) const {
    categories.RemoveAll();
    const XMLNode root = GetToc().GetRootNode();
    XMLNodeArray children;
    if (!root.GetChildNodes(L"Categories", children) || children.IsEmpty())
        return false;
    return children[0].GetChildNodes(L"Category", categories);
}

bool CToc::GetFam2CatMap(std::map<std::wstring, std::wstring>& map, bool skipHidden) const {
    for (const auto& [categoryName, node] : categories_) {
        const CTocCategory category(node);
        if (skipHidden && category.IsHidden())
            continue;
        XMLNodeArray references;
        category.GetChildNodes(L"FamilyReference", references);
        for (int i = 0; i < references.GetSize(); ++i) {
            std::wstring family;
            if (references[i].GetProperty(L"InternalName", family))
                map[family] = categoryName;
        }
    }
    return true;
}

bool CToc::CreateFamiliesMap() {
    families_.clear();
    if (document_ == nullptr)
        return false;
    const XMLNode list = TocChild(document_, L"Families");
    if (!list.IsNode())
        return false;
    XMLNode child;
    for (bool more = list.GetFirstChildNode(child); more; more = child.GetNextSibling(child)) {
        std::wstring name;
        if (child.GetProperty(L"InternalName", name))
            families_[name] = child;
    }
    return true;
}

bool CToc::CreateCategoryMap() {
    categories_.clear();
    const XMLNode list = TocChild(document_, L"Categories");
    if (!list.IsNode())
        return false;
    XMLNodeArray all;
    list.SelectChildNodes(L"//Category", all);
    for (int i = 0; i < all.GetSize(); ++i) {
        std::wstring name;
        if (all[i].GetProperty(L"InternalName", name))
            categories_[name] = all[i];
    }
    return true;
}

void CToc::ResetIter() {
    familyPosition_ = families_.begin();
    firstFamilyStep_ = true;
}

void CToc::ResetCatIter() {
    categoryPosition_ = categories_.begin();
    firstCategoryStep_ = true;
}

bool CToc::Next(const NodeMap& map, NodeMap::const_iterator& position, bool& firstStep,
                XMLNode& node) {
    if (firstStep) {
        firstStep = false;
    } else if (position != map.end()) {
        ++position;
    }
    if (position == map.end())
        return false;
    node = position->second;
    return true;
}

bool CToc::NextNode(XMLNode& node) {
    return Next(families_, familyPosition_, firstFamilyStep_, node);
}

bool CToc::NextCategory(XMLNode& node) {
    return Next(categories_, categoryPosition_, firstCategoryStep_, node);
}
