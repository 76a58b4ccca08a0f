#include <utility>

#include "vardel/server_proxies.h"

namespace TarnServerProxies::Security {

SecurityContext::SecurityContext(std::int64_t number, std::wstring text1, std::wstring text2,
                                 std::wstring text3, std::wstring text4, std::wstring text5,
                                 AccessOptionEnum accessOption)
    : number_(number),
      texts_{std::move(text1), std::move(text2), std::move(text3), std::move(text4),
             std::move(text5)},
      accessOption_(accessOption) {}

const std::wstring& SecurityContext::Text(int index) const {
    static const std::wstring kNone;
    return index >= 1 && index <= 5 ? texts_[index - 1] : kNone;
}

}  // namespace TarnServerProxies::Security
