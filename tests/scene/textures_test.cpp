// Texture loading, the background panorama, the overlay state and the shirt list.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/utils.h"
#include "scene/textures.h"
#include "tests/support/quoit_test_support.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

testing::AssertionResult contains(const char *, const char *, const std::string &text, const std::string &part) {
  if (text.find(part) != std::string::npos) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "\"" << part << "\" not found in \"" << text << "\"";
}
#define EXPECT_CONTAINS(text, part) EXPECT_PRED_FORMAT2(contains, text, part)

// What the program printed: debug texts go to standard output, errors to standard error.
struct Output {
  std::string debug, errors;
};

Output capture(const std::function<void()> &run) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  run();
  Output o;
  o.debug = testing::internal::GetCapturedStdout();
  o.errors = testing::internal::GetCapturedStderr();
  return o;
}

void writeFile(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Each test runs in a scratch home of its own, with its files in "fixtures"; textures on, nothing loaded.
class TextureFiles : public testing::Test {
 protected:
  void SetUp() override {
    enterScratchHome(home, previous);
    dir = "fixtures";  // relative, so that paths stay short
    fs::create_directories(dir);
    savedPrefs = qPrefs;
    qPrefs.displayFlags = 8;
  }
  void TearDown() override {
    freeTextureImages();
    qPrefs = savedPrefs;
    leaveScratchHome(previous);
  }
  std::string path(const std::string &name) const { return dir + "/" + name; }

  std::string home, previous, dir;
  QuoitPrefs savedPrefs;
};

// ----------------------------------------------------------------------------------------------------
// PPM

// A P6 raster whose pixel (x, y) of the file is (x, y, x + y).
std::string ppmRaster(int width, int rows) {
  std::string raster;
  for (int y = 0; y < rows; y++)
    for (int x = 0; x < width; x++) raster += {char(x), char(y), char(x + y)};
  return raster;
}

struct PpmCase {
  const char *label;
  std::string header;
  int width, height, rows;  // raster written after the header
  bool ok;
  int localTextNumber;      // message expected at QMSG_ERROR, 0 none
  const char *errorText;    // or a plain text expected among the errors
  const char *debugText;    // a text expected among the debug messages
};

void PrintTo(const PpmCase &c, std::ostream *os) { *os << c.label; }

class PpmReading : public TextureFiles, public testing::WithParamInterface<PpmCase> {};

TEST_P(PpmReading, ReadsOrRefusesWithItsMessage) {
  const PpmCase &c = GetParam();
  std::string file = path("image.ppm");
  writeFile(file, c.header + ppmRaster(c.width, c.rows));
  TextureRecord record = {};
  int result = 0;
  Output out = capture([&] { result = readPPM(file.c_str(), &record, TEXTURE_BACKGROUND); });
  if (c.localTextNumber) {
    EXPECT_CONTAINS(out.errors, formatText(localText(c.localTextNumber), file.c_str()));
  }
  if (c.errorText) {
    EXPECT_CONTAINS(out.errors, c.errorText);
  }
  if (c.debugText) {
    EXPECT_CONTAINS(out.debug, formatText(c.debugText, file.c_str()));
  }
  if (!c.ok) {
    EXPECT_EQ(result, TEXTURE_FAILED);
    EXPECT_EQ(record.pixels, nullptr);
    return;
  }
  ASSERT_EQ(result, 0) << out.errors;
  EXPECT_EQ(out.errors, "");
  EXPECT_EQ(record.width, c.width);
  EXPECT_EQ(record.height, c.height);
  EXPECT_EQ(record.channels, 3);
  EXPECT_EQ(record.kind, TEXTURE_BACKGROUND);
  EXPECT_STREQ(record.path, file.c_str());
  // The first row of the file is texture row 0.
  std::string raster = ppmRaster(c.width, c.height);
  EXPECT_EQ(std::string((const char *)record.pixels, raster.size()), raster);
  free(record.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PpmReading,
    testing::Values(
        PpmCase{"comment", "P6\n# written by a test\n64 64\n255\n", 64, 64, 64, true, 0, nullptr, nullptr},
        PpmCase{"oneLine", "P6 64 128 255\n", 64, 128, 128, true, 0, nullptr, nullptr},
        PpmCase{"spacesAndComments", "P6\n\n  256\t# width\n# height next\n  64\n255 ", 256, 64, 64, true, 0, nullptr,
                nullptr},
        PpmCase{"tooSmall", "P6\n32 32\n255\n", 32, 32, 32, false, 1101, nullptr, nullptr},
        PpmCase{"tooLarge", "P6\n512 512\n255\n", 512, 512, 512, false, 1101, nullptr, nullptr},
        PpmCase{"notPowerOfTwo", "P6\n96 96\n255\n", 96, 96, 96, false, 1101, nullptr, nullptr},
        PpmCase{"heightOne", "P6\n64 1\n255\n", 64, 1, 1, false, 1101, nullptr, nullptr},
        PpmCase{"hugeNumbers", "P6\n99999999999999999999 4294967360\n255\n", 64, 64, 64, false, 1101, nullptr, nullptr},
        PpmCase{"maxval16Bit", "P6\n64 64\n65535\n", 64, 64, 128, false, 0, "maximum value 65535", nullptr},
        PpmCase{"maxvalSmall", "P6\n64 64\n15\n", 64, 64, 64, false, 0, "maximum value 15", nullptr},
        PpmCase{"asciiPpm", "P3\n64 64\n255\n", 64, 64, 64, false, 1100, nullptr, nullptr},
        PpmCase{"noMaxval", "P6\n64 64", 0, 0, 0, false, 1100, nullptr, nullptr},
        PpmCase{"empty", "", 0, 0, 0, false, 1100, nullptr, nullptr},
        PpmCase{"truncated", "P6\n64 64\n255\n", 64, 64, 40, false, 0, nullptr, "File %s is truncated: read 40 of 64"}),
    [](const testing::TestParamInfo<PpmCase> &info) { return std::string(info.param.label); });

TEST_F(TextureFiles, MissingFileIsReportedOnlyWithTexturesOn) {
  std::string file = path("missing.ppm");
  TextureRecord record = {};
  Output on = capture([&] {
    EXPECT_EQ(readPPM(file.c_str(), &record, 0), TEXTURE_FAILED);
    EXPECT_EQ(readPNG(file.c_str(), &record, 0), TEXTURE_FAILED);
  });
  EXPECT_CONTAINS(on.errors, formatText(localText(40), file.c_str()));
  qPrefs.displayFlags = 0;
  Output off = capture([&] {
    EXPECT_EQ(readPPM(file.c_str(), &record, 0), TEXTURE_FAILED);
    EXPECT_EQ(readPNG(file.c_str(), &record, 0), TEXTURE_FAILED);
  });
  EXPECT_EQ(off.errors, "");
}

TEST(TextureFormat, ExtensionInAnyCase) {
  struct {
    const char *path;
    int format;
  } cases[] = {{"tex/a.ppm", FORMAT_PPM}, {"a.PPM", FORMAT_PPM}, {"b.PnG", FORMAT_PNG}, {"x.y/z.png", FORMAT_PNG},
               {"noextension", -1},      {"dir.png/file", -1}, {"a.jpg", -1},         {"a.ppm.gz", -1}};
  for (auto &c : cases) EXPECT_EQ(textureFormatOf(c.path), c.format) << c.path;
}

TEST(TextureData, RepositoryImagesDecode) {
  std::string home = std::string(QUOIT_SOURCE_DIR) + "/data/";
  for (int n = 0; n < BACKGROUND_TILES; n++) {
    TextureRecord tile = {};
    std::string file = home + formatText("tex/bgr/%d.ppm", n);
    ASSERT_EQ(readPPM(file.c_str(), &tile, TEXTURE_BACKGROUND), 0) << file;
    EXPECT_EQ(tile.width, 256);
    free(tile.pixels);
  }
  // The fallback texture is RGB: an alpha channel would switch the alpha test on for every model.
  for (const char *name : {"tex/no_texture.png", "tex/shirts/quoit_front.png", "tex/shirts/stripes.png"}) {
    TextureRecord image = {};
    ASSERT_EQ(readPNG((home + name).c_str(), &image, TEXTURE_MODEL), 0) << name;
    EXPECT_EQ(image.channels, 3) << name;
    free(image.pixels);
  }
}

// ----------------------------------------------------------------------------------------------------
// PNG fixtures written with libpng

struct Rgba {
  int r, g, b, a;
};

struct PngCase {
  const char *label;
  int colourType;
  int bitDepth;
  bool transparency;  // a tRNS chunk
  bool interlaced;
  double gamma;       // gAMA chunk when above 0
  int channels;       // what the loader makes of it
};

const int IMAGE_W = 64, IMAGE_H = 32;  // not square, so that rows and columns cannot be swapped unnoticed

// The colour of file pixel (x, y), as the loader should deliver it.
Rgba expectedPixel(const PngCase &c, int x, int y) {
  int grey = (x * 4 + y * 2) & 0xff;
  switch (c.colourType) {
    case PNG_COLOR_TYPE_PALETTE: {
      int i = (x / 8 + y / 8) % 4;
      static const Rgba palette[4] = {{250, 10, 10, 255}, {10, 240, 20, 0}, {30, 40, 230, 128}, {200, 200, 200, 255}};
      Rgba p = palette[i];
      if (!c.transparency) p.a = 255;
      return p;
    }
    case PNG_COLOR_TYPE_GRAY:
      if (c.bitDepth == 1) grey = ((x + y) & 1) ? 255 : 0;
      return {grey, grey, grey, 255};
    case PNG_COLOR_TYPE_GRAY_ALPHA: return {grey, grey, grey, (x * 3) & 0xff};
    case PNG_COLOR_TYPE_RGBA: return {x * 4, y * 8, (x + y) & 0xff, (x * y) & 0xff};
    default: return {x * 4, y * 8, (x + y) & 0xff, 255};
  }
}

// Sample s of pixel (x, y) in the file's own packing; 16-bit samples get a low byte the loader drops.
void putSample(Bytes &row, const PngCase &c, int x, int s, int value) {
  int samples = c.colourType == PNG_COLOR_TYPE_RGB ? 3 : c.colourType == PNG_COLOR_TYPE_RGBA ? 4
              : c.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
  if (c.bitDepth == 16) {
    row[(x * samples + s) * 2] = (unsigned char)value;
    row[(x * samples + s) * 2 + 1] = 0x9c;
  } else if (c.bitDepth == 1) {
    if (value) row[x / 8] |= (unsigned char)(0x80 >> (x % 8));
  } else {
    row[x * samples + s] = (unsigned char)value;
  }
}

Bytes fileRow(const PngCase &c, int y) {
  int samples = c.colourType == PNG_COLOR_TYPE_RGB ? 3 : c.colourType == PNG_COLOR_TYPE_RGBA ? 4
              : c.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
  Bytes row(size_t(IMAGE_W * samples * 2 + 8), 0);
  for (int x = 0; x < IMAGE_W; x++) {
    Rgba p = expectedPixel(c, x, y);
    switch (c.colourType) {
      case PNG_COLOR_TYPE_PALETTE: putSample(row, c, x, 0, (x / 8 + y / 8) % 4); break;
      case PNG_COLOR_TYPE_GRAY: putSample(row, c, x, 0, c.bitDepth == 1 ? p.r != 0 : p.r); break;
      case PNG_COLOR_TYPE_GRAY_ALPHA:
        putSample(row, c, x, 0, p.r);
        putSample(row, c, x, 1, p.a);
        break;
      default:
        putSample(row, c, x, 0, p.r);
        putSample(row, c, x, 1, p.g);
        putSample(row, c, x, 2, p.b);
        if (c.colourType == PNG_COLOR_TYPE_RGBA) putSample(row, c, x, 3, p.a);
    }
  }
  return row;
}

void writePng(const std::string &file, const PngCase &c) {
  FILE *f = fopen(file.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_set_IHDR(png, info, IMAGE_W, IMAGE_H, c.bitDepth, c.colourType,
               c.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (c.colourType == PNG_COLOR_TYPE_PALETTE) {
    png_color palette[4];
    png_byte alpha[4];
    for (int i = 0; i < 4; i++) {
      Rgba p = expectedPixel({"", PNG_COLOR_TYPE_PALETTE, 8, true, false, 0, 4}, i * 8, 0);  // index i
      palette[i] = {png_byte(p.r), png_byte(p.g), png_byte(p.b)};
      alpha[i] = png_byte(p.a);
    }
    png_set_PLTE(png, info, palette, 4);
    if (c.transparency) png_set_tRNS(png, info, alpha, 3, nullptr);  // the fourth entry stays opaque
  }
  if (c.gamma > 0) png_set_gAMA(png, info, c.gamma);
  png_write_info(png, info);
  std::vector<Bytes> rows;
  for (int y = 0; y < IMAGE_H; y++) rows.push_back(fileRow(c, y));
  std::vector<png_bytep> pointers;
  for (auto &r : rows) pointers.push_back(r.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  fclose(f);
}

void PrintTo(const PngCase &c, std::ostream *os) { *os << c.label; }

class PngReading : public TextureFiles, public testing::WithParamInterface<PngCase> {};

TEST_P(PngReading, DeliversEightBitRgbOrRgbaBottomRowFirst) {
  const PngCase &c = GetParam();
  std::string file = path("image.png");
  writePng(file, c);
  TextureRecord record = {};
  int result = 0;
  Output out = capture([&] { result = readPNG(file.c_str(), &record, TEXTURE_SHIRT); });
  ASSERT_EQ(result, 0) << out.errors;
  EXPECT_EQ(out.errors, "");
  EXPECT_EQ(record.width, IMAGE_W);
  EXPECT_EQ(record.height, IMAGE_H);
  ASSERT_EQ(record.channels, c.channels);
  EXPECT_EQ(record.kind, TEXTURE_SHIRT);
  int wrong = 0;
  for (int y = 0; y < IMAGE_H; y++)
    for (int x = 0; x < IMAGE_W; x++) {
      Rgba want = expectedPixel(c, x, y);
      const unsigned char *got = record.pixels + ((IMAGE_H - 1 - y) * IMAGE_W + x) * c.channels;
      bool same = got[0] == want.r && got[1] == want.g && got[2] == want.b && (c.channels == 3 || got[3] == want.a);
      if (!same && wrong++ < 3)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << int(got[0]) << " " << int(got[1]) << " " << int(got[2])
                      << ", expected " << want.r << " " << want.g << " " << want.b << " " << want.a;
    }
  EXPECT_EQ(wrong, 0);
  free(record.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PngReading,
    testing::Values(PngCase{"rgb", PNG_COLOR_TYPE_RGB, 8, false, false, 0, 3},
                    PngCase{"rgba", PNG_COLOR_TYPE_RGBA, 8, false, false, 0, 4},
                    PngCase{"palette", PNG_COLOR_TYPE_PALETTE, 8, false, false, 0, 3},
                    PngCase{"paletteWithTransparency", PNG_COLOR_TYPE_PALETTE, 8, true, false, 0, 4},
                    PngCase{"grey", PNG_COLOR_TYPE_GRAY, 8, false, false, 0, 3},
                    PngCase{"greyOneBit", PNG_COLOR_TYPE_GRAY, 1, false, false, 0, 3},
                    PngCase{"greyAlpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false, 0, 4},
                    PngCase{"rgb16", PNG_COLOR_TYPE_RGB, 16, false, false, 0, 3},
                    PngCase{"rgba16", PNG_COLOR_TYPE_RGBA, 16, false, false, 0, 4},
                    PngCase{"grey16", PNG_COLOR_TYPE_GRAY, 16, false, false, 0, 3},
                    PngCase{"interlaced", PNG_COLOR_TYPE_RGB, 8, false, true, 0, 3},
                    PngCase{"displayGamma", PNG_COLOR_TYPE_RGB, 8, false, false, 1 / 2.2, 3}),
    [](const testing::TestParamInfo<PngCase> &info) { return std::string(info.param.label); });

std::string readAll(const std::string &file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A PNG signature and one IHDR chunk with a correct checksum.
std::string pngHeader(uint32_t width, uint32_t height) {
  unsigned char ihdr[17] = {'I', 'H', 'D', 'R'};
  for (int i = 0; i < 4; i++) {
    ihdr[4 + i] = (unsigned char)(width >> (24 - 8 * i));
    ihdr[8 + i] = (unsigned char)(height >> (24 - 8 * i));
  }
  ihdr[12] = 8;  // bit depth
  ihdr[13] = 2;  // RGB
  uLong crc = crc32(0, ihdr, 17);
  std::string s = "\x89PNG\r\n\x1a\n";
  s += std::string("\0\0\0\x0d", 4) + std::string((const char *)ihdr, 17);
  for (int i = 0; i < 4; i++) s += char(crc >> (24 - 8 * i));
  return s;
}

TEST_F(TextureFiles, BrokenPngIsRefusedWithItsMessage) {
  std::string good = path("good.png");
  writePng(good, {"", PNG_COLOR_TYPE_RGB, 8, false, false, 0, 3});
  std::string bytes = readAll(good);
  std::string badCrc = bytes;
  badCrc[18] ^= 0x40;  // inside the IHDR data: its checksum no longer matches
  struct {
    const char *label;
    std::string content;
    std::string message;
  } cases[] = {
      {"text", "this is not an image at all", "] is not a PNG file: incorrect signature"},
      {"short", "\x89PN", "] is not a PNG file: incorrect signature"},
      {"badHeader", badCrc, "] has bad IHDR (libpng longjmp)"},
      {"hugeSize", pngHeader(100000, 100000), "] has bad IHDR (libpng longjmp)"},
      {"zeroSize", pngHeader(0, 64), "] has bad IHDR (libpng longjmp)"},
      {"headerOnly", pngHeader(64, 64), "] has bad IHDR (libpng longjmp)"},
      {"truncatedImage", bytes.substr(0, bytes.size() / 2), "Read PNG:  unable to decode PNG image"},
  };
  for (auto &c : cases) {
    std::string file = path(std::string(c.label) + ".png");
    writeFile(file, c.content);
    TextureRecord record = {};
    int result = 0;
    Output out = capture([&] { result = readPNG(file.c_str(), &record, 0); });
    EXPECT_EQ(result, TEXTURE_FAILED) << c.label;
    EXPECT_EQ(record.pixels, nullptr) << c.label;
    EXPECT_CONTAINS(out.errors, c.message) << c.label;
  }
}

// ----------------------------------------------------------------------------------------------------
// Shirt list (no GL: the images are only checked for existence)

class ShirtList : public TextureFiles {
 protected:
  void SetUp() override {
    TextureFiles::SetUp();
    for (const char *name : {"front.png", "back.png", "dots.png"}) writeFile(path(name), "x");
  }
  void TearDown() override {
    tshirt_count = 0;
    TextureFiles::TearDown();
  }
  // Writes the list, with "@" standing for the test directory, and reads it.
  int read(const std::string &text, Output *out = nullptr) {
    std::string list = text;
    for (size_t at; (at = list.find('@')) != std::string::npos;) list.replace(at, 1, dir);
    writeFile(path("list_of_shirts"), list);
    int result = 0;
    Output o = capture([&] { result = readShirtListFile(path("list_of_shirts").c_str()); });
    if (out) *out = o;
    return result;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> n;
    for (int i = 0; i < tshirt_count; i++) n.push_back(qTShirt[i].name);
    return n;
  }
};

using Names = std::vector<std::string>;

TEST_F(ShirtList, ReadsShirtsAndDropsThoseWithMissingImages) {
  struct {
    const char *label;
    std::string list;
    Names names;
  } cases[] = {
      {"two", "! shirts\nRed shirt:\n  frontBitmap = @/front.png\n  backBitmap=@/back.png\nDotted one:\n\tfrontBitmap =\t@/dots.png  \n",
       {"Red shirt", "Dotted one"}},
      {"lastMissing", "Red shirt:\n frontBitmap = @/front.png\nGone shirt:\n frontBitmap = @/nothing.png\n", {"Red shirt"}},
      {"middleMissing",
       "Red shirt:\n frontBitmap = @/front.png\nGone shirt:\n backBitmap = @/nothing.png\nDotted one:\n frontBitmap = @/dots.png\n",
       {"Red shirt", "Dotted one"}},
      {"missingAfterGood", "Half shirt:\n frontBitmap = @/front.png\n backBitmap = @/nothing.png\n", {}},
      {"noImages", "Plain shirt:\nRed shirt:\n frontBitmap = @/front.png\n", {"Red shirt"}},
      {"onlyComments", "! nothing here\n\n   ! still nothing\n", {}},
      {"emptyFile", "", {}},
      {"endLine", "Red shirt:\n frontBitmap = @/front.png\nEOF\nDotted one:\n frontBitmap = @/dots.png\n", {"Red shirt"}},
      {"crlf", "Red shirt:\r\n frontBitmap = @/front.png\r\nDotted one:\r\n frontBitmap = @/dots.png", {"Red shirt", "Dotted one"}},
      {"shortLinesIgnored", "Red shirt:  ! the red one\nxy\n frontBitmap = @/front.png\n", {"Red shirt"}},
  };
  for (auto &c : cases) {
    Output out;
    EXPECT_EQ(read(c.list, &out), SHIRT_LIST_OK) << c.label << out.errors;
    EXPECT_EQ(names(), c.names) << c.label;
  }
}

TEST_F(ShirtList, KeepsPathsAndReportsMissingImages) {
  Output out;
  ASSERT_EQ(read("Red shirt:\n frontBitmap = @/front.png\n backBitmap = @\\back.png\n"
                 "Gone shirt:\n frontBitmap = @/nothing.png\n",
                 &out),
            SHIRT_LIST_OK);
  ASSERT_EQ(tshirt_count, 1);
  EXPECT_EQ(std::string(qTShirt[0].frontBitmap), path("front.png"));
  EXPECT_EQ(std::string(qTShirt[0].backBitmap), path("back.png"));  // '\' became '/'
  EXPECT_EQ(qTShirt[0].flags & SHIRT_READY, 0);
  EXPECT_EQ(qTShirt[0].frontTexture, TEXTURE_NONE);
  EXPECT_CONTAINS(out.errors, formatText(localText(40), path("nothing.png").c_str()));
}

TEST_F(ShirtList, BrokenListEndsWithItsMessage) {
  Output out;
  EXPECT_EQ(read("Red shirt:\n frontBitmap = @/front.png\nthis line means nothing\nDotted one:\n frontBitmap = @/dots.png\n", &out),
            SHIRT_LIST_BROKEN);
  EXPECT_EQ(names(), Names{"Red shirt"});
  EXPECT_CONTAINS(out.errors, "Read_1_shirt(): string not found\n");

  std::string longName(120, 'n');
  EXPECT_EQ(read(longName + ":\n frontBitmap = @/front.png\n", &out), SHIRT_LIST_BROKEN);
  EXPECT_EQ(tshirt_count, 0);
  EXPECT_EQ(read("Red shirt:\n frontBitmap = @/" + std::string(195, 'p') + "\n", &out), SHIRT_LIST_BROKEN);
  EXPECT_EQ(tshirt_count, 0);
  EXPECT_EQ(read("Red shirt:\n frontBitmap = @/front.png ! " + std::string(250, 'c') + "\n", &out), SHIRT_LIST_BROKEN);
  EXPECT_EQ(tshirt_count, 0);
}

TEST_F(ShirtList, TableHoldsAtMostTwoHundredShirts) {
  std::string list;
  for (int i = 0; i < TSHIRT_COUNT + 5; i++) list += formatText("Shirt number %d:\n frontBitmap = @/front.png\n", i);
  Output out;
  EXPECT_EQ(read(list, &out), SHIRT_LIST_OK);
  EXPECT_EQ(tshirt_count, TSHIRT_COUNT);
  EXPECT_STREQ(qTShirt[TSHIRT_COUNT - 1].name, "Shirt number 199");
  EXPECT_CONTAINS(out.errors, formatText(localText(49), "qTShirt", "TSHIRT_COUNT"));
}

TEST_F(ShirtList, MissingListFailsOnlyWithTexturesOn) {
  int result = 0;
  Output out = capture([&] { result = readShirtListFile(path("no_list").c_str()); });
  EXPECT_EQ(result, SHIRT_LIST_MISSING);
  EXPECT_CONTAINS(out.errors, formatText(localText(40), path("no_list").c_str()));
  qPrefs.displayFlags = 0;
  EXPECT_EQ(read("Red shirt:\n frontBitmap = @/front.png\n"), SHIRT_LIST_OK);
  EXPECT_EQ(tshirt_count, 0);
}

TEST_F(ShirtList, RepositoryListNamesImagesThatExist) {
  Output out = capture([&] { EXPECT_EQ(readShirtList(), SHIRT_LIST_OK); });  // in the copy of data/
  EXPECT_EQ(out.errors, "");
  EXPECT_GE(tshirt_count, 3);
}

TEST_F(ShirtList, AddShirtTakesTheFirstPixelAndIsFoundAgain) {
  unsigned char pixels[64 * 64 * 3] = {12, 34, 56};
  textureTable[0] = TextureRecord{};
  textureTable[0].pixels = pixels;
  textureTable[0].channels = 3;
  textureCount = 1;
  ASSERT_EQ(read("Red shirt:\n frontBitmap = @/front.png\n"), SHIRT_LIST_OK);
  int added = AddShirt("shirts/mine.png", 0);
  textureTable[0].pixels = nullptr;
  textureCount = 0;
  EXPECT_EQ(added, 1);
  EXPECT_EQ(tshirt_count, 2);
  EXPECT_EQ(currentShirt, 1);
  EXPECT_EQ(qTShirt[1].red, 12);
  EXPECT_EQ(qTShirt[1].green, 34);
  EXPECT_EQ(qTShirt[1].blue, 56);
  EXPECT_EQ(qTShirt[1].flags & SHIRT_READY, SHIRT_READY);
  currentShirt = 0;
  EXPECT_EQ(AddShirt("shirts/mine.png", 0), 1);
  EXPECT_EQ(currentShirt, 1);
  EXPECT_EQ(tshirt_count, 2);
  // A ready shirt needs no loading but still becomes the current one.
  currentShirt = 0;
  EXPECT_EQ(loadShirtTextures(1), 0);
  EXPECT_EQ(currentShirt, 1);
  EXPECT_EQ(loadShirtTextures(2), 1);
  EXPECT_EQ(loadShirtTextures(-1), 1);
}

// ----------------------------------------------------------------------------------------------------
// With GL: a GLX window of its own on the test program's Xvfb.

const int WINDOW_SIZE = 128;

struct GlWindow {
  Display *display = nullptr;
  Window window = 0;
  GLXContext context = nullptr;

  bool open() {
    if (display) return true;
    if (!(display = XOpenDisplay(sharedDisplay().c_str()))) return false;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                        GLX_DEPTH_SIZE, 16, None};
    XVisualInfo *visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (!visual) return false;
    Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes set = {};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    window = XCreateWindow(display, root, 0, 0, WINDOW_SIZE, WINDOW_SIZE, 0, visual->depth, InputOutput, visual->visual,
                           CWColormap | CWBorderPixel, &set);
    XMapWindow(display, window);
    XSync(display, False);
    context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    return context && glXMakeCurrent(display, window, context);
  }
};

GlWindow glWindow;

// Reads pixel (x, y) of the back buffer, x and y from the lower left corner.
Rgba pixelAt(int x, int y) {
  unsigned char p[4] = {};
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2], p[3]};
}

class TexturesGui : public TextureFiles {
 protected:
  void SetUp() override {
    TextureFiles::SetUp();
    ASSERT_TRUE(glWindow.open()) << "no Xvfb display with GLX";
    freeTextureImages();
    qPrefs.backgroundFlag = 1;
    qPrefs.width = qPrefs.height = WINDOW_SIZE;
    glViewport(0, 0, WINDOW_SIZE, WINDOW_SIZE);
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override {
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    TextureFiles::TearDown();
  }
  // A 64 x 64 PPM of one colour over its upper half (the first rows of the file) and another below.
  std::string tile(const std::string &name, Rgba top, Rgba bottom) {
    std::string file = path(name), bytes = "P6\n64 64\n255\n";
    for (int y = 0; y < 64; y++)
      for (int x = 0; x < 64; x++) {
        Rgba p = y < 32 ? top : bottom;
        bytes += {char(p.r), char(p.g), char(p.b)};
      }
    writeFile(file, bytes);
    return file;
  }
  int load(const std::string &file, int kind = TEXTURE_MODEL, int format = FORMAT_BY_EXTENSION, Output *out = nullptr) {
    int result = 0;
    Output o = capture([&] { result = qGlReadTexture(file.c_str(), kind, format); });
    if (out) *out = o;
    return result;
  }
};

TEST_F(TexturesGui, LoadsOncePerPathAndUploadsThePixels) {
  writePng(path("shirt.png"), {"", PNG_COLOR_TYPE_RGBA, 8, false, false, 0, 4});
  std::string ppm = tile("tile.PPM", {10, 20, 30, 255}, {40, 50, 60, 255});
  int a = load(path("shirt.png"), TEXTURE_SHIRT);
  ASSERT_EQ(a, 0);
  EXPECT_EQ(load(path("shirt.png"), TEXTURE_MODEL), a);  // the first load whatever the kind
  int b = load(ppm);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(textureCount, 2);
  EXPECT_STREQ(textureTable[a].path, path("shirt.png").c_str());
  for (int i : {a, b}) {
    const TextureRecord &t = textureTable[i];
    ASSERT_TRUE(glIsTexture(GLuint(t.glName)));
    glBindTexture(GL_TEXTURE_2D, GLuint(t.glName));
    Bytes uploaded(size_t(t.width) * t.height * t.channels);
    glGetTexImage(GL_TEXTURE_2D, 0, t.channels == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_TRUE(memcmp(uploaded.data(), t.pixels, uploaded.size()) == 0) << t.path;
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, t.kind == TEXTURE_MODEL ? GL_REPEAT : GL_CLAMP_TO_EDGE) << t.path;
  }
  EXPECT_NE(textureTable[a].glName, textureTable[b].glName);
  EXPECT_EQ(load(""), TEXTURE_NONE);
  EXPECT_EQ(textureCount, 2);
}

TEST_F(TexturesGui, CaseOfThePathMakesAnotherKey) {
  tile("t.png", {1, 2, 3, 255}, {1, 2, 3, 255});  // a PPM behind a .png name: read as PNG, refused
  tile("T.PPM", {1, 2, 3, 255}, {1, 2, 3, 255});
  tile("t.ppm", {1, 2, 3, 255}, {1, 2, 3, 255});
  Output out;
  EXPECT_EQ(load(path("t.png"), TEXTURE_MODEL, FORMAT_BY_EXTENSION, &out), TEXTURE_FAILED);
  EXPECT_CONTAINS(out.errors, "is not a PNG file");
  EXPECT_CONTAINS(out.errors, formatText(localText(1105), path("t.png").c_str()));
  EXPECT_EQ(textureCount, 0);
  EXPECT_EQ(load(path("T.PPM")), 0);
  EXPECT_EQ(load(path("t.ppm")), 1);
  EXPECT_EQ(load(path("t.ppm"), TEXTURE_MODEL, FORMAT_PPM), 1);
}

TEST_F(TexturesGui, RefusesWhatItCannotLoad) {
  std::string ppm = tile("tile.ppm", {1, 2, 3, 255}, {1, 2, 3, 255});
  std::string gif = path("picture.gif"), longPath = dir + "/" + std::string(120, 'x') + ".ppm";
  writeFile(gif, "GIF89a");
  Output out;
  EXPECT_EQ(load(gif, TEXTURE_MODEL, FORMAT_BY_EXTENSION, &out), TEXTURE_FAILED);
  EXPECT_CONTAINS(out.errors, formatText(localText(1104), gif.c_str()));
  EXPECT_EQ(load(ppm, TEXTURE_MODEL, 7, &out), TEXTURE_FAILED);
  EXPECT_CONTAINS(out.errors, formatText(localText(45), 7, "qGlReadTexture"));
  EXPECT_EQ(load(longPath, TEXTURE_MODEL, FORMAT_BY_EXTENSION, &out), TEXTURE_FAILED);
  EXPECT_CONTAINS(out.errors, "longer than 99 characters");
  EXPECT_EQ(load(path("missing.png"), TEXTURE_MODEL, FORMAT_BY_EXTENSION, &out), TEXTURE_FAILED);
  EXPECT_CONTAINS(out.errors, formatText(localText(1105), path("missing.png").c_str()));
  EXPECT_EQ(textureCount, 0);
}

TEST_F(TexturesGui, TheHundredAndFirstTextureIsRefused) {
  for (int i = 0; i < TEXTURE_MAX; i++) {
    std::string file = tile(formatText("tile%d.ppm", i), {i, 0, 0, 255}, {0, i, 0, 255});
    ASSERT_EQ(load(file), i);
  }
  std::string extra = tile("extra.ppm", {9, 9, 9, 255}, {9, 9, 9, 255});
  Output out;
  EXPECT_EQ(load(extra, TEXTURE_MODEL, FORMAT_BY_EXTENSION, &out), TEXTURE_FAILED);
  EXPECT_CONTAINS(out.errors, formatText(localText(49), "textureTable", "TEXTURE_MAX"));
  EXPECT_EQ(textureCount, TEXTURE_MAX);
  EXPECT_EQ(load(path("tile57.ppm")), 57);  // loaded ones are still found
}

TEST_F(TexturesGui, AlphaTestOnlyWhileAnRgbaTextureIsInUse) {
  writePng(path("rgba.png"), {"", PNG_COLOR_TYPE_RGBA, 8, false, false, 0, 4});
  std::string rgb = tile("rgb.ppm", {1, 2, 3, 255}, {1, 2, 3, 255});
  int a = load(path("rgba.png")), b = load(rgb);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  qGlUseTexture(a);
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint function = 0;
  GLfloat reference = 0;
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
  glGetFloatv(GL_ALPHA_TEST_REF, &reference);
  EXPECT_EQ(function, GL_GREATER);
  EXPECT_NEAR(reference, 95.0 / 255.0, 1e-3);
  qGlUseTexture(b);
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  qGlUseTexture(TEXTURE_NONE);
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(TexturesGui, LoadsShirtImagesOnFirstUse) {
  std::string front = tile("front.ppm", {200, 0, 0, 255}, {200, 0, 0, 255});
  writeFile(path("list"), "Red shirt:\n frontBitmap = " + front + "\nBroken shirt:\n backBitmap = " + path("bad.ppm") + "\n");
  writeFile(path("bad.ppm"), "P6\n64 64\n255\n");  // exists, but has no pixels
  ASSERT_EQ(readShirtListFile(path("list").c_str()), SHIRT_LIST_OK);
  ASSERT_EQ(tshirt_count, 2);
  EXPECT_EQ(loadShirtTextures(0), 0);
  EXPECT_EQ(qTShirt[0].frontTexture, 0);
  EXPECT_EQ(qTShirt[0].backTexture, TEXTURE_NONE);
  EXPECT_EQ(textureTable[0].kind, TEXTURE_SHIRT);
  EXPECT_EQ(currentShirt, 0);
  Output out = capture([&] { EXPECT_EQ(loadShirtTextures(1), 3); });
  EXPECT_EQ(qTShirt[1].backTexture, TEXTURE_NONE);
  EXPECT_EQ(qTShirt[1].flags & SHIRT_READY, 0);
  EXPECT_EQ(currentShirt, 0);
  EXPECT_EQ(textureCount, 1);
  tshirt_count = 0;
}

// The camera of the classic renderer: azimuth and elevation in 1/2048 of a turn, the eye 5 m away.
void lookHorizontally() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.15, 0.15, -0.15, 0.15, 0.2, 70.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(0, 0, -5);
  glRotated(-90, 1, 0, 0);
  glRotated(270, 0, 0, 1);
  viewState = ViewState{};
  viewState.elevation = 512;  // 90 degrees from the vertical
  viewState.azimuth = 0;
  viewState.radius = 5000;
  cameraState = CameraState{};
  cameraState.viewDir[0] = -1;  // the eye stands on +x and looks back along -x
  qMode = QuoitMode{};
  qMode.display = 1;
}

class BackgroundGui : public TexturesGui {
 protected:
  void SetUp() override {
    TexturesGui::SetUp();  // the scratch home holds tex/no_texture.png
    // Lower ring red with the tile number in green; upper ring green with the number in red; the upper
    // tiles are blue in their top half.
    for (int k = 0; k < 8; k++) {
      tile(formatText("%d.ppm", k), {200, 20 * k, 0, 255}, {200, 20 * k, 0, 255});
      tile(formatText("%d.ppm", k + 8), {20 * k, 200, 250, 255}, {20 * k, 200, 0, 255});
    }
    qPrefs.bgdir = dir + "/";
    qPrefs.backgroundFlag = 0;
    qPrefs.iflag = 0;
    lookHorizontally();
  }
  void draw() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    qGlDrawBackground();
  }
};

bool near(Rgba p, Rgba q) { return abs(p.r - q.r) <= 8 && abs(p.g - q.g) <= 8 && abs(p.b - q.b) <= 8; }

#define EXPECT_COLOUR(x, y, want)                                                                          \
  do {                                                                                                     \
    Rgba got = pixelAt(x, y), w = want;                                                                    \
    EXPECT_TRUE(near(got, w)) << "at " << x << "," << y << ": " << got.r << " " << got.g << " " << got.b \
                              << ", expected " << w.r << " " << w.g << " " << w.b;                         \
  } while (0)

TEST_F(BackgroundGui, PanoramaStandsAroundTheHorizon) {
  ASSERT_EQ(initTextures(), 0);
  EXPECT_EQ(textureCount, BACKGROUND_TILES + 1);
  EXPECT_EQ(noTextureIndex, BACKGROUND_TILES);
  Output out = capture([&] { draw(); });
  EXPECT_EQ(out.errors, "");
  const int c = WINDOW_SIZE / 2;
  // Right of the centre tile 0 and its upper tile 8, left of it tile 7 and tile 15; the first rows of
  // a tile's file are its top; the plain sky above the upper ring.
  EXPECT_COLOUR(c + 20, c - 20, (Rgba{200, 0, 0, 0}));
  EXPECT_COLOUR(c - 20, c - 20, (Rgba{200, 140, 0, 0}));
  EXPECT_COLOUR(c + 20, c + 12, (Rgba{0, 200, 0, 0}));
  EXPECT_COLOUR(c + 20, c + 36, (Rgba{0, 200, 250, 0}));
  EXPECT_COLOUR(c - 20, c + 36, (Rgba{140, 200, 250, 0}));
  EXPECT_COLOUR(c, WINDOW_SIZE - 4, (Rgba{51, 51, 209, 0}));
  EXPECT_COLOUR(c, 2, (Rgba{0, 0, 0, 0}));  // below the lower ring: nothing
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint mode = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
  EXPECT_EQ(mode, GL_MODULATE);
}

TEST_F(BackgroundGui, TurningTheCameraMovesThePanorama) {
  ASSERT_EQ(initTextures(), 0);
  // A quarter turn of azimuth: the eye looks along -y, and tiles 5 and 6 meet in the middle.
  viewState.azimuth = 512;
  cameraState.viewDir[0] = 0;
  cameraState.viewDir[1] = -1;
  glRotated(-90, 0, 0, 1);
  draw();
  EXPECT_COLOUR(WINDOW_SIZE / 2 + 20, WINDOW_SIZE / 2 - 20, (Rgba{200, 120, 0, 0}));
  EXPECT_COLOUR(WINDOW_SIZE / 2 - 20, WINDOW_SIZE / 2 - 20, (Rgba{200, 100, 0, 0}));
}

TEST_F(BackgroundGui, NothingIsDrawnWhenSwitchedOffOrInTheseModes) {
  ASSERT_EQ(initTextures(), 0);
  auto drawsNothing = [&] {
    draw();
    Rgba p = pixelAt(WINDOW_SIZE / 2 + 20, WINDOW_SIZE / 2 - 20);
    return p.r == 0 && p.g == 0 && p.b == 0;
  };
  EXPECT_FALSE(drawsNothing());
  for (int64_t display : {2, 11}) {
    qMode.display = display;
    EXPECT_TRUE(drawsNothing()) << display;
  }
  qMode.display = 1;
  for (int64_t main : {0x20, 0x80}) {
    qMode.main = main;
    EXPECT_TRUE(drawsNothing()) << main;
  }
  qMode.main = 0;
  qPrefs.displayFlags = 0;
  EXPECT_TRUE(drawsNothing());
  qPrefs.displayFlags = 8;
  qPrefs.backgroundFlag = 1;
  EXPECT_TRUE(drawsNothing());
}

TEST_F(BackgroundGui, QuickModeShowsOneTileEverywhere) {
  tile("quick.ppm", {30, 60, 90, 255}, {30, 60, 90, 255});
  qPrefs.iflag = 10;
  ASSERT_EQ(initTextures(), 0);
  EXPECT_EQ(textureCount, 2);  // the quick tile and the fallback texture
  draw();
  for (int x : {20, 64, 108})
    for (int y : {44, 76}) EXPECT_COLOUR(x, y, (Rgba{30, 60, 90, 0}));
  freeTextureImages();
  EXPECT_EQ(textureCount, 0);
  EXPECT_EQ(textureTable[0].pixels, nullptr);
}

TEST_F(BackgroundGui, MissingTileSwitchesTheBackgroundOff) {
  fs::remove(path("5.ppm"));
  Output out = capture([&] { EXPECT_EQ(initTextures(), INIT_TEXTURES_BACKGROUND_FAILED); });
  EXPECT_CONTAINS(out.errors, formatText(localText(1105), path("5.ppm").c_str()));
  EXPECT_EQ(qPrefs.backgroundFlag, 1);
  // The tiles read before are given up; the fallback texture is record 0, a real texture.
  EXPECT_EQ(textureCount, 1);
  EXPECT_EQ(noTextureIndex, 0);
  EXPECT_STREQ(textureTable[0].path, "tex/no_texture.png");
  EXPECT_EQ(textureTable[0].channels, 3);
  qPrefs.backgroundFlag = 0;  // even when switched on again, the half-loaded panorama is not drawn
  draw();
  Rgba p = pixelAt(WINDOW_SIZE / 2 + 20, WINDOW_SIZE / 2 - 20);
  EXPECT_EQ(p.r + p.g + p.b, 0);
}

TEST_F(BackgroundGui, MissingFallbackTextureIsReported) {
  fs::current_path(dir);
  qPrefs.backgroundFlag = 1;
  Output out = capture([&] { EXPECT_EQ(initTextures(), INIT_TEXTURES_FALLBACK_FAILED); });
  EXPECT_EQ(noTextureIndex, TEXTURE_NONE);
  EXPECT_CONTAINS(out.errors, formatText(localText(1105), "tex/no_texture.png"));
}

// ----------------------------------------------------------------------------------------------------
// Overlay state

class OverlayGui : public TexturesGui {
 protected:
  void SetUp() override {
    TexturesGui::SetUp();
    savedRemote = remoteState;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override {
    remoteState = savedRemote;
    overlayRequests = 0;
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    TexturesGui::TearDown();
  }
  int savedRemote = 0;
};

TEST_F(OverlayGui, StateIsEnteredAndLeftAgain) {
  glEnable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  GLint projectionDepth = 0, modelviewDepth = 0;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);

  qGlutInitFullscreenText(FST_START);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  drawTextBackdrop(10, 20, 30, 40);  // window pixels from the lower left corner
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_NEAR(colour[0], 0.8, 1e-3);
  EXPECT_NEAR(colour[2], 0.3, 1e-3);
  qGlutInitFullscreenText(FST_STOP);

  EXPECT_COLOUR(25, 40, (Rgba{47, 47, 71, 0}));  // 0.8 of (0.23, 0.23, 0.35) over black
  EXPECT_COLOUR(45, 40, (Rgba{0, 0, 0, 0}));
  EXPECT_COLOUR(25, 65, (Rgba{0, 0, 0, 0}));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint depthFunction = 0, depth = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
  EXPECT_EQ(depthFunction, GL_LESS);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, projectionDepth);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, modelviewDepth);
  qGlutInitFullscreenText(5);  // other values do nothing
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

// The overlays drawn at the end of a frame, recorded by the window calls: 1 text, 2 fps, 4 status.
int servedOverlays;

TEST_F(OverlayGui, RemoteControlKeepsOnlyTheTextScreens) {
  WindowCalls saved = windowCalls;
  windowCalls.multiLineText = [](const char *, int, int, int redraw) { servedOverlays |= redraw == 2 ? 1 : 0; };
  windowCalls.fpsOverlay = [] { servedOverlays |= 2; };
  windowCalls.statusText = [](const char *, int, int) { servedOverlays |= 4; };
  struct Case {
    int remote, served;
  } cases[] = {{REMOTE_SHOWN, 1}, {REMOTE_HIDDEN, 7}, {REMOTE_NOT_OPENED, 7}};
  for (const Case &c : cases) {
    remoteState = c.remote;
    servedOverlays = 0;
    overlayRequests = OVERLAY_TEXT | OVERLAY_FPS | OVERLAY_STATUS;
    Output out = capture([&] { qGlCheckDisplayFlags(); });
    EXPECT_EQ(servedOverlays, c.served) << "remote state " << c.remote;
    EXPECT_EQ(overlayRequests, 0) << "remote state " << c.remote;
    EXPECT_EQ(out.errors.find("OpenGL Error"), std::string::npos) << out.errors;
  }
  windowCalls = saved;
}

}  // namespace
