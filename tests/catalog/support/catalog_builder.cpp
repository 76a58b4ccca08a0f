#include "catalog/support/catalog_builder.h"

#include <cstdio>

#include "store/catalog_writer.h"
#include "store/sqlite_database.h"

namespace VardelCatalogTest {

Guid TestGuid(unsigned n) {
    wchar_t text[40];
    std::swprintf(text, 40, L"00000000-0000-0000-0000-%012x", n);
    return *Guid::Parse(text);
}

LibrarySource Library(const std::wstring& name, unsigned id) {
    LibrarySource library;
    library.name = name;
    library.id = TestGuid(id);
    library.defaultLanguage = L"en-us";
    library.lastModified = L"2024-01-01T00:00:00Z";
    return library;
}

CategorySource Category(unsigned id, const std::wstring& name,
                        std::vector<CategorySource> children) {
    CategorySource category;
    category.id = TestGuid(id);
    category.names[L"en-us"] = name;
    category.lastModified = L"2024-01-01T00:00:00Z";
    category.revisionId = TestGuid(id + 0x100000);
    category.children = std::move(children);
    return category;
}

ParameterSource Parameter(unsigned id, const std::wstring& name, const std::wstring& valueType) {
    ParameterSource parameter;
    parameter.id = TestGuid(id);
    parameter.names[L"en-us"] = name;
    parameter.valueType = valueType;
    return parameter;
}

FamilySource Family(unsigned id, const std::wstring& name, const std::vector<unsigned>& categories,
                    const std::wstring& lastModified) {
    FamilySource family;
    family.id = TestGuid(id);
    family.displayNames[L"en-us"] = name;
    family.lastModified = lastModified;
    family.revisionId = TestGuid(id + 0x200000);
    for (unsigned category : categories) {
        family.categories.push_back(TestGuid(category));
    }
    family.document = "<Family/>";
    return family;
}

void AddTable(FamilySource& family, const std::vector<std::wstring>& columns,
              const std::vector<unsigned>& parameters,
              const std::vector<std::vector<std::wstring>>& rows) {
    std::vector<std::size_t> mapped;
    for (std::size_t i = 0; i < columns.size() && i < parameters.size(); ++i) {
        if (parameters[i] != 0) {
            family.parameterColumns.push_back({TestGuid(parameters[i]), columns[i]});
            mapped.push_back(i);
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        VardelCatalog::MemberSource member{L"r" + std::to_wstring(r), {}};
        for (const std::size_t column : mapped) {
            member.values.push_back(column < rows[r].size() ? rows[r][column] : L"");
        }
        family.members.push_back(std::move(member));
    }
}

std::filesystem::path WriteCatalog(const std::filesystem::path& file,
                                   const std::vector<TestLibrary>& libraries) {
    std::filesystem::remove(file);
    auto database = VardelCatalog::CreateSqliteDatabase(file);
    database->Begin();
    VardelCatalog::CatalogWriter writer(*database);
    for (const TestLibrary& library : libraries) {
        writer.AddLibrary(library.library);
        for (const FamilySource& family : library.families) {
            writer.AddFamily(family);
        }
    }
    writer.Finish();
    database->Commit();
    return file;
}

std::vector<std::string> QueryRows(VardelCatalog::Database& database, std::string_view sql,
                                   int columns) {
    auto statement = database.Prepare(sql);
    std::vector<std::string> rows;
    while (statement->Step()) {
        std::string row;
        for (int column = 0; column < columns; ++column) {
            row += column == 0 ? "" : "|";
            row += statement->IsNull(column) ? "NULL" : std::string(statement->ColumnText(column));
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace VardelCatalogTest
