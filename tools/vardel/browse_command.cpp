// vardel browse [PATH]: the category tree merged across the readable
// libraries, with each category's families (display name, standard, the
// library whose copy the merge chose, member count). The tree is read level
// by level through the browsing face; member counts come from the family
// tables, read only for the families printed, so --depth keeps a look at a
// big tree cheap.
#include <iostream>
#include <memory>

#include "category_lookup.h"
#include "commands.h"
#include "family_document.h"
#include "output.h"
#include "properties.h"
#include "session.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"

namespace VardelTool {
namespace {

struct BrowseOptions {
    CatalogOptions catalog;
    FilterOptions filter;
    std::string path;
    std::size_t depth = 0;  ///< 0: every level.
    bool json = false;
};

struct FamilyNode {
    std::wstring id;
    std::wstring name;
    std::wstring standard;
    std::wstring library;
    std::size_t members = 0;
};

struct CategoryNode {
    std::wstring id;
    std::wstring name;
    std::vector<std::wstring> libraries;
    std::vector<FamilyNode> families;
    std::vector<CategoryNode> children;
};

class TreeReader {
  public:
    TreeReader(const Session& session, const Vardel::CContext& context, std::size_t depth)
        : session_(session), context_(context), depth_(depth) {}

    // The nodes of `level` and, depth allowing, everything below them.
    Result<std::vector<CategoryNode>> Read(const std::vector<Vardel::CBrowseId>& level,
                                           std::size_t depth) const;

  private:
    Status ReadCategory(const Vardel::CBrowseId& id, std::size_t depth, CategoryNode& node) const;
    Result<std::vector<FamilyNode>> ReadFamilies(const Vardel::CBrowseId& category) const;

