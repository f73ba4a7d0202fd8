#include "model/chunkedlist.h"

#include <gtest/gtest.h>

#include <random>

using namespace kelvary;

namespace {

// Small chunks, so that a few dozen values cross many chunk boundaries.
using SmallChunkedList = ChunkedList<int, 4>;

void expectSameValues(const SmallChunkedList &list, const QList<int> &expected)
{
    ASSERT_EQ(list.size(), expected.size());
    EXPECT_EQ(list.toList(), expected);
    for (qsizetype i = 0; i < expected.size(); ++i)
        ASSERT_EQ(list.at(i), expected.at(i)) << "at " << i;
    EXPECT_EQ(std::distance(list.begin(), list.end()), expected.size());
}

} // namespace

// Every operation is played on a QList beside it, and copies taken along the way must keep the
// values they had when they were taken, whatever is done to the list afterwards.
TEST(ChunkedList, BehavesAsAQListAndCopiesNeverSeeLaterEdits)
{
    std::mt19937 random(20261207);
    SmallChunkedList list;
    QList<int> expected;
    std::vector<std::pair<SmallChunkedList, QList<int>>> copies;
    int next = 0;
    for (int step = 0; step < 3000; ++step) {
        const auto pick = [&](qsizetype bound) {
            return std::uniform_int_distribution<qsizetype>(0, bound - 1)(random);
        };
        switch (pick(expected.isEmpty() ? 2 : 6)) {
        case 0:
            list.append(next);
            expected.append(next++);
            break;
        case 1: {
            const qsizetype at = pick(expected.size() + 1);
            list.insert(at, next);
            expected.insert(at, next++);
            break;
        }
        case 2: {
            const qsizetype at = pick(expected.size());
            list.removeAt(at);
            expected.removeAt(at);
            break;
        }
        case 3: {
            const qsizetype from = pick(expected.size());
            const qsizetype to = pick(expected.size());
            list.move(from, to);
            expected.move(from, to);
            break;
        }
        case 4: {
            const qsizetype at = pick(expected.size());
            list[at] = -list[at];
            expected[at] = -expected[at];
            break;
        }
        case 5: {
            const int divisor = int(pick(5)) + 2;
            const auto picks = [&](int value) { return value % divisor == 0; };
            EXPECT_EQ(list.removeIf(picks), expected.removeIf(picks));
            break;
        }
        }
        if (step % 50 == 0)
            copies.emplace_back(list, expected);
        ASSERT_EQ(list.size(), expected.size()) << "after step " << step;
    }
    expectSameValues(list, expected);
    for (const auto &[copy, values] : copies)
        expectSameValues(copy, values);
}
