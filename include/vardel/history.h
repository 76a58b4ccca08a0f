// Recording the use of an item in the history of a history context. The
// history keeps the 50 items used last, newest first, and is written to
// "History.bin" in the context's storage folder after every addition.
#pragma once

#include <string>

#include "vardel/context.h"
#include "vardel/export.h"
#include "vardel/status.h"

namespace Vardel {

/// Puts `itemId` first in the history (replacing an entry that differs only in
/// letter case) and saves the history. E_INVALIDARG for a null or empty
/// context or one that does not browse the history; S_OK otherwise, also when
/// the file could not be written.
VARDEL_API HRESULT AddItemToHistory(const CContext* ctx, const std::wstring& itemId);

}  // namespace Vardel
