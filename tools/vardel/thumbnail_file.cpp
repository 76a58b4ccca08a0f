#include "thumbnail_file.h"

#include <optional>
#include <string_view>

#include "common/atomic_file.h"
#include "common/base64.h"
#include "output.h"

namespace VardelTool {
namespace {

// The bytes of "data:image/TYPE;base64,DATA"; none for any other text.
std::optional<std::string> ImageBytes(std::string_view uri) {
    constexpr std::string_view kScheme = "data:image/";
    constexpr std::string_view kEncoding = ";base64,";
    const std::size_t data = uri.find(kEncoding);
    if (!uri.starts_with(kScheme) || data == std::string_view::npos) {
        return std::nullopt;
    }
    return VardelCommon::DecodeBase64(uri.substr(data + kEncoding.size()));
}

}  // namespace

Status WriteThumbnail(const std::wstring& answer, const std::string& family,
                      const std::string& output) {
    if (answer.empty()) {
        return Refused("family " + Quoted(family) + " has no thumbnail");
    }
    const std::optional<std::string> bytes = ImageBytes(Utf8(answer));
    if (!bytes) {
        return Refused("the thumbnail of family " + Quoted(family) +
                       " is not an image the tool can read");
    }
    if (!VardelCommon::WriteFileAtomically(output, *bytes)) {
        return Refused("cannot write " + output);
    }
    return std::nullopt;
}

}  // namespace VardelTool
