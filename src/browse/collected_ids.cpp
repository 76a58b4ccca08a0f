#include "browse/collected_ids.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace VardelBrowse {

LibrarySet::LibrarySet(std::initializer_list<std::wstring> names)
    : LibrarySet(std::vector<std::wstring>(names)) {}

LibrarySet::LibrarySet(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end(), VardelUtils::Utf16Less());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    names_ = std::make_shared<const std::vector<std::wstring>>(std::move(names));
}

const std::vector<std::wstring>& LibrarySet::Names() const {
    static const std::vector<std::wstring> kNone;
    return names_ != nullptr ? *names_ : kNone;
}

void IdCollector::Add(const std::wstring& library, std::vector<std::wstring>&& ids) {
    libraries_.push_back(library);
    entries_.reserve(entries_.size() + ids.size());
    for (std::wstring& id : ids) {
        entries_.push_back({std::move(id), libraries_.size() - 1});
    }
}

// Sequential ids share long prefixes: the sort compares what follows the
// part that every id shares, by its sort key first.
void IdCollector::SortEntries() {
    const std::wstring_view first = entries_.empty() ? std::wstring_view() : entries_.front().id;
    std::size_t shared = first.size();
    for (const Entry& entry : entries_) {
        shared = VardelUtils::CommonPrefixLength(first.substr(0, shared), entry.id);
    }
    for (Entry& entry : entries_) {
        entry.key = VardelUtils::Utf16OrderKey(std::wstring_view(entry.id).substr(shared));
    }
    std::sort(entries_.begin(), entries_.end(), [shared](const Entry& a, const Entry& b) {
        if (a.key != b.key) {
            return a.key < b.key;
        }
        return VardelUtils::CompareUtf16Order(std::wstring_view(a.id).substr(shared),
                                              std::wstring_view(b.id).substr(shared)) < 0;
    });
}

// Equal ids are adjacent once sorted; each distinct choice of answering
// libraries gets one set, which all its ids share.
CollectedIds IdCollector::Finish() {
    SortEntries();
    std::map<std::vector<std::size_t>, LibrarySet> sets;
    std::vector<std::size_t> holders;
    CollectedIds collected;
    for (std::size_t first = 0, last = 0; first < entries_.size(); first = last) {
        holders.clear();
        for (last = first; last < entries_.size() && entries_[last].id == entries_[first].id;
             ++last) {
            holders.push_back(entries_[last].library);
        }
        std::sort(holders.begin(), holders.end());
        holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
        auto set = sets.find(holders);
        if (set == sets.end()) {
            std::vector<std::wstring> names;
            for (const std::size_t library : holders) {
                names.push_back(libraries_[library]);
            }
            set = sets.emplace(holders, LibrarySet(names.begin(), names.end())).first;
        }
        collected.emplace_hint(collected.end(), std::move(entries_[first].id), set->second);
    }
    entries_.clear();
    libraries_.clear();
    return collected;
}

CollectedIds PairWithLibraries(const std::vector<std::wstring>& ids,
                               const std::list<std::wstring>& libraries) {
    const LibrarySet all(libraries.begin(), libraries.end());
    CollectedIds collected;
    for (const std::wstring& id : ids) {
        collected.try_emplace(id, all);
    }
    return collected;
}

}  // namespace VardelBrowse
