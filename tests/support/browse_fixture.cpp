#include "support/browse_fixture.h"

#include <algorithm>
#include <cwchar>

#include "api/browse_id_impl.h"

namespace VardelTest {

std::wstring Id(int n) {
    wchar_t text[40];
    std::swprintf(text, 40, L"00000000-0000-0000-0000-%012x", n);
    return text;
}

namespace {

std::wstring TextOf(const tsp::Guid& guid) {
    return guid.ToString();
}

std::vector<tsp::Guid> GuidsOf(const std::vector<std::wstring>& texts) {
    std::vector<tsp::Guid> guids;
    for (const std::wstring& text : texts) {
        guids.push_back(tsp::Guid::Parse(text).value());
    }
    return guids;
}

}  // namespace

const CatalogueLibrary* Catalogue::Find(const std::wstring& library) const {
    const auto found = libraries_.find(library);
    return found != libraries_.end() ? &found->second : nullptr;
}

Reply Catalogue::Ids(
    const RecordedCall& call,
    std::map<std::wstring, std::vector<std::wstring>> CatalogueLibrary::*member) const {
    const CatalogueLibrary* library = Find(call.library);
    if (library == nullptr) {
        return Reply::Failure("unknown library");
    }
    const auto& lists = library->*member;
    const auto found = lists.find(TextOf(call.nodes.at(0)));
    return Reply::Ids(found != lists.end() ? GuidsOf(found->second) : std::vector<tsp::Guid>{});
}

Reply Catalogue::Values(const RecordedCall& call) const {
    const CatalogueLibrary* library = Find(call.library);
    if (library == nullptr) {
        return Reply::Failure("unknown library");
    }
    tsp::PropertyValues values;
    for (const tsp::Guid& node : call.nodes) {
        const auto properties = library->properties.find(TextOf(node));
        for (const tsp::Guid& key : call.keys) {
            std::optional<std::wstring> value;
            if (properties != library->properties.end()) {
                // Keys are GUIDs on the wire: compare them in their text form.
                for (const auto& [name, text] : properties->second) {
                    if (tsp::Guid::Parse(name) == key) {
                        value = text;
                    }
                }
            }
            values.push_back(value);
        }
    }
    return Reply::Values(std::move(values));
}

void Catalogue::Install(ScriptedBackend& backend) {
    backend.Respond(Method::GetCategoryRoots, [this](const RecordedCall& call) {
        const CatalogueLibrary* library = Find(call.library);
        return library != nullptr ? Reply::Ids(GuidsOf(library->roots))
                                  : Reply::Failure("unknown library");
    });
    backend.Respond(Method::GetCategoriesByParent, [this](const RecordedCall& call) {
        return Ids(call, &CatalogueLibrary::subFolders);
    });
    backend.Respond(Method::GetFamiliesByCategory, [this](const RecordedCall& call) {
        return Ids(call, &CatalogueLibrary::families);
    });
    backend.Respond(Method::GetCategoryParametersByCategory, [this](const RecordedCall& call) {
        return Ids(call, &CatalogueLibrary::parameters);
    });
    backend.Respond(Method::GetCategoryParametersByParameter, [this](const RecordedCall& call) {
        return Ids(call, &CatalogueLibrary::parameters);
    });
    backend.Respond(Method::GetParentCategory, [this](const RecordedCall& call) {
        const CatalogueLibrary* library = Find(call.library);
        if (library == nullptr) {
            return Reply::Failure("unknown library");
        }
        const auto found = library->parents.find(TextOf(call.nodes.at(0)));
        return Reply::Id(found != library->parents.end() ? tsp::Guid::Parse(found->second).value()
                                                         : tsp::Guid{});
    });
    for (const Method method : {Method::GetCategoryPropertyValues, Method::GetFamilyPropertyValues,
                                Method::GetCategoryParameterPropertyValues}) {
        backend.Respond(method, [this](const RecordedCall& call) { return Values(call); });
    }
}

Vardel::CContext BrowseTest::MakeContext(Vardel::BrowsingStructureType type,
                                         const std::list<std::wstring>& libraries,
                                         const std::wstring& storage,
                                         const Vardel::FilterStruct* filter) {
    Vardel::SSecurityContext security;
    security.number = 7;
    security.text1 = L"user";
    Vardel::CContext context;
    EXPECT_EQ(context.Initialize(type, &libraries, filter, L"en-US", &security, storage.c_str()),
              S_OK);
    return context;
}

std::size_t BrowseTest::CallsOf(Method method, const std::wstring& library) const {
    const auto& calls = backend_->Calls();
    return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(), [&](const auto& c) {
        return c.method == method && c.library == library;
    }));
}

std::size_t BrowseTest::CallsOf(Method method) const {
    const auto& calls = backend_->Calls();
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [&](const auto& c) { return c.method == method; }));
}

std::vector<std::wstring> NamesOf(const std::vector<Vardel::CBrowseId>& ids) {
    std::vector<std::wstring> names;
    for (const Vardel::CBrowseId& id : ids) {
        names.push_back(id.GetInternalName());
    }
    return names;
}

std::wstring LibraryOf(const Vardel::CBrowseId& id) {
    const CBrowseIdBaseImpl* impl = VardelUtils::BrowseIdAccess::GetImpl(id);
    return impl != nullptr ? impl->GetLibraryName() : std::wstring();
}

std::vector<std::wstring> LibrariesOf(const Vardel::CBrowseId& id) {
    if (const auto* category = VardelUtils::BrowseIdAccess::As<CBrowseCategoryIdImpl>(id)) {
        return category->GetLibraries();
    }
    if (const auto* parameter =
            VardelUtils::BrowseIdAccess::As<CBrowseCategoryParameterIdImpl>(id)) {
        return parameter->GetLibraries();
    }
    return {};
}

int KindOf(const Vardel::CBrowseId& id) {
    const CBrowseIdBaseImpl* impl = VardelUtils::BrowseIdAccess::GetImpl(id);
    return impl != nullptr ? impl->GetBrowseItemType() : 0;
}

std::vector<std::wstring> TextsOf(const std::vector<Vardel::ReturnValue>& values) {
    std::vector<std::wstring> texts;
    for (const Vardel::ReturnValue& value : values) {
        switch (value.GetErrorCode()) {
            case Vardel::NoError:
                texts.emplace_back(static_cast<const wchar_t*>(value));
                break;
            case Vardel::NoValue:
                texts.emplace_back(L"<no value>");
                break;
            default:
                texts.emplace_back(L"<not found>");
                break;
        }
    }
    return texts;
}

}  // namespace VardelTest
