// The parent a derived family was made from, as the server's link aspect of
// the family names it. A plain record; both texts are empty when unknown.
#pragma once

#include <string>

#include "vardel/export.h"

namespace Vardel {

struct VARDEL_API DerivedFamilyLinkNames {
    std::wstring parentLibraryName;
    std::wstring parentFamilyName;
};

}  // namespace Vardel
