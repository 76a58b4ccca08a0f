#include "vardel/data_types.h"

#include <array>
#include <string_view>

#include "common/case_fold.h"

namespace {

constexpr std::array<std::wstring_view, 4> kItemNames = {L"String", L"Real", L"Integer",
                                                         L"Boolean"};
constexpr std::array<std::wstring_view, 4> kTypeNames = {L"string", L"double", L"integer",
                                                         L"boolean"};

std::unique_ptr<std::vector<std::wstring>> ToVector(const std::array<std::wstring_view, 4>& names) {
    return std::make_unique<std::vector<std::wstring>>(names.begin(), names.end());
}

template <typename Equal>
DataTypes::ColumnDataType FindName(const std::array<std::wstring_view, 4>& names,
                                   std::wstring_view name, Equal equal) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (equal(names[i], name)) {
            return static_cast<DataTypes::ColumnDataType>(i);
        }
    }
    return DataTypes::String;
}

std::wstring NameOf(const std::array<std::wstring_view, 4>& names, DataTypes::ColumnDataType type) {
    const auto index = static_cast<std::size_t>(type);
    return type >= 0 && index < names.size() ? std::wstring(names[index]) : std::wstring{};
}

}  // namespace

std::unique_ptr<std::vector<std::wstring>> DataTypes::GetItems() {
    return ToVector(kItemNames);
}

std::unique_ptr<std::vector<std::wstring>> DataTypes::GetTypes() {
    return ToVector(kTypeNames);
}

DataTypes::ColumnDataType DataTypes::DataTypeStr2Num(const std::wstring& name) {
    return FindName(kTypeNames, name, VardelCommon::EqualsNoCase);
}

DataTypes::ColumnDataType DataTypes::ItemTypeStr2Num(const std::wstring& name) {
    return FindName(kItemNames, name, std::equal_to<std::wstring_view>{});
}

std::wstring DataTypes::DataTypeNum2Str(ColumnDataType type) {
    return NameOf(kTypeNames, type);
}

std::wstring DataTypes::ItemTypeNum2Str(ColumnDataType type) {
    return NameOf(kItemNames, type);
}
