#include "progress/memory_stream.h"

#include <cstring>

MemoryStream::~MemoryStream() {
  FreeBlock();
}

void MemoryStream::FreeBlock() {
  if (stream_) {
    stream_->Release();
    stream_ = nullptr;
  }
  if (block_ && !stream_owns_block_) GlobalFree(block_);
  block_ = nullptr;
  stream_owns_block_ = false;
}

IStream* MemoryStream::Create(std::span<const unsigned char> data, bool fromData) {
  FreeBlock();
  if (fromData) {
    block_ = GlobalAlloc(GMEM_FIXED, data.size());
    if (!block_) return nullptr;
    if (void* bytes = GlobalLock(block_)) {
      if (!data.empty()) std::memcpy(bytes, data.data(), data.size());
      GlobalUnlock(block_);
    }
    CreateStreamOnHGlobal(block_, FALSE, &stream_);
  } else {
    block_ = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (!block_) return nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(block_, TRUE, &stream_))) {
      stream_owns_block_ = true;
    } else {
      stream_ = nullptr;
    }
  }
  return stream_;
}

IStream* MemoryStream::GetStream() const {
  return stream_;
}

SIZE_T MemoryStream::GetSize() const {
  return block_ ? GlobalSize(block_) : 0;
}

std::vector<unsigned char> MemoryStream::GetBytes() const {
  std::vector<unsigned char> bytes;
  if (!block_) return bytes;
  const SIZE_T size = GlobalSize(block_);
  if (size == 0) return bytes;
  if (const void* source = GlobalLock(block_)) {
    const auto* first = static_cast<const unsigned char*>(source);
    bytes.assign(first, first + size);
    GlobalUnlock(block_);
  }
  return bytes;
}
