// The shape of the server bridge's three property operations (categories,
// families, category parameters), so that the workers that group nodes by
// library, the merge and the item filter can be written once for all three.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "api/context_impl.h"
#include "vardel/return_value.h"
#include "vardel/status.h"

namespace VardelBrowse {

/// One property request to one library: values of `keys` for `ids`,
/// node-major, into `values` (cleared first).
using PropertyRequest = HRESULT (*)(const ContextImpl& context,
                                    const std::vector<std::wstring_view>& ids,
                                    const std::vector<std::wstring>& keys,
                                    const std::wstring& library,
                                    std::vector<Vardel::ReturnValue>& values);

}  // namespace VardelBrowse
