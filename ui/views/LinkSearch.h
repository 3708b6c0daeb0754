#pragma once
#include <string>

// The label of a tag column in link tips ("タイトル", "アーティスト", ...); other columns
// are named by their key.
std::wstring LinkColumnLabel(const std::wstring& column);

// A link's tip: long "%sが\r\n「%s」\r\nへのリンク", short "%s「%s」".
std::wstring MakeLinkTipText(const std::wstring& column, const std::wstring& value, bool longForm);

// The query of a link: with noCase the value, normalised for searching and then escaped as
// a literal, is looked for anywhere in the column; else the column must equal the value.
std::wstring MakeLinkSearchSql(const std::wstring& column, const std::wstring& value, bool noCase);

// The query of an album chosen in the related-albums menu.
std::wstring MakeAlbumSearchSql(const std::wstring& album);
std::wstring MakeAlbumSearchTitle(const std::wstring& album);

// An info tip cut to a buffer of `capacity` characters (the terminator included), ending
// in "..." when it was cut.
std::wstring FitInfoTip(const std::wstring& text, size_t capacity);
