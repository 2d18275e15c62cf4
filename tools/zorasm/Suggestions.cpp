#include "Suggestions.h"

#include <algorithm>
#include <cctype>

namespace zorasm {

namespace {

// Longer words are no misspelling of a name (a line of garbage, a file that
// is no source); they get no suggestion, and cost nothing.
constexpr size_t kLongestWord = 48;
constexpr size_t kMostSuggested = 3;

char Folded(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// One typo in a short word, up to three in a long one.
int Reach(const std::string& word) {
    return std::clamp(static_cast<int>(word.size()) / 4, 1, 3);
}

}  // namespace

int EditDistance(const std::string& a, const std::string& b, int limit) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    if (std::abs(n - m) > limit) return limit + 1;
    // Three rows of the table: two back for the swap of neighbours.
    std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
    for (int j = 0; j <= m; ++j) previous[j] = j;
    for (int i = 1; i <= n; ++i) {
        current[0] = i;
        int best = current[0];
        for (int j = 1; j <= m; ++j) {
            const int cost = Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && Folded(a[i - 1]) == Folded(b[j - 2]) &&
                Folded(a[i - 2]) == Folded(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
            best = std::min(best, current[j]);
        }
        if (best > limit) return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min(previous[m], limit + 1);
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates) {
    if (word.empty() || word.size() > kLongestWord) return "";
    const int reach = Reach(word);
    int best = reach + 1;
    std::vector<std::string> nearest;
    for (const std::string& candidate : candidates) {
        if (candidate == word) continue;
        const int distance = EditDistance(word, candidate, best);
        if (distance > best || distance > reach) continue;
        if (distance < best) {
            best = distance;
            nearest.clear();
        }
        if (std::find(nearest.begin(), nearest.end(), candidate) == nearest.end())
            nearest.push_back(candidate);
    }
    if (nearest.empty()) return "";
    std::sort(nearest.begin(), nearest.end());
    if (nearest.size() > kMostSuggested) nearest.resize(kMostSuggested);
    std::string text = "; did you mean ";
    for (size_t i = 0; i < nearest.size(); ++i)
        text += (i == 0 ? "" : i + 1 == nearest.size() ? " or " : ", ") + nearest[i];
    return text + "?";
}

}  // namespace zorasm
