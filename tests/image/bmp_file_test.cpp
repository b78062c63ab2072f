#include "image/image_file.h"
#include "image_test_support.h"

#include <gtest/gtest.h>

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

void put16(std::vector<uint8_t> &b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t> &b, uint32_t v) {
  put16(b, v);
  put16(b, v >> 16);
}

// A Windows bitmap: file header, 40-byte information header, colour table entries given as
// (blue, green, red, 0) packed with blue lowest, then the stored rows.
std::vector<uint8_t> windowsBmp(uint16_t bitCount, int32_t width, int32_t height,
                                const std::vector<uint32_t> &table,
                                const std::vector<uint8_t> &rows, uint32_t colorsUsed = 0) {
  const uint32_t offset = 14 + 40 + uint32_t(table.size()) * 4;
  std::vector<uint8_t> b = {'B', 'M'};
  put32(b, offset + uint32_t(rows.size()));
  put32(b, 0);
  put32(b, offset);
  put32(b, 40);
  put32(b, uint32_t(width));
  put32(b, uint32_t(height));
  put16(b, 1);
  put16(b, bitCount);
  for (uint32_t field : {0u, uint32_t(rows.size()), 2835u, 2835u, colorsUsed, 0u})
    put32(b, field);
  for (uint32_t entry : table)
    put32(b, entry);
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

// Table entry for red r, green g, blue b as stored (blue first).
uint32_t entry(uint8_t r, uint8_t g, uint8_t b) { return uint32_t(b) | g << 8 | r << 16; }

std::vector<uint32_t> sixteenColors() {
  std::vector<uint32_t> table;
  for (int i = 0; i < 16; ++i)
    table.push_back(entry(uint8_t(i * 10), uint8_t(i * 15), uint8_t(255 - i)));
  return table;
}

int loadBmp(ImageBuffer &image, const std::vector<uint8_t> &bytes, std::string *messages) {
  CaptureStderr();
  const int result = loadImageFromMemory(image, bytes.data(), bytes.size(), kImageBmp, true, "t");
  *messages = GetCapturedStderr();
  return result;
}

TEST(BmpFile, FourBitRowsArePaddedAndTheHighNibbleComesFirst) {
  // Width 3 at 4 bits: 2 bytes of pixels padded to 4; padding bytes hold junk on purpose.
  const std::vector<uint8_t> rows = {0x12, 0x3f, 0xee, 0xee, 0x45, 0x6f, 0xee, 0xee};
  ImageBuffer image;
  std::string messages;
  ASSERT_EQ(loadBmp(image, windowsBmp(4, 3, 2, sixteenColors(), rows), &messages), 1) << messages;
  ASSERT_EQ(image.width(), 3);
  ASSERT_EQ(image.height(), 2);
  const auto color = [](int i) {
    return packRgba(uint8_t(i * 10), uint8_t(i * 15), uint8_t(255 - i));
  };
  // Stored rows run bottom-up, as memory rows do.
  EXPECT_EQ(image.at(0, 0), color(1));
  EXPECT_EQ(image.at(1, 0), color(2));
  EXPECT_EQ(image.at(2, 0), color(3));
  EXPECT_EQ(image.at(0, 1), color(4));
  EXPECT_EQ(image.at(2, 1), color(6));
}

TEST(BmpFile, TwentyFourBitRedStaysRedAndTopDownRowsAreTurned) {
  ImageBuffer image;
  std::string messages;
  ASSERT_EQ(loadBmp(image, windowsBmp(24, 1, 1, {}, {0x00, 0x00, 0xff, 0x00}), &messages), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(255, 0, 0, 255));
  // Negative height: the first stored row is the top of the picture.
  const std::vector<uint8_t> rows = {0, 0, 0xff, 0, 0xff, 0, 0, 0};
  ASSERT_EQ(loadBmp(image, windowsBmp(24, 1, -2, {}, rows), &messages), 1) << messages;
  EXPECT_EQ(image.at(0, 1), packRgba(255, 0, 0, 255));
  EXPECT_EQ(image.at(0, 0), packRgba(0, 0, 255, 255));
}

TEST(BmpFile, OneAndEightBitPalettesWithShortTablesAndCoreHeaders) {
  ImageBuffer image;
  std::string messages;
  // 1 bit, width 9: the most significant bit is the first pixel; the ninth sits in byte 2.
  const std::vector<uint32_t> two = {entry(0, 0, 0), entry(255, 255, 255)};
  ASSERT_EQ(loadBmp(image, windowsBmp(1, 9, 1, two, {0x80, 0x80, 0, 0}), &messages), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(255, 255, 255));
  EXPECT_EQ(image.at(1, 0), packRgba(0, 0, 0));
  EXPECT_EQ(image.at(8, 0), packRgba(255, 255, 255));
  // 8 bits with two colours used: an index past the table gives black, not a stray read.
  const std::vector<uint32_t> table = {entry(1, 2, 3), entry(9, 8, 7)};
  ASSERT_EQ(loadBmp(image, windowsBmp(8, 2, 1, table, {1, 200, 0, 0}, 2), &messages), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(9, 8, 7));
  EXPECT_EQ(image.at(1, 0), packRgba(0, 0, 0));
  // OS/2 core header: 12 bytes, 16-bit sizes, 3-byte table entries.
  std::vector<uint8_t> core = {'B', 'M'};
  put32(core, 14 + 12 + 6 + 4);
  put32(core, 0);
  put32(core, 14 + 12 + 6);
  put32(core, 12);
  put16(core, 2);
  put16(core, 1);
  put16(core, 1);
  put16(core, 1);
  core.insert(core.end(), {10, 20, 30, 40, 50, 60, 0x40, 0, 0, 0});
  ASSERT_EQ(loadBmp(image, core, &messages), 1) << messages;
  EXPECT_EQ(image.at(0, 0), packRgba(30, 20, 10));
  EXPECT_EQ(image.at(1, 0), packRgba(60, 50, 40));
}

TEST(BmpFile, SixteenAndThirtyTwoBitPixelsWithAndWithoutMasks) {
  ImageBuffer image;
  std::string messages;
  // 16 bits, 5-5-5: pure red, then green 16 of 31.
  const std::vector<uint8_t> rgb555 = {0x00, 0x7c, 0x00, 0x02};
  ASSERT_EQ(loadBmp(image, windowsBmp(16, 2, 1, {}, rgb555), &messages), 1) << messages;
  EXPECT_EQ(image.at(0, 0), packRgba(255, 0, 0));
  EXPECT_EQ(image.at(1, 0), packRgba(0, 131, 0));
  // 32 bits, blue, green, red and an unused byte.
  ASSERT_EQ(loadBmp(image, windowsBmp(32, 1, 1, {}, {10, 20, 30, 99}), &messages), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(30, 20, 10));
  // 16 bits with 5-6-5 masks, stored where the colour table would be.
  std::vector<uint8_t> bytes =
      windowsBmp(16, 2, 1, {0xf800, 0x07e0, 0x001f}, {0xe0, 0x07, 0x1f, 0x00});
  bytes[30] = 3; // bit fields
  ASSERT_EQ(loadBmp(image, bytes, &messages), 1) << messages;
  EXPECT_EQ(image.at(0, 0), packRgba(0, 255, 0));
  EXPECT_EQ(image.at(1, 0), packRgba(0, 0, 255));
}

TEST(BmpFile, RunLengthDataIsRefusedNotLoadedAsBlack) {
  std::vector<uint8_t> bytes = windowsBmp(8, 8192, 8192, {entry(9, 9, 9)}, {0, 1}, 1);
  bytes[30] = 1; // RLE8
  ImageBuffer image;
  std::string messages;
  EXPECT_EQ(loadBmp(image, bytes, &messages), 0);
  EXPECT_EQ(messages, "Unsupported bitmap encoding: compression 1, 8 bits per pixel\n"
                      "Trouble loading BMP image t\n");
  EXPECT_TRUE(image.empty());
}

TEST(BmpFile, DamagedFilesFailWithTheirReason) {
  const std::vector<uint8_t> good = windowsBmp(24, 2, 2, {}, std::vector<uint8_t>(16, 0x7f));
  ImageBuffer image;
  std::string messages;
  const auto expectFailure = [&](std::vector<uint8_t> bytes, const std::string &reason) {
    EXPECT_EQ(loadBmp(image, bytes, &messages), 0);
    EXPECT_EQ(messages, reason + "\nTrouble loading BMP image t\n");
  };
  expectFailure({'B', 'M', 0}, "Failed to read BMP.");
  std::vector<uint8_t> bad = good;
  bad[0] = 'X';
  expectFailure(bad, "Not a bitmap file");
  expectFailure(std::vector<uint8_t>(good.begin(), good.begin() + 30),
                "Failed to read moBMP_INFOHEADER");
  bad = good;
  bad[14] = 20;
  expectFailure(bad, "File is not Windows or PM DIB format");
  expectFailure(std::vector<uint8_t>(good.begin(), good.end() - 3),
                "Failed to read bits, read = 13, wanted = 16");
  // Colour table running past the end of the file.
  expectFailure(windowsBmp(8, 1, 1, {}, {}), "Failed to read color table");
  // The file size field claims less data than the rows need.
  bad = good;
  bad[2] -= 8;
  expectFailure(bad, "Bitmap rows need 16 bytes, the file has 8");
  // A header's word alone never allocates: 100000 x 100000 is refused outright.
  expectFailure(windowsBmp(24, 100000, 100000, {}, {}), "Unsupported bitmap size 100000 x 100000");
  EXPECT_TRUE(image.empty());
}

TEST(BmpFile, SavingWritesABitmapThatLoadsBack) {
  const ImageBuffer picture = testPicture(5, 3);
  const std::string path = tempPath("saved.bmp");
  ASSERT_EQ(saveImage(picture, path, kImageBmp, RowOrder::kTopFirst), 1);
  ASSERT_TRUE(fileExists(path));
  const std::vector<uint8_t> bytes = fileBytes(path);
  // Rows of 15 bytes padded to 16.
  EXPECT_EQ(bytes.size(), 54u + 16 * 3);
  ImageBuffer back;
  ASSERT_EQ(loadImage(back, path, kImageBmp, false), 1);
  EXPECT_TRUE(samePixels(picture, back));
}

} // namespace
