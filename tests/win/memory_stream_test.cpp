// MemoryStream in both of its modes: the bytes it holds, the stream over them, and who frees the
// block.
#include "progress/memory_stream.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "assets/assets.h"
#include "progress/gdiplus_api.h"
#include "progress/progress_bar.h"

namespace {

std::vector<unsigned char> Bytes(std::string_view s) {
  return {s.begin(), s.end()};
}

std::vector<unsigned char> ReadAll(IStream* stream) {
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  std::vector<unsigned char> bytes;
  unsigned char buffer[256];
  ULONG read = 0;
  while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0) {
    bytes.insert(bytes.end(), buffer, buffer + read);
  }
  return bytes;
}

void ExpectEmpty(const MemoryStream& m) {
  EXPECT_EQ(nullptr, m.GetStream());
  EXPECT_EQ(0u, m.GetSize());
  EXPECT_TRUE(m.GetBytes().empty());
}

TEST(MemoryStream, NewObjectHoldsNothing) {
  MemoryStream m;
  ExpectEmpty(m);
}

TEST(MemoryStream, FromDataHoldsACopyOfTheDataAndTheStreamReadsIt) {
  std::vector<unsigned char> data = Bytes("PNG or anything else");
  MemoryStream m;
  IStream* stream = m.Create(data, true);
  ASSERT_NE(nullptr, stream);
  EXPECT_EQ(stream, m.GetStream());
  data[0] = 'X';  // a copy: the caller's buffer may change or go
  ASSERT_GE(m.GetSize(), 20u);
  const std::vector<unsigned char> held = m.GetBytes();
  ASSERT_EQ(m.GetSize(), held.size());
  EXPECT_EQ(Bytes("PNG or anything else"),
            std::vector<unsigned char>(held.begin(), held.begin() + 20));
  EXPECT_EQ(Bytes("PNG or anything else"), ReadAll(stream));
}

TEST(MemoryStream, CreateAgainReplacesTheBlockAndTheStream) {
  MemoryStream m;
  m.Create(Bytes("first"), true);
  IStream* second = m.Create(Bytes("second!"), true);
  EXPECT_EQ(Bytes("second!"), ReadAll(second));
  const std::vector<unsigned char> held = m.GetBytes();
  ASSERT_GE(held.size(), 7u);
  EXPECT_EQ(Bytes("second!"), std::vector<unsigned char>(held.begin(), held.begin() + 7));
}

TEST(MemoryStream, FreeBlockGivesUpBlockAndStreamAndASecondCallDoesNothing) {
  MemoryStream never_created;
  never_created.FreeBlock();
  ExpectEmpty(never_created);

  MemoryStream m;
  m.Create(Bytes("data"), true);
  m.FreeBlock();
  ExpectEmpty(m);
  m.FreeBlock();
  ExpectEmpty(m);
  // Usable again afterwards.
  EXPECT_EQ(Bytes("again"), ReadAll(m.Create(Bytes("again"), true)));
}

TEST(MemoryStream, EmptyModeSeesWhatIsWrittenToTheStream) {
  MemoryStream m;
  IStream* stream = m.Create({}, false);
  ASSERT_NE(nullptr, stream);
  EXPECT_TRUE(m.GetBytes().empty());
  ULONG written = 0;
  ASSERT_EQ(S_OK, stream->Write("written through the stream", 26, &written));
  ASSERT_EQ(26u, written);
  // The stream grew the block and kept its handle, so the object sees the bytes.
  ASSERT_GE(m.GetSize(), 26u);
  const std::vector<unsigned char> held = m.GetBytes();
  EXPECT_EQ(Bytes("written through the stream"),
            std::vector<unsigned char>(held.begin(), held.begin() + 26));
}

TEST(MemoryStream, EmptyModeLeavesTheBlockToTheStreamWhichFreesItOnce) {
  IStream* kept = nullptr;
  {
    MemoryStream m;
    kept = m.Create({}, false);
    kept->Write("still here", 10, nullptr);
    kept->AddRef();  // a reader that outlives the object, as an image may
  }
  // The object released its reference and did not free the block under the remaining one.
  EXPECT_EQ(Bytes("still here"), ReadAll(kept));
  EXPECT_EQ(0u, kept->Release());  // the stream frees the block itself, the only time it is freed

  // Re-created in the other mode with the old stream still referenced elsewhere.
  MemoryStream m;
  IStream* old = m.Create({}, false);
  old->Write("old", 3, nullptr);
  old->AddRef();
  IStream* fresh = m.Create(Bytes("new"), true);
  EXPECT_EQ(Bytes("old"), ReadAll(old));
  EXPECT_EQ(Bytes("new"), ReadAll(fresh));
  old->Release();
}

TEST(MemoryStream, TheBarsImagesDecodeFromIt) {
  ASSERT_TRUE(StartGdiplus());
  for (auto asset : {assets::TrackImage, assets::FillImage}) {
    MemoryStream m;
    gdiplus::GpImage* image = nullptr;
    ASSERT_EQ(gdiplus::Ok, gdiplus::GdipLoadImageFromStream(m.Create(asset, true), &image));
    gdiplus::REAL width = 0, height = 0;
    gdiplus::GdipGetImageDimension(image, &width, &height);
    EXPECT_EQ(300.0f, width);
    EXPECT_EQ(10.0f, height);
    gdiplus::GdipDisposeImage(image);
  }
}

}  // namespace
