// Takes the pieces of a source one ahead on a thread of its own: while the
// caller works on one piece, the next is being read (and converted), so a
// reading that would otherwise hold up both threads of the work runs beside
// it. The source is called on that thread only, one piece at a time, in
// order; a failure it throws reaches the caller at the piece it would have
// given. Without a thread to be had, the caller reads each piece itself.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quirlex {

class ReadAhead {
 public:
  // Fills its argument with the next piece; false, once the source has ended.
  using Source = std::function<bool(std::string& piece)>;

  // Starts reading the first piece of `source`, which must outlive this object.
  explicit ReadAhead(Source source);
  // Waits for a piece being read to end (a source that blocks holds this
  // up), and drops it.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Replaces `piece` with the next piece of the source (its memory is reused
  // for a later one); false once the source has ended. A failure of the
  // source is thrown here, once, and ends the pieces.
  bool next(std::string& piece);

 private:
  enum class State { kReading, kReady, kEnded, kFailed };

  void read();

  Source source_;
  std::mutex mutex_;
  std::condition_variable changed_;
  State state_ = State::kReading;
  bool quit_ = false;
  std::string ahead_;  // the piece read ahead, once kReady
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace quirlex
