// The memory that JSON output is written into, and how much of it is kept between writes.
//
// The bounds, all of them here:
// - An output of up to kFirstPiece (31 MiB) is written into one buffer and handed on whole. A
//   larger one goes to the caller's drain: first that piece, too large for the heap, so that the
//   memory receiving it grows without copying; then a piece every kDrainEvery (4 MiB) written,
//   each through the start of the same buffer, already in memory. The buffer of a write of any
//   size stays within about kFirstPiece plus one piece (and a long string's escaped piece).
// - A caller that writes again and again keeps its buffer and the writer's stack of open
//   containers in a KeptOutput. After each write the buffer keeps at most kKeptOutput (8 MiB) and
//   the stack at most kKeptStack (1 MiB, some 30,000 containers open at once); what a larger
//   tree grew them to is given back as the write ends.
//
// Why kept: memory fresh from the system costs as much to write as the writing itself (the
// kernel hands it out a zeroed page at a time), and whether the allocator keeps a freed buffer
// of megabytes for the next call or returns it to the system depends on what else the heap
// holds: the same tree was written at one speed or at several times that.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

namespace qc {

inline constexpr size_t kFirstPiece = size_t(31) << 20;
inline constexpr size_t kDrainEvery = size_t(4) << 20;
inline constexpr size_t kKeptOutput = size_t(8) << 20;
inline constexpr size_t kKeptStack = size_t(1) << 20;

// A growing byte buffer with a reserve-then-write contract: reserve(n) returns room for at
// least n bytes at the end (room() says how many), commit(n) keeps the first n of them. The
// first few hundred bytes live inline; beyond that the storage is malloc'd and grown with
// realloc, which moves a large buffer by remapping its pages instead of copying them.
class Buffer {
 public:
  Buffer() = default;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  ~Buffer() {
    if (data_ != inline_) std::free(data_);
  }
  char* reserve(size_t n) {
    if (cap_ - size_ < n) grow(n);
    return data_ + size_;
  }
  size_t room() const noexcept { return cap_ - size_; }
  void commit(size_t n) noexcept { size_ += n; }
  void put(char c) { *reserve(1) = c, ++size_; }
  void append(std::string_view s) {
    char* p = reserve(s.size());
    if (!s.empty()) __builtin_memcpy(p, s.data(), s.size());
    size_ += s.size();
  }
  const char* data() const noexcept { return data_; }
  size_t size() const noexcept { return size_; }
  std::string_view view() const noexcept { return {data_, size_}; }
  // Drops the first n bytes, keeping the rest and the storage.
  void consume(size_t n) noexcept {
    std::memmove(data_, data_ + n, size_ - n);
    size_ -= n;
  }
  // Empties the buffer, keeping its storage for the next text.
  void reset() noexcept { size_ = 0; }
  // Gives back the storage beyond the first `keep` bytes of an empty buffer.
  void shrink(size_t keep) noexcept;
  size_t capacity() const noexcept { return cap_; }
  // Empties the buffer and gives its heap storage back.
  void clear() noexcept {
    if (data_ != inline_) std::free(data_);
    data_ = inline_;
    size_ = 0;
    cap_ = sizeof(inline_);
  }

 private:
  [[gnu::noinline]] void grow(size_t n);
  char inline_[1024];
  char* data_ = inline_;
  size_t size_ = 0;
  size_t cap_ = sizeof(inline_);
};

// Takes a large output a piece at a time while it is written. Each piece is the buffer's
// text so far, cut after its last whole UTF-8 character; returning false stops the writing.
struct Drain {
  bool (*take)(void* context, std::string_view piece);
  void* context;
};

// Memory for the writer's stack of open containers that a caller keeps from one write to the
// next: a tree nested thousands of levels deep needs an entry per level, which the writer would
// otherwise allocate, grow (copying it) and free again on every call.
class WriterStack {
 public:
  WriterStack() noexcept = default;
  WriterStack(const WriterStack&) = delete;
  WriterStack& operator=(const WriterStack&) = delete;
  ~WriterStack() { std::free(data_); }
  // Gives the memory back when it is more than `keep` bytes.
  void shrink(size_t keep) noexcept {
    if (bytes_ <= keep) return;
    std::free(data_);
    data_ = nullptr;
    bytes_ = 0;
  }
  size_t bytes() const noexcept { return bytes_; }
  // Hands the memory to a writer, which gives back what it ends with (see json.cc).
  void* take(size_t& bytes) noexcept {
    bytes = std::exchange(bytes_, 0);
    return std::exchange(data_, nullptr);
  }
  void give(void* data, size_t bytes) noexcept {
    std::free(data_);
    data_ = data;
    bytes_ = bytes;
  }

 private:
  void* data_ = nullptr;
  size_t bytes_ = 0;
};

// An output buffer and a writer's stack kept from one write to the next, within kKeptOutput and
// kKeptStack after each. One write at a time holds them, through a Lease; a write that starts
// while they are lent (from a signal handler that the drain runs, say) gets an empty lease and
// writes with memory of its own. The owner serialises the leases (the binding: under the
// interpreter lock).
class KeptOutput {
 public:
  KeptOutput() = default;
  KeptOutput(const KeptOutput&) = delete;
  KeptOutput& operator=(const KeptOutput&) = delete;

  class Lease {
   public:
    explicit Lease(KeptOutput& kept) noexcept : kept_(kept.lent_ ? nullptr : &kept) {
      if (kept_) kept_->lent_ = true;
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    // Empties the buffer and gives back what lies beyond the bounds.
    ~Lease() {
      if (kept_) kept_->end_write();
    }
    explicit operator bool() const noexcept { return kept_ != nullptr; }
    Buffer& buffer() const noexcept { return kept_->buffer_; }
    WriterStack& stack() const noexcept { return kept_->stack_; }

   private:
    KeptOutput* kept_;
  };

  size_t buffer_capacity() const noexcept { return buffer_.capacity(); }
  size_t stack_bytes() const noexcept { return stack_.bytes(); }

 private:
  void end_write() noexcept {
    buffer_.reset();
    if (buffer_.capacity() > kKeptOutput) [[unlikely]]
      buffer_.shrink(kKeptOutput);
    if (stack_.bytes() > kKeptStack) [[unlikely]]
      stack_.shrink(kKeptStack);
    lent_ = false;
  }

  Buffer buffer_;
  WriterStack stack_;
  bool lent_ = false;
};

}  // namespace qc
