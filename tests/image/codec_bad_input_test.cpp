// Damaged PNG, JPEG and TIFF files: each load fails with a message and never crashes or
// allocates for a size the data cannot back.
#include "image/image_file.h"
#include "image_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using ::testing::HasSubstr;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

std::vector<uint8_t> encoded(int type) {
  const std::string path = tempPath("encoded" + std::to_string(type));
  EXPECT_EQ(saveImage(testPicture(24, 16), path, type, RowOrder::kTopFirst), 1);
  return fileBytes(path);
}

// Loads `bytes`; expects failure and returns what was reported.
std::string failedLoad(const std::vector<uint8_t> &bytes, int type) {
  ImageBuffer image;
  CaptureStderr();
  const int result = loadImageFromMemory(image, bytes.data(), bytes.size(), type, false, "t");
  const std::string messages = GetCapturedStderr();
  EXPECT_EQ(result, 0);
  EXPECT_NE(messages, "");
  return messages;
}

void putBe32(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

TEST(CodecBadInput, Png) {
  const std::vector<uint8_t> good = encoded(kImagePng);
  EXPECT_THAT(failedLoad({good.begin(), good.begin() + long(good.size() / 2)}, kImagePng),
              HasSubstr("truncated"));
  EXPECT_THAT(failedLoad({1, 2, 3}, kImagePng), HasSubstr("not a PNG file"));
  // IHDR claiming 100000 x 100000, with a correct checksum.
  std::vector<uint8_t> huge = good;
  putBe32(&huge[16], 100000);
  putBe32(&huge[20], 100000);
  putBe32(&huge[29], uint32_t(crc32(0, &huge[12], 17)));
  failedLoad(huge, kImagePng);
  // 8192 x 8192 is within the limits but the data cannot fill it.
  putBe32(&huge[16], 8192);
  putBe32(&huge[20], 8192);
  putBe32(&huge[29], uint32_t(crc32(0, &huge[12], 17)));
  failedLoad(huge, kImagePng);
  std::vector<uint8_t> corrupt = good;
  for (size_t i = 60; i < corrupt.size() - 20; i += 7)
    corrupt[i] ^= 0x5a;
  failedLoad(corrupt, kImagePng);
}

TEST(CodecBadInput, Jpeg) {
  const std::vector<uint8_t> good = encoded(kImageJpeg);
  EXPECT_THAT(failedLoad({good.begin(), good.end() - 40}, kImageJpeg),
              HasSubstr("Premature end of JPEG file"));
  failedLoad({0xff, 0xd8, 0xff}, kImageJpeg);
  failedLoad({'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}, kImageJpeg);
  failedLoad({}, kImageJpeg);
  // Frame header claiming 40000 x 40000.
  std::vector<uint8_t> huge = good;
  for (size_t i = 0; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xff && huge[i + 1] == 0xc0) {
      huge[i + 5] = huge[i + 7] = 40000 >> 8;
      huge[i + 6] = huge[i + 8] = 40000 & 0xff;
      break;
    }
  EXPECT_THAT(failedLoad(huge, kImageJpeg), HasSubstr("unsupported image size 40000 x 40000"));
}

TEST(CodecBadInput, Tiff) {
  const std::vector<uint8_t> good = encoded(kImageTiff);
  EXPECT_THAT(failedLoad({'I', 'I', 42}, kImageTiff), HasSubstr("Trouble opening tiff file: t"));
  failedLoad({good.begin(), good.begin() + long(good.size() / 2)}, kImageTiff);
  // Image width tag rewritten to 100000 (a LONG).
  ASSERT_EQ(good[0], 'M'); // written big-endian
  std::vector<uint8_t> huge = good;
  const uint32_t ifd = uint32_t(huge[4]) << 24 | huge[5] << 16 | huge[6] << 8 | huge[7];
  ASSERT_LT(ifd + 2, huge.size());
  const int entries = huge[ifd] << 8 | huge[ifd + 1];
  bool patched = false;
  for (int e = 0; e < entries; ++e) {
    uint8_t *entry = &huge[ifd + 2 + 12 * size_t(e)];
    if ((entry[0] << 8 | entry[1]) == 256) {
      entry[2] = 0;
      entry[3] = 4;
      putBe32(entry + 8, 100000);
      patched = true;
    }
  }
  ASSERT_TRUE(patched);
  failedLoad(huge, kImageTiff);
}

} // namespace
