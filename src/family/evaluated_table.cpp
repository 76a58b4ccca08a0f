// CEncapFamilyTable::GetEvaluatedXml: the table element as a document of
// its own in which every cell holds its evaluated value and every row is
// completed with the cells it lacks.
//
// Tables run to thousands of rows, so the text is written in one pass
// straight from the table element (no copy of it, no edits, no UTF-8 text
// in between), a cell's column is the expected one or found by hashing its
// id once, a plain cell of its column is written from the column's tags
// made once, a row's cached values are viewed once, and which columns a row
// already has is one flag per column position.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/case_fold.h"
#include "common/huge_pages.h"
#include "eval/value_store.h"
#include "vardel/family_table.h"
#include "xml/element_writer.h"

namespace {

using VardelXml::NodeHandle;

// The positions of the table's columns by id, matched as cells are matched
// to columns everywhere: the exact id first, then the first column equal to
// it ignoring case.
class ColumnPositions {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit ColumnPositions(const std::vector<std::wstring>& ids) : ids_(ids) {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            exact_.emplace(ids[i], i);
            folded_.emplace(VardelCommon::ToUpper(ids[i]), i);
        }
        for (std::size_t i = 0; i < ids.size(); ++i) {
            firstOfItsId_.push_back(exact_.at(ids[i]) == i);
        }
    }

    /// Whether `position` is a column's and no column before it has its id:
    /// a cell with that id is the column's.
    bool IsFirstOfItsId(std::size_t position) const {
        return position < ids_.size() && firstOfItsId_[position];
    }

    /// kNone when no column has the id.
    std::size_t Find(const std::wstring& id) const {
        if (const auto found = exact_.find(id); found != exact_.end()) {
            return found->second;
        }
        const auto found = folded_.find(VardelCommon::ToUpper(id));
        return found != folded_.end() ? found->second : kNone;
    }

  private:
    const std::vector<std::wstring>& ids_;
    std::vector<bool> firstOfItsId_;
    std::unordered_map<std::wstring, std::size_t> exact_;
    std::unordered_map<std::wstring, std::size_t> folded_;
};

// Writes the rows of a table with their values: a cell of a known column
// gets its value when the column gives one that differs from its text
// (most cells hold their value already and are written as they are), a row
// gets a cell for every column it lacks that gives a value, and everything
// else is written as it is. Fails on a row or cell without its id.
class EvaluatedRows {
  public:
    EvaluatedRows(const std::vector<std::wstring>& ids, std::vector<CEncapFamilyColumn*> columns,
                  std::wstring language, const CValueStore& store, VardelXml::ElementWriter& writer)
        : ids_(ids),
          columns_(std::move(columns)),
          positions_(ids),
          language_(std::move(language)),
          store_(store),
          writer_(writer),
          hasCell_(columns_.size()),
          rowValues_(columns_.size()),
          languageNumber_(store.LanguageNumber(language_)) {
        for (std::size_t position = 0; position < ids_.size(); ++position) {
            columnNumbers_.push_back(store.ColumnNumber(ids_[position]));
            NotePosition(position);
            cellTags_.push_back(
                VardelXml::ElementWriter::MakeLeafTags(L"Cell", L"ColumnId", ids_[position]));
        }
    }

    bool Write(NodeHandle rows) {
        writer_.Open(rows);
        for (NodeHandle child = rows.FirstChild(); child; child = child.Next()) {
            if (!child.IsElement("Row")) {
                writer_.Write(child);
            } else if (!WriteRow(child)) {
                return false;
            }
        }
        writer_.Close();
        return true;
    }

