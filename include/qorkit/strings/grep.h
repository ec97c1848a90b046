// TGrep: a compact regular-expression dialect compiled into a table of at most 64 tokens and
// matched in time linear in the text length.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "qorkit/rtl/objects.h"
#include "qorkit/rtl/system.h"

namespace qorkit {

/// What a compiled pattern token does.
enum TGrepTokenAct : std::uint8_t {
    taNormal,   ///< literal text (`NumChars` characters; 0 for an empty group)
    taAnyByte,  ///< any one character (".")
    taEol,      ///< the end of the text ("$")
    taBol,      ///< the start of the text ("^")
    taSet,      ///< one character of a set ("[...]")
    taMult0,    ///< zero or more repetitions ("*")
    taMult1,    ///< one or more repetitions ("+")
    taOpti      ///< zero or one repetition ("?")
};

/// 256 16-bit characters: a text buffer (elements 1..NumChars) or a membership table indexed
/// by character code, "*" marking a member and a blank a non-member.
using TCharArr256 = std::array<Char, 256>;

/// One compiled token of a `TGrep` pattern.
struct TGrepToken {
    /// The token's action.
    TGrepTokenAct Action = taNormal;
    /// Text length (>= 0), -1 for a membership table, 0 for "any character" repetitions.
    std::int32_t NumChars = 0;
    /// Text (elements 1..NumChars) or membership table (see `TCharArr256`).
    TCharArr256 Params{};
    /// The text position at which the token last passed its own test; 0 after compiling.
    std::int32_t ValidFrom = 0;
};

/// The fixed token table; `TGrep` numbers its tokens 1 to 64 (element 0 is token 1).
using TRegExp = std::array<TGrepToken, 64>;

/// Error codes of `TGrep::CompileRegExp` beyond the classic nine (1 to 9).
inline constexpr std::int32_t kGrepErrTooManyTokens = 10;  ///< more than 64 tokens
inline constexpr std::int32_t kGrepErrTokenTooLong = 11;   ///< a literal or group above 255
inline constexpr std::int32_t kGrepErrSetCharRange = 12;   ///< a set character above code 255

/// The text of a compilation error code: "no errors" for 0, the fixed texts for 1 to 12,
/// "unknown error" otherwise.
std::u16string_view GrepErrorText(std::int32_t Code) noexcept;

/// A pattern matcher component. The dialect: literal characters, "." (any character), "^"
/// (start of text, first only), "$" (end of text, last only), sets "[a-z]" with ranges and
/// negation "[^...]", literal groups "(abc)", the postfix operators "*", "+" and "?" on a
/// character, ".", a set or a group, "\x" quoting x, and "\#hh" for the character with the
/// hexadecimal code hh (substituted before parsing, so the result keeps its ordinary meaning).
///
/// Errors: `CompileRegExp` returns and `LastError` reports 0 (none) or one of
///  1 reg.exp. must not start with $, *, ?, or +    7 minus not allowed here
///  2 circumflex not allowed here                   8 mismatch of group brackets
///  3 no character allowed after end of line        9 *, ?, + have to be applied to groups
///  4 empty set                                       or sets only
///  5 circumflex has to be quoted in set           10 too many tokens (limit 64)
///  6 mismatch of set brackets                     11 literal or group too long (limit 255)
///                                                 12 set character above code 255
/// Compilation stops at the first error and keeps the tokens compiled so far; `SetRegExp`
/// then raises `EQORStringlError` when `StopOnError` is true. No pattern can write outside
/// the token table.
///
/// Complexity: compiling is linear in the pattern length. `MatchString` returns exactly the
/// match of the classic backtracking order (shortest first for repetitions inside the
/// pattern, longest for a final one, leftmost start), but never costs more than
/// O(L x m) time and O(L x m) bits of memory for a text of L characters and m tokens: it
/// walks plainly first, skipping with vectorised scans to where a leading literal or set can
/// start, and when that walk has spent a budget proportional to L, reads the match off dense
/// tables that hold for every token and position whether the rest of the pattern matches
/// there (computed 64 positions per word operation). Recursion depth is at most m.
///
/// One instance serves one thread at a time.
class TGrep : public TComponent {
  public:
    /// Creates the component (owned by `AOwner` when not null) with IgnoreCase false, an
    /// empty pattern, SearchStartPos 1 and StopOnError true.
    explicit TGrep(TComponent* AOwner = nullptr);
    ~TGrep() override = default;

