// vardel family validate FAMILY: what a host would refuse or trip over in a
// family table, checked through the table's own validation calls:
//   formula     a column's formula fails its syntax check or IsFormulaValid
//               (circular references among them)
//   value       a member's own cell fails IsCellValueValid for its column
//   evaluation  cells that fail to evaluate, one finding per column and error
//   unique      a key (the values of every key column together) or a
//               file name that two members share
// Cells of a column whose formula fails are not evaluated again: the formula
// finding names the cause. Findings exit 1.
#include <iostream>
#include <map>
#include <optional>

#include "common/case_fold.h"
#include "family_cells.h"
#include "family_command.h"
#include "family_document.h"
#include "table_lookup.h"

namespace VardelTool {
namespace {

struct Finding {
    std::string check;
    std::wstring column;
    std::vector<std::wstring> members;
    std::optional<EvaluateResult> code;
    std::string message;
};

class Validator {
  public:
    explicit Validator(CEncapFamilyTable& table) : table_(table), columns_(TableColumns(table)) {}

    std::vector<Finding> Run() {
        for (CEncapFamilyColumn* column : columns_) {
            CheckFormula(*column);
        }
        for (CEncapFamilyColumn* column : columns_) {
            if (!failedFormulas_.contains(column)) {
                CheckCells(*column);
            }
        }
        CheckUniqueColumns();
        return std::move(findings_);
    }

  private:
    void CheckFormula(CEncapFamilyColumn& column);
    void CheckCells(CEncapFamilyColumn& column);
    void CheckUniqueColumns();
    bool HasUniqueValues(const CEncapFamilyColumn& column, const std::string& what);
    void ReportRepeats(const std::vector<CEncapFamilyColumn*>& columns, const std::string& what);

