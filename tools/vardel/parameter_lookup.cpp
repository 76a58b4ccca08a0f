// Gathering the parameters costs one sub-folder call per root, one
// parameter call per category and one property call for all parameters.
#include "parameter_lookup.h"

#include <set>

#include "category_lookup.h"
#include "common/case_fold.h"
#include "name_match.h"
#include "output.h"
#include "properties.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/properties.h"

namespace VardelTool {
namespace {

Result<std::vector<Vardel::CBrowseId>> EveryCategory(const Vardel::CContext& context) {
    Result<std::vector<Vardel::CBrowseId>> roots = RootCategories(context);
    if (!roots.ok()) {
        return roots.failure();
    }
    std::vector<Vardel::CBrowseId> categories = roots.value();
    for (const Vardel::CBrowseId& root : roots.value()) {
        // The call replaces its output when it finds something.
        std::vector<Vardel::CBrowseId> below;
        if (Status failed =
                CheckCall(Vardel::GetAllSubFolders(&context, root, below), "listing categories")) {
            return *failed;
        }
        categories.insert(categories.end(), below.begin(), below.end());
    }
    return categories;
}

// One id per parameter, in the order categories first list them.
Result<std::vector<Vardel::CBrowseId>> EveryParameter(const Vardel::CContext& context) {
    Result<std::vector<Vardel::CBrowseId>> categories = EveryCategory(context);
    if (!categories.ok()) {
        return categories.failure();
    }
    std::vector<Vardel::CBrowseId> parameters;
    std::set<std::wstring, VardelCommon::LessNoCase> seen;
    for (const Vardel::CBrowseId& category : categories.value()) {
        std::vector<Vardel::CBrowseId> listed;
        if (Status failed = CheckCall(
                Vardel::GetCategoryParametersByCategory(&context, category, listed, false),
                "listing category parameters")) {
            return *failed;
        }
        for (const Vardel::CBrowseId& parameter : listed) {
            if (seen.insert(parameter.GetInternalName()).second) {
                parameters.push_back(parameter);
            }
        }
    }
    return parameters;
}

}  // namespace

Result<ParameterIndex> ParameterIndex::Read(const Vardel::CContext& context) {
    Result<std::vector<Vardel::CBrowseId>> ids = EveryParameter(context);
    if (!ids.ok()) {
        return ids.failure();
    }
    Result<PropertyRows> names = ReadParameterProperties(
        context, ids.value(), {Vardel::Constants::CP_DISPLAYNAME, Vardel::Constants::CP_REFNAME});
    if (!names.ok()) {
        return names.failure();
    }
    ParameterIndex index;
    for (std::size_t i = 0; i < ids.value().size(); ++i) {
        index.parameters_.push_back(
            {ids.value()[i].GetInternalName(), names.value()[i][0], names.value()[i][1]});
    }
    return index;
}

Result<CategoryParameter> ParameterIndex::Find(const std::string& name) const {
    std::vector<NamedNode> names;
    std::vector<std::size_t> owner;
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const CategoryParameter& parameter = parameters_[i];
        for (const std::wstring* text :
             {&parameter.id, &parameter.displayName, &parameter.refName}) {
            names.push_back({*text, parameter.id});
            owner.push_back(i);
        }
    }
    Result<std::size_t> picked = PickByName(names, Wide(name), "category parameter");
    if (!picked.ok()) {
        return picked.failure();
    }
    return parameters_[owner[picked.value()]];
}

}  // namespace VardelTool
