// Lookup of the name/value pairs of a search record by name. Pair names are
// matched without regard to case ("Value", "value" and "VALUE" are one name),
// because hosts spell them as they like; attribute keys, by contrast, are
// looked up exactly.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/case_fold.h"
#include "vardel/search_query.h"

namespace VardelSearch {

/// True for a pair whose name equals the held name without regard to case.
class FindProp {
  public:
    explicit FindProp(std::wstring name) : name_(std::move(name)) {}

    bool operator()(const Vardel::PropertyData* property) const {
        return VardelCommon::EqualsNoCase(property->name, name_);
    }

  private:
    std::wstring name_;
};

/// The first pair of `record` named `name` (any case), or null.
inline const Vardel::PropertyData* FindFirstProperty(const Vardel::CSearchData& record,
                                                     const std::wstring& name) {
    const std::vector<Vardel::PropertyData*>& properties = *record.GetProperties();
    const auto found = std::find_if(properties.begin(), properties.end(), FindProp(name));
    return found == properties.end() ? nullptr : *found;
}

}  // namespace VardelSearch
