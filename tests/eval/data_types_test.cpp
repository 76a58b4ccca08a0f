// DataTypes: the column-type vocabulary.
#include "vardel/data_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DataTypes, NameListsAreInValueOrder) {
    EXPECT_EQ(*DataTypes::GetItems(),
              (std::vector<std::wstring>{L"String", L"Real", L"Integer", L"Boolean"}));
    EXPECT_EQ(*DataTypes::GetTypes(),
              (std::vector<std::wstring>{L"string", L"double", L"integer", L"boolean"}));
}

TEST(DataTypes, TypeNamesIgnoreCaseItemNamesDoNot) {
    EXPECT_EQ(DataTypes::DataTypeStr2Num(L"DOUBLE"), DataTypes::Real);
    EXPECT_EQ(DataTypes::DataTypeStr2Num(L"Boolean"), DataTypes::Boolean);
    EXPECT_EQ(DataTypes::DataTypeStr2Num(L"Real"), DataTypes::String);
    EXPECT_EQ(DataTypes::DataTypeStr2Num(L""), DataTypes::String);
    EXPECT_EQ(DataTypes::ItemTypeStr2Num(L"Integer"), DataTypes::Integer);
    EXPECT_EQ(DataTypes::ItemTypeStr2Num(L"real"), DataTypes::String);
    EXPECT_EQ(DataTypes::ItemTypeStr2Num(L"double"), DataTypes::String);
}

TEST(DataTypes, NumbersOutsideTheEnumerationHaveNoName) {
    EXPECT_EQ(DataTypes::DataTypeNum2Str(DataTypes::Integer), L"integer");
    EXPECT_EQ(DataTypes::ItemTypeNum2Str(DataTypes::Boolean), L"Boolean");
    EXPECT_EQ(DataTypes::DataTypeNum2Str(static_cast<DataTypes::ColumnDataType>(4)), L"");
    EXPECT_EQ(DataTypes::ItemTypeNum2Str(static_cast<DataTypes::ColumnDataType>(-1)), L"");
    for (int type = 0; type < 4; ++type) {
        const auto value = static_cast<DataTypes::ColumnDataType>(type);
        EXPECT_EQ(DataTypes::DataTypeStr2Num(DataTypes::DataTypeNum2Str(value)), value);
        EXPECT_EQ(DataTypes::ItemTypeStr2Num(DataTypes::ItemTypeNum2Str(value)), value);
    }
}

}  // namespace
