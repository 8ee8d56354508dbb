#pragma once

#include "platform/NumberText.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstddef>

// Every range, count, size and fixed list of the settings and the tables, each defined once here.

// A closed range that a setting is forced into.
template<typename T>
struct Range
{
    T low;
    T high;

    constexpr T clamp(T value) const { return std::clamp(value, low, high); }
    constexpr bool contains(T value) const { return value >= low && value <= high; }
};

// The play-field labels; no quiz places more symbols than there are labels.
inline constexpr int KeyCount = 100;

inline constexpr Range<double> ViewTimeRange{0.1, 10.0}; // seconds
inline constexpr Range<double> BlankTimeRange{0.1, 3.0}; // seconds
inline constexpr Range<qint16> StringLenRange{1, 20};
inline constexpr Range<qint16> KigouNumRange{5, KeyCount};
inline constexpr Range<qint32> ColorRange{0, platform::MaxColor};

// Entries in use.
inline constexpr int SymbolCount = 55; // KigouList 1..55; entry 0 is the blank
inline constexpr int DrawColorCount = 8;
inline constexpr int QuizKindCount = 5; // the kinds of change a quiz may draw (QuizKind)
inline constexpr int ScoreCount = 5;
inline constexpr int MaxLookAlikes = 5; // room in a row of SimilarList

// The global tables are one entry longer than the entries in use; in the settings file the spare
// entries are part of the format.
inline constexpr std::size_t KigouListSize = SymbolCount + 2; // the blank, the symbols, the spare
inline constexpr std::size_t ColorListSize = DrawColorCount + 1;
inline constexpr std::size_t KoumokuSize = QuizKindCount + 1;
inline constexpr std::size_t SCListSize = ScoreCount + 1;
inline constexpr std::size_t SimilarColumns = MaxLookAlikes + 1; // the count, then the look-alikes

using KoumokuFlags = std::array<qint16, KoumokuSize>;
using ColorTable = std::array<qint32, ColorListSize>;
using SimilarTable = std::array<std::array<qint16, SimilarColumns>, KigouListSize>;

// The options dialog's list items, in the order the lists show them.
inline constexpr std::array<double, 11> ViewTimeItems{10, 7, 5, 3, 2, 1, 0.7, 0.5, 0.3, 0.2, 0.1};
inline constexpr std::array<double, 3> BlankTimeItems{0.1, 0.3, 1};
inline constexpr std::array<qint16, 6> KigouNumItems{100, 70, 50, 30, 20, 10};
inline constexpr std::array<qint16, 8> StringLenItems{3, 4, 5, 6, 7, 8, 9, 10};
