#include "appcore/ShapeWorkers.h"

#include <algorithm>

#include "transform/TransformState.h"

namespace tvlc {

TShapeWorkers::TShapeWorkers(std::vector<size_t> order, unsigned threads, TJob job)
    : order_(std::move(order)), job_(std::move(job)) {
  size_t shapes = 0;
  for (size_t shape : order_) shapes = std::max(shapes, shape + 1);
  started_.assign(shapes, false);
  const size_t count = std::max<size_t>(1, std::min<size_t>(threads, order_.size()));
  threads_.reserve(count);
  for (size_t i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
}

TShapeWorkers::~TShapeWorkers() {
  Stop();
  for (std::thread& thread : threads_) thread.join();
}

void TShapeWorkers::Stop() {
  std::lock_guard lock(mutex_);
  stopping_ = true;
}

void TShapeWorkers::Work() {
  TBoundTransformState state;
  std::unique_lock lock(mutex_);
  while (!stopping_ && next_ < order_.size()) {
    const size_t shape = order_[next_++];
    started_[shape] = true;
    ++running_;
    inWork_.push_back(shape);
    lock.unlock();
    job_(shape);
    lock.lock();
    --running_;
    std::erase(inWork_, shape);
    finished_.push_back(shape);
    finishedSignal_.notify_all();
  }
  // The drainer waits for Idle() too.
  finishedSignal_.notify_all();
}

std::vector<size_t> TShapeWorkers::TakeFinished(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  finishedSignal_.wait_for(lock, timeout, [this] {
    return !finished_.empty() || (running_ == 0 && (stopping_ || next_ == order_.size()));
  });
  std::vector<size_t> taken;
  taken.swap(finished_);
  return taken;
}

bool TShapeWorkers::Idle() const {
  std::lock_guard lock(mutex_);
  return running_ == 0 && (stopping_ || next_ == order_.size());
}

bool TShapeWorkers::Started(size_t shape) const {
  std::lock_guard lock(mutex_);
  return shape < started_.size() && started_[shape];
}

std::vector<size_t> TShapeWorkers::InWork() const {
  std::lock_guard lock(mutex_);
  return inWork_;
}

unsigned AllCores() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace tvlc