  private:
    bool WriteRow(NodeHandle row) {
        if (!row.Attribute("RowId", rowId_)) {
            return false;
        }
        writer_.Open(row);
        rowCache_ = store_.RowCache(rowId_);
        ViewRowValues();
        std::fill(hasCell_.begin(), hasCell_.end(), 0);
        nextColumn_ = 0;
        for (NodeHandle child = row.FirstChild(); child; child = child.Next()) {
            if (!child.IsElement("Cell")) {
                writer_.Write(child);
            } else if (!WriteCell(child)) {
                return false;
            }
        }
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (!hasCell_[i] && GetValue(i)) {
                WriteNewCell(i);
            }
        }
        writer_.Close();
        return true;
    }

    bool WriteCell(NodeHandle cell) {
        std::size_t position = nextColumn_;
        // Cells mostly follow the columns' order: the id of the column
        // expected next compares with the cell's without reading it out.
        const bool expectedColumn = positions_.IsFirstOfItsId(position);
        const bool plain = expectedColumn && cell.IsPlainLeafWith("ColumnId", ids_[position]);
        if (!plain && !(expectedColumn && cell.AttributeIs("ColumnId", ids_[position]))) {
            if (!cell.Attribute("ColumnId", columnId_)) {
                return false;
            }
            position = positions_.Find(columnId_);
        }
        if (position == ColumnPositions::kNone) {
            writer_.Write(cell);
            return true;
        }
        hasCell_[position] = 1;
        nextColumn_ = position + 1;
        if (!GetValue(position)) {
            writer_.Write(cell);
        } else if (plain && HasSomeText(current_)) {
            // Written with the text or with its own, the cell comes out as a
            // new cell of its column with the value.
            writer_.WriteLeaf(cellTags_[position], current_);
        } else if (!cell.HasText(current_)) {
            writer_.WriteWithText(cell, current_);
        } else {
            writer_.Write(cell);
        }
        return true;
    }

    // Stored text ends at a NUL.
    static bool HasSomeText(std::wstring_view text) { return !text.empty() && text[0] != L'\0'; }

    void WriteNewCell(std::size_t position) {
        if (HasSomeText(current_)) {
            writer_.WriteLeaf(cellTags_[position], current_);
        } else {
            writer_.WriteNew(L"Cell", current_, L"ColumnId", ids_[position]);
        }
    }

    // Remembers which position the column number of `position` stands for.
    void NotePosition(std::size_t position) {
        const std::uint32_t number = columnNumbers_[position];
        if (number == VardelEval::IdTable::kNone) {
            return;
        }
        if (number >= positionOfNumber_.size()) {
            positionOfNumber_.resize(number + 1, ColumnPositions::kNone);
        }
        positionOfNumber_[number] = position;
    }

    // The row's cached values by column position, visited once per row.
    void ViewRowValues() {
        std::fill(rowValues_.begin(), rowValues_.end(), std::nullopt);
        viewsValid_ = rowCache_ != nullptr && languageNumber_ != VardelEval::IdTable::kNone;
        if (!viewsValid_) {
            return;
        }
        rowCache_->VisitValues(languageNumber_,
                               [this](std::uint32_t number, std::wstring_view value) {
                                   if (number < positionOfNumber_.size() &&
                                       positionOfNumber_[number] != ColumnPositions::kNone) {
                                       rowValues_[positionOfNumber_[number]] = value;
                                   }
                               });
    }

    // The column's value into current_ as the column's GetValue gives it,
    // viewed in the value cache when held there (a table read again holds
    // every value), which spares hashing the row, column and language ids
    // and copying the value for each cell.
    bool GetValue(std::size_t position) {
        if (viewsValid_) {
            if (rowValues_[position]) {
                current_ = *rowValues_[position];
                return true;
            }
        } else if (rowCache_ != nullptr) {
            if (const auto cached =
                    rowCache_->FindValue(languageNumber_, columnNumbers_[position])) {
                current_ = *cached;
                return true;
            }
        }
        const bool computed =
            columns_[position]->GetValue(rowId_, language_, value_) == CTableEvaluator::Success;
        current_ = value_;
        // Computing changes the row's cache, which the views may no longer
        // match, and may have given the row its cache, or the column or the
        // language its number.
        viewsValid_ = false;
        if (rowCache_ == nullptr) {
            rowCache_ = store_.RowCache(rowId_);
        }
        if (languageNumber_ == VardelEval::IdTable::kNone) {
            languageNumber_ = store_.LanguageNumber(language_);
        }
        if (columnNumbers_[position] == VardelEval::IdTable::kNone) {
            columnNumbers_[position] = store_.ColumnNumber(ids_[position]);
            NotePosition(position);
        }
        return computed;
    }

    const std::vector<std::wstring>& ids_;
    const std::vector<CEncapFamilyColumn*> columns_;
    const ColumnPositions positions_;
    const std::wstring language_;
    const CValueStore& store_;
    VardelXml::ElementWriter& writer_;
    std::vector<char> hasCell_;
    // By column position: the tags of a cell of the column.
    std::vector<VardelXml::ElementWriter::LeafTags> cellTags_;
    std::size_t nextColumn_ = 0;  // the column the next cell most likely has
    // The current row's values in the value cache, and the numbers they
    // are kept under.
    const CValueCacheLoc* rowCache_ = nullptr;
    std::vector<std::uint32_t> columnNumbers_;   // by column position
    std::vector<std::size_t> positionOfNumber_;  // by column number
    // By column position while viewsValid_: the row's value in its cache.
    std::vector<std::optional<std::wstring_view>> rowValues_;
    bool viewsValid_ = false;
    std::uint32_t languageNumber_;
    // Reused for every row and cell.
    std::wstring rowId_;
    std::wstring columnId_;
    std::wstring value_;
    // The value GetValue found: in the row's cache or in value_, valid until
    // the next call.
    std::wstring_view current_;
};

// A generous guess of the text's length, so that it is not moved while it
// grows: pages reserved but never written cost no memory.
std::size_t ExpectedLength(std::size_t rows, std::size_t columns) {
    constexpr std::size_t kPerCell = 48;
    return 4096 + rows * (columns + 1) * kPerCell;
}

}  // namespace

bool CEncapFamilyTable::GetEvaluatedXml(std::wstring& xml) {
    std::wstring text;
    text.reserve(ExpectedLength(rowIds_.size(), columnIds_.size()));
    VardelCommon::AdviseHugePages(text.data(), text.capacity() * sizeof(wchar_t));
    VardelXml::ElementWriter writer(node_, "UTF-16", text);
    const NodeHandle table = writer.Root();
    if (!table) {
        return false;
    }
    std::wstring language;
    GetActualLanguage(language);
    std::vector<CEncapFamilyColumn*> columns;
    columns.reserve(columnIds_.size());
    for (const std::wstring& id : columnIds_) {
        columns.push_back(ColumnInOrder(id));
    }
    EvaluatedRows rows(columnIds_, std::move(columns), std::move(language), GetValueStore(),
                       writer);
    writer.Open(table);
    bool rowsSeen = false;
    for (NodeHandle child = table.FirstChild(); child; child = child.Next()) {
        // Only the first "Rows" holds the table's rows.
        if (!rowsSeen && child.IsElement("Rows")) {
            rowsSeen = true;
            if (!rows.Write(child)) {
                return false;
            }
        } else {
            writer.Write(child);
        }
    }
    writer.Close();
    writer.Finish();
    xml.swap(text);
    return true;
}
