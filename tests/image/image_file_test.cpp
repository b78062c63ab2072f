#include "image/image_file.h"
#include "image_test_support.h"

#include <gtest/gtest.h>
#include <png.h>
// jpeglib.h needs FILE and size_t declared first.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <jpeglib.h>

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

TEST(ImageFile, TypeComesFromTheLastFourCharacters) {
  EXPECT_EQ(imageType("photo.jpeg"), kImageJpeg);
  EXPECT_EQ(imageType("a.JPG"), kImageJpeg);
  EXPECT_EQ(imageType("a.TIF"), kImageTiff);
  EXPECT_EQ(imageType("b.tiff"), kImageTiff);
  EXPECT_EQ(imageType("b.TIFf"), kImageTiff);
  EXPECT_EQ(imageType("c.gif"), kImageGif);
  EXPECT_EQ(imageType("x.bmp"), kImageBmp);
  EXPECT_EQ(imageType("x.PNG"), kImagePng);
  EXPECT_EQ(imageType("dir/y.ppm"), kImagePpm);
  EXPECT_EQ(imageType("abc"), kImageOther);
  EXPECT_EQ(imageType(".png"), kImageOther); // shorter than 5 characters
  EXPECT_EQ(imageType("a.Png"), kImageOther);
  EXPECT_EQ(imageType("a.TIFF"), kImageOther);
}

TEST(ImageFile, UnsupportedTypesFailWithAMessage) {
  ImageBuffer image;
  CaptureStderr();
  EXPECT_EQ(loadImage(image, "c.gif", imageType("c.gif"), false), 0);
  EXPECT_EQ(GetCapturedStderr(), "Un-supported file type\n");
  const ImageBuffer picture = testPicture(2, 2);
  const std::string path = tempPath("never.xyz");
  CaptureStderr();
  EXPECT_EQ(saveImage(picture, path, kImageOther, RowOrder::kTopFirst), 0);
  EXPECT_EQ(GetCapturedStderr(), "Un-supported file type\n");
  EXPECT_FALSE(fileExists(path));
}

// Saves and loads back with the same flag; every format but JPEG must give the exact pixels.
class RoundTrip : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(RoundTrip, KeepsThePicture) {
  const auto [type, flag] = GetParam();
  const ImageBuffer picture = testPicture(37, 23); // odd sizes exercise row padding
  const std::string path = tempPath("round" + std::to_string(type) + (flag ? "f" : "") + ".img");
  // The order each reader's flag undoes: PNG with the flag set reads memory row 0 first, PPM with
  // the flag set and TIFF read the top row first.
  const RowOrder order = (type == kImagePng) == flag ? RowOrder::kBottomFirst : RowOrder::kTopFirst;
  ASSERT_EQ(saveImage(picture, path, type, order), 1);
  ImageBuffer back;
  ASSERT_EQ(loadImage(back, path, type, flag), 1);
  if (type == kImageTiff && !flag) // the reader always puts the file's last row at row 0
    EXPECT_TRUE(flippedPixels(picture, back));
  else // JPEG compresses with loss; the smooth test picture stays close
    EXPECT_TRUE(samePixels(picture, back, type == kImageJpeg ? 12 : 0));
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTrip,
                         ::testing::Combine(::testing::Values(kImageJpeg, kImagePpm, kImageBmp,
                                                              kImagePng, kImageTiff),
                                            ::testing::Bool()));

TEST(ImageFile, JpegKeepsSmoothAreasClose) {
  // A flat colour survives JPEG almost exactly, which catches swapped channels or rows.
  // Each half fills whole 16 x 16 blocks, so chroma subsampling does not mix them.
  ImageBuffer picture(32, 32);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x)
      picture.at(x, y) = y < 16 ? packRgba(200, 30, 60) : packRgba(20, 180, 90);
  const std::string path = tempPath("flat.jpg");
  ASSERT_EQ(saveImage(picture, path, kImageJpeg, RowOrder::kTopFirst), 1);
  ImageBuffer back;
  ASSERT_EQ(loadImage(back, path, kImageJpeg, true), 1);
  const auto near = [](uint32_t p, uint32_t q) {
    return std::abs(redOf(p) - redOf(q)) <= 4 && std::abs(greenOf(p) - greenOf(q)) <= 4 &&
           std::abs(blueOf(p) - blueOf(q)) <= 4 && alphaOf(q) == 255;
  };
  EXPECT_PRED2(near, picture.at(0, 0), back.at(0, 0));
  EXPECT_PRED2(near, picture.at(31, 31), back.at(31, 31));
}

