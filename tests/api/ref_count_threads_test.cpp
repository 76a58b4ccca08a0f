#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"

namespace {

// Implementations that count their destructions, to see that the last handle
// destroys the shared object exactly once.
class CountingFamily : public CBrowseFamilyIdImpl {
  public:
    explicit CountingFamily(std::atomic<int>& destroyed)
        : CBrowseFamilyIdImpl(nullptr, L"fam", L"Metric", std::nullopt), destroyed_(destroyed) {}
    ~CountingFamily() override { ++destroyed_; }

  private:
    std::atomic<int>& destroyed_;
};

class CountingContext : public ContextImpl {
  public:
    explicit CountingContext(std::atomic<int>& destroyed) : destroyed_(destroyed) {}
    ~CountingContext() override { ++destroyed_; }

  private:
    std::atomic<int>& destroyed_;
};

constexpr int kThreads = 8;
constexpr int kCopiesPerThread = 20000;

// Copies and drops `shared` from several threads at once, through copy
// construction and assignment in both directions.
template <class Handle>
void CopyAndDropConcurrently(const Handle& shared) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&shared] {
            Handle held;
            for (int i = 0; i < kCopiesPerThread; ++i) {
                Handle copy(shared);
                held = copy;
                held = Handle();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

TEST(RefCount, BrowseIdSharedAcrossThreadsIsDestroyedOnce) {
    std::atomic<int> destroyed{0};
    {
        const Vardel::CBrowseId shared =
            VardelUtils::BrowseIdAccess::Wrap(new CountingFamily(destroyed));
        CopyAndDropConcurrently(shared);
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(shared.GetInternalName(), L"fam");
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(VardelUtils::BrowseIdAccess::Wrap(nullptr).IsNULL());
}

TEST(RefCount, ContextSharedAcrossThreadsIsDestroyedOnce) {
    std::atomic<int> destroyed{0};
    {
        const Vardel::CContext shared =
            VardelUtils::ContextAccess::Wrap(new CountingContext(destroyed));
        CopyAndDropConcurrently(shared);
        EXPECT_EQ(destroyed, 0);
        EXPECT_FALSE(shared.IsNULL());
    }
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
