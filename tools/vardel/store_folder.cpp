// Checks of the store folder, and sessions over it.
#include "store_folder.h"

#include <unistd.h>

#include <system_error>

namespace VardelTool {

Result<std::filesystem::path> OpenStoreFolder(const std::string& option, StoreUse use) {
    const std::filesystem::path folder(option);
    const std::string name = Quoted(option);
    std::error_code error;
    const bool exists = std::filesystem::exists(folder, error);
    if (!exists && use == StoreUse::Write && !error) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            return Refused("cannot create store folder " + name + ": " + error.message());
        }
    } else if (!exists) {
        return Refused("store folder " + name + " does not exist");
    }
    if (!std::filesystem::is_directory(folder, error)) {
        return Refused("store folder " + name + " is not a folder");
    }
    const int mode = use == StoreUse::Write ? R_OK | W_OK | X_OK : R_OK | X_OK;
    if (::access(folder.c_str(), mode) != 0) {
        return Refused("store folder " + name + " is not " +
                       (use == StoreUse::Write ? "readable and writable" : "readable"));
    }
    return folder;
}

Result<StoreSession> OpenStoreSession(const CatalogOptions& catalog, const std::string& store,
                                      StoreUse use, Vardel::BrowsingStructureType type) {
    Result<std::filesystem::path> folder = OpenStoreFolder(store, use);
    if (!folder.ok()) {
        return folder.failure();
    }
    Result<std::unique_ptr<Session>> session = Session::Open(catalog);
    if (!session.ok()) {
        return session.failure();
    }
    Result<Vardel::CContext> context = session.value()->MakeContext(type, nullptr, folder.value());
    if (!context.ok()) {
        return context.failure();
    }
    return StoreSession{std::move(session.value()), context.value()};
}

}  // namespace VardelTool
