// Opening a session: the summary first (it tells who may read what, and a
// damaged file is reported before any server is made), then the server.
#include "session.h"

#include <algorithm>

#include "common/case_fold.h"
#include "output.h"
#include "vardel/app.h"

namespace VardelTool {
namespace {

std::string ReaderText(const std::wstring& user) {
    return user.empty() ? "a user without name" : "user " + Quoted(Utf8(user));
}

// The catalogue's spelling of `name` among `readable`: exact first, then
// without regard to case.
const VardelCatalog::LibrarySummary* Lookup(
    const std::vector<const VardelCatalog::LibrarySummary*>& readable, const std::wstring& name) {
    for (const auto* library : readable) {
        if (library->name == name) {
            return library;
        }
    }
    for (const auto* library : readable) {
        if (VardelCommon::EqualsNoCase(library->name, name)) {
            return library;
        }
    }
    return nullptr;
}

}  // namespace

Result<std::unique_ptr<Session>> Session::Open(const CatalogOptions& options) {
    const std::filesystem::path file = CatalogPath(options.catalog);
    std::unique_ptr<Session> session(new Session());
    std::string error;
    if (!VardelCatalog::ReadCatalogSummary(file, session->summary_, error)) {
        return Refused("cannot read catalogue: " + error);
    }
    session->security_.text1 = Wide(options.user);
    session->language_ = Wide(options.language);
    std::vector<const VardelCatalog::LibrarySummary*> readable;
    for (const auto& library : session->summary_.libraries) {
        if (library.IsReadableBy(session->security_.text1)) {
            readable.push_back(&library);
        }
    }
    if (options.libraries.empty()) {
        for (const auto* library : readable) {
            session->libraries_.push_back(library->name);
        }
    }
    for (const std::string& name : options.libraries) {
        const auto* library = Lookup(readable, Wide(name));
        if (library == nullptr) {
            return Refused("no library " + Quoted(name) + " readable by " +
                           ReaderText(session->security_.text1));
        }
        if (std::find(session->libraries_.begin(), session->libraries_.end(), library->name) ==
            session->libraries_.end()) {
            session->libraries_.push_back(library->name);
        }
    }
    session->server_ = VardelCatalog::CCatalogServer::Open(file, error);
    if (!session->server_) {
        return Refused("cannot open catalogue: " + error);
    }
    CVardelApp::Instance().AttachBackend(session->server_);
    return session;
}

Session::~Session() {
    if (server_) {
        CVardelApp::Instance().AttachBackend(nullptr);
    }
}

Result<Vardel::CContext> Session::MakeContext(Vardel::BrowsingStructureType type,
                                              const Vardel::FilterStruct* filter,
                                              const std::filesystem::path& store) const {
    return MakeContextOver(type, libraries_, filter, store);
}

Result<Vardel::CContext> Session::OneLibraryContext(const std::wstring& library) const {
    return MakeContextOver(Vardel::LibraryBrowsing, {library}, nullptr, {});
}

Result<Vardel::CContext> Session::MakeContextOver(Vardel::BrowsingStructureType type,
                                                  const std::list<std::wstring>& libraries,
                                                  const Vardel::FilterStruct* filter,
                                                  const std::filesystem::path& store) const {
    const std::wstring storePath = store.wstring();
    Vardel::CContext context;
    if (context.Initialize(type, &libraries, filter, language_, &security_, storePath.c_str()) !=
        S_OK) {
        return Refused("cannot set up a browsing context");
    }
    return context;
}

const VardelCatalog::LibrarySummary* Session::FindLibrary(const std::wstring& name) const {
    if (std::find(libraries_.begin(), libraries_.end(), name) == libraries_.end()) {
        return nullptr;
    }
    for (const auto& library : summary_.libraries) {
        if (library.name == name) {
            return &library;
        }
    }
    return nullptr;
}

TarnServerProxies::Security::SecurityContext Session::Security() const {
    return {security_.number,
            security_.text1,
            security_.text2,
            security_.text3,
            security_.text4,
            security_.text5,
            TarnServerProxies::Security::SecurityContext::AccessOptionEnum::Option0};
}

}  // namespace VardelTool
