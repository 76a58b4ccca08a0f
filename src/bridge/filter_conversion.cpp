#include "bridge/filter_conversion.h"

#include "vardel/constants.h"

namespace VardelBridge {

TarnServerProxies::Content::DBFilter convertFilter(const Vardel::FilterStruct& filter) {
    TarnServerProxies::Content::DBFilter server;
    server.filterCategoriesContent.assign(filter.categoriesContent.begin(),
                                          filter.categoriesContent.end());
    for (const auto& [key, values] : filter.propertyFilters) {
        if (key == Vardel::Constants::FAM_MANUFACTURER) {
            server.filterManufacturers.assign(values.begin(), values.end());
        } else if (key == Vardel::Constants::FAM_STANDORG) {
            server.filterStandardOrgs.assign(values.begin(), values.end());
        }
    }
    server.filterFeatures = filter.filterFeatures;
    server.filterParts = filter.filterParts;
    server.filterEmptyCategories = filter.filterEmptyCategories;
    server.filterInvisibleCategories = filter.filterInvisibleCategories;
    return server;
}

}  // namespace VardelBridge
