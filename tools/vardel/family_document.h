// A family document opened through the document face as a host opens one:
// the family document and its strings documents handed to CEncapFamily with
// the reference evaluator provider and no value cache folder. The document
// comes from a file (NAME.family.xml, with the strings files
// NAME.strings.*.xml beside it) or from the catalogue (the "FamilyDocument"
// aspect of the library whose copy the merge chose, with its
// "FamilyStrings.<lang>" aspects).
//
// Languages: the one asked for (--lang; in the catalogue, else the library's
// default) becomes the family's actual language when a strings document of
// it exists, the others following. Otherwise no strings document is handed
// over, and names and titles come from the family document's attributes,
// which hold the library's default language. Column ids are looked up by
// exact case, because tables may hold both "d" and "D".
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "options.h"
#include "session.h"
#include "tool_result.h"
#include "vardel/family.h"

namespace VardelTool {

struct FamilyDocument {
    std::unique_ptr<CEncapFamily> family;
    /// The library of the catalogue copy; empty for a file.
    std::wstring library;
    /// The languages of the strings documents found, as they name themselves.
    std::vector<std::wstring> languages;
    /// The family as messages name it: its file, or its display name.
    std::string label;

    /// The family table; a failure naming the family when it has none.
    Result<CEncapFamilyTable*> Table() const;
};

/// Whether the command-line argument names a family document file (it ends
/// in ".xml") rather than a family of the catalogue.
bool IsFamilyFile(const std::string& argument);

/// The strings file of `language` beside the family document `file`:
/// NAME.strings.LANGUAGE.xml beside NAME.family.xml (or NAME.xml).
std::filesystem::path StringsFileOf(const std::filesystem::path& file,
                                    const std::wstring& language);

/// What OpenFamilyFile does when no strings file is of the language asked for.
enum class MissingStrings {
    Leave,  ///< no strings document is handed to the family
    Add,    ///< an empty one of that language is added (for an edit in it)
};

/// The family document `file`, with its strings files in `language` first.
Result<FamilyDocument> OpenFamilyFile(const std::filesystem::path& file,
                                      const std::wstring& language,
                                      MissingStrings missing = MissingStrings::Leave);

/// Writes the family document to `output` and each strings document beside
/// it (NAME.strings.LANG.xml), every file atomically; the paths written, or
/// a failure naming the file that could not be written.
Result<std::vector<std::string>> WriteFamilyFiles(const CEncapFamily& family,
                                                  const std::filesystem::path& output);

/// What to fetch from the catalogue besides the family document.
enum class FamilyTexts { DocumentOnly, WithStrings };

/// The copy of `familyId` in `library`, with its strings documents when
/// asked (in the session's language, else the library's default, first).
Result<FamilyDocument> OpenCatalogFamily(const Session& session, const std::wstring& library,
                                         const std::wstring& familyId, FamilyTexts texts);

/// The family `argument` names: a family document file, or a family of the
/// catalogue by id or display name (its merged copy).
Result<FamilyDocument> OpenFamily(const std::string& argument, const CatalogOptions& options);

}  // namespace VardelTool
