#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>

#include "platform/Image.h"
#include "support/TempDir.h"

namespace {

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Magenta counts only when opaque and exact.
const std::vector<std::uint32_t> kPixels = {0xFF102030u, 0x80FF00FFu, 0xFFFF00FFu, 0x00000000u,
                                            0xFFFF01FFu, 0xFFFF00FFu, 0x7F7F7F7Fu, 0xFFFFFFFFu};

class PngImage : public ::testing::Test {
 protected:
  std::string Save(const char* name) {
    EXPECT_TRUE(platform::SavePng((dir / name).string(), 4, 2, kPixels.data(), error)) << error;
    return (dir / name).string();
  }
  testsupport::TempDir dir;
  platform::Image image;
  std::string error;
};

}  // namespace

TEST_F(PngImage, SavedPixelsLoadBackExactlyOrWithOnlyOpaqueMagentaKeyedOut) {
  ASSERT_TRUE(platform::LoadPng(Save("a.png"), image, error, platform::ColorKey::None)) << error;
  EXPECT_EQ(std::pair(image.width, image.height), std::pair(4, 2));
  EXPECT_EQ(image.pixels, kPixels);
  Save("b.png");
  EXPECT_EQ(ReadBytes(dir / "a.png"), ReadBytes(dir / "b.png"));  // saving is deterministic

  ASSERT_TRUE(platform::LoadPng(Save("a.png"), image, error)) << error;
  std::vector<std::uint32_t> expected = kPixels;
  expected[2] = expected[5] = 0;  // transparent black
  EXPECT_EQ(image.pixels, expected);
}

TEST_F(PngImage, MissingCorruptEmptyOrTruncatedFilesFailNamingTheFile) {
  std::vector<unsigned char> good = ReadBytes(Save("good.png"));
  std::vector<unsigned char> badData = good;
  badData[badData.size() - 20] ^= 0xFF;  // inside the image data: its checksum breaks
  WriteBytes(dir / "truncated.png", {good.begin(), good.begin() + good.size() / 2});
  WriteBytes(dir / "garbage.png", std::vector<unsigned char>(200, 0x5A));
  WriteBytes(dir / "empty.png", {});
  WriteBytes(dir / "bad.png", badData);
  for (const char* name : {"missing.png", "truncated.png", "garbage.png", "empty.png", "bad.png"}) {
    error.clear();
    EXPECT_FALSE(platform::LoadPng((dir / name).string(), image, error)) << name;
    EXPECT_NE(error.find(name), std::string::npos) << error;
    EXPECT_TRUE(image.pixels.empty()) << name;
  }
}

TEST_F(PngImage, AbsurdHeaderSizeIsRefusedBeforeAllocating) {
  // A valid signature and header claiming 100000 x 100000 pixels, then token data.
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto addChunk = [&png](std::vector<unsigned char> chunk) {
    const std::size_t length = chunk.size() - 4;
    for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<unsigned char>(length >> shift));
    const uLong crc = crc32(0, chunk.data(), static_cast<uInt>(chunk.size()));
    png.insert(png.end(), chunk.begin(), chunk.end());
    for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<unsigned char>(crc >> shift));
  };
  addChunk({'I', 'H', 'D', 'R', 0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0, 8, 6, 0, 0, 0});
  addChunk({'I', 'D', 'A', 'T', 0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
  addChunk({'I', 'E', 'N', 'D'});
  EXPECT_FALSE(platform::DecodePng(png.data(), png.size(), "huge.png", image, error));
  EXPECT_NE(error.find("huge.png: image size 100000 x 100000 is out of range"), std::string::npos)
      << error;
}
