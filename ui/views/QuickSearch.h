#pragma once
#include <string>
#include <vector>

// Search ways: a set of column bits, or one of the two special values.
enum SearchWay {
    SearchFileName = 1,
    SearchTitle = 2,
    SearchArtist = 4,
    SearchAlbum = 8,
    SearchGenre = 16,
    SearchDate = 32,
    SearchComment = 64,
    SearchAllColumns = 127,
    SearchSql = 128,
};

// A quick search as the document runs it.
struct QuickSearchQuery {
    std::wstring title;
    std::wstring sql;    // empty when the way names no column
    std::wstring word;   // the text as the recent words keep it
};

// Turns the typed text and the way into a query over `list`. Raw SQL gets its closing ";";
// any other way globs each of its columns for the text as a literal, upper-cased, in
// hiragana and half width on both sides when fuzzy.
QuickSearchQuery BuildQuickSearch(const std::wstring& text, int way, bool fuzzy);

// The recent words (oldest first) after a search for `word` that found rows: a word already
// there stays where it is; a new one goes last, the oldest going when `max` are kept. A
// maximum of 0 or less keeps none.
void RememberSearchWord(std::vector<std::wstring>& recent, const std::wstring& word, int max);
