#include <gtest/gtest.h>

#include "core/category.h"
#include "core/project.h"

namespace qv {
namespace {

CategoryItem Cat(const char16_t* name, int32_t total = 0) {
    CategoryItem c;
    SetName(c, std::u16string(name));
    c.totalMinutes = total;
    return c;
}

TEST(CategoryList, KeepsNamesUniqueUnderExactComparison) {
    CategoryList list;
    ASSERT_NE(list.Add(Cat(u"Work")), nullptr);
    ASSERT_NE(list.Add(Cat(u"Travel")), nullptr);
    ASSERT_NE(list.Add(Cat(u"Meeting")), nullptr);
    EXPECT_EQ(list.Current()->name, u"Meeting");

    EXPECT_EQ(list.Add(Cat(u"Travel")), nullptr);
    EXPECT_EQ(list.Size(), 3);
    EXPECT_EQ(list.Current()->name, u"Work");      // refused: cursor on the first item
    EXPECT_NE(list.Add(Cat(u"travel")), nullptr);  // another name for the list
    EXPECT_EQ(list.Size(), 4);
}

TEST(CategoryList, FindsAndRemovesByNameWithTheListsCursorRules) {
    CategoryList list;
    list.Add(Cat(u"Work", 30));
    list.Add(Cat(u"Travel", 90));
    list.Add(Cat(u"Meeting", 30));
    EXPECT_EQ(list.FindByName(u"Travel")->position, 1);
    EXPECT_EQ(list.Current()->name, u"Travel");
    EXPECT_EQ(list.FindByName(u""), nullptr);
    EXPECT_EQ(list.FindByName(std::nullopt), nullptr);
    EXPECT_EQ(list.FindByName(u"travel"), nullptr);
    EXPECT_EQ(list.Current()->name, u"Work");
    EXPECT_EQ(list.FindByTotal(30)->name, u"Work");  // the one nearer the first

    EXPECT_TRUE(list.RemoveByName(u"Work"));
    EXPECT_EQ(list.Current()->name, u"Travel");
    EXPECT_EQ(list.FindAt(1)->name, u"Meeting");
    EXPECT_FALSE(list.RemoveByName(u"Work"));
    EXPECT_FALSE(list.RemoveByName(u""));
    EXPECT_FALSE(list.RemoveAt(5));
    EXPECT_EQ(list.Size(), 2);

    CategoryList empty;
    EXPECT_FALSE(empty.RemoveAt(0));  // unlike a time-record list, an empty list fails
    EXPECT_EQ(empty.Current(), nullptr);
}

TEST(ProjectRecord, CopyFromKeepsANameTheSourceLacksButTakesAnEmptyDescription) {
    ProjectRecord target;
    target.name = u"Alpha";
    target.description = u"old";
    ProjectRecord source;
    source.projectId = 51439;
    SetDate(source, MakeDate(2005, 10, 29));
    source.name = u"";
    source.description = u"";
    source.totalMinutes = 90;
    CopyFrom(target, source);
    EXPECT_EQ(target.projectId, 51439u);
    EXPECT_EQ(target.name, u"Alpha");
    EXPECT_EQ(target.description, u"");
    EXPECT_EQ(target.totalMinutes, 90);
    EXPECT_EQ(DateText(target, 0), u"29-10-05");

    Reset(target);
    EXPECT_EQ(target.projectId, kNoProjectId);
    EXPECT_EQ(target.totalMinutes, 0);
    EXPECT_FALSE(target.name.has_value());
}

TEST(ProjectList, FindByNameIsExactAndCaseSensitive) {
    ProjectList list;
    ProjectRecord p;
    p.name = u"Alpha";
    list.Append(p);
    p.name = u"beta";
    list.Append(p);
    EXPECT_EQ(list.FindByName(u"beta")->position, 1);
    EXPECT_EQ(list.FindByName(u"Beta"), nullptr);
    EXPECT_EQ(list.FindByName(u"Alph"), nullptr);
    EXPECT_EQ(list.FindByName(u""), nullptr);
    EXPECT_EQ(list.Current()->name, u"Alpha");
}

}  // namespace
}  // namespace qv
