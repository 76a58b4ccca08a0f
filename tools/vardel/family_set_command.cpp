// vardel family set FILE ROW COLUMN VALUE -o OUT, and with --formula
// FILE COLUMN FORMULA: one scripted edit of a family document file, checked
// by the table before anything is written (IsCellValueValid for a value,
// IsFormulaValid and then SetFormula's own result for a formula). A refused
// edit writes nothing; an accepted one saves the whole family document to
// OUT atomically, so OUT may be FILE. Strings files are neither changed nor
// copied.
#include <iostream>

#include "family_cells.h"
#include "family_command.h"
#include "family_document.h"
#include "table_lookup.h"

namespace VardelTool {
namespace {

std::string Shown(const RawCell& cell) {
    std::string text = cell.fromFormula ? "=" : "";
    text += Utf8(cell.text);
    return Quoted(text);
}

// An empty value removes the member's own cell, so that the column's
// formula applies again; any other value must fit the column, and an
// expression in a number column is stored as its number.
Result<std::string> SetValue(CEncapFamilyTable& table, const FamilyOptions& options) {
    Result<std::wstring> row = FindMember(table, options.edit[0]);
    if (!row.ok()) {
        return row.failure();
    }
    Result<CEncapFamilyColumn*> column = FindColumn(table, options.edit[1]);
    if (!column.ok()) {
        return column.failure();
    }
    const std::wstring& columnId = column.value()->GetColumnID();
    std::wstring value = Wide(options.edit[2]);
    if (!value.empty() && !table.IsCellValueValid(row.value(), columnId, value)) {
        return Refused(Quoted(options.edit[2]) + " is not a valid " + TypeName(*column.value()) +
                       " for column " + Quoted(Utf8(columnId)) + "; nothing written");
    }
    const RawCell before = ReadRawCell(table, row.value(), *column.value());
    table.SetValue(row.value(), columnId, value, true);
    return "member " + std::to_string(MemberNumber(table, row.value())) + ", column " +
           Utf8(columnId) + ": " + Shown(before) + " -> " +
           Shown(ReadRawCell(table, row.value(), *column.value()));
}

// An empty formula makes the column plain.
Result<std::string> SetFormula(CEncapFamilyTable& table, const FamilyOptions& options) {
    Result<CEncapFamilyColumn*> column = FindColumn(table, options.edit[0]);
    if (!column.ok()) {
        return column.failure();
    }
    const std::wstring formula = Wide(options.edit[1]);
    std::wstring before;
    column.value()->GetFormula(before);
    EvaluateResult result = CTableEvaluator::Success;
    if (formula.empty()) {
        result = column.value()->SetEmptyFormula();
    } else {
        result = table.IsFormulaValid(column.value()->GetColumnID(), formula);
        if (result == CTableEvaluator::Success) {
            result = column.value()->SetFormula(formula);
        }
    }
    if (result != CTableEvaluator::Success) {
        return Refused("formula " + Quoted(options.edit[1]) + " refused for column " +
                       Quoted(Utf8(column.value()->GetColumnID())) + ": " + ResultMeaning(result) +
                       "; nothing written");
    }
    return "column " + Utf8(column.value()->GetColumnID()) + ": formula " + Quoted(Utf8(before)) +
           " -> " + Quoted(options.edit[1]);
}

Status CheckArguments(const FamilyOptions& options) {
    if (options.edit.size() != (options.formula ? 2u : 3u)) {
        return UsageError(options.formula ? "set --formula takes FILE COLUMN FORMULA"
                                          : "set takes FILE ROW COLUMN VALUE");
    }
    if (!IsFamilyFile(options.family)) {
        return UsageError("set changes a family document file (*.xml), not " +
                          Quoted(options.family) + " (see vardel family export)");
    }
    return CheckOutputFile(options.output);
}

}  // namespace

Status RunFamilySet(const FamilyOptions& options) {
    if (Status failed = CheckArguments(options)) {
        return failed;
    }
    Result<FamilyDocument> document =
        OpenFamilyFile(options.family, Wide(options.catalog.language));
    if (!document.ok()) {
        return document.failure();
    }
    Result<CEncapFamilyTable*> table = document.value().Table();
    if (!table.ok()) {
        return table.failure();
    }
    Result<std::string> change =
        options.formula ? SetFormula(*table.value(), options) : SetValue(*table.value(), options);
    if (!change.ok()) {
        return change.failure();
    }
    const std::filesystem::path output(options.output);
    if (!document.value().family->SaveFamilyXML(output.wstring().c_str())) {
        return Refused("cannot write " + options.output);
    }
    std::cout << Printable(change.value()) << '\n';
    return std::nullopt;
}

}  // namespace VardelTool
