// Shared set-up of the browsing tests: a small in-memory catalogue of
// libraries that answers the scripted backend's navigation and property
// calls from its contents, and contexts of every browsing type over it.
// Node ids are GUID texts made from small numbers (Id(7) is
// "00000000-0000-0000-0000-000000000007"), so tests read like the catalogue.
#pragma once

#include <gtest/gtest.h>

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/browse_id_factory.h"
#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "support/scripted_backend.h"
#include "vardel/app.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/return_value.h"

namespace VardelTest {

using Strings = std::vector<std::wstring>;
using BrowseIds = std::vector<Vardel::CBrowseId>;

/// The GUID text of a small number: lower case, as the server returns ids.
std::wstring Id(int n);

/// One library's contents; every map is keyed by node id text.
struct CatalogueLibrary {
    std::vector<std::wstring> roots;
    std::map<std::wstring, std::vector<std::wstring>> subFolders;
    std::map<std::wstring, std::vector<std::wstring>> families;    ///< category -> families
    std::map<std::wstring, std::wstring> parents;                  ///< category -> parent
    std::map<std::wstring, std::vector<std::wstring>> parameters;  ///< node -> parameters
    /// node -> key -> value, for categories, families and parameters alike.
    std::map<std::wstring, std::map<std::wstring, std::wstring>> properties;
};

/// Libraries by name; answers the backend from what they hold. A node that a
/// library does not hold gets no value for any key, as a server answers.
class Catalogue {
  public:
    CatalogueLibrary& operator[](const std::wstring& library) { return libraries_[library]; }
    /// Makes `backend` answer every navigation and property call from here.
    void Install(ScriptedBackend& backend);

  private:
    const CatalogueLibrary* Find(const std::wstring& library) const;
    Reply Ids(const RecordedCall& call,
              std::map<std::wstring, std::vector<std::wstring>> CatalogueLibrary::*member) const;
    Reply Values(const RecordedCall& call) const;

    std::map<std::wstring, CatalogueLibrary> libraries_;
};

class BrowseTest : public ::testing::Test {
  protected:
    void SetUp() override { CVardelApp::Instance().AttachBackend(backend_); }
    void TearDown() override { CVardelApp::Instance().AttachBackend(nullptr); }

    /// An initialised context of `type` over `libraries`, with a security record.
    static Vardel::CContext MakeContext(Vardel::BrowsingStructureType type,
                                        const std::list<std::wstring>& libraries,
                                        const std::wstring& storage = L"/nonexistent-vardel",
                                        const Vardel::FilterStruct* filter = nullptr);
    ContextImpl& Impl(const Vardel::CContext& context) {
        return *VardelUtils::ContextAccess::GetImpl(context);
    }

    /// Installs the catalogue's answers; call after filling it.
    void InstallCatalogue() { catalogue_.Install(*backend_); }
    /// How many calls of `method` the backend got for `library`.
    std::size_t CallsOf(Method method, const std::wstring& library) const;
    std::size_t CallsOf(Method method) const;

    std::shared_ptr<ScriptedBackend> backend_ = std::make_shared<ScriptedBackend>();
    Catalogue catalogue_;
};

/// The internal names of `ids`, in order ("" for an empty handle).
std::vector<std::wstring> NamesOf(const std::vector<Vardel::CBrowseId>& ids);
/// The node's library ("" for an empty handle).
std::wstring LibraryOf(const Vardel::CBrowseId& id);
/// The category's or category parameter's libraries.
std::vector<std::wstring> LibrariesOf(const Vardel::CBrowseId& id);
/// The node's kind, or 0 for an empty handle.
int KindOf(const Vardel::CBrowseId& id);
/// Each result as its text, "<no value>" or "<not found>".
std::vector<std::wstring> TextsOf(const std::vector<Vardel::ReturnValue>& values);

}  // namespace VardelTest
