// Lists of owned raw pointers, the form in which the search model hands its
// records and pairs to hosts. Copies are deep. AppendCopies leaves every copy
// it made in `to` even when an allocation fails, so the owner's destructor
// frees them.
#pragma once

#include <vector>

namespace VardelSearch {

template <typename T>
void AppendCopies(const std::vector<T*>& from, std::vector<T*>& to) {
    to.reserve(to.size() + from.size());
    for (const T* item : from) {
        to.push_back(new T(*item));
    }
}

template <typename T>
void DestroyAll(std::vector<T*>& items) {
    for (T* item : items) {
        delete item;
    }
    items.clear();
}

}  // namespace VardelSearch
