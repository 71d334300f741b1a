#include "picture/png_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace rv {

namespace {

class PngFile : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("png_file_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                 "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
};

TEST_F(PngFile, RoundTripKeepsEveryByteAndTheRowOrder) {
    // 3 x 2 so that rows are not a multiple of four bytes and a flipped or padded read shows.
    RgbImage8 image(3, 2);
    for (size_t i = 0; i < image.rgb.size(); ++i) image.rgb[i] = static_cast<std::uint8_t>(i * 13 + 1);
    image.pixel(0, 0)[0] = 255;
    image.pixel(2, 1)[2] = 0;

    std::string error;
    ASSERT_TRUE(writePng(path("a.png"), image, &error)) << error;
    const std::optional<RgbImage8> back = readPng(path("a.png"), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, image);
    EXPECT_EQ(back->pixel(0, 0)[0], 255);
}

TEST_F(PngFile, FailuresAreReportedNotThrown) {
    std::string error;
    EXPECT_FALSE(writePng(path("empty.png"), RgbImage8{}, &error));
    EXPECT_FALSE(error.empty());

    RgbImage8 inconsistent(2, 2);
    inconsistent.rgb.pop_back();
    EXPECT_FALSE(writePng(path("short.png"), inconsistent));

    EXPECT_FALSE(writePng(path("no/such/dir/x.png"), RgbImage8(1, 1), &error));
    EXPECT_FALSE(readPng(path("missing.png"), &error));
    EXPECT_FALSE(error.empty());

    std::ofstream(path("text.png")) << "not a picture";
    EXPECT_FALSE(readPng(path("text.png")));
}

TEST_F(PngFile, HugeSizeInTheHeaderIsRejectedBeforeAllocating) {
    ASSERT_TRUE(writePng(path("small.png"), RgbImage8(1, 1)));
    std::ifstream in(path("small.png"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // IHDR: length at 8, type at 12, width at 16, height at 20, CRC of type and data at 29.
    ASSERT_EQ(bytes.substr(12, 4), "IHDR");
    const unsigned char huge[4] = {0x00, 0x01, 0x86, 0xa0}; // 100000
    for (int i = 0; i < 4; ++i) bytes[16 + i] = bytes[20 + i] = static_cast<char>(huge[i]);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17);
    for (int i = 0; i < 4; ++i) bytes[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xff);
    std::ofstream(path("huge.png"), std::ios::binary) << bytes;

    std::string error;
    EXPECT_FALSE(readPng(path("huge.png"), &error));
    EXPECT_NE(error.find("100000"), std::string::npos) << error;
}

} // namespace

} // namespace rv