    CEncapFamilyTable& table_;
    std::vector<CEncapFamilyColumn*> columns_;
    std::set<const CEncapFamilyColumn*> failedFormulas_;
    std::vector<Finding> findings_;
};

void Validator::CheckFormula(CEncapFamilyColumn& column) {
    std::wstring formula;
    column.GetFormula(formula);
    if (formula.empty()) {
        return;
    }
    const DataTypes::ColumnFormulaType kind =
        column.IsCustom() ? DataTypes::RangeFormula : DataTypes::ExpressionFormula;
    EvaluateResult result = table_.CheckFormulaSyntax(formula.c_str(), kind, column.GetDataType(),
                                                      column.GetUnitType());
    if (result == CTableEvaluator::Success) {
        result = table_.IsFormulaValid(column.GetColumnID(), formula);
    }
    if (result != CTableEvaluator::Success) {
        failedFormulas_.insert(&column);
        findings_.push_back({"formula",
                             column.GetColumnID(),
                             {},
                             result,
                             "formula " + Quoted(Utf8(formula)) + ": " + ResultMeaning(result)});
    }
}

void Validator::CheckCells(CEncapFamilyColumn& column) {
    std::map<EvaluateResult, std::vector<std::wstring>> failures;
    for (const std::wstring& rowId : table_.GetAllRowIDs()) {
        std::wstring own;
        if (table_.GetRawValue(rowId, column.GetColumnID(), own) == 0) {
            std::wstring checked = own;
            if (!table_.IsCellValueValid(rowId, column.GetColumnID(), checked)) {
                findings_.push_back({"value",
                                     column.GetColumnID(),
                                     {rowId},
                                     std::nullopt,
                                     Quoted(Utf8(own)) + " is not a valid " + TypeName(column) +
                                         (column.IsCustom() ? " of the column's range" : "")});
                continue;
            }
        }
        const CellValue cell = EvaluateCell(table_, rowId, column.GetColumnID());
        if (!cell.ok()) {
            failures[cell.result].push_back(rowId);
        }
    }
    for (auto& [result, rows] : failures) {
        findings_.push_back({"evaluation", column.GetColumnID(), std::move(rows), result,
                             ErrorMark(result) + ": " + ResultMeaning(result)});
    }
}

// Each key column and the file-name column through HasColumnUniqueValues.
// With several key columns a member's key is their values together, so
// repeats of one of them count only when the whole key repeats.
void Validator::CheckUniqueColumns() {
    const std::vector<CEncapFamilyColumn*> keys = KeyColumns(table_);
    bool unique = true;
    for (const CEncapFamilyColumn* key : keys) {
        unique = HasUniqueValues(*key, "key") && unique;
    }
    if (!unique) {
        ReportRepeats(keys, "key");
    }
    CEncapFamilyColumn* fileName = table_.GetFamilyColumnByType(CEncapFamilyColumn::FileNameColumn);
    if (fileName != nullptr && !HasUniqueValues(*fileName, "file name")) {
        ReportRepeats({fileName}, "file name");
    }
}

// False when the column's values repeat; a column whose values cannot all
// be evaluated is a finding of its own and counts as unique.
bool Validator::HasUniqueValues(const CEncapFamilyColumn& column, const std::string& what) {
    EvaluateResult result = CTableEvaluator::Success;
    if (table_.HasColumnUniqueValues(column.GetColumnID(), result)) {
        return true;
    }
    if (result != CTableEvaluator::Success) {
        findings_.push_back({"unique",
                             column.GetColumnID(),
                             {},
                             result,
                             "cannot check the " + what + " column: " + ResultMeaning(result)});
        return true;
    }
    return false;
}

// One finding per repeated value of `columns` (file names ignoring case).
void Validator::ReportRepeats(const std::vector<CEncapFamilyColumn*>& columns,
                              const std::string& what) {
    std::wstring ids;
    for (const CEncapFamilyColumn* column : columns) {
        ids += ids.empty() ? L"" : L",";
        ids += column->GetColumnID();
    }
    const bool ignoreCase = what == "file name";
    std::map<std::wstring, std::vector<std::wstring>> rowsByValue;
    std::vector<std::wstring> repeated;
    for (const std::wstring& rowId : table_.GetAllRowIDs()) {
        const std::wstring value = KeyText(table_, rowId, columns);
        std::vector<std::wstring>& rows =
            rowsByValue[ignoreCase ? VardelCommon::ToUpper(value) : value];
        if (rows.size() == 1) {
            repeated.push_back(value);
        }
        rows.push_back(rowId);
    }
    for (const std::wstring& value : repeated) {
        findings_.push_back({"unique", ids,
                             rowsByValue[ignoreCase ? VardelCommon::ToUpper(value) : value],
                             std::nullopt, what + " " + Quoted(Utf8(value)) + " repeats"});
    }
}

// "3, 7, 9, 12, 15 and 4 more": the first members by number.
std::string MemberList(const CEncapFamilyTable& table, const std::vector<std::wstring>& members) {
    constexpr std::size_t kShown = 5;
    std::string list;
    for (std::size_t i = 0; i < members.size() && i < kShown; ++i) {
        list += (i == 0 ? "" : ", ") + std::to_string(MemberNumber(table, members[i]));
    }
    if (members.size() > kShown) {
        list += " and " + std::to_string(members.size() - kShown) + " more";
    }
    return list;
}

void PrintText(const CEncapFamilyTable& table, const std::vector<Finding>& findings) {
    if (findings.empty()) {
        std::cout << "no findings\n";
        return;
    }
    TextTable text;
    text.AddRow({"check", "column", "members", "finding"});
    for (const Finding& finding : findings) {
        text.AddRow({finding.check, Utf8(finding.column), MemberList(table, finding.members),
                     finding.message});
    }
    text.Print(std::cout);
}

Json ToJson(const CEncapFamilyTable& table, const std::vector<Finding>& findings) {
    Json list = Json::array();
    for (const Finding& finding : findings) {
        Json members = Json::array();
        for (const std::wstring& rowId : finding.members) {
            members.push_back({{"row", MemberNumber(table, rowId)}, {"id", Utf8(rowId)}});
        }
        list.push_back({{"check", finding.check},
                        {"column", Utf8(finding.column)},
                        {"members", std::move(members)},
                        {"code", finding.code ? Json(static_cast<int>(*finding.code)) : Json()},
                        {"message", finding.message}});
    }
    return {{"count", findings.size()}, {"findings", std::move(list)}};
}

}  // namespace

Status RunFamilyValidate(const FamilyOptions& options) {
    Result<FamilyDocument> document = OpenFamily(options.family, options.catalog);
    if (!document.ok()) {
        return document.failure();
    }
    Result<CEncapFamilyTable*> table = document.value().Table();
    if (!table.ok()) {
        return table.failure();
    }
    const std::vector<Finding> findings = Validator(*table.value()).Run();
    if (options.json) {
        PrintJson(ToJson(*table.value(), findings));
    } else {
        PrintText(*table.value(), findings);
    }
    if (findings.empty()) {
        return std::nullopt;
    }
    return Refused(document.value().label + ": " + std::to_string(findings.size()) +
                   (findings.size() == 1 ? " finding" : " findings"));
}

}  // namespace VardelTool
