// A CSV family: its description and its table checked against each other
// and against the library, then rendered into a family document, which the
// family model evaluates for the members' values. Members take the table's
// data lines in order; their row ids are derived from the family id and the
// line's position, so they survive a rebuild.
#include <unordered_map>

#include "source/csv_description.h"
#include "source/csv_table.h"
#include "source/family_document_writer.h"
#include "source/family_readers.h"
#include "source/loaded_family.h"
#include "source/name_guid.h"
#include "source/source_file.h"
#include "source/source_readers.h"
#include "source/source_values.h"
#include "source/xml_escape.h"
#include "source/xml_source.h"
#include "vardel/family_column.h"

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
            described_.emplace(description.columns[i].column.id, i);
    }

    bool Read(std::string_view bytes) {
        CsvTable table;
        CsvError csvError;
        if (!ParseCsv(bytes, table, csvError))
            return FailAt(csvError.line, {}, csvError.what);
        if (!MatchHeader(table.header) || !CheckColumnsInHeader() || !ReadRows(table.rows))
            return false;
        AddFormulaColumns();
        MapParameters();
        family_ = std::move(description_.family);
        family_.parameterColumns = std::move(parameterColumns_);
        const std::wstring& language = index_.library().defaultLanguage;
        RenderedTrees trees;
        RenderFamilyDocuments(family_, columns_, rows_, mapped_,
                              description_.familyTemplate ? &*description_.familyTemplate : nullptr,
                              language, trees);
        return Evaluate(trees, language);
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
            const RenderedColumn& column = description_.columns[described->second].column;
            if (!column.formula.empty())
                return FailAtColumn(header.line, name,
                                    "its Column has a formula and takes no values from the table");
            position = columns_.size();
            columns_.push_back(column);
        }
        return true;
    }

    bool CheckColumnsInHeader() const {
        for (std::size_t i = 0; i < position_.size(); ++i) {
            const CsvColumn& described = description_.columns[i];
            if (position_[i] == kAbsent && described.column.formula.empty()) {
                error_ = {
                    description_.family.file, described.line, "element Column",
                    "column " + Quoted(described.column.id) + " is not in the table's header"};
                return false;
            }
        }
        return true;
    }

    bool ReadRows(std::vector<CsvRecord>& records) {
        rows_.reserve(records.size());
        for (std::size_t r = 0; r < records.size(); ++r) {
            for (std::size_t c = 0; c < records[r].fields.size(); ++c) {
                if (!CheckCell(records[r].line, columns_[c], records[r].fields[c]))
                    return false;
            }
            rows_.push_back(
                {CsvRowId(description_.family.id, r).ToString(), std::move(records[r].fields)});
        }
        return true;
    }

    bool CheckCell(int line, const RenderedColumn& column, const std::wstring& value) const {
        if (!IsXmlText(value))
            return FailAtColumn(line, column.id, "holds a character XML cannot hold");
        if (value.empty() || IsValueOfType(column.valueType, value))
            return true;
        const char* expected = column.valueType == L"boolean"   ? "true, false, 1 or 0"
                               : column.valueType == L"integer" ? "a whole number"
                                                                : "a number";
        return FailAtColumn(line, column.id, Quoted(value) + " is not " + expected);
    }

    // Formula columns follow the table's columns, in the description's order.
    void AddFormulaColumns() {
        for (const CsvColumn& described : description_.columns) {
            if (!described.column.formula.empty())
                columns_.push_back(described.column);
        }
    }

    void MapParameters() {
        for (const CsvMap& map : description_.maps) {
            parameterColumns_.push_back({map.parameter, map.column});
            mapped_.push_back({map.category, index_.FindParameter(map.parameter)->localized});
        }
    }

    // The members' values, the mappings and the texts come from the rendered
    // documents' trees through the family model, as they would from a family
    // document; a formula it refuses is the description's fault.
    bool Evaluate(const RenderedTrees& trees, const std::wstring& language) {
        const LoadedFamily model(trees.document, trees.strings, language);
        if (const auto fault = model.FindFormulaFault()) {
            const std::wstring& id = fault->column->GetColumnID();
            const CsvColumn& described = description_.columns[described_.at(id)];
            error_ = {family_.file, described.line, "element Column",
                      "column " + Quoted(id) + ": " + fault->what};
            return false;
        }
        // The description's maps and names were checked; the rendering
        // keeps them.
        family_.parameterColumns.clear();
        for (const ColumnMapping& map : model.ReadMappings())
            family_.parameterColumns.push_back({*Guid::Parse(map.parameter), map.column});
        family_.displayNames.clear();
        family_.descriptions.clear();
        model.ReadTexts(family_.displayNames, family_.descriptions);
        model.ReadMembers(family_.parameterColumns, family_.members);
        return true;
    }

    CsvDescription& description_;
    const LibraryIndex& index_;
    FamilySource& family_;
    SourceError& error_;
    static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

    // The description's columns by name and their places in the header
    // (kAbsent until found there); the rendered table's columns (the
    // header's, then the formula columns) and rows.
    std::unordered_map<std::wstring_view, std::size_t> described_;
    std::vector<std::size_t> position_;
    std::vector<RenderedColumn> columns_;
    std::vector<RenderedRow> rows_;
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
