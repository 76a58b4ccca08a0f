// Dense numbers for the strings a value store keys its values by (column ids
// and languages): each distinct string gets the next number when first seen
// and keeps it for the life of the table, so row caches hold two small
// numbers per value instead of two strings. Strings compare exactly.
#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "api/utf16_order.h"

namespace VardelEval {

class IdTable {
  public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    /// The number of `text`; kNone when it has none. The string found last
    /// is answered without hashing: a table is read in one language.
    std::uint32_t Find(const std::wstring& text) const {
        if (last_ < texts_.size() && texts_[last_] == text) {
            return last_;
        }
        const auto found = ids_.find(text);
        if (found == ids_.end()) {
            return kNone;
        }
        last_ = found->second;
        return last_;
    }
    /// The number of `text`, given to it now when it has none.
    std::uint32_t Add(const std::wstring& text) {
        const auto [slot, added] =
            ids_.try_emplace(text, static_cast<std::uint32_t>(texts_.size()));
        if (added) {
            texts_.push_back(text);
        }
        return slot->second;
    }
    const std::wstring& Text(std::uint32_t id) const { return texts_[id]; }
    std::size_t Size() const { return texts_.size(); }

    /// For every number, the position of its string in ascending UTF-16
    /// order: the order the cache file lists columns and languages in.
    std::vector<std::uint32_t> Ranks() const {
        std::vector<std::uint32_t> byText(texts_.size());
        std::iota(byText.begin(), byText.end(), 0U);
        std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) {
            return VardelUtils::CompareUtf16Order(texts_[a], texts_[b]) < 0;
        });
        std::vector<std::uint32_t> ranks(texts_.size());
        for (std::size_t position = 0; position < byText.size(); ++position) {
            ranks[byText[position]] = static_cast<std::uint32_t>(position);
        }
        return ranks;
    }

  private:
    std::unordered_map<std::wstring, std::uint32_t> ids_;
    std::vector<std::wstring> texts_;
    mutable std::uint32_t last_ = kNone;
};

}  // namespace VardelEval
