// Cell texts of the string table seen as 16-bit text: conversion, A-Z folding and ordinal
// comparison straight from the 8-bit bytes, without building strings.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "qorkit/rtl/system.h"

namespace qorkit::detail {

/// Per-byte facts of the cell code page.
struct TCellCharTables {
    /// The 16-bit character of each byte.
    std::array<Char, 256> Unit;
    /// The same with A to Z folded to lower case (the only folding of the table's keys).
    std::array<Char, 256> LowerUnit;
    /// 1-based rank of `LowerUnit` among all bytes' folded characters: comparing two cells'
    /// rank sequences orders them exactly as their folded 16-bit texts. Never 0.
    std::array<std::uint8_t, 256> Rank;
};

/// The tables, built on first use.
const TCellCharTables& CellCharTables();

/// Orders the 8-bit `Cell`, read as 16-bit text and folded when `Fold`, against `Key` by
/// code units; negative, zero or positive.
int CompareCellToKey(std::string_view Cell, bool Fold, std::u16string_view Key) noexcept;

/// Writes the 16-bit form of `Cell` (folded when `Fold`) into `Out`, replacing its content.
void CellToText(std::string_view Cell, bool Fold, String& Out);

/// Sixteen folded characters of a cell as ranks, most significant first, padded with zero
/// bytes: `Hi` holds the first eight, `Lo` the next eight.
struct TFoldedWindow {
    std::uint64_t Hi = 0;
    std::uint64_t Lo = 0;
    friend bool operator==(const TFoldedWindow&, const TFoldedWindow&) = default;
};

/// The window of `Cell` starting at character `From`. For cells that agree on their first
/// `From` folded characters, comparing (`Hi`, `Lo`) orders them exactly as their folded texts,
/// unless the windows are equal and both cells hold more than `From` + 16 characters.
TFoldedWindow FoldedWindow(std::string_view Cell, std::size_t From) noexcept;

/// The number of leading characters, at most `Limit`, that `A` and `B` share once folded.
std::size_t FoldedCommonLength(std::string_view A, std::string_view B, std::size_t Limit) noexcept;

/// Orders the folded texts of two cells from character `From` on (earlier ones being equal).
int CompareFoldedFrom(std::string_view A, std::string_view B, std::size_t From) noexcept;

}  // namespace qorkit::detail
