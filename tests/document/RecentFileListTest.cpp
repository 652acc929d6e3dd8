#include "document/RecentFileList.h"
#include "kernel/MemorySettingsStore.h"
#include "kernel/Registry.h"

#include <gtest/gtest.h>

#include <string>

TEST(RecentFileList, NewestFirstWithoutDuplicatesUpToItsCapacity)
{
    RecentFileList list(3);
    for (const char* path : {"/a", "/b", "/c", "/b", "/d"})
        list.Add(path);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(0), "/d");
    EXPECT_EQ(list.Get(1), "/b");
    EXPECT_EQ(list.Get(2), "/c");
    EXPECT_EQ(list.Get(3), "");
    list.Add("  ");
    EXPECT_EQ(list.Count(), 3);
    list.Remove(1);
    list.Remove(7);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1), "/c");
}

TEST(RecentFileList, IsKeptBetweenRunsExactly)
{
    ScopedMemorySettingsStore store;
    const RegistryApp app{"OrvaneSoft", "Orvane"};
    RecentFileList list(4);
    list.Add("/models/Great;Stellated/one.orva");
    list.Add("/models/two.orva");
    list.Add("/models/three.orva");
    list.Save(app);

    // A shorter list written later leaves no older entry behind.
    RecentFileList shorter(4);
    shorter.Add("/models/only.orva");
    RecentFileList read(4);
    read.Load(app);
    ASSERT_EQ(read.Count(), 3);
    EXPECT_EQ(read.Get(2), "/models/Great;Stellated/one.orva");
    shorter.Save(app);
    read.Load(app);
    ASSERT_EQ(read.Count(), 1);
    EXPECT_EQ(read.Get(0), "/models/only.orva");

    SettingValue value;
    ASSERT_TRUE(store.store.ReadValue("Software\\OrvaneSoft\\Orvane\\Recent File List", "File1", value));
    EXPECT_EQ(value.text, "/models/only.orva");
}
