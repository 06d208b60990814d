// The output buffer's storage (output.h).
#include "quarnel/compute/model/output.h"

#include <new>

namespace qc {

void Buffer::grow(size_t n) {
  size_t cap = cap_ * 2;
  if (cap - size_ < n) cap = size_ + n;
  char* d;
  if (data_ == inline_) {
    d = static_cast<char*>(std::malloc(cap));
    if (d) std::memcpy(d, data_, size_);
  } else {
    d = static_cast<char*>(std::realloc(data_, cap));
  }
  if (!d) throw std::bad_alloc();
  data_ = d;
  cap_ = cap;
}

void Buffer::shrink(size_t keep) noexcept {
  if (data_ == inline_ || cap_ <= keep) return;
  // Shrinking in place keeps the pages that remain, already backed by memory.
  void* d = keep > sizeof(inline_) ? std::realloc(data_, keep) : nullptr;
  if (!d) return clear();
  data_ = static_cast<char*>(d);
  cap_ = keep;
  size_ = 0;
}

}  // namespace qc
