#include "base/thread.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

namespace quillora {
namespace {

// The threads that free themselves: those still running, and the handles of
// those that have ended, waiting to be joined.
struct SelfFreeingThreads {
  std::mutex mutex;
  std::condition_variable ended;
  std::set<TThread*> running;
  std::vector<std::thread> finished;
};

// Never destroyed: a thread may end while the process exits.
SelfFreeingThreads& Registry() {
  static auto* registry = new SelfFreeingThreads;
  return *registry;
}

// Joins the handles of the self-freeing threads that have ended. Each of
// them has at most its own deletion left to run.
void JoinFinished() {
  std::vector<std::thread> finished;
  {
    std::lock_guard lock(Registry().mutex);
    finished.swap(Registry().finished);
  }
  for (std::thread& thread : finished) thread.join();
}

// SCHED_FIFO at the highest priority the scheduler has, else at the highest
// that the process's real-time limit allows. True when one was granted.
bool RaiseToRealTime() {
  sched_param param{};
  param.sched_priority = sched_get_priority_max(SCHED_FIFO);
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) {
    return true;
  }
  rlimit limit{};
  if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_cur == 0) {
    return false;
  }
  param.sched_priority = static_cast<int>(std::min<rlim_t>(
      limit.rlim_cur, static_cast<rlim_t>(param.sched_priority)));
  return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace

TThread::TThread() = default;

TThread::~TThread() { WaitFor(); }

void TThread::SetPriority(ThreadPriority priority) {
  if (!started_) priority_ = priority;
}

void TThread::SetFreeOnTerminate(bool freeOnTerminate) {
  if (!started_) freeOnTerminate_ = freeOnTerminate;
}

void TThread::Start() {
  if (started_) return;
  JoinFinished();
  if (!freeOnTerminate_) {
    thread_ = std::thread(&TThread::Run, this);
    started_ = true;
    return;
  }
  // The lock keeps the new thread from handing its std::thread over before
  // this one has stored it.
  SelfFreeingThreads& registry = Registry();
  std::lock_guard lock(registry.mutex);
  registry.running.insert(this);
  try {
    thread_ = std::thread(&TThread::Run, this);
  } catch (...) {
    registry.running.erase(this);
    throw;
  }
  started_ = true;
}

void TThread::Terminate() { terminated_ = true; }

void TThread::WaitFor() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
    thread_.join();
  }
}

void TThread::TerminateAll() {
  SelfFreeingThreads& registry = Registry();
  std::lock_guard lock(registry.mutex);
  // A thread leaves the set under this lock before it deletes itself, so
  // every thread named here is still alive.
  for (TThread* thread : registry.running) thread->Terminate();
}

void TThread::WaitForAll() {
  SelfFreeingThreads& registry = Registry();
  {
    std::unique_lock lock(registry.mutex);
    registry.ended.wait(lock, [&] { return registry.running.empty(); });
  }
  JoinFinished();
}

void TThread::TerminateAllAndWait() {
  TerminateAll();
  WaitForAll();
}

int TThread::RunningSelfFreeingThreads() {
  std::lock_guard lock(Registry().mutex);
  return static_cast<int>(Registry().running.size());
}

void TThread::Run() {
  ApplyPriority();
  try {
    Execute();
  } catch (...) {
    // A body that fails ends its thread quietly; nobody waits for a report.
  }
  if (!freeOnTerminate_) return;
  {
    SelfFreeingThreads& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.running.erase(this);
    registry.finished.push_back(std::move(thread_));
    registry.ended.notify_all();
  }
  delete this;
}

void TThread::ApplyPriority() {
  priorityGranted_ =
      priority_ == ThreadPriority::kNormal ? true : RaiseToRealTime();
}

}  // namespace quillora
