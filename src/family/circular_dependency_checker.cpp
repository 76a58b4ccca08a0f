#include "family/circular_dependency_checker.h"

namespace VardelFamily {

CCircularDependencyChecker::CCircularDependencyChecker(const std::wstring& rowId,
                                                       const CEncapFamilyColumn* column,
                                                       CellsInProgress& cells)
    : cells_(cells) {
    for (const auto& [cellRowId, cellColumn] : cells_) {
        if (cellColumn == column && *cellRowId == rowId) {
            inProgress_ = true;
            return;
        }
    }
    cells_.emplace_back(&rowId, column);
}

CCircularDependencyChecker::~CCircularDependencyChecker() {
    // Guards live on the evaluating calls' stack frames, so the cell this
    // guard pushed is always the last one.
    if (!inProgress_) {
        cells_.pop_back();
    }
}

}  // namespace VardelFamily
