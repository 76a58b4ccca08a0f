#include "eval/material_table.h"

#include <string>

#include "common/atomic_file.h"
#include "common/case_fold.h"
#include "common/text.h"
#include "common/utf8.h"
#include "common/wide_path.h"

namespace VardelEval {
namespace {

// A line as "key = name", both sides trimmed and not empty.
bool SplitLine(std::wstring_view line, std::wstring_view& key, std::wstring_view& name) {
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) {
        return false;
    }
    key = VardelCommon::Trim(line.substr(0, equals));
    name = VardelCommon::Trim(line.substr(equals + 1));
    return !key.empty() && !name.empty();
}

std::wstring LineError(const std::filesystem::path& path, std::size_t line, const wchar_t* what) {
    std::wstring error = VardelCommon::FromPath(path);
    error += L':';
    error += std::to_wstring(line);
    error += L": ";
    error += what;
    return error;
}

}  // namespace

Materials BuiltInMaterials() {
    Materials materials;
    for (const auto& [key, name] : {
             std::pair{L"steel", L"Steel"},
             std::pair{L"stainless-steel", L"Stainless steel"},
             std::pair{L"brass", L"Brass"},
             std::pair{L"aluminium", L"Aluminium"},
             std::pair{L"copper", L"Copper"},
             std::pair{L"cast-iron", L"Cast iron"},
             std::pair{L"titanium", L"Titanium"},
             std::pair{L"polyamide", L"Polyamide"},
         }) {
        AddMaterial(materials, key, name);
    }
    return materials;
}

void AddMaterial(Materials& materials, std::wstring_view key, std::wstring_view name) {
    materials[VardelCommon::ToUpper(key)] = {std::wstring(key), std::wstring(name)};
}

const std::pair<std::wstring, std::wstring>* FindMaterialByKey(const Materials& materials,
                                                               std::wstring_view key) {
    const auto found = materials.find(VardelCommon::ToUpper(key));
    return found != materials.end() ? &found->second : nullptr;
}

const std::pair<std::wstring, std::wstring>* FindMaterialByName(const Materials& materials,
                                                                std::wstring_view name) {
    for (const auto& [folded, material] : materials) {
        if (VardelCommon::EqualsNoCase(material.second, name)) {
            return &material;
        }
    }
    return nullptr;
}

bool ReadMaterialFile(const std::filesystem::path& path, Materials& materials,
                      std::wstring& error) {
    std::string bytes;
    if (!VardelCommon::ReadRegularFile(path, bytes)) {
        error = VardelCommon::FromPath(path) + L": cannot be read";
        return false;
    }
    std::wstring text = VardelCommon::FromUtf8(bytes);
    if (!text.empty() && text.front() == L'\uFEFF') {
        text.erase(0, 1);
    }
    Materials read;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start <= text.size(); ++lineNumber) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring_view line =
            VardelCommon::Trim(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == L'#') {
            continue;
        }
        std::wstring_view key;
        std::wstring_view name;
        if (!SplitLine(line, key, name)) {
            error = LineError(path, lineNumber + 1, L"not \"key = name\"");
            return false;
        }
        if (FindMaterialByKey(read, key) != nullptr) {
            error = LineError(path, lineNumber + 1, L"repeats a key");
            return false;
        }
        AddMaterial(read, key, name);
    }
    materials = std::move(read);
    return true;
}

}  // namespace VardelEval
