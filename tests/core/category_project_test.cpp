#include <gtest/gtest.h>

#include "core/category.h"
#include "core/project.h"
#include "support/record_builders.h"

namespace qv {
namespace {

TEST(CategoryList, KeepsNamesUniqueAndFindsAndRemovesByExactName) {
    CategoryList list;
    for (auto [name, total] : {std::pair{u"Work", 30}, {u"Travel", 90}, {u"Meeting", 30}}) {
        ASSERT_NE(list.Add(testing::MakeCategory(name, total)), nullptr);
    }
    CategoryItem again;
    SetName(again, u"Travel");
    EXPECT_EQ(list.Add(again), nullptr);
    EXPECT_EQ(list.Current()->name, u"Work");  // refused: cursor on the first item
    SetName(again, u"travel");
    EXPECT_NE(list.Add(again), nullptr);
    EXPECT_EQ(list.Size(), 4);

    EXPECT_EQ(list.FindByName(u"Travel")->position, 1);
    EXPECT_EQ(list.Current()->name, u"Travel");
    EXPECT_EQ(list.FindByName(u"TRAVEL"), nullptr);
    EXPECT_EQ(list.Current()->name, u"Work");
    EXPECT_EQ(list.FindByTotal(30)->name, u"Work");  // the one nearer the first
    EXPECT_TRUE(list.RemoveByName(u"Work"));
    EXPECT_EQ(list.Current()->name, u"Travel");
    EXPECT_EQ(list.FindAt(1)->name, u"Meeting");
    EXPECT_FALSE(list.RemoveAt(5));
    EXPECT_EQ(list.Size(), 3);
    CategoryList empty;
    EXPECT_FALSE(empty.RemoveAt(0));  // unlike a time-record list, an empty list fails
}

TEST(ProjectRecord, CopyFromKeepsANameTheSourceLacksAndFindByNameIsExact) {
    ProjectRecord target;
    target.name = u"Alpha";
    target.description = u"old";
    ProjectRecord source;
    source.projectId = 51439;
    source.name = u"";
    source.description = u"";
    source.totalMinutes = 90;
    CopyFrom(target, source);
    EXPECT_EQ(target.projectId, 51439u);
    EXPECT_EQ(target.name, u"Alpha");
    EXPECT_EQ(target.description, u"");
    EXPECT_EQ(target.totalMinutes, 90);

    ProjectList list;
    list.Append(target);
    EXPECT_EQ(list.FindByName(u"alpha"), nullptr);
}

}  // namespace
}  // namespace qv
