// The two kinds of family file, each read with its companions: a CSV
// family's description with its table, a family document with its strings
// documents (the files NAME.strings.*.xml beside NAME.family.xml). ReadFamily
// picks one by the file's name.
#pragma once

#include <filesystem>

#include "source/library_index.h"
#include "source/library_source.h"
#include "source/source_error.h"

namespace VardelCatalog {

inline constexpr std::string_view kCsvFamilySuffix = ".csvfamily.xml";
inline constexpr std::string_view kFamilyDocumentSuffix = ".family.xml";

bool ReadCsvFamily(const std::filesystem::path& file, const LibraryIndex& index,
                   FamilySource& family, SourceError& error);

bool ReadFamilyDocument(const std::filesystem::path& file, const LibraryIndex& index,
                        FamilySource& family, SourceError& error);

}  // namespace VardelCatalog
