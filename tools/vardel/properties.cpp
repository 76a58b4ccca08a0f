// One reader serves the three property calls of the browsing face.
#include "properties.h"

#include "vardel/constants.h"
#include "vardel/properties.h"

namespace VardelTool {
namespace {

using Reader = HRESULT (*)(const Vardel::CContext*, const std::vector<Vardel::CBrowseId>&,
                           const std::vector<std::wstring>&, std::vector<Vardel::ReturnValue>&);

Result<PropertyRows> ReadWith(Reader reader, const char* what, const Vardel::CContext& context,
                              const std::vector<Vardel::CBrowseId>& ids,
                              const std::vector<std::wstring>& keys) {
    PropertyRows rows(ids.size(), std::vector<std::wstring>(keys.size()));
    if (ids.empty() || keys.empty()) {
        return rows;
    }
    std::vector<Vardel::ReturnValue> values;
    if (Status failed = CheckCall(reader(&context, ids, keys, values), what)) {
        return *failed;
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const std::size_t at = i * keys.size() + k;
            if (at < values.size() && values[at].IsValid()) {
                rows[i][k] = static_cast<const wchar_t*>(values[at]);
            }
        }
    }
    return rows;
}

Result<std::vector<std::wstring>> FirstColumn(Result<PropertyRows> rows) {
    if (!rows.ok()) {
        return rows.failure();
    }
    std::vector<std::wstring> names;
    names.reserve(rows.value().size());
    for (std::vector<std::wstring>& row : rows.value()) {
        names.push_back(std::move(row.front()));
    }
    return names;
}

}  // namespace

Result<PropertyRows> ReadItemProperties(const Vardel::CContext& context,
                                        const std::vector<Vardel::CBrowseId>& ids,
                                        const std::vector<std::wstring>& keys) {
    return ReadWith(&Vardel::GetItemsProperties, "reading family properties", context, ids, keys);
}

Result<PropertyRows> ReadFolderProperties(const Vardel::CContext& context,
                                          const std::vector<Vardel::CBrowseId>& ids,
                                          const std::vector<std::wstring>& keys) {
    return ReadWith(&Vardel::GetFoldersProperties, "reading folder properties", context, ids, keys);
}

Result<PropertyRows> ReadParameterProperties(const Vardel::CContext& context,
                                             const std::vector<Vardel::CBrowseId>& ids,
                                             const std::vector<std::wstring>& keys) {
    return ReadWith(&Vardel::GetCategoryParameterPropertyValues, "reading parameter properties",
                    context, ids, keys);
}

Result<std::vector<std::wstring>> FolderNames(const Vardel::CContext& context,
                                              const std::vector<Vardel::CBrowseId>& ids) {
    return FirstColumn(ReadFolderProperties(context, ids, {Vardel::Constants::FLD_DISPLAYNAME}));
}

Result<std::vector<std::wstring>> ItemNames(const Vardel::CContext& context,
                                            const std::vector<Vardel::CBrowseId>& ids) {
    return FirstColumn(ReadItemProperties(context, ids, {Vardel::Constants::FAM_DISPLAYNAME}));
}

Status CheckCall(HRESULT status, const std::string& what) {
    if (status == S_OK) {
        return std::nullopt;
    }
    return Refused(what + " failed (the catalogue refused the request)");
}

}  // namespace VardelTool
