// A CSV family: its description and its table checked against each other
// and against the library, then rendered into a family document. Members
// take the table's data lines in order; their row ids are derived from the
// family id and the line's position, so they survive a rebuild.
#include <unordered_map>

#include "source/csv_description.h"
#include "source/csv_table.h"
#include "source/family_document_writer.h"
#include "source/family_readers.h"
#include "source/name_guid.h"
#include "source/source_file.h"
#include "source/source_readers.h"
#include "source/source_values.h"
#include "source/xml_escape.h"
#include "source/xml_source.h"

namespace VardelCatalog {
namespace {

bool IsXmlText(std::wstring_view text) {
    for (const wchar_t c : text) {
        if (!IsXmlCharacter(static_cast<char32_t>(c)))
            return false;
    }
    return true;
}

std::string Quoted(std::wstring_view text) {
    return '"' + Narrow(text) + '"';
}

class TableReader {
  public:
    TableReader(CsvDescription& description, const LibraryIndex& index, FamilySource& family,
                SourceError& error)
        : description_(description),
          index_(index),
          family_(family),
          error_(error),
          position_(description.columns.size(), kAbsent) {
        for (std::size_t i = 0; i < description.columns.size(); ++i)
            described_.emplace(description.columns[i].name, i);
    }

    bool Read(std::string_view bytes) {
        CsvTable table;
        CsvError csvError;
        if (!ParseCsv(bytes, table, csvError))
            return FailAt(csvError.line, {}, csvError.what);
        if (!MatchHeader(table.header) || !CheckColumnsInHeader() || !ReadMembers(table.rows))
            return false;
        MapParameters();
        family_ = std::move(description_.family);
        family_.columns = std::move(columns_);
        family_.members = std::move(members_);
        family_.parameterColumns = std::move(parameterColumns_);
        RenderFamilyDocuments(family_, looks_, mapped_, index_.library().defaultLanguage);
        return true;
    }

  private:
    bool FailAt(int line, std::string where, std::string what) const {
        error_ = {description_.table, line, std::move(where), std::move(what)};
        return false;
    }

    bool FailAtColumn(int line, std::wstring_view column, std::string what) const {
        return FailAt(line, "column " + Quoted(column), std::move(what));
    }

    bool MatchHeader(const CsvRecord& header) {
        for (const std::wstring& name : header.fields) {
            const auto described = described_.find(name);
            if (described == described_.end())
                return FailAtColumn(header.line, name, "no Column of the description describes it");
            std::size_t& position = position_[described->second];
            if (position != kAbsent)
                return FailAtColumn(header.line, name, "the header names it twice");
            if (!IsXmlText(name))
                return FailAtColumn(header.line, name, "holds a character XML cannot hold");
            position = order_.size();
            CsvColumn& column = description_.columns[described->second];
            order_.push_back(&column);
            columns_.push_back({column.name, column.valueType, column.unit, {}});
            looks_.push_back({std::move(column.titles), column.keyWeight, column.hidden});
        }
        return true;
    }

    bool CheckColumnsInHeader() const {
        for (std::size_t i = 0; i < position_.size(); ++i) {
            if (position_[i] == kAbsent) {
                const CsvColumn& column = description_.columns[i];
                error_ = {description_.family.file, column.line, "element Column",
                          "column " + Quoted(column.name) + " is not in the table's header"};
                return false;
            }
        }
        return true;
    }

    bool ReadMembers(std::vector<CsvRecord>& rows) {
        members_.reserve(rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t c = 0; c < rows[r].fields.size(); ++c) {
                if (!CheckCell(rows[r].line, *order_[c], rows[r].fields[c]))
                    return false;
            }
            members_.push_back(
                {CsvRowId(description_.family.id, r).ToString(), std::move(rows[r].fields)});
        }
        return true;
    }

    bool CheckCell(int line, const CsvColumn& column, const std::wstring& value) const {
        if (!IsXmlText(value))
            return FailAtColumn(line, column.name, "holds a character XML cannot hold");
        if (value.empty() || IsValueOfType(column.valueType, value))
            return true;
        const char* expected = column.valueType == L"boolean"   ? "true, false, 1 or 0"
                               : column.valueType == L"integer" ? "a whole number"
                                                                : "a number";
        return FailAtColumn(line, column.name, Quoted(value) + " is not " + expected);
    }

    void MapParameters() {
        for (const CsvMap& map : description_.maps) {
            const std::size_t column = position_[described_.at(map.column)];
            parameterColumns_.push_back({map.parameter, column});
            mapped_.push_back({map.category, index_.FindParameter(map.parameter)->localized});
        }
    }

    CsvDescription& description_;
    const LibraryIndex& index_;
    FamilySource& family_;
    SourceError& error_;
    static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

    // The description's columns by name, their places in the header
    // (kAbsent until found there), and they in the header's order.
    std::unordered_map<std::wstring_view, std::size_t> described_;
    std::vector<std::size_t> position_;
    std::vector<CsvColumn*> order_;
    std::vector<ColumnSource> columns_;
    std::vector<ColumnLook> looks_;
    std::vector<MemberSource> members_;
    std::vector<ParameterColumn> parameterColumns_;
    std::vector<MappedParameter> mapped_;
};

bool ReadTable(CsvDescription& description, std::string_view table, const LibraryIndex& index,
               FamilySource& family, SourceError& error) {
    return TableReader(description, index, family, error).Read(table);
}

}  // namespace

bool ParseCsvFamily(std::string_view description, std::string_view table,
                    const std::filesystem::path& file, const LibraryIndex& index,
                    FamilySource& family, SourceError& error) {
    CsvDescription read;
    return ParseCsvDescription(description, file, index, read, error) &&
           ReadTable(read, table, index, family, error);
}

bool ReadCsvFamily(const std::filesystem::path& file, const LibraryIndex& index,
                   FamilySource& family, SourceError& error) {
    std::string bytes;
    CsvDescription description;
    return ReadSourceFile(file, bytes, error) &&
           ParseCsvDescription(bytes, file, index, description, error) &&
           ReadSourceFile(description.table, bytes, error) &&
           ReadTable(description, bytes, index, family, error);
}

}  // namespace VardelCatalog
