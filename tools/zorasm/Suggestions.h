// "Did you mean ...?": the known names closest to a misspelt one, by edit
// distance, for messages about unknown mnemonics, directives and names.
#pragma once

#include <string>
#include <vector>

namespace zorasm {

// The edit distance of two words (insertions, deletions, substitutions and
// swaps of two neighbours, each 1; letters compared without case), or
// `limit` + 1 when it is larger than `limit`.
int EditDistance(const std::string& a, const std::string& b, int limit);

// "; did you mean X?" (or "X or Y") for the candidates nearest to `word`
// within a distance that grows with its length; "" when none is that near.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace zorasm
