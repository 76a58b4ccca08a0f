// Reading and printing the items of a synthetic root.
#include "root_items.h"

#include <iostream>

#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"

namespace VardelTool {

Result<std::vector<RootItem>> ReadRootItems(const Vardel::CContext& context) {
    std::vector<Vardel::CBrowseId> roots;
    std::vector<Vardel::CBrowseId> items;
    if (Status failed = CheckCall(Vardel::GetFoldersRoots(&context, roots), "finding the root")) {
        return *failed;
    }
    if (roots.empty()) {
        return Refused("the context has no root folder");
    }
    if (Status failed = CheckCall(Vardel::GetChildItems(&context, roots.front(), items),
                                  "listing the stored items")) {
        return *failed;
    }
    Result<PropertyRows> properties = ReadItemProperties(
        context, items, {Vardel::Constants::FAM_DISPLAYNAME, Vardel::Constants::FAM_STANDARD});
    if (!properties.ok()) {
        return properties.failure();
    }
    std::vector<RootItem> found;
    for (std::size_t i = 0; i < items.size(); ++i) {
        RootItem item{
            items[i].GetInternalName(), properties.value()[i][0], properties.value()[i][1], {}};
        if (Status failed = CheckCall(Vardel::GetLibrary(&context, items[i], item.library),
                                      "reading the library of an item")) {
            return *failed;
        }
        found.push_back(std::move(item));
    }
    return found;
}

void PrintRootItems(const std::vector<RootItem>& items, const std::string& listName, bool json) {
    if (json) {
        Json list = Json::array();
        for (const RootItem& item : items) {
            list.push_back({{"family", Utf8(item.id)},
                            {"name", Utf8(item.name)},
                            {"standard", Utf8(item.standard)},
                            {"library", Utf8(item.library)}});
        }
        PrintJson({{"count", items.size()}, {listName, std::move(list)}});
        return;
    }
    TextTable table;
    table.AddRow({"family", "standard", "library", "id"});
    for (const RootItem& item : items) {
        table.AddRow({Utf8(item.name), Utf8(item.standard), Utf8(item.library), Utf8(item.id)});
    }
    table.Print(std::cout);
}

}  // namespace VardelTool
