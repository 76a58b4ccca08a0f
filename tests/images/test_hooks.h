// Hooks of the images tests: a message log that replaces the message sink
// for its lifetime, an allocator that fails the n-th request, and the
// owner of the records the readers return.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "images/allocation.h"
#include "vardel/icons.h"

namespace ImagesTest {

/// Records every message shown while it lives.
class MessageLog {
  public:
    MessageLog() {
        previous_ =
            CIcons::SetMessageSink([this](const std::wstring& caption, const std::wstring& text) {
                messages.emplace_back(caption, text);
            });
    }
    ~MessageLog() { CIcons::SetMessageSink(std::move(previous_)); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    /// The texts shown, in order.
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const auto& message : messages) {
            texts.push_back(message.second);
        }
        return texts;
    }

    std::vector<std::pair<std::wstring, std::wstring>> messages;

  private:
    CIcons::MessageSink previous_;
};

/// Makes allocation number `failing` (1 = the first) fail while it lives.
class FailingAllocation {
  public:
    explicit FailingAllocation(int failing) {
        countdown_ = failing;
        previous_ = VardelImages::SetReallocateFunction(&Reallocate);
    }
    ~FailingAllocation() { VardelImages::SetReallocateFunction(previous_); }
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

  private:
    static void* Reallocate(void* block, std::size_t size) {
        return --countdown_ == 0 ? nullptr : std::realloc(block, size);
    }

    static inline int countdown_ = 0;
    VardelImages::ReallocateFunction previous_;
};

/// Frees a record the way callers must: each image's bytes, then the record.
struct RecordFree {
    void operator()(ICONRESOURCE* record) const {
        for (std::uint32_t i = 0; i < record->ImageCount; ++i) {
            std::free((record->Images + i)->Bits);
        }
        std::free(record);
    }
};
using Record = std::unique_ptr<ICONRESOURCE, RecordFree>;

}  // namespace ImagesTest
