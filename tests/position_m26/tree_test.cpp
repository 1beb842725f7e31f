// Search-tree nodes: emptying, freeing and sorting.
#include <gtest/gtest.h>

#include <vector>

#include "engine/search/m26/tree.hpp"
#include "tests/common/counting_new.hpp"

// Live heap blocks of this test program, to see what zwolnij frees.
static const long& g_live = morvelak::test::live;

namespace morvelak::test {
namespace {

using m26::wezel;

TEST(Wezel, InicEmptiesCountsAndChildrenOnly) {
    wezel* w = new wezel;
    w->ruch[0] = Move{3, 44};
    w->wart[0] = 17;
    w->inic();
    EXPECT_EQ(w->ile1, 0);
    EXPECT_EQ(w->ile2, 0);
    for (wezel* c : w->nast) EXPECT_EQ(c, nullptr);
    EXPECT_EQ(w->ruch[0], (Move{3, 44}));
    EXPECT_EQ(w->wart[0], 17);
    delete w;
}

// A node frees only the children of its recorded moves.
TEST(Wezel, ZwolnijWithNoRecordedMovesFreesNothing) {
    wezel root;
    root.inic();
    wezel* kids[3];
    for (int i = 0; i < 3; ++i) {
        kids[i] = m26::nowy_wezel();
        kids[i]->wart[0] = 100 + i;
        root.nast[i] = kids[i];
    }
    const long live = g_live;
    root.zwolnij();  // ile1 is 0
    const long after = g_live;
    EXPECT_EQ(after, live);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(root.nast[i], kids[i]);
        EXPECT_EQ(kids[i]->wart[0], 100 + i);  // still there (ASan would object otherwise)
    }
    for (wezel* k : kids) delete k;
}

// The search's use: root moves with reply nodes, replies with nodes of the
// engine's next moves, some of them cut off early; a fail-high re-search
// empties and reuses one child.  zwolnij frees everything and nulls the
// pointers.
TEST(Wezel, ZwolnijFreesTheWholeTree) {
    const long start = g_live;
    static wezel korzen;
    korzen.inic();
    korzen.ile1 = korzen.ile2 = 4;
    for (int b = 0; b < 4; ++b) {
        wezel* replies = m26::nowy_wezel();
        korzen.nast[b] = replies;
        const int searched = b == 2 ? 1 : 5;  // a cut-off after the first reply
        for (int r = 0; r < searched; ++r) {
            replies->nast[r] = m26::nowy_wezel();
            replies->nast[r]->ile1 = replies->nast[r]->ile2 = 7;
        }
        replies->ile1 = replies->ile2 = static_cast<i8>(searched);
    }
    // The re-search of root move 1: empty its child, then fill it again.
    korzen.nast[1]->zwolnij();
    korzen.nast[1]->inic();
    korzen.nast[1]->nast[0] = m26::nowy_wezel();
    korzen.nast[1]->ile1 = 1;

    const long built = g_live - start;
    korzen.zwolnij();
    const long freed = start + built - g_live;
    EXPECT_EQ(built, 4 + 5 + 1 + 1 + 5);
    EXPECT_EQ(freed, built);
    for (wezel* c : korzen.nast) EXPECT_EQ(c, nullptr);
}

// Counts beyond the node's 120 moves never take a loop past its arrays.
TEST(Wezel, CountsAboveTheCapacityStayInsideTheNode) {
    wezel* w = m26::nowy_wezel();
    for (int i = 0; i < m26::NODE_MOVES; ++i) w->wart[i] = i % 7;
    w->ile1 = 127;
    w->posortuj("b");
    for (int i = 0; i + 1 < m26::NODE_MOVES; ++i) ASSERT_GE(w->wart[i], w->wart[i + 1]);
    w->zwolnij();
    w->ile1 = -5;
    w->zwolnij();
    w->posortuj("c");
    delete w;
}

// Sorting: the root (White to move) greatest first, each reply node
// smallest first, each node of White's next moves greatest first; moves,
// values and children travel together, and equal values keep their order.
TEST(Wezel, PosortujOrdersThreeLevels) {
    wezel korzen;
    korzen.inic();
    const std::vector<int> rootValues = {10, 30, 20, 30};
    korzen.ile1 = korzen.ile2 = static_cast<i8>(rootValues.size());
    for (std::size_t b = 0; b < rootValues.size(); ++b) {
        korzen.ruch[b] = Move{static_cast<i8>(b), static_cast<i8>(11 + b)};
        korzen.wart[b] = rootValues[b];
        wezel* replies = m26::nowy_wezel();
        korzen.nast[b] = replies;
        const std::vector<int> replyValues = {5 + static_cast<int>(b), -3, 5 + static_cast<int>(b), 0};
        replies->ile1 = replies->ile2 = static_cast<i8>(replyValues.size());
        for (std::size_t r = 0; r < replyValues.size(); ++r) {
            replies->ruch[r] = Move{static_cast<i8>(r), static_cast<i8>(50 + r)};
            replies->wart[r] = replyValues[r];
            wezel* next = m26::nowy_wezel();
            replies->nast[r] = next;
            const std::vector<int> nextValues = {-1, 4, 4, 9, static_cast<int>(r)};
            next->ile1 = next->ile2 = static_cast<i8>(nextValues.size());
            for (std::size_t k = 0; k < nextValues.size(); ++k) {
                next->ruch[k] = Move{static_cast<i8>(k), static_cast<i8>(70 + k)};
                next->wart[k] = nextValues[k];
            }
        }
    }
    // The replies' nodes remember their root move through a marker value.
    for (int b = 0; b < 4; ++b) korzen.nast[b]->wart[119] = 1000 + b;

    korzen.posortuj("b");

    // Root: 30 (move 1), 30 (move 3), 20 (move 2), 10 (move 0).
    const int rootOrder[4] = {1, 3, 2, 0};
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(korzen.ruch[b].nr, rootOrder[b]);
        EXPECT_EQ(korzen.wart[b], rootValues[rootOrder[b]]);
        EXPECT_EQ(korzen.nast[b]->wart[119], 1000 + rootOrder[b]);
        const wezel* replies = korzen.nast[b];
        // Replies smallest first: -3 (1), 0 (3), then the two equal ones in order.
        const int replyOrder[4] = {1, 3, 0, 2};
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(replies->ruch[r].nr, replyOrder[r]);
            EXPECT_EQ(replies->ruch[r].x2, 50 + replyOrder[r]);
            const wezel* next = replies->nast[r];
            // The child stayed with its reply: its last move's value is the reply's index.
            int last = -1;
            for (int k = 0; k < 5; ++k)
                if (next->ruch[k].nr == 4) last = next->wart[k];
            EXPECT_EQ(last, replyOrder[r]);
            // White's next moves greatest first, the two 4s in their order.
            for (int k = 0; k + 1 < 5; ++k) EXPECT_GE(next->wart[k], next->wart[k + 1]);
            int firstFour = -1, secondFour = -1;
            for (int k = 0; k < 5; ++k) {
                if (next->ruch[k].nr == 1) firstFour = k;
                if (next->ruch[k].nr == 2) secondFour = k;
            }
            EXPECT_LT(firstFour, secondFour);
        }
    }
    const long live = g_live;
    korzen.zwolnij();
    const long freed = live - g_live;
    EXPECT_EQ(freed, 4 + 4 * 4);
}

// With Black at the root the directions turn over on every level.
TEST(Wezel, PosortujForBlackStartsSmallestFirst) {
    wezel korzen;
    korzen.inic();
    korzen.ile1 = 3;
    const int values[3] = {5, -7, 2};
    for (int b = 0; b < 3; ++b) {
        korzen.wart[b] = values[b];
        korzen.ruch[b] = Move{static_cast<i8>(b), 0};
    }
    wezel* child = m26::nowy_wezel();
    child->ile1 = 3;
    for (int r = 0; r < 3; ++r) child->wart[r] = values[r];
    korzen.nast[0] = child;
    korzen.posortuj("c");
    EXPECT_EQ(korzen.wart[0], -7);
    EXPECT_EQ(korzen.wart[1], 2);
    EXPECT_EQ(korzen.wart[2], 5);
    EXPECT_EQ(korzen.nast[2], child);  // the child went with its move (value 5)
    EXPECT_EQ(child->wart[0], 5);
    EXPECT_EQ(child->wart[1], 2);
    EXPECT_EQ(child->wart[2], -7);
    korzen.zwolnij();
}

}  // namespace
}  // namespace morvelak::test
