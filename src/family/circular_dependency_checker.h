// The guard that stops a chain of cell evaluations from running in circles.
// The table evaluator keeps the cells being evaluated at the moment (row id
// and column) on a stack; each evaluation of a cell builds one guard, which
// pushes the cell unless it is already there, and pops it again when the
// evaluation ends. A cell found on the stack closes a circle: the caller
// reads IsInProgress right after construction and stops with "circular
// reference". Calls nest strictly, so the stack is small and a linear search
// beats any set. The row id is referenced, not copied: it must outlive the
// guard, as the evaluating call's own argument does.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CEncapFamilyColumn;

namespace VardelFamily {

/// The cells being evaluated, outermost first.
using CellsInProgress = std::vector<std::pair<const std::wstring*, const CEncapFamilyColumn*>>;

class CCircularDependencyChecker {
  public:
    /// Pushes (row, column) onto `cells` unless it is already there.
    CCircularDependencyChecker(const std::wstring& rowId, const CEncapFamilyColumn* column,
                               CellsInProgress& cells);
    CCircularDependencyChecker(const CCircularDependencyChecker&) = delete;
    CCircularDependencyChecker& operator=(const CCircularDependencyChecker&) = delete;
    /// Pops the cell when this guard pushed it.
    ~CCircularDependencyChecker();

    /// The cell was already being evaluated further up the chain.
    bool IsInProgress() const { return inProgress_; }

  private:
    CellsInProgress& cells_;
    bool inProgress_ = false;
};

}  // namespace VardelFamily
