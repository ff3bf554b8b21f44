#pragma once

// Zero-filled memory for the few large work areas of a drawing: the picture, the
// pseudosection grid, the palette image of a file writer.
//
// A drawing runs in a fresh process (karvelo-plot) or touches a freshly sized picture
// (the window), so its large buffers are first-touched memory: with ordinary 4 KiB
// pages the kernel takes one fault per page, and on virtual machines that costs more
// than the drawing itself (about 2.5 ms per MiB against well under 0.1 ms per MiB for
// the painting). Large buffers are therefore mapped directly, aligned to 2 MiB and
// offered to the kernel for transparent huge pages, which cuts the faults 512-fold
// where the kernel allows it and changes nothing where it does not.

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace karvelo {

// `bytes` of zero-filled memory (never null; throws std::bad_alloc). Free it with
// FreeLargeMemory and the same size.
void* AllocateLargeMemory(std::size_t bytes);
void FreeLargeMemory(void* memory, std::size_t bytes) noexcept;

// A fixed-size array of trivially copyable values in large-buffer memory, zero-filled.
template <class T>
class LargeBuffer {
  static_assert(std::is_trivially_copyable_v<T>, "large buffers hold plain values");

 public:
  LargeBuffer() = default;
  explicit LargeBuffer(std::size_t count) { Resize(count); }
  ~LargeBuffer() { Release(); }
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;
  LargeBuffer(LargeBuffer&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  LargeBuffer& operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
      Release();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
    }
    return *this;
  }

  // Replaces the contents by `count` zero values.
  void Resize(std::size_t count) {
    Release();
    if (count == 0) return;
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    data_ = static_cast<T*>(AllocateLargeMemory(count * sizeof(T)));
    size_ = count;
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

 private:
  void Release() noexcept {
    if (data_ != nullptr) FreeLargeMemory(data_, size_ * sizeof(T));
    data_ = nullptr;
    size_ = 0;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace karvelo