TEST(ImageFile, FilesStoreTheTopRowFirst) {
  // Read in file order, a PNG saved with the flag clear, a TIFF saved with the flag set and a
  // PPM saved with the flag set all start with the picture's top row (memory row height - 1).
  const ImageBuffer picture = testPicture(4, 3);
  ImageBuffer fileOrder;
  const std::string png = tempPath("order.png");
  ASSERT_EQ(saveImage(picture, png, kImagePng, RowOrder::kTopFirst), 1);
  ASSERT_EQ(loadImage(fileOrder, png, kImagePng, true), 1);
  EXPECT_TRUE(flippedPixels(picture, fileOrder));
  const std::string ppm = tempPath("order.ppm");
  ASSERT_EQ(saveImage(picture, ppm, kImagePpm, RowOrder::kTopFirst), 1);
  ASSERT_EQ(loadImage(fileOrder, ppm, kImagePpm, false), 1);
  EXPECT_TRUE(flippedPixels(picture, fileOrder));
  // The TIFF reader always puts the bottom at row 0: a TIFF written the other way comes back
  // upside down.
  const std::string tif = tempPath("order.tif");
  ASSERT_EQ(saveImage(picture, tif, kImageTiff, RowOrder::kBottomFirst), 1);
  ASSERT_EQ(loadImage(fileOrder, tif, kImageTiff, true), 1);
  EXPECT_TRUE(flippedPixels(picture, fileOrder));
}

TEST(ImageFile, TranslucentPixelsKeepTheirColoursThroughTiff) {
  // Alpha is not kept (every pixel reads back opaque), but the colours must be as written.
  ImageBuffer picture(3, 1);
  picture.at(0, 0) = packRgba(0, 40, 250, 60);
  picture.at(1, 0) = packRgba(200, 100, 7, 0);
  picture.at(2, 0) = packRgba(1, 2, 3, 255);
  const std::string path = tempPath("translucent.tif");
  ASSERT_EQ(saveImage(picture, path, kImageTiff, RowOrder::kTopFirst), 1);
  ImageBuffer back;
  ASSERT_EQ(loadImage(back, path, kImageTiff, true), 1);
  for (int32_t x = 0; x < 3; ++x)
    EXPECT_EQ(back.at(x, 0), picture.at(x, 0) | 0xff000000u) << "pixel " << x;
}

TEST(ImageFile, FailedSaveKeepsWhatWasThere) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "morvo_image_save";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "blocked.png" / "inside");
  ImageBuffer image(4, 4);
  testing::internal::CaptureStderr();
  // The rename cannot replace a folder: the save fails and leaves it and no temporary file. The
  // one line names the target, not the temporary file, and gives the system's reason.
  const std::string blocked = (dir / "blocked.png").string();
  EXPECT_EQ(saveImage(image, blocked, kImagePng, RowOrder::kTopFirst), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error writing to file " + blocked + ": cannot replace the file: Is a directory\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "blocked.png" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(saveImage(image, (dir / "fine.bmp").string(), kImageBmp, RowOrder::kTopFirst), 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "fine.bmp"));
  std::filesystem::remove_all(dir);
}

TEST(ImageFile, LoadReusesAnArrayOfTheSameSize) {
  const ImageBuffer picture = testPicture(6, 4);
  const std::string path = tempPath("reuse.png");
  ASSERT_EQ(saveImage(picture, path, kImagePng, RowOrder::kTopFirst), 1);
  // The caller's own array: same size, so it is filled in place and never released by the
  // buffer.
  std::vector<uint32_t> own(24, 0);
  ImageBuffer wrapped(6, 4, own.data());
  ASSERT_EQ(loadImage(wrapped, path, kImagePng, false), 1);
  EXPECT_EQ(wrapped.pixels(), own.data());
  EXPECT_FALSE(wrapped.ownsPixels());
  EXPECT_EQ(own[0], picture.pixels()[0]);
  // A different size gets a new, owned array; the caller's stays untouched.
  ImageBuffer small(3, 3, own.data());
  ASSERT_EQ(loadImage(small, path, kImagePng, false), 1);
  EXPECT_NE(small.pixels(), own.data());
  EXPECT_TRUE(small.ownsPixels());
  EXPECT_TRUE(samePixels(picture, small));
}

// PNG through libpng's simplified writer, for layouts our own writer never produces.
std::vector<uint8_t> encodePng(uint32_t format, int width, int height, const void *pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, nullptr));
  bytes.resize(size);
  return bytes;
}

