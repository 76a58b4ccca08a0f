// Large buffers written once, such as the text of a whole family table:
// tens of megabytes of fresh memory, which the system hands out a 4 KiB page
// at a time, each page costing a fault when first written. Backed by huge
// pages (where the system offers them on request) the same text costs a
// fault per 2 MiB.
#pragma once

#include <cstddef>

namespace VardelCommon {

/// Asks the system to back the whole 2 MiB pages within `bytes` bytes from
/// `data` with huge pages. Only worth it for buffers of several MiB that
/// are about to be written; does nothing where the system cannot.
void AdviseHugePages(void* data, std::size_t bytes);

}  // namespace VardelCommon
