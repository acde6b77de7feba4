// MemoryStream turns a block of bytes in global memory into a COM stream, which is what GDI+'s
// image loader reads. It has two modes:
//  - from data: the block is fixed and exactly as long as the data; the stream never frees it, the
//    object does;
//  - empty: the block is movable and starts 0 bytes long; the stream grows it as data is written
//    and frees it itself when its last reference goes. GetSize and GetBytes see what was written.
// The object holds one reference to its stream and gives it up in FreeBlock, before the block is
// freed, so the stream is never left over a freed block. Whoever reads the stream (an image loaded
// from it) must be done with it before the object is destroyed or re-created. No operation
// reports a failure of the system: a block that could not be made leaves GetStream null and
// GetSize 0.
#pragma once

#include <objidl.h>
#include <windows.h>

#include <span>
#include <vector>

class MemoryStream {
 public:
  MemoryStream() = default;
  // Runs FreeBlock.
  virtual ~MemoryStream();
  // Never copied: a copy would share the block and the stream, and the first of the two objects
  // to be destroyed would free the block under the other. So the copy operation is left out.
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  // Releases the stream reference and gives up the block: frees it in the from-data mode, and in
  // the empty mode leaves it to the stream, which frees it with its last reference. Does nothing
  // when the object holds no block; a second call does nothing.
  virtual void FreeBlock();
  // Runs FreeBlock, then makes a new block and a stream over it: with fromData, a fixed block
  // holding a copy of `data`; without, an empty movable block (data is not looked at). Gives the
  // stream, which the object keeps holding (the caller does not get a reference of its own); null
  // when the block or the stream could not be made.
  virtual IStream* Create(std::span<const unsigned char> data, bool fromData);
  // The stream; null when there is none.
  virtual IStream* GetStream() const;
  // The block's size in bytes as the system reports it (GlobalSize); 0 without a block.
  virtual SIZE_T GetSize() const;
  // A copy of the block's first GetSize() bytes; empty without a block.
  virtual std::vector<unsigned char> GetBytes() const;

 private:
  HGLOBAL block_ = nullptr;
  IStream* stream_ = nullptr;
  bool stream_owns_block_ = false;  // the empty mode
};
