#include <gtest/gtest.h>

#include <string>

#include "runtime/exit_list.h"

namespace moyuan {
namespace {

// The routines are plain functions, so they report into one shared log.
std::string ran;
void routineA() { ran += 'a'; }
void routineB() { ran += 'b'; }
void routineC() { ran += 'c'; }

class ExitListTest : public testing::Test {
protected:
    void SetUp() override { ran.clear(); }
    ExitList list;
};

TEST_F(ExitListTest, RunsInTheOrderAdded) {
    list.add(routineC);
    list.add(routineA);
    list.add(routineB);
    list.runAll();
    EXPECT_EQ(ran, "cab");
}

TEST_F(ExitListTest, AddingTwiceListsOnce) {
    list.add(routineA);
    list.add(routineB);
    list.add(routineA);
    list.add(nullptr);
    EXPECT_EQ(list.size(), 2u);
    list.runAll();
    EXPECT_EQ(ran, "ab");
}

TEST_F(ExitListTest, RunAllEmptiesTheList) {
    list.add(routineA);
    list.add(routineB);
    list.runAll();
    EXPECT_EQ(list.size(), 0u);
    list.runAll();
    EXPECT_EQ(ran, "ab");
}

TEST_F(ExitListTest, DiscardRunsNothing) {
    list.add(routineA);
    list.add(routineB);
    list.discard();
    EXPECT_EQ(list.size(), 0u);
    list.runAll();
    EXPECT_EQ(ran, "");
}

} // namespace
} // namespace moyuan