    const Session& session_;
    const Vardel::CContext& context_;
    std::size_t depth_;
};

Result<std::vector<CategoryNode>> TreeReader::Read(const std::vector<Vardel::CBrowseId>& level,
                                                   std::size_t depth) const {
    Result<std::vector<std::wstring>> names = FolderNames(context_, level);
    if (!names.ok()) {
        return names.failure();
    }
    std::vector<CategoryNode> nodes(level.size());
    for (std::size_t i = 0; i < level.size(); ++i) {
        nodes[i].name = names.value()[i];
        if (Status failed = ReadCategory(level[i], depth, nodes[i])) {
            return *failed;
        }
    }
    return nodes;
}

Status TreeReader::ReadCategory(const Vardel::CBrowseId& id, std::size_t depth,
                                CategoryNode& node) const {
    node.id = id.GetInternalName();
    if (Status failed = CheckCall(Vardel::GetLibraries(&context_, id, node.libraries),
                                  "reading the libraries of a category")) {
        return failed;
    }
    Result<std::vector<FamilyNode>> families = ReadFamilies(id);
    if (!families.ok()) {
        return families.failure();
    }
    node.families = std::move(families.value());
    if (depth_ != 0 && depth + 1 >= depth_) {
        return std::nullopt;
    }
    Result<std::vector<Vardel::CBrowseId>> below = SubCategories(context_, id);
    if (!below.ok()) {
        return below.failure();
    }
    Result<std::vector<CategoryNode>> children = Read(below.value(), depth + 1);
    if (!children.ok()) {
        return children.failure();
    }
    node.children = std::move(children.value());
    return std::nullopt;
}

Result<std::vector<FamilyNode>> TreeReader::ReadFamilies(const Vardel::CBrowseId& category) const {
    std::vector<Vardel::CBrowseId> items;
    if (Status failed =
            CheckCall(Vardel::GetChildItems(&context_, category, items), "listing families")) {
        return *failed;
    }
    Result<PropertyRows> properties = ReadItemProperties(
        context_, items, {Vardel::Constants::FAM_DISPLAYNAME, Vardel::Constants::FAM_STANDARD});
    if (!properties.ok()) {
        return properties.failure();
    }
    std::vector<FamilyNode> families;
    for (std::size_t i = 0; i < items.size(); ++i) {
        FamilyNode family{
            items[i].GetInternalName(), properties.value()[i][0], properties.value()[i][1], {}, 0};
        if (Status failed = CheckCall(Vardel::GetLibrary(&context_, items[i], family.library),
                                      "reading the library of a family")) {
            return *failed;
        }
        Result<FamilyDocument> document =
            OpenCatalogFamily(session_, family.library, family.id, FamilyTexts::DocumentOnly);
        if (!document.ok()) {
            return document.failure();
        }
        const CEncapFamilyTable* table = document.value().family->GetEncapFamilyTable();
        family.members = table != nullptr ? table->GetAllRowIDs().size() : 0;
        families.push_back(std::move(family));
    }
    return families;
}

Json ToJson(const CategoryNode& node) {
    Json families = Json::array();
    for (const FamilyNode& family : node.families) {
        families.push_back({{"id", Utf8(family.id)},
                            {"name", Utf8(family.name)},
                            {"standard", Utf8(family.standard)},
                            {"library", Utf8(family.library)},
                            {"members", family.members}});
    }
    Json children = Json::array();
    for (const CategoryNode& child : node.children) {
        children.push_back(ToJson(child));
    }
    return {{"id", Utf8(node.id)},
            {"name", Utf8(node.name)},
            {"libraries", TextList(node.libraries)},
            {"families", std::move(families)},
            {"categories", std::move(children)}};
}

void PrintText(const CategoryNode& node, std::size_t indent) {
    std::cout << std::string(indent, ' ') << Printable(Utf8(node.name)) << "/\n";
    TextTable families;
    for (const FamilyNode& family : node.families) {
        families.AddRow({Utf8(family.name), Utf8(family.standard),
                         std::to_string(family.members) + " members", Utf8(family.library)});
    }
    families.Print(std::cout, indent + 2);
    for (const CategoryNode& child : node.children) {
        PrintText(child, indent + 2);
    }
}

Result<std::vector<Vardel::CBrowseId>> StartLevel(const Vardel::CContext& context,
                                                  const std::string& path) {
    if (path.empty()) {
        return RootCategories(context);
    }
    Result<Vardel::CBrowseId> category = FindCategory(context, path);
    if (!category.ok()) {
        return category.failure();
    }
    return std::vector<Vardel::CBrowseId>{category.value()};
}

Status RunBrowse(const BrowseOptions& options) {
    Result<std::unique_ptr<Session>> session = Session::Open(options.catalog);
    if (!session.ok()) {
        return session.failure();
    }
    const Vardel::FilterStruct filter = MakeFilter(options.filter);
    Result<Vardel::CContext> context =
        session.value()->MakeContext(Vardel::LibraryBrowsing, &filter);
    if (!context.ok()) {
        return context.failure();
    }
    Result<std::vector<Vardel::CBrowseId>> start = StartLevel(context.value(), options.path);
    if (!start.ok()) {
        return start.failure();
    }
    const TreeReader reader(*session.value(), context.value(), options.depth);
    Result<std::vector<CategoryNode>> tree = reader.Read(start.value(), 0);
    if (!tree.ok()) {
        return tree.failure();
    }
    if (options.json) {
        Json categories = Json::array();
        for (const CategoryNode& node : tree.value()) {
            categories.push_back(ToJson(node));
        }
        const std::list<std::wstring>& libraries = session.value()->Libraries();
        PrintJson({{"libraries", TextList({libraries.begin(), libraries.end()})},
                   {"categories", std::move(categories)}});
        return std::nullopt;
    }
    for (const CategoryNode& node : tree.value()) {
        PrintText(node, 0);
    }
    return std::nullopt;
}

}  // namespace

void AddBrowseCommand(CLI::App& app, CommandSet& commands) {
    auto options = std::make_shared<BrowseOptions>();
    CLI::App* browse = app.add_subcommand(
        "browse", "Print the category tree with its families, merged across libraries");
    browse->add_option("PATH", options->path,
                       "Category to start at: a category id, or display names from a root "
                       "separated by \"/\" (default: every root)");
    browse
        ->add_option("--depth", options->depth,
                     "Levels of categories to print, the first one included (default: all)")
        ->check(CLI::PositiveNumber);
    AddContextOptions(*browse, options->catalog);
    AddFilterOptions(*browse, options->filter);
    AddJsonFlag(*browse, options->json);
    SetExample(*browse, "  vardel browse \"Fasteners/Bolts and screws\" --depth 2 --lang de-DE");
    commands.Add(browse, [options] { return Finish(RunBrowse(*options)); });
}

}  // namespace VardelTool
