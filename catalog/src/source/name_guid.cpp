#include "source/name_guid.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "source/sha1.h"

namespace VardelCatalog {

Vardel::Guid NameBasedGuid(const Vardel::Guid& space, std::string_view name) {
    std::vector<std::uint8_t> message(space.bytes.begin(), space.bytes.end());
    message.insert(message.end(), name.begin(), name.end());
    const Sha1Digest digest = Sha1(message);
    Vardel::Guid guid;
    std::copy_n(digest.begin(), guid.bytes.size(), guid.bytes.begin());
    guid.bytes[6] = static_cast<std::uint8_t>((guid.bytes[6] & 0x0F) | 0x50);
    guid.bytes[8] = static_cast<std::uint8_t>((guid.bytes[8] & 0x3F) | 0x80);
    return guid;
}

Vardel::Guid CsvRowId(const Vardel::Guid& family, std::size_t index) {
    return NameBasedGuid(family, "row:" + std::to_string(index));
}

Vardel::Guid DerivedRevision(const Vardel::Guid& id, std::wstring_view lastModified) {
    return NameBasedGuid(id, "revision:" + VardelCommon::ToUtf8(lastModified));
}

}  // namespace VardelCatalog
