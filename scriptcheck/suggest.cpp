#include "scriptcheck/suggest.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// Edit distance in which swapping two neighbours counts as one step.
size_t Distance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return Lower(a) == Lower(b);
}

std::string Suggest(const std::string& word, const std::vector<std::string>& candidates)
{
    const std::string lowerWord = Lower(word);
    std::string best;
    size_t bestDistance = 3;
    for (const std::string& candidate : candidates) {
        if (candidate == word)
            continue;
        const size_t distance = Distance(lowerWord, Lower(candidate));
        // A word of one or two letters is "close" to everything that short.
        if (distance < bestDistance && distance < word.size()) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates)
{
    const std::string suggestion = Suggest(word, candidates);
    return suggestion.empty() ? "" : " (did you mean '" + suggestion + "'?)";
}
