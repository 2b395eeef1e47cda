// The built-in sound, bitmaps and help pages have the form the program relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "res/embedded.h"

namespace qv {
namespace {

const char* const kAnchors[] = {"Navigating",    "Timerecords",  "Categories", "Workwithrapport",
                                "Projects",      "Projectsstat", "Export",     "Exportrapport",
                                "Exportbalance", "Settings"};

uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t Be32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::string_view Text(const EmbeddedFile* f, size_t from = 0, size_t n = std::string_view::npos) {
    return std::string_view(reinterpret_cast<const char*>(f->data), f->size).substr(from, n);
}

TEST(AddedSound, IsShortPcmMonoAt8000HzWith8BitSamples) {
    const EmbeddedFile* wav = FindEmbedded("IDW_TIME_ADDED.wav");
    ASSERT_NE(wav, nullptr);
    ASSERT_GE(wav->size, 44u);
    const unsigned char* p = wav->data;
    EXPECT_EQ(Text(wav, 0, 4), "RIFF");
    EXPECT_EQ(Le32(p + 4), wav->size - 8);
    // a plain PCM format block: mono, 8000 samples and bytes a second, one byte each
    constexpr char kFormat[] =
        "WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data";
    EXPECT_EQ(Text(wav, 8, 32), std::string_view(kFormat, 32));
    const uint32_t samples = Le32(p + 40);
    EXPECT_EQ(samples, wav->size - 44);
    // a short chime: between a fifth and a whole second, audible, ending in silence
    EXPECT_GE(samples, 1600u);
    EXPECT_LE(samples, 8000u);
    const auto [low, high] = std::minmax_element(p + 44, p + wav->size);
    EXPECT_GT(*high - *low, 40);
    EXPECT_NEAR(p[wav->size - 1], 128, 1);
}

struct PngHeader {
    uint32_t width = 0, height = 0;
    int colourType = 0;
};

PngHeader ReadIhdr(const EmbeddedFile* png) {
    PngHeader h;
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (png == nullptr || png->size < 33 || !std::equal(kSignature, kSignature + 8, png->data))
        return h;
    const unsigned char* p = png->data + 8;
    if (Be32(p) != 13 || std::string_view(reinterpret_cast<const char*>(p + 4), 4) != "IHDR")
        return h;
    h.width = Be32(p + 8);
    h.height = Be32(p + 12);
    h.colourType = p[17];
    return h;
}

TEST(Bitmaps, StripsHoldSixteenPixelImagesAndIconsHaveTheirSizes) {
    PngHeader b106 = ReadIhdr(FindEmbedded("bitmap106.png"));
    EXPECT_EQ(b106.width, 3u * 16);  // hammer, clock, undo arrow
    EXPECT_EQ(b106.height, 16u);
    PngHeader b128 = ReadIhdr(FindEmbedded("bitmap128.png"));
    EXPECT_EQ(b128.width, 6u * 16);  // up, down, blank, notepad, dash, blank
    EXPECT_EQ(b128.height, 16u);
    EXPECT_EQ(b128.colourType, 6);  // RGBA: the blank images are transparent

    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string name = "icon101-" + std::to_string(size) + ".png";
        PngHeader icon = ReadIhdr(FindEmbedded(name));
        EXPECT_EQ(icon.width, static_cast<uint32_t>(size)) << name;
        EXPECT_EQ(icon.height, static_cast<uint32_t>(size)) << name;
    }
}

TEST(HelpPages, PageHasEveryAnchorAndContentsLinksEachOne) {
    const EmbeddedFile* page = FindEmbedded("enquorvella.htm");
    const EmbeddedFile* contents = FindEmbedded("enquorvella.htc");
    ASSERT_TRUE(page && contents);
    for (const char* anchor : kAnchors) {
        const std::string id = std::string("id=\"") + anchor + "\"";
        const std::string link = std::string("href=\"enquorvella.htm#") + anchor + "\"";
        EXPECT_NE(Text(page).find(id), std::string_view::npos) << anchor;
        EXPECT_NE(Text(contents).find(link), std::string_view::npos) << anchor;
    }
    // "Export" must not be satisfied by "Exportrapport" alone: the id match includes the quote
    EXPECT_EQ(Text(page).find("id=\"export\""), std::string_view::npos);
}

}  // namespace
}  // namespace qv
