#include "vardel/xml_node_array.h"

#include <stdexcept>

XMLNodeArray::XMLNodeArray() = default;
XMLNodeArray::XMLNodeArray(const XMLNodeArray& other) = default;
XMLNodeArray& XMLNodeArray::operator=(const XMLNodeArray& other) = default;
XMLNodeArray::~XMLNodeArray() = default;

std::size_t XMLNodeArray::CheckedIndex(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= nodes_.size()) {
        throw std::invalid_argument("XMLNodeArray index out of range");
    }
    return static_cast<std::size_t>(index);
}

int XMLNodeArray::GetSize() const {
    return static_cast<int>(nodes_.size());
}
int XMLNodeArray::GetCount() const {
    return GetSize();
}
bool XMLNodeArray::IsEmpty() const {
    return nodes_.empty();
}
int XMLNodeArray::GetUpperBound() const {
    return GetSize() - 1;
}

void XMLNodeArray::SetSize(int size, int /*growBy*/) {
    if (size < 0)
        throw std::invalid_argument("XMLNodeArray size is negative");
    nodes_.resize(static_cast<std::size_t>(size));
}

void XMLNodeArray::FreeExtra() {
    nodes_.shrink_to_fit();
}
void XMLNodeArray::RemoveAll() {
    nodes_.clear();
}

const XMLNode& XMLNodeArray::GetAt(int index) const {
    return nodes_[CheckedIndex(index)];
}
void XMLNodeArray::SetAt(int index, const XMLNode& node) {
    nodes_[CheckedIndex(index)] = node;
}
XMLNode& XMLNodeArray::ElementAt(int index) {
    return nodes_[CheckedIndex(index)];
}
const XMLNode& XMLNodeArray::operator[](int index) const {
    return GetAt(index);
}
XMLNode& XMLNodeArray::operator[](int index) {
    return ElementAt(index);
}
XMLNode* XMLNodeArray::GetData() {
    return nodes_.empty() ? nullptr : nodes_.data();
}
const XMLNode* XMLNodeArray::GetData() const {
    return nodes_.empty() ? nullptr : nodes_.data();
}

void XMLNodeArray::SetAtGrow(int index, const XMLNode& node) {
    if (index < 0)
        throw std::invalid_argument("XMLNodeArray index is negative");
    if (static_cast<std::size_t>(index) >= nodes_.size())
        nodes_.resize(static_cast<std::size_t>(index) + 1);
    nodes_[static_cast<std::size_t>(index)] = node;
}

int XMLNodeArray::Add(const XMLNode& node) {
    nodes_.push_back(node);
    return GetUpperBound();
}

int XMLNodeArray::Append(const XMLNodeArray& other) {
    const int first = GetSize();
    // Copy first: `other` may be this very array.
    const std::vector<XMLNode> added = other.nodes_;
    nodes_.insert(nodes_.end(), added.begin(), added.end());
    return first;
}

void XMLNodeArray::Copy(const XMLNodeArray& other) {
    nodes_ = other.nodes_;
}

void XMLNodeArray::InsertAt(int index, const XMLNode& node, int count) {
    if (index < 0 || count < 0)
        throw std::invalid_argument("XMLNodeArray index is negative");
    const std::size_t at = std::min(static_cast<std::size_t>(index), nodes_.size());
    const XMLNode copy = node;  // `node` may live in this array
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(count),
                  copy);
}

void XMLNodeArray::InsertAt(int index, const XMLNodeArray& other) {
    if (index < 0)
        throw std::invalid_argument("XMLNodeArray index is negative");
    const std::size_t at = std::min(static_cast<std::size_t>(index), nodes_.size());
    const std::vector<XMLNode> added = other.nodes_;
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void XMLNodeArray::RemoveAt(int index, int count) {
    if (count < 0 || index < 0 ||
        static_cast<std::size_t>(index) + static_cast<std::size_t>(count) > nodes_.size()) {
        throw std::invalid_argument("XMLNodeArray range out of range");
    }
    const auto first = nodes_.begin() + index;
    nodes_.erase(first, first + count);
}

void XMLNodeArray::GetNodeNames(std::vector<std::wstring>& names) const {
    names.assign(nodes_.size(), std::wstring());
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        nodes_[i].GetNodeName(names[i]);
}
