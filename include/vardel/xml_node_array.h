// An ordered, growable array of XML nodes, as the XML layer fills it with
// children or selected nodes. The nodes are shared, not copied: changing a
// node through the array changes it in its document. Indexing outside the
// array throws std::invalid_argument.
#pragma once

#include <string>
#include <vector>

#include "vardel/export.h"
#include "vardel/xml_node.h"

class VARDEL_API XMLNodeArray {
  public:
    XMLNodeArray();
    XMLNodeArray(const XMLNodeArray& other);
    XMLNodeArray& operator=(const XMLNodeArray& other);
    virtual ~XMLNodeArray();

    int GetSize() const;
    int GetCount() const;
    bool IsEmpty() const;
    /// The last index, -1 when empty.
    int GetUpperBound() const;
    /// Grows with empty nodes or shrinks to `size`; the step is only a hint.
    void SetSize(int size, int growBy = -1);
    void FreeExtra();
    void RemoveAll();

    const XMLNode& GetAt(int index) const;
    void SetAt(int index, const XMLNode& node);
    XMLNode& ElementAt(int index);
    const XMLNode& operator[](int index) const;
    XMLNode& operator[](int index);
    /// The first element; null when empty.
    XMLNode* GetData();
    const XMLNode* GetData() const;

    /// Sets entry `index`, growing the array with empty nodes when needed.
    void SetAtGrow(int index, const XMLNode& node);
    /// Appends `node`; returns its index.
    int Add(const XMLNode& node);
    /// Appends all of `other`; returns the index of its first entry here.
    int Append(const XMLNodeArray& other);
    /// Makes this a copy of `other`.
    void Copy(const XMLNodeArray& other);
    /// Inserts `count` copies of `node` before `index` (at the end when
    /// `index` is the size or more).
    void InsertAt(int index, const XMLNode& node, int count = 1);
    /// Inserts all of `other` before `index`.
    void InsertAt(int index, const XMLNodeArray& other);
    /// Removes `count` entries from `index` on.
    void RemoveAt(int index, int count = 1);

    /// Resizes `names` to the array's size; entry i is the name of node i.
    void GetNodeNames(std::vector<std::wstring>& names) const;

  private:
    std::size_t CheckedIndex(int index) const;

    std::vector<XMLNode> nodes_;
};
