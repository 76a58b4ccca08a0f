// The folder of the personal stores (--store): the library keeps the
// history, the favorites and the stored search results there. The library
// itself reports some write failures silently (a history that cannot be
// saved still answers S_OK), so the tool checks the folder first and fails
// before anything is changed. A store session is a catalogue session with
// a context over such a folder.
#pragma once

#include <filesystem>
#include <string>

#include "session.h"
#include "tool_result.h"

namespace VardelTool {

enum class StoreUse {
    Read,   ///< Must exist and be readable.
    Write,  ///< Created when missing; must be readable and writable.
};

/// The folder of --store, checked for `use`.
Result<std::filesystem::path> OpenStoreFolder(const std::string& option, StoreUse use);

struct StoreSession {
    std::unique_ptr<Session> session;
    Vardel::CContext context;
};

/// The folder of `store` checked for `use`, then the catalogue opened and a
/// context of `type` made over the folder.
Result<StoreSession> OpenStoreSession(const CatalogOptions& catalog, const std::string& store,
                                      StoreUse use, Vardel::BrowsingStructureType type);

}  // namespace VardelTool