TEST(ImageFile, PngGreySixteenBitAndAlphaBecomeOpaqueRgb) {
  ImageBuffer image;
  const uint8_t grey[2] = {0, 200};
  std::vector<uint8_t> bytes = encodePng(PNG_FORMAT_GRAY, 2, 1, grey);
  ASSERT_EQ(loadImageFromMemory(image, bytes.data(), bytes.size(), kImagePng, true, "g"), 1);
  EXPECT_EQ(image.at(1, 0), packRgba(200, 200, 200));
  // Linear 16-bit samples are written as a 16-bit RGB file.
  const uint16_t wide[3] = {65535, 0, 65535};
  bytes = encodePng(PNG_FORMAT_LINEAR_RGB, 1, 1, wide);
  ASSERT_EQ(loadImageFromMemory(image, bytes.data(), bytes.size(), kImagePng, true, "w"), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(255, 0, 255));
  // Without a background chunk, alpha is composed against black.
  const uint8_t rgba[8] = {255, 255, 255, 0, 10, 20, 30, 255};
  bytes = encodePng(PNG_FORMAT_RGBA, 2, 1, rgba);
  ASSERT_EQ(loadImageFromMemory(image, bytes.data(), bytes.size(), kImagePng, true, "a"), 1);
  EXPECT_EQ(image.at(0, 0), packRgba(0, 0, 0));
  EXPECT_EQ(image.at(1, 0), packRgba(10, 20, 30));
}

// A JPEG of `components` samples per pixel in `space`, every sample `value`, through libjpeg.
std::vector<uint8_t> encodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                                uint8_t value) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char *out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(size_t(width * components), value);
  JSAMPROW rows[1] = {row.data()};
  while (cinfo.next_scanline < cinfo.image_height)
    jpeg_write_scanlines(&cinfo, rows, 1);
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(ImageFile, GreyJpegBecomesGreyRgbAndCmykIsRefused) {
  ImageBuffer image;
  std::vector<uint8_t> bytes = encodeJpeg(8, 8, 1, JCS_GRAYSCALE, 90);
  ASSERT_EQ(loadImageFromMemory(image, bytes.data(), bytes.size(), kImageJpeg, false, "g"), 1);
  EXPECT_EQ(image.at(3, 5), packRgba(90, 90, 90));
  bytes = encodeJpeg(8, 8, 4, JCS_CMYK, 90);
  CaptureStderr();
  EXPECT_EQ(loadImageFromMemory(image, bytes.data(), bytes.size(), kImageJpeg, false, "c"), 0);
  EXPECT_EQ(GetCapturedStderr(), "c: unsupported JPEG colour layout\n");
}

TEST(ImageFile, SavingAnEmptyImageFails) {
  const ImageBuffer nothing;
  const std::string path = tempPath("empty.png");
  CaptureStderr();
  EXPECT_EQ(saveImage(nothing, path, kImagePng, RowOrder::kTopFirst), 0);
  EXPECT_NE(GetCapturedStderr(), "");
}

TEST(ImageFile, UnwritablePathsGiveEachWritersResult) {
  const ImageBuffer picture = testPicture(2, 2);
  CaptureStderr();
  EXPECT_EQ(saveImage(picture, "/nonexistent-dir/x.jpg", kImageJpeg, RowOrder::kTopFirst), -1);
  EXPECT_EQ(GetCapturedStderr(), "can't open /nonexistent-dir/x.jpg: No such file or directory\n");
  for (int type : {kImagePng, kImageTiff, kImageBmp, kImagePpm}) {
    CaptureStderr();
    EXPECT_EQ(saveImage(picture, "/nonexistent-dir/x", type, RowOrder::kTopFirst), 0);
    EXPECT_EQ(GetCapturedStderr(),
              "Cannot open file /nonexistent-dir/x: No such file or directory\n");
  }
  // A name the file system takes, but too long for a temporary file beside it: the save fails
  // rather than write straight onto the target, so no partial file can appear there.
  const std::string longName = tempPath(std::string(225, 'n') + ".png");
  std::filesystem::remove(longName);
  std::string message;
  EXPECT_EQ(saveImage(picture, longName, kImagePng, RowOrder::kTopFirst, message), 0);
  EXPECT_EQ(message, "Cannot open file " + longName + ": File name too long");
  EXPECT_FALSE(fileExists(longName));
}

} // namespace
