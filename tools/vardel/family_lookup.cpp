// A family by id asks the libraries for that id only; by name it lists
// every family once and reads all their names in one call.
#include "family_lookup.h"

#include "name_match.h"
#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"
#include "vardel/guid.h"

namespace VardelTool {

Result<Vardel::CBrowseId> FindFamily(const Vardel::CContext& context, const std::string& text) {
    const std::wstring wanted = Wide(text);
    if (Vardel::Guid::Parse(wanted)) {
        Vardel::CBrowseId family;
        if (Status failed = CheckCall(Vardel::CreateItemBrowseId(&context, wanted, family),
                                      "looking up family " + Quoted(text))) {
            return *failed;
        }
        if (family.IsNULL()) {
            return Refused("no family with id " + Quoted(text));
        }
        return family;
    }
    std::vector<Vardel::CBrowseId> families;
    if (Status failed = CheckCall(Vardel::GetAllItems(&context, families), "listing families")) {
        return *failed;
    }
    Result<std::vector<std::wstring>> names = ItemNames(context, families);
    if (!names.ok()) {
        return names.failure();
    }
    std::vector<NamedNode> nodes;
    for (std::size_t i = 0; i < families.size(); ++i) {
        nodes.push_back({names.value()[i], families[i].GetInternalName()});
    }
    Result<std::size_t> picked = PickByName(nodes, wanted, "family");
    if (!picked.ok()) {
        return picked.failure();
    }
    return families[picked.value()];
}

}  // namespace VardelTool
