// The creators of browse identifiers that the library's own subsystems use to
// hand out nodes (navigation, search, history, favorites). Each returns a
// handle on a new node, or an EMPTY handle where a creator needs a library and
// gets none, or a favorites kind it does not know: callers test IsNULL().
// Nodes keep `context` as a plain pointer; it may be null.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "api/browse_id_impl.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace VardelUtils {

using OptionalVersion = std::optional<CBrowseIdBaseImpl::Version>;

/// The history root.
Vardel::CBrowseId CreateHistoryRootId(const Vardel::CContext* context,
                                      const std::wstring& internalName);
/// The search-results root.
Vardel::CBrowseId CreateSearchRootId(const Vardel::CContext* context,
                                     const std::wstring& internalName);
/// A category held by `libraries`; empty handle when `libraries` is empty.
Vardel::CBrowseId CreateCategoryId(const Vardel::CContext* context, std::wstring internalName,
                                   std::vector<std::wstring> libraries,
                                   OptionalVersion version = std::nullopt);
/// A category parameter held by `libraries` (which may be empty).
Vardel::CBrowseId CreateCategoryParameterId(const Vardel::CContext* context,
                                            const std::wstring& internalName,
                                            const std::vector<std::wstring>& libraries);
/// A family in the FIRST of `libraries`; empty handle when `libraries` is empty.
Vardel::CBrowseId CreateFamilyId(const Vardel::CContext* context, std::wstring internalName,
                                 std::vector<std::wstring> libraries,
                                 OptionalVersion version = std::nullopt);
/// A family member in the FIRST of `libraries`; empty handle when `libraries` is empty.
Vardel::CBrowseId CreateMemberId(const Vardel::CContext* context, const std::wstring& internalName,
                                 const std::wstring& memberId, std::vector<std::wstring> libraries,
                                 OptionalVersion version = std::nullopt);
/// A favorites entry of `kind` (category, family, member or favorites folder);
/// a family or member takes the first of `libraries` (or none), a folder ignores
/// `libraries` and `memberId`. Any other kind gives an empty handle.
Vardel::CBrowseId CreateFavoriteId(const Vardel::CContext* context,
                                   const std::wstring& internalName, const std::wstring& favoriteId,
                                   Vardel::EBrowseItemType kind,
                                   const std::vector<std::wstring>& libraries,
                                   const std::wstring& memberId);
/// Replaces `id` by the favorites entry of the same kind with `favoriteId`,
/// keeping context, internal name, libraries or library and member id, and
/// version. A favorites folder becomes a new folder. Empty handles and other
/// kinds stay unchanged.
void ConvertToFavoriteId(Vardel::CBrowseId& id, const std::wstring& favoriteId);

}  // namespace VardelUtils
