#include "vardel/evaluator_provider.h"

// Out of line so that the vtable is emitted once, in the library.
IEvaluatorProvider::~IEvaluatorProvider() = default;
