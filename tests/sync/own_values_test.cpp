// The store's own table: in the store's transactions, out of its dump, readable when looking.
#include <gtest/gtest.h>

#include "files/temp_dir.h"
#include "platform/objectstore/object_store.h"

namespace qv {
namespace {

TEST(OwnValues, FollowTransactionsAndStayOutOfTheDump) {
    test::TempDir dir;
    const auto file = dir / "store.sqlite";
    {
        auto store = OpenObjectStoreFile(file);
        ASSERT_NE(store->CeCreateDatabase(u"Times", 0), 0u);
        const auto before = store->Dump();
        EXPECT_FALSE(store->GetValue("t", "k"));
        {
            StoreTransaction undone(*store);
            ASSERT_TRUE(store->PutValue("t", "k", "gone"));
        }
        EXPECT_FALSE(store->GetValue("t", "k"));
        StoreTransaction kept(*store);
        ASSERT_TRUE(store->PutValue("t", "k", std::string("v\0\n", 3)));
        ASSERT_TRUE(store->PutValue("t", "j", "w"));
        ASSERT_TRUE(store->PutValue("u", "k", "other table"));
        ASSERT_TRUE(store->EraseValue("t", "j"));
        ASSERT_TRUE(kept.Commit());
        EXPECT_EQ(store->Dump().size(), before.size());
        EXPECT_EQ(store->Dump()[0].name, before[0].name);
    }
    auto looking = OpenObjectStoreForLooking(file);
    EXPECT_EQ(looking->GetValue("t", "k"), std::string("v\0\n", 3));
    std::vector<std::string> keys;
    EXPECT_TRUE(looking->ForEachValue(
        "t", [&](const std::string& k, const std::string&) { keys.push_back(k); }));
    EXPECT_EQ(keys, std::vector<std::string>{"k"});
    EXPECT_FALSE(looking->PutValue("t", "k", "refused"));
}

}  // namespace
}  // namespace qv
