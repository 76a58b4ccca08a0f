// Category lookups over the browsing face: one folder-property call per
// level of a path, never one per category.
#include "category_lookup.h"

#include "name_match.h"
#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"
#include "vardel/guid.h"

namespace VardelTool {
namespace {

// Deeper chains of parents than this come from a damaged catalogue.
constexpr std::size_t kMaxDepth = 256;

// The sub-category of `parent` (a root when `parent` is empty) named `name`.
Result<Vardel::CBrowseId> ChildNamed(const Vardel::CContext& context,
                                     const Vardel::CBrowseId& parent, const std::string& name) {
    Result<std::vector<Vardel::CBrowseId>> level =
        parent.IsNULL() ? RootCategories(context) : SubCategories(context, parent);
    if (!level.ok()) {
        return level.failure();
    }
    Result<std::vector<std::wstring>> names = FolderNames(context, level.value());
    if (!names.ok()) {
        return names.failure();
    }
    std::vector<NamedNode> nodes;
    for (std::size_t i = 0; i < level.value().size(); ++i) {
        nodes.push_back({names.value()[i], level.value()[i].GetInternalName()});
    }
    Result<std::size_t> picked = PickByName(nodes, Wide(name), "category");
    if (!picked.ok()) {
        return picked.failure();
    }
    return level.value()[picked.value()];
}

Result<Vardel::CBrowseId> CategoryById(const Vardel::CContext& context, const std::string& id) {
    Vardel::CBrowseId category;
    if (Status failed = CheckCall(Vardel::CreateFolderBrowseId(&context, Wide(id), category),
                                  "looking up category " + Quoted(id))) {
        return *failed;
    }
    if (category.IsNULL()) {
        return Refused("no category with id " + Quoted(id));
    }
    return category;
}

}  // namespace

Result<std::vector<Vardel::CBrowseId>> RootCategories(const Vardel::CContext& context) {
    std::vector<Vardel::CBrowseId> roots;
    if (Status failed = CheckCall(Vardel::GetFoldersRoots(&context, roots), "listing categories")) {
        return *failed;
    }
    return roots;
}

Result<std::vector<Vardel::CBrowseId>> SubCategories(const Vardel::CContext& context,
                                                     const Vardel::CBrowseId& parent) {
    std::vector<Vardel::CBrowseId> folders;
    if (Status failed =
            CheckCall(Vardel::GetSubFolders(&context, parent, folders), "listing categories")) {
        return *failed;
    }
    return folders;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

Result<Vardel::CBrowseId> FindCategory(const Vardel::CContext& context, const std::string& text) {
    if (Vardel::Guid::Parse(Wide(text))) {
        return CategoryById(context, text);
    }
    const std::vector<std::string> parts = SplitPath(text);
    if (parts.empty()) {
        return UsageError("empty category path");
    }
    Vardel::CBrowseId category;
    for (const std::string& part : parts) {
        Result<Vardel::CBrowseId> child = ChildNamed(context, category, part);
        if (!child.ok()) {
            return child.failure();
        }
        category = child.value();
    }
    return category;
}

Result<std::wstring> CategoryPath(const Vardel::CContext& context,
                                  const Vardel::CBrowseId& category) {
    std::vector<Vardel::CBrowseId> chain{category};
    while (chain.size() <= kMaxDepth) {
        Vardel::CBrowseId parent;
        if (Status failed = CheckCall(Vardel::GetParentFolder(&context, chain.back(), parent),
                                      "finding a parent category")) {
            return *failed;
        }
        if (parent.IsNULL()) {
            break;
        }
        chain.push_back(parent);
    }
    if (chain.size() > kMaxDepth) {
        return Refused("the categories above " + Utf8(category.GetInternalName()) +
                       " do not end in a root");
    }
    Result<std::vector<std::wstring>> names = FolderNames(context, chain);
    if (!names.ok()) {
        return names.failure();
    }
    std::wstring path;
    for (auto name = names.value().rbegin(); name != names.value().rend(); ++name) {
        path += (path.empty() ? L"" : L"/") + *name;
    }
    return path;
}

}  // namespace VardelTool
