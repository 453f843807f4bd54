// A pool of worker threads that runs one job per shape of a batch, started
// in a given order (largest windows first), each worker with a transform
// state of its own bound for its lifetime (transform/TransformState.h). The
// thread that made the pool drains the finished shapes; after Stop no job
// starts any more, and running jobs see Stopping() at their next progress
// notification. Jobs must not touch anything but their own shape and the
// entries the caller gave them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tvlc {

class TShapeWorkers {
 public:
  using TJob = std::function<void(size_t shape)>;

  // Starts min(threads, order.size()) workers (at least one).
  TShapeWorkers(std::vector<size_t> order, unsigned threads, TJob job);
  // Stops and joins the workers.
  ~TShapeWorkers();
  TShapeWorkers(const TShapeWorkers&) = delete;
  TShapeWorkers& operator=(const TShapeWorkers&) = delete;

  void Stop();
  bool Stopping() const { return stopping_.load(std::memory_order_relaxed); }

  // Shapes finished since the last call, waiting up to `timeout` for one.
  std::vector<size_t> TakeFinished(std::chrono::milliseconds timeout);
  // No job runs and none will start.
  bool Idle() const;
  // The shape's job was started; final once Idle().
  bool Started(size_t shape) const;
  // Shapes whose jobs run now, in the order they started.
  std::vector<size_t> InWork() const;

 private:
  void Work();

  const std::vector<size_t> order_;
  const TJob job_;
  mutable std::mutex mutex_;
  std::condition_variable finishedSignal_;
  size_t next_ = 0;     // position in order_ of the next job to start
  size_t running_ = 0;  // jobs started and not finished
  std::vector<bool> started_;
  std::vector<size_t> finished_;
  std::vector<size_t> inWork_;
  std::atomic<bool> stopping_ = false;
  std::vector<std::thread> threads_;
};

// The worker count a batch uses by default: every core.
unsigned AllCores();

}  // namespace tvlc
