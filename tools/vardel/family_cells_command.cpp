// vardel family table|eval FAMILY: the cells of the chosen members and
// columns, as stored (a member's own cell, else the column's formula) or as
// the family's table evaluates them. Text is one line per member: its
// number, the cells, its row id; failed evaluations show their mark and a
// legend below says what each mark means.
#include <iostream>
#include <map>

#include "family_cells.h"
#include "family_command.h"
#include "family_document.h"
#include "table_lookup.h"

namespace VardelTool {
namespace {

// What a command prints: the family and its chosen columns and members.
struct Selection {
    FamilyDocument document;
    CEncapFamilyTable* table = nullptr;
    std::vector<CEncapFamilyColumn*> columns;
    std::vector<std::wstring> members;
};

Result<Selection> Select(const FamilyOptions& options) {
    Result<FamilyDocument> document = OpenFamily(options.family, options.catalog);
    if (!document.ok()) {
        return document.failure();
    }
    Result<CEncapFamilyTable*> table = document.value().Table();
    if (!table.ok()) {
        return table.failure();
    }
    Result<std::vector<CEncapFamilyColumn*>> columns = PickColumns(*table.value(), options.columns);
    if (!columns.ok()) {
        return columns.failure();
    }
    Result<std::vector<std::wstring>> members = PickMembers(*table.value(), options.members);
    if (!members.ok()) {
        return members.failure();
    }
    return Selection{std::move(document.value()), table.value(), std::move(columns.value()),
                     std::move(members.value())};
}

// A text cell of one member and column.
using CellText = std::string (*)(Selection& selection, const std::wstring& rowId,
                                 const CEncapFamilyColumn& column);

void PrintTable(Selection& selection, CellText cellText) {
    TextTable table;
    std::vector<std::string> header{"#"};
    for (const CEncapFamilyColumn* column : selection.columns) {
        header.push_back(Utf8(column->GetColumnID()));
    }
    header.push_back("member id");
    table.AddRow(std::move(header));
    for (const std::wstring& rowId : selection.members) {
        std::vector<std::string> row{std::to_string(MemberNumber(*selection.table, rowId))};
        for (const CEncapFamilyColumn* column : selection.columns) {
            row.push_back(cellText(selection, rowId, *column));
        }
        row.push_back(Utf8(rowId));
        table.AddRow(std::move(row));
    }
    table.Print(std::cout);
}

std::string RawText(Selection& selection, const std::wstring& rowId,
                    const CEncapFamilyColumn& column) {
    const RawCell cell = ReadRawCell(*selection.table, rowId, column);
    std::string text = cell.fromFormula ? "=" : "";
    text += Utf8(cell.text);
    return text;
}

std::string EvaluatedText(Selection& selection, const std::wstring& rowId,
                          const CEncapFamilyColumn& column) {
    return ShownValue(EvaluateCell(*selection.table, rowId, column.GetColumnID()));
}

Json SelectionJson(const Selection& selection) {
    Json columns = Json::array();
    for (const CEncapFamilyColumn* column : selection.columns) {
        columns.push_back(ColumnJson(*column));
    }
    return {{"columns", std::move(columns)}, {"members", Json::array()}};
}

Json MemberJson(const Selection& selection, const std::wstring& rowId) {
    return {{"row", MemberNumber(*selection.table, rowId)}, {"id", Utf8(rowId)}};
}

// The marks met in `selection` with their meaning and how often.
void PrintLegend(Selection& selection) {
    std::map<EvaluateResult, std::size_t> counts;
    for (const std::wstring& rowId : selection.members) {
        for (const CEncapFamilyColumn* column : selection.columns) {
            const CellValue cell = EvaluateCell(*selection.table, rowId, column->GetColumnID());
            if (!cell.ok()) {
                ++counts[cell.result];
            }
        }
    }
    if (counts.empty()) {
        return;
    }
    std::cout << "Errors\n";
    TextTable legend;
    for (const auto& [result, count] : counts) {
        legend.AddRow({ErrorMark(result), ResultMeaning(result),
                       std::to_string(count) + (count == 1 ? " cell" : " cells")});
    }
    legend.Print(std::cout, 2);
}

Json EvaluatedJson(Selection& selection) {
    Json document = SelectionJson(selection);
    for (const std::wstring& rowId : selection.members) {
        Json member = MemberJson(selection, rowId);
        Json values = Json::object();
        Json errors = Json::object();
        for (const CEncapFamilyColumn* column : selection.columns) {
            const CellValue cell = EvaluateCell(*selection.table, rowId, column->GetColumnID());
            const std::string id = Utf8(column->GetColumnID());
            if (cell.ok()) {
                values[id] = Utf8(cell.text);
            } else {
                errors[id] = {{"error", ErrorMark(cell.result)},
                              {"code", static_cast<int>(cell.result)},
                              {"message", ResultMeaning(cell.result)}};
            }
        }
        member["values"] = std::move(values);
        member["errors"] = std::move(errors);
        document["members"].push_back(std::move(member));
    }
    return document;
}

Json RawJson(const Selection& selection) {
    Json document = SelectionJson(selection);
    for (const std::wstring& rowId : selection.members) {
        Json member = MemberJson(selection, rowId);
        Json cells = Json::object();
        for (const CEncapFamilyColumn* column : selection.columns) {
            std::wstring text;
            if (selection.table->GetRawValue(rowId, column->GetColumnID(), text) == 0) {
                cells[Utf8(column->GetColumnID())] = Utf8(text);
            }
        }
        member["cells"] = std::move(cells);
        document["members"].push_back(std::move(member));
    }
    return document;
}

}  // namespace

Status RunFamilyTable(const FamilyOptions& options) {
    Result<Selection> selection = Select(options);
    if (!selection.ok()) {
        return selection.failure();
    }
    if (options.json) {
        PrintJson(RawJson(selection.value()));
    } else {
        PrintTable(selection.value(), &RawText);
    }
    return std::nullopt;
}

Status RunFamilyEval(const FamilyOptions& options) {
    Result<Selection> selection = Select(options);
    if (!selection.ok()) {
        return selection.failure();
    }
    if (options.json) {
        PrintJson(EvaluatedJson(selection.value()));
    } else {
        PrintTable(selection.value(), &EvaluatedText);
        PrintLegend(selection.value());
    }
    return std::nullopt;
}

}  // namespace VardelTool