    /// Case folding of pattern and text (A to Z only).
    bool IgnoreCase() const noexcept { return FIgnoreCase; }
    /// Stores `Value` and recompiles the pattern; never raises (see `LastError`).
    void SetIgnoreCase(bool Value);
    /// The pattern as set by the user.
    const String& RegExp() const noexcept { return FRegExpStr; }
    /// Stores and compiles `Value`. On an error with `StopOnError` true raises
    /// `EQORStringlError` `Component "<Name>": error in regular expression - <text>`; the
    /// pattern and the tokens stay as the failed compilation left them.
    void SetRegExp(const String& Value);
    /// Position (from 1) where `MatchString` starts searching. Values below 1 search from 1.
    std::int32_t SearchStartPos() const noexcept { return FSrcStartPos; }
    /// Sets the position where the next search starts (for example `MatchEndPos() + 1`).
    void SetSearchStartPos(std::int32_t Value) noexcept { FSrcStartPos = Value; }
    /// Whether a compilation error raises from `SetRegExp`.
    bool StopOnError() const noexcept { return FStopOnError; }
    /// Sets whether a compilation error raises from `SetRegExp`.
    void SetStopOnError(bool Value) noexcept { FStopOnError = Value; }

    /// A copy of token `regix`, the index clamped to at most `NrOfRegExpTokens` and then to
    /// at least 1 (with no tokens, token 1 as it stands).
    TGrepToken GetRegExpToken(std::int32_t regix) const noexcept;
    /// Number of compiled tokens, 0 to 64.
    std::int32_t NrOfRegExpTokens() const noexcept { return FLengRegExp; }
    /// First position of the last match (also the first token's `ValidFrom` after a failed
    /// search); 0 before any search.
    std::int32_t MatchStartPos() const noexcept { return FMatchStartPos; }
    /// Last position of the last match (start - 1 for an empty match); kept by a failed search.
    std::int32_t MatchEndPos() const noexcept { return FMatchEndPos; }
    /// Error code of the last compilation, 0 for none.
    std::int32_t LastError() const noexcept { return FError; }

    /// Compiles `s` into the token table without storing it; returns the error code, which
    /// also goes to `LastError`.
    std::int32_t CompileRegExp(String s);
    /// Writes a listing of the tokens and the last compilation's result to the text file
    /// `FName` (created or overwritten, Windows-1252, CR LF). Raises `EInOutError` on file
    /// errors.
    void PrintRegExp(const String& FName) const;
    /// Searches `Instring` from `SearchStartPos` for the first match. On success returns true,
    /// sets `MatchPos` and `MatchStartPos` to its first and `MatchEndPos` to its last position.
    /// On failure `MatchPos` and `MatchStartPos` receive the first token's `ValidFrom` and
    /// `MatchEndPos` is kept; the other tokens' `ValidFrom` keep their values from before the
    /// search. A pattern of exactly one "*" token matches the whole text (start 1, end L)
    /// unless `SearchStartPos` lies beyond a non-empty text. "^" alone is the empty match at 1.
    /// With no tokens (an empty pattern, or one whose compilation failed at once) nothing
    /// matches. Start positions run from `SearchStartPos` (values below 1 count as 1) to the
    /// larger of `SearchStartPos` + 1 and L, but never beyond L + 1.
    bool MatchString(std::u16string_view Instring, std::int32_t& MatchPos);

  private:
    std::int32_t FLengRegExp = 0;
    bool FStopOnError = true;
    TRegExp FregExp{};
    String FRegExpStr;
    bool FIgnoreCase = false;
    std::int32_t FError = 0;
    std::int32_t FMatchEndPos = 0;
    std::int32_t FMatchStartPos = 0;
    std::int32_t FSrcStartPos = 1;
    // The first token's set as up to three character ranges (low, high pairs), worked out by
    // the first search after a compilation: -1 not yet, 0 more ranges than that, else the count.
    std::int32_t FFirstSetRanges = -1;
    std::array<Char, 6> FFirstSetBounds{};
};

}  // namespace qorkit
