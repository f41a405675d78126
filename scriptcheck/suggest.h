// Guessing which known name a misspelt one was meant to be.
#pragma once

#include <string>
#include <vector>

// The candidate equal to `word` but for case, or else the nearest one that
// is at most two letters (inserted, removed, changed or swapped) away; empty
// when none is that close.
std::string Suggest(const std::string& word, const std::vector<std::string>& candidates);

// " (did you mean 'X'?)" for a suggestion, or nothing.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates);

bool EqualIgnoringCase(const std::string& a, const std::string& b);
