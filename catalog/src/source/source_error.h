// The one error of the source readers and the importer: where (a file, and a
// line or an element within it) and what is wrong. The readers stop at the
// first error; the importer reports it and writes nothing.
#pragma once

#include <filesystem>
#include <string>

namespace VardelCatalog {

struct SourceError {
    std::filesystem::path file;  ///< Empty when the error concerns no single file.
    int line = 0;                ///< 1-based; 0 when unknown.
    std::string where;           ///< Element or column named in the message, may be empty.
    std::string what;            ///< What is wrong, UTF-8.

    /// "file:line: where: what", leaving out the parts that are empty.
    std::string ToString() const;
};

}  // namespace VardelCatalog
