#include "base/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace quillora {
namespace {

class CountingThread : public TThread {
 public:
  explicit CountingThread(std::atomic<int>& runs,
                          std::atomic<int>* destroyed = nullptr)
      : runs_(runs), destroyed_(destroyed) {}
  ~CountingThread() override {
    WaitFor();
    if (destroyed_) ++*destroyed_;
  }

 protected:
  void Execute() override { ++runs_; }

 private:
  std::atomic<int>& runs_;
  std::atomic<int>* destroyed_;
};

// Runs until asked to terminate.
class WaitingThread final : public TThread {
 protected:
  void Execute() override {
    while (!Terminated()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
};

class FailingThread final : public TThread {
 protected:
  void Execute() override { throw std::runtime_error("body failed"); }
};

TEST(ThreadTest, RunsOnlyOnceStartedAndOnlyOnce) {
  std::atomic<int> runs = 0;
  CountingThread thread(runs);
  EXPECT_FALSE(thread.Started());
  EXPECT_EQ(runs, 0);
  thread.Start();
  thread.Start();
  thread.WaitFor();
  EXPECT_EQ(runs, 1);
}

TEST(ThreadTest, NeverStartedThreadIsDestroyedWithoutRunning) {
  std::atomic<int> runs = 0;
  { CountingThread thread(runs); }
  EXPECT_EQ(runs, 0);
}

TEST(ThreadTest, SelfFreeingThreadsDeleteThemselvesAndAreJoined) {
  std::atomic<int> runs = 0, destroyed = 0;
  for (int i = 0; i < 8; ++i) {
    auto* thread = new CountingThread(runs, &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->Start();
  }
  TThread::TerminateAllAndWait();
  EXPECT_EQ(runs, 8);
  EXPECT_EQ(destroyed, 8);
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
}

TEST(ThreadTest, TerminateAllEndsRunningThreads) {
  for (int i = 0; i < 3; ++i) {
    auto* thread = new WaitingThread;
    thread->SetFreeOnTerminate(true);
    thread->Start();
  }
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 3);
  TThread::TerminateAllAndWait();
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
}

// Real-time priority is granted only where the system allows it; either
// way the thread runs.
TEST(ThreadTest, TimeCriticalPriorityRunsWhereverItIsRefused) {
  std::atomic<int> runs = 0;
  CountingThread thread(runs);
  thread.SetPriority(ThreadPriority::kTimeCritical);
  thread.Start();
  thread.WaitFor();
  EXPECT_EQ(runs, 1);
  CountingThread normal(runs);
  normal.Start();
  normal.WaitFor();
  EXPECT_TRUE(normal.RunsAtRequestedPriority());
}

TEST(ThreadTest, FailingBodyEndsItsThreadQuietly) {
  auto* thread = new FailingThread;
  thread->SetFreeOnTerminate(true);
  thread->Start();
  TThread::TerminateAllAndWait();
  EXPECT_EQ(TThread::RunningSelfFreeingThreads(), 0);
}

}  // namespace
}  // namespace quillora
