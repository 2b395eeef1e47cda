// The built-in sound, bitmaps and help pages have the form the program relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "res/embedded.h"

namespace qv {
namespace {

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
    ASSERT_TRUE(wav && wav->size >= 44u);
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
    EXPECT_TRUE(samples >= 1600u && samples <= 8000u) << samples;
    const auto [low, high] = std::minmax_element(p + 44, p + wav->size);
    EXPECT_GT(*high - *low, 40);
    EXPECT_NEAR(p[wav->size - 1], 128, 1);
}

// The strips hold sixteen-pixel images (hammer, clock, undo; up, down, blank, notepad, dash,
// blank, in RGBA so the blanks are transparent); the icons have their sizes.
TEST(Bitmaps, StripsHoldSixteenPixelImagesAndIconsHaveTheirSizes) {
    struct Png {
        std::string name;
        uint32_t width, height;
        int colourType;  // -1: any
    };
    std::vector<Png> images = {{"bitmap106.png", 3 * 16, 16, -1}, {"bitmap128.png", 6 * 16, 16, 6}};
    for (uint32_t size : {16, 32, 48, 64, 128, 256}) {
        images.push_back({"icon101-" + std::to_string(size) + ".png", size, size, -1});
    }
    static const unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (const Png& image : images) {
        SCOPED_TRACE(image.name);
        const EmbeddedFile* png = FindEmbedded(image.name);
        ASSERT_TRUE(png && png->size >= 33 && std::equal(kSignature, kSignature + 8, png->data));
        EXPECT_EQ(Be32(png->data + 8), 13u);
        EXPECT_EQ(Text(png, 12, 4), "IHDR");
        EXPECT_EQ(Be32(png->data + 16), image.width);
        EXPECT_EQ(Be32(png->data + 20), image.height);
        EXPECT_TRUE(image.colourType < 0 || png->data[25] == image.colourType) << +png->data[25];
    }
}

TEST(HelpPages, PageHasEveryAnchorAndContentsLinksEachOne) {
    const EmbeddedFile* page = FindEmbedded("enquorvella.htm");
    const EmbeddedFile* contents = FindEmbedded("enquorvella.htc");
    ASSERT_TRUE(page && contents);
    for (const char* anchor :
         {"Navigating", "Timerecords", "Categories", "Workwithrapport", "Projects", "Projectsstat",
          "Export", "Exportrapport", "Exportbalance", "Settings"}) {
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
