#include "panel/StringHelpers.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace vedivez;
using Pieces = std::vector<std::string>;

TEST(SplitStringTest, CutsAsTheReaderExpects) {
    using namespace std::string_literals;
    const struct {
        std::string delimiter;
        std::string text;
        int32_t max;
        Pieces expected;
    } cases[] = {
        {";", "a;;b;", 0, {"a", "", "b"}},
        {";", "a;b;c", 2, {"a", "b;c"}},
        {";", "a;b;c", 1, {"a;b;c"}},
        {";", "a;b;c", 3, {"a", "b", "c"}},
        {";", "a;b;c", 9, {"a", "b", "c"}},
        {";", ";", 0, {""}},
        {";", ";;", 0, {"", ""}},
        {";", ";a", 0, {"", "a"}},
        {";", "", 0, {}},
        {";", "abc", -1, {}},
        {"", "a;b", 0, {"a;b"}},
        {";;", "a;;b;c;;", 0, {"a", "b;c"}},
        {"ab", "xabyABz", 0, {"x", "yABz"}},
        {";", "a;b\0c;d"s, 0, {"a", "b"}},
        {";", "\0a;b"s, 0, {}},
        {";", "a;;", 2, {"a", ";"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitString(c.delimiter, c.text, c.max), c.expected)
            << "'" << c.text << "' max " << c.max;
        std::vector<std::string_view> views;
        SplitStringViews(c.delimiter, c.text, c.max, views);
        EXPECT_EQ(Pieces(views.begin(), views.end()), c.expected) << c.text;
    }
}

// The result grows in steps while it is cut; texts of up to 23 pieces, with every maximum
// count, must come out with each piece in its place and the rest in the last one.
TEST(SplitStringTest, ManyPiecesKeepTheirOrderForEveryMaximum) {
    for (int n = 1; n <= 23; ++n) {
        Pieces pieces;
        std::string text;
        for (int i = 0; i < n; ++i) {
            pieces.push_back(i % 4 == 3 ? "" : "p" + std::to_string(i));
            text += (i ? ";" : "") + pieces.back();
        }
        if (pieces.back().empty())
            continue; // a trailing delimiter gives no last piece, covered above
        EXPECT_EQ(SplitString(";", text, 0), pieces) << text;
        for (int max = 1; max <= n + 2; ++max) {
            Pieces expected(pieces.begin(), pieces.begin() + std::min(max, n));
            for (int i = max; i < n; ++i)
                expected.back() += ";" + pieces[size_t(i)];
            EXPECT_EQ(SplitString(";", text, max), expected) << text << " max " << max;
        }
    }
}

// The reader's single-pass cut must agree with the general one on every line it accepts,
// and refuse exactly the lines holding CR or NUL.
TEST(SplitStringTest, FastLineCutAgreesWithGeneralCut) {
    std::mt19937 rng(99);
    const char alphabet[] = {'a', ';', ';', 'b', '\r', '\0', 'x', ';'};
    for (int round = 0; round < 20000; ++round) {
        std::string line(rng() % 70, 'a');
        for (char& c : line)
            c = alphabet[rng() % (round % 2 ? 8 : 4)];
        std::vector<std::string_view> fast;
        const bool plain = SplitPlainLine(line, ';', fast);
        const bool special = line.find_first_of(std::string("\r\0", 2)) != std::string::npos;
        ASSERT_EQ(plain, !special) << round;
        if (plain) {
            ASSERT_EQ(Pieces(fast.begin(), fast.end()), SplitString(";", line, 0)) << line;
        }
    }
}
