// Edit texts, their application and the clipboard file.
#include "favorites_edit.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

#include "output.h"

namespace VardelTool {
namespace {

constexpr const char* kClipboardName = "vardel-clipboard.txt";

}  // namespace

EditText::EditText() : document_(L"<Edit/>") {}

XMLNode EditText::Add(const wchar_t* name, const wchar_t* attribute1, const wchar_t* value1,
                      const wchar_t* attribute2, const wchar_t* value2) {
    return document_.GetRootNode().AddNode(name, nullptr, attribute1, value1, attribute2, value2);
}

std::wstring EditText::Text() const {
    std::wstring text;
    document_.GetXml(text);
    return text;
}

Result<bool> ApplyEdit(const Vardel::CContext& context, const std::vector<Vardel::CBrowseId>& ids,
                       const EditText& text, Vardel::EFavoriteOperation operation,
                       const std::string& what) {
    bool changed = false;
    const std::wstring edit = text.Text();
    const HRESULT status =
        Vardel::StoreFavoritesEditResults(&context, ids, edit.c_str(), operation, changed);
    if (status == E_FAIL) {
        return Refused(what + ": cannot write Favorites.xml");
    }
    if (status != S_OK) {
        return Refused(what + ": the favorites refused the change");
    }
    return changed;
}

Status WriteClipboard(const std::filesystem::path& store, const std::vector<std::string>& paths) {
    const std::filesystem::path target = store / kClipboardName;
    const std::filesystem::path temporary =
        store / (std::string(kClipboardName) + "." + std::to_string(::getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& path : paths) {
            out << path << '\n';
        }
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return Refused("cannot write " + Quoted(target.string()));
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return Refused("cannot write " + Quoted(target.string()));
    }
    return std::nullopt;
}

Result<std::vector<std::string>> ReadClipboard(const std::filesystem::path& store) {
    std::ifstream in(store / kClipboardName, std::ios::binary);
    if (!in) {
        return Refused("nothing was copied in store folder " + Quoted(store.string()));
    }
    std::vector<std::string> paths;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            paths.push_back(line);
        }
    }
    if (paths.empty()) {
        return Refused("nothing was copied in store folder " + Quoted(store.string()));
    }
    return paths;
}

}  // namespace VardelTool
