#include "check/JoinedList.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace trvx {
namespace {

// Parts of the given lengths, empty ones among them, joined, then one
// element inserted and one appended: by index and by iterator the list
// reads as one vector built the same way.
TEST(JoinedList, ReadsAsOneListAcrossItsParts) {
    struct TCase {
        std::vector<int> parts;
        std::size_t insertAt;
    };
    const TCase cases[] = {
        {{}, 0},
        {{0, 0}, 0},
        {{3}, 0},
        {{3}, 3},
        {{2, 0, 3}, 2}, // where one part ends and the next starts
        {{0, 1, 0, 4, 2}, 5},
        {{1, 1, 1}, 3},
    };
    for (const TCase& c : cases) {
        TJoinedList<int> list;
        std::vector<int> model;
        int next = 0;
        for (const int length : c.parts) {
            std::deque<int> part;
            for (int k = 0; k < length; ++k) {
                part.push_back(next);
                model.push_back(next++);
            }
            list.Join(std::move(part));
        }
        list.insert(c.insertAt, -1);
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(c.insertAt), -1);
        list.push_back(next);
        model.push_back(next);
        ASSERT_EQ(list.size(), model.size()) << c.insertAt;
        for (std::size_t i = 0; i < model.size(); ++i)
            EXPECT_EQ(list[i], model[i]) << i;
        EXPECT_EQ(std::vector<int>(list.begin(), list.end()), model) << c.insertAt;
    }
}

} // namespace
} // namespace trvx
