// Lists of owned raw pointers, the form in which the search model hands its
// records and pairs to hosts. Copies are deep. No item is ever lost when an
// allocation fails: AppendOwned frees the item it could not append, and
// AppendCopies leaves every copy it made in `to`, so the owner's destructor
// frees them.
#pragma once

#include <memory>
#include <vector>

namespace VardelSearch {

template <typename T>
void AppendOwned(std::vector<T*>& items, T* item) {
    std::unique_ptr<T> owned(item);
    items.push_back(owned.get());
    owned.release();
}

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
