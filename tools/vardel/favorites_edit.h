// Changing favorites the way a host's favorites editor does: an edit text
// (XML built here, so that any name is escaped) applied by
// StoreFavoritesEditResults, which saves Favorites.xml atomically when
// something changed. The copy buffer of the library lives as long as one
// context, so copy and paste in two runs go through a clipboard file in the
// store folder: the favorites paths copied, one a line, written atomically.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tool_result.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/favorites.h"
#include "vardel/xml_parser.h"

namespace VardelTool {

/// An edit text: a root element holding the edit elements.
class EditText {
  public:
    EditText();
    /// Appends an edit element with up to two attributes (null: none).
    XMLNode Add(const wchar_t* name, const wchar_t* attribute1 = nullptr,
                const wchar_t* value1 = nullptr, const wchar_t* attribute2 = nullptr,
                const wchar_t* value2 = nullptr);
    std::wstring Text() const;

  private:
    XMLParser document_;
};

/// Applies `text` for `operation` to the favorites of `ids`; true when
/// something changed (and was saved). `what` names the edit in messages.
Result<bool> ApplyEdit(const Vardel::CContext& context, const std::vector<Vardel::CBrowseId>& ids,
                       const EditText& text, Vardel::EFavoriteOperation operation,
                       const std::string& what);

/// Replaces the clipboard of `store` by `paths`.
Status WriteClipboard(const std::filesystem::path& store, const std::vector<std::string>& paths);
/// The paths last copied in `store`.
Result<std::vector<std::string>> ReadClipboard(const std::filesystem::path& store);

}  // namespace VardelTool
