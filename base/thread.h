// TThread: a worker thread object over std::thread.
//
// A derived class overrides Execute, the thread's body. The object is
// created suspended: its owner hands it what it needs, may choose a priority
// and whether the object frees itself when Execute returns, and then calls
// Start. Until Start nothing runs on another thread, so the fields set
// before it need no lock.
//
// A thread that frees itself is joined all the same: when its body ends it
// hands its std::thread to a process-wide list, from which the next Start,
// or TerminateAllAndWait, joins it. So no such thread is left running once
// TerminateAllAndWait has returned.
#pragma once

#include <atomic>
#include <thread>

namespace quillora {

enum class ThreadPriority {
  kNormal,
  // The highest real-time priority the system allows the process; where it
  // allows none, the thread quietly runs at normal priority.
  kTimeCritical,
};

class TThread {
 public:
  TThread();
  // A started thread that does not free itself is joined here, so its
  // owner may destroy it at any time. Destroying a thread that frees itself
  // is only allowed before Start.
  virtual ~TThread();

  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Set before Start; later calls have no effect.
  void SetPriority(ThreadPriority priority);
  void SetFreeOnTerminate(bool freeOnTerminate);

  // Runs Execute on a new thread. A thread starts once; further calls do
  // nothing. After Start a thread that frees itself may be gone at any
  // moment: its owner must not touch it again.
  void Start();

  // Asks the thread to end early. The default sets Terminated; a derived
  // class may also wake its body. Thread-safe.
  virtual void Terminate();

  // For a thread that does not free itself: returns once Execute has
  // returned (at once when it was never started).
  void WaitFor();

  bool Started() const { return started_; }
  // Whether the priority asked for was granted (known once Execute runs).
  bool RunsAtRequestedPriority() const { return priorityGranted_; }

  // Calls Terminate on every started thread that frees itself and has not
  // yet ended.
  static void TerminateAll();
  // Waits until every started thread that frees itself has ended, and joins
  // them.
  static void WaitForAll();
  // TerminateAll, then WaitForAll.
  static void TerminateAllAndWait();
  // How many started threads that free themselves have not yet ended.
  static int RunningSelfFreeingThreads();

 protected:
  // The thread's body.
  virtual void Execute() = 0;
  bool Terminated() const { return terminated_.load(); }

 private:
  void Run();
  void ApplyPriority();

  std::thread thread_;
  ThreadPriority priority_ = ThreadPriority::kNormal;
  bool freeOnTerminate_ = false;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> priorityGranted_{false};
};

}  // namespace quillora
