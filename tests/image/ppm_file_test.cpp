#include "image/image_file.h"
#include "image_test_support.h"

#include <gtest/gtest.h>

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

std::vector<uint8_t> bytesOf(const std::string &text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

int loadPpm(ImageBuffer &image, const std::string &text, bool flag, std::string *messages) {
  const std::vector<uint8_t> bytes = bytesOf(text);
  CaptureStderr();
  const int result = loadImageFromMemory(image, bytes.data(), bytes.size(), kImagePpm, flag, "t");
  *messages = GetCapturedStderr();
  return result;
}

TEST(PpmFile, CommentBetweenWidthAndHeightLoadsAndFlagPicksRowOrder) {
  const std::string p3 = "P3\n2 # width\n# a whole comment line\n2\n255\n"
                         "1 2 3  4 5 6\n7 8 9  10 11 12\n";
  std::string messages;
  ImageBuffer fileOrder;
  ASSERT_EQ(loadPpm(fileOrder, p3, false, &messages), 1) << messages;
  EXPECT_EQ(fileOrder.width(), 2);
  EXPECT_EQ(fileOrder.height(), 2);
  EXPECT_EQ(fileOrder.at(0, 0), packRgba(1, 2, 3, 255));
  EXPECT_EQ(fileOrder.at(1, 1), packRgba(10, 11, 12, 255));
  ImageBuffer flipped;
  ASSERT_EQ(loadPpm(flipped, p3, true, &messages), 1);
  EXPECT_EQ(flipped.at(0, 1), packRgba(1, 2, 3, 255));
  EXPECT_EQ(flipped.at(1, 0), packRgba(10, 11, 12, 255));
}

TEST(PpmFile, ValuesAreStoredUnscaled) {
  std::string messages;
  ImageBuffer image;
  ASSERT_EQ(loadPpm(image, "p6 1 1 15\n\x0f\x07\x01", false, &messages), 1) << messages;
  EXPECT_EQ(image.at(0, 0), packRgba(15, 7, 1, 255));
}

TEST(PpmFile, FirstPixelByteMayBeABlank) {
  std::string messages;
  ImageBuffer image;
  ASSERT_EQ(loadPpm(image, std::string("P6\n1 2\n255\n \n\t") + "abc", false, &messages), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(' ', '\n', '\t', 255));
  EXPECT_EQ(image.at(0, 1), packRgba('a', 'b', 'c', 255));
}

TEST(PpmFile, RefusesWideSamplesForeignMagicAndBadHeaders) {
  std::string messages;
  ImageBuffer image;
  EXPECT_EQ(loadPpm(image, "P6 1 1 65535\n\x01\x02\x03\x04\x05\x06", false, &messages), 0);
  EXPECT_EQ(messages, "Un-supported pixel type\n");
  EXPECT_EQ(loadPpm(image, "P5 1 1 255\n\x01", false, &messages), 0);
  EXPECT_EQ(messages, "t is not PPM\n");
  EXPECT_EQ(loadPpm(image, "", false, &messages), 0);
  EXPECT_EQ(messages, "t is not PPM\n");
  EXPECT_EQ(loadPpm(image, "P6 1 x 255\n\x01\x02\x03", false, &messages), 0);
  EXPECT_NE(messages, "");
  EXPECT_EQ(loadPpm(image, "P3 1 1 255\n1 2 300\n", false, &messages), 0);
  EXPECT_NE(messages, "");
}

TEST(PpmFile, AbsurdOrTruncatedSizesFailBeforeAllocating) {
  std::string messages;
  ImageBuffer image;
  EXPECT_EQ(loadPpm(image, "P6 100000 100000 255\n\x01\x02\x03", false, &messages), 0);
  EXPECT_NE(messages.find("unsupported image size 100000 x 100000"), std::string::npos);
  EXPECT_EQ(loadPpm(image, "P6 99999999999999999999999 1 255\n", false, &messages), 0);
  EXPECT_NE(messages, "");
  // 4096 x 4096 is a supported size, but the data for it is missing.
  EXPECT_EQ(loadPpm(image, "P6 4096 4096 255\n\x01\x02\x03", false, &messages), 0);
  EXPECT_NE(messages.find("truncated"), std::string::npos);
  EXPECT_EQ(loadPpm(image, "P6 0 3 255\n", false, &messages), 0);
  EXPECT_TRUE(image.empty());
}

TEST(PpmFile, WriterHeaderAndRowOrder) {
  const ImageBuffer picture = testPicture(3, 2);
  const std::string path = tempPath("header.ppm");
  ASSERT_EQ(saveImage(picture, path, kImagePpm, RowOrder::kTopFirst), 1);
  const std::vector<uint8_t> bytes = fileBytes(path);
  const std::string header = "P6\n# CREATOR: Quillbert by Tervane Graphics\n3 2\n255\n";
  ASSERT_EQ(bytes.size(), header.size() + 3 * 2 * 3);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + long(header.size())), header);
  // With the flag set the last memory row comes first.
  EXPECT_EQ(bytes[header.size()], redOf(picture.at(0, 1)));
  ImageBuffer back;
  ASSERT_EQ(loadImage(back, path, kImagePpm, true), 1);
  EXPECT_TRUE(samePixels(picture, back));
}

TEST(PpmFile, UnwritablePathReportsAndFails) {
  const ImageBuffer picture = testPicture(2, 2);
  CaptureStderr();
  EXPECT_EQ(saveImage(picture, "/nonexistent-dir/x.ppm", kImagePpm, RowOrder::kTopFirst), 0);
  EXPECT_EQ(GetCapturedStderr(),
            "Cannot open file /nonexistent-dir/x.ppm: No such file or directory\n");
  CaptureStderr();
  ImageBuffer image;
  EXPECT_EQ(loadImage(image, "/nonexistent-dir/x.ppm", kImagePpm, false), 0);
  EXPECT_EQ(GetCapturedStderr(), "Cannot open file /nonexistent-dir/x.ppm\n");
}

} // namespace
