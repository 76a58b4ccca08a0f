// One run's connection to a catalogue, as a host would hold it: the
// catalogue server opened on the file and attached to the module runtime,
// the libraries the user may read (from the catalogue summary), and the
// contexts built over them. A context lists only readable libraries: one
// the caller may not read would make every library request of it fail.
//
// The session detaches its server when it goes. One per process.
#pragma once

#include <filesystem>
#include <list>
#include <memory>
#include <string>

#include "options.h"
#include "tool_result.h"
#include "vardel/catalog/catalog_server.h"
#include "vardel/catalog/catalog_summary.h"
#include "vardel/context.h"

namespace VardelTool {

class Session {
  public:
    /// Opens the catalogue of `options` and checks the --library names.
    static Result<std::unique_ptr<Session>> Open(const CatalogOptions& options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// A context of `type` over the session's libraries; `store` is the
    /// folder of the personal stores (ignored for LibraryBrowsing; empty
    /// for none).
    Result<Vardel::CContext> MakeContext(Vardel::BrowsingStructureType type,
                                         const Vardel::FilterStruct* filter,
                                         const std::filesystem::path& store = {}) const;
    /// A library context holding `library` alone.
    Result<Vardel::CContext> OneLibraryContext(const std::wstring& library) const;

    /// The readable libraries the contexts list, in catalogue order.
    const std::list<std::wstring>& Libraries() const { return libraries_; }
    /// The summary of a library of Libraries(); null for any other name.
    const VardelCatalog::LibrarySummary* FindLibrary(const std::wstring& name) const;

    /// The server, for what only it answers (family aspects).
    VardelCatalog::CCatalogServer& Server() const { return *server_; }
    /// The security record of the server calls the session makes itself.
    TarnServerProxies::Security::SecurityContext Security() const;
    const std::wstring& Language() const { return language_; }

  private:
    Session() = default;
    Result<Vardel::CContext> MakeContextOver(Vardel::BrowsingStructureType type,
                                             const std::list<std::wstring>& libraries,
                                             const Vardel::FilterStruct* filter,
                                             const std::filesystem::path& store) const;

    std::shared_ptr<VardelCatalog::CCatalogServer> server_;
    VardelCatalog::CatalogSummary summary_;
    std::list<std::wstring> libraries_;
    Vardel::SSecurityContext security_;
    std::wstring language_;
};

}  // namespace VardelTool
