// The node ids that the libraries of a context answered to one request,
// each with the set of libraries that answered it: what library items are
// built from. Ids and library names are ordered by UTF-16 code units.
//
// A library set is an immutable value whose copies share one list of
// names: the ids that the same libraries answered (usually all of them)
// then hold one list between them, not a copy of the names each.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/utf16_order.h"

namespace VardelBrowse {

/// Library names that hold a node, each once, in ascending UTF-16 order.
class LibrarySet {
  public:
    using const_iterator = std::vector<std::wstring>::const_iterator;

    LibrarySet() = default;
    LibrarySet(std::initializer_list<std::wstring> names);
    template <class Iterator>
    LibrarySet(Iterator first, Iterator last)
        : LibrarySet(std::vector<std::wstring>(first, last)) {}

    const_iterator begin() const { return Names().begin(); }
    const_iterator end() const { return Names().end(); }
    bool empty() const { return Names().empty(); }
    std::size_t size() const { return Names().size(); }

    friend bool operator==(const LibrarySet& a, const LibrarySet& b) {
        return a.Names() == b.Names();
    }

  private:
    explicit LibrarySet(std::vector<std::wstring> names);
    const std::vector<std::wstring>& Names() const;

    std::shared_ptr<const std::vector<std::wstring>> names_;
};

/// Node id -> the libraries that returned it, ordered by id.
using CollectedIds = std::map<std::wstring, LibrarySet, VardelUtils::Utf16Less>;

/// Builds CollectedIds from the answers of several libraries. The answers are
/// gathered first and sorted once, so that a large collection is built in
/// order instead of by one tree search per id.
class IdCollector {
  public:
    /// Adds every id of `ids` under `library`.
    void Add(const std::wstring& library, std::vector<std::wstring>&& ids);
    /// Every id added, with the libraries that answered it.
    CollectedIds Finish();

  private:
    struct Entry {
        std::wstring id;
        std::size_t library;    // index into libraries_
        std::uint64_t key = 0;  // of the id past the prefix all ids share
    };
    void SortEntries();

    std::vector<std::wstring> libraries_;
    std::vector<Entry> entries_;
};

/// `ids` each paired with every library of `libraries`.
CollectedIds PairWithLibraries(const std::vector<std::wstring>& ids,
                               const std::list<std::wstring>& libraries);

}  // namespace VardelBrowse
