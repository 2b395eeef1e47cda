// The built-in help pages link every anchor the dialogs ask for.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "res/embedded.h"

namespace qv {
namespace {

std::string_view Text(const EmbeddedFile* f) {
    return std::string_view(reinterpret_cast<const char*>(f->data), f->size);
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
