// Fuzz target: library.xml as the catalogue reads it. Any input must give a
// library or an error with a message, and a library must index cleanly.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "source/source_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    VardelCatalog::LibrarySource library;
    VardelCatalog::SourceError error;
    if (!VardelCatalog::ParseLibraryDescription(xml, "fuzz", library, error)) {
        if (error.what.empty())
            __builtin_trap();
        return 0;
    }
    const VardelCatalog::LibraryIndex index(library);
    for (const VardelCatalog::CategorySource& category : library.categories) {
        if (index.FindCategory(category.id) != &category)
            __builtin_trap();
    }
    return 0;
}
