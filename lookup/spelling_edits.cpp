#include "lookup/spelling_edits.h"

#include <algorithm>
#include <vector>

namespace {

// Letter rows of each layout, from the row of Q down; the keys line up by
// column, each row shifted half a key to the right of the one above, and a
// blank is a key without a letter (the typewriter layout has a comma on Q).
const char* const kLayouts[][3] = {
    {"qwertyuiop", "asdfghjkl", "zxcvbnm"},
    // у е и ш щ к с д з ц / ь я а о ж г т н в м ч / ю й ъ э ф х п р л б
    {" \xF3\xE5\xE8\xF8\xF9\xEA\xF1\xE4\xE7\xF6", "\xFC\xFF\xE0\xEE\xE6\xE3\xF2\xED\xE2\xEC\xF7",
     "\xFE\xE9\xFA\xFD\xF4\xF5\xEF\xF0\xEB\xE1"},
    // я в е р т ъ у и о п ш щ ю / а с д ф г х й к л / з ь ц ж б н м
    {"\xFF\xE2\xE5\xF0\xF2\xFA\xF3\xE8\xEE\xEF\xF8\xF9\xFE", "\xE0\xF1\xE4\xF4\xE3\xF5\xE9\xEA\xEB",
     "\xE7\xFC\xF6\xE6\xE1\xED\xEC"},
};

unsigned char Lower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF)) return static_cast<unsigned char>(c + 0x20);
    if (c == 0xA8) return 0xB8;   // Ё
    return c;
}

struct NeighbourTable {
    bool next[256][256] = {};
    NeighbourTable() {
        for (const auto& rows : kLayouts) {
            for (int row = 0; row < 3; ++row) {
                const std::string keys = rows[row];
                for (size_t column = 0; column < keys.size(); ++column) {
                    Join(keys, column, keys, column + 1);
                    if (row == 2) continue;
                    // The row below is shifted right: its keys at column - 1 and column touch this one.
                    const std::string below = rows[row + 1];
                    if (column > 0) Join(keys, column, below, column - 1);
                    Join(keys, column, below, column);
                }
            }
        }
    }
    void Join(const std::string& a, size_t i, const std::string& b, size_t j) {
        if (i >= a.size() || j >= b.size() || a[i] == ' ' || b[j] == ' ') return;
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
        next[x][y] = next[y][x] = true;
    }
};

// Distance and far substitutions in one number, compared as a pair: the
// distance first.
constexpr int kDistanceUnit = 1 << 16;

}  // namespace

bool NeighbourKeys(unsigned char a, unsigned char b) {
    static const NeighbourTable table;
    return table.next[Lower(a)][Lower(b)];
}

SpellingDifference DifferenceOf(const std::string& typed, const std::string& word) {
    const size_t m = typed.size(), n = word.size();
    // cost[i][j]: typed's first i bytes against word's first j.
    std::vector<int> cost((m + 1) * (n + 1));
    auto at = [&](size_t i, size_t j) -> int& { return cost[i * (n + 1) + j]; };
    for (size_t i = 0; i <= m; ++i) at(i, 0) = static_cast<int>(i) * kDistanceUnit;
    for (size_t j = 0; j <= n; ++j) at(0, j) = static_cast<int>(j) * kDistanceUnit;
    for (size_t i = 1; i <= m; ++i) {
        for (size_t j = 1; j <= n; ++j) {
            const unsigned char a = static_cast<unsigned char>(typed[i - 1]);
            const unsigned char b = static_cast<unsigned char>(word[j - 1]);
            int substitution = at(i - 1, j - 1);
            if (a != b) substitution += kDistanceUnit + (Lower(a) == Lower(b) || NeighbourKeys(a, b) ? 0 : 1);
            int best = std::min({at(i - 1, j) + kDistanceUnit, at(i, j - 1) + kDistanceUnit, substitution});
            if (i > 1 && j > 1 && a == static_cast<unsigned char>(word[j - 2]) &&
                b == static_cast<unsigned char>(typed[i - 2]))
                best = std::min(best, at(i - 2, j - 2) + kDistanceUnit);
            at(i, j) = best;
        }
    }
    return {at(m, n) / kDistanceUnit, at(m, n) % kDistanceUnit};
}
