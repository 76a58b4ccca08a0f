// CEncapFamilyTable::GetEvaluatedXml: a copy of the table element in a
// document of its own in which every cell holds its evaluated value and
// every row is completed with the cells it lacks.
//
// Tables run to thousands of rows, so the copy is walked directly (no XPath
// per row or cell), a cell's column is found by hashing its id once, and
// which columns a row already has is one flag per column position.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/case_fold.h"
#include "vardel/family_table.h"
#include "vardel/xml_parser.h"
#include "xml/element_copy.h"
#include "xml/element_scan.h"

namespace {

// The positions of the table's columns by id, matched as cells are matched
// to columns everywhere: the exact id first, then the first column equal to
// it ignoring case.
class ColumnPositions {
  public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit ColumnPositions(const std::vector<std::wstring>& ids) {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            exact_.emplace(ids[i], i);
            folded_.emplace(VardelCommon::ToUpper(ids[i]), i);
        }
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
    std::unordered_map<std::wstring, std::size_t> exact_;
    std::unordered_map<std::wstring, std::size_t> folded_;
};

}  // namespace

bool CEncapFamilyTable::GetEvaluatedXml(std::wstring& xml) {
    XMLParser document;
    if (!VardelXml::CopyElementAsDocument(node_, document) ||
        !document.CreateXmlDocument(L"UTF-16")) {
        return false;
    }
    std::wstring language;
    GetActualLanguage(language);
    std::vector<CEncapFamilyColumn*> columns;
    columns.reserve(columnIds_.size());
    for (const std::wstring& id : columnIds_) {
        columns.push_back(ColumnInOrder(id));
    }
    const ColumnPositions positions(columnIds_);
    std::vector<char> hasCell(columns.size());
    std::wstring rowId;
    std::wstring columnId;
    std::wstring value;
    std::wstring text;
    const XMLNode rows = VardelXml::FindChild(document.GetRootNode(), "Rows");
    for (XMLNode& row : VardelXml::ElementsAtPath(rows, {"Row"})) {
        if (!row.GetProperty(L"RowId", rowId)) {
            return false;
        }
        std::fill(hasCell.begin(), hasCell.end(), 0);
        for (XMLNode& cell : VardelXml::ElementsAtPath(row, {"Cell"})) {
            if (!cell.GetProperty(L"ColumnId", columnId)) {
                return false;
            }
            const std::size_t position = positions.Find(columnId);
            if (position == ColumnPositions::kNone) {
                continue;
            }
            hasCell[position] = 1;
            // Most cells hold their value already; leaving them spares
            // encoding and storing the same text again.
            if (columns[position]->GetValue(rowId, language, value) == CTableEvaluator::Success &&
                (!VardelXml::ReadText(cell, text) || text != value)) {
                cell.SetNodeText(value);
            }
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (!hasCell[i] &&
                columns[i]->GetValue(rowId, language, value) == CTableEvaluator::Success) {
                row.AddNode(L"Cell", value.c_str(), L"ColumnId", columnIds_[i].c_str());
            }
        }
    }
    return document.GetXml(xml);
}
