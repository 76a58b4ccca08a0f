#include "source/source_error.h"

namespace VardelCatalog {

std::string SourceError::ToString() const {
    std::string text;
    if (!file.empty()) {
        text = file.generic_string();
        if (line > 0) {
            text += ':' + std::to_string(line);
        }
        text += ": ";
    }
    if (!where.empty()) {
        text += where + ": ";
    }
    return text + what;
}

}  // namespace VardelCatalog
