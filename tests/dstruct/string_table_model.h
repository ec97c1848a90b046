// A plain reference model of TStringArray and a driver that runs one operation stream against
// both, shared by the randomised table test and the table fuzz target.
//
// The model keeps every cell as a std::string per physical row, the permutation as a vector and
// the pools only as "which pool holds this cell's slot" plus each pool's first-free offset. It
// is written for obviousness, not speed: the sort is the literal comb sort that reads its keys
// anew for every comparison, and every check walks the whole table.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "qorkit/dstruct/string_table.h"
#include "qorkit/rtl/codepage.h"

namespace qorkit::model {

inline constexpr std::int32_t kPool = 32768;

/// How a model sort derives a key from the cell text before lower-casing: `None` sets no
/// handler at all, `Identity` and `Reverse` install one that the table sees as well.
enum class KeyHandler { None, Identity, Reverse };

inline std::u16string ApplyHandler(KeyHandler h, const std::u16string& in) {
    if (h == KeyHandler::Reverse) return std::u16string(in.rbegin(), in.rend());
    return in;
}

inline std::u16string LowerAZ(std::u16string s) {
    for (auto& ch : s)
        if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch + 32);
    return s;
}

struct Cell {
    std::string text;
    std::int32_t pool = 0;  // 0: the cell never held a slot (handle 0)
};

/// Thrown by a model key handler to mirror a table handler that throws.
struct HandlerStop {};

class StringTableModel {
  public:
    std::int32_t ncol = 1, nrow = 1, allocBy = 10, rowsAllocated = 10;
    std::vector<std::vector<Cell>> cells;  // [column 0..ncol][physical row - 1]
    std::vector<std::uint8_t> rowAttr;     // [physical row - 1]
    std::vector<std::uint8_t> colAttr;     // [column - 1]
    std::vector<std::int32_t> perm;        // [shown row - 1] = physical row
    std::vector<std::int32_t> firstFree{1};
    /// False once an operation placed slots in an order the table may choose freely; the pool count
    /// and the per-pool offsets are then not predicted (the sum after compaction still is).
    bool exactPools = true;
    std::int64_t changes = 0;

    StringTableModel() : cells(2, std::vector<Cell>(1)), rowAttr(1, 0), colAttr(1, 0), perm{1} {}

    bool ColOk(std::int64_t c) const { return c >= 0 && c <= ncol; }
    bool RowOk(std::int64_t r) const { return r >= 1 && r <= nrow; }
    std::int32_t Phys(std::int32_t r) const { return perm[static_cast<std::size_t>(r - 1)]; }
    Cell& At(std::int32_t c, std::int32_t r) {
        return cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(Phys(r) - 1)];
    }
    std::string Get(std::int64_t c, std::int64_t r) const {
        if (!ColOk(c) || !RowOk(r)) return {};
        return cells[static_cast<std::size_t>(c)]
                    [static_cast<std::size_t>(perm[static_cast<std::size_t>(r - 1)] - 1)]
                        .text;
    }
    std::uint8_t GetRowAttrib(std::int64_t r) const {
        return RowOk(r)
                   ? rowAttr[static_cast<std::size_t>(perm[static_cast<std::size_t>(r - 1)] - 1)]
                   : 0;
    }
    std::uint8_t GetColAttrib(std::int64_t c) const {
        return c >= 1 && c <= ncol ? colAttr[static_cast<std::size_t>(c - 1)] : 0;
    }
    std::int32_t GetSortOrder(std::int64_t ix) const {
        return RowOk(ix) ? perm[static_cast<std::size_t>(ix - 1)] : -1;
    }

    // ---- storage --------------------------------------------------------------------------

    void Store(Cell& cell, std::string_view s) {
        if (s.size() > 255) s = s.substr(0, 255);
        const auto len = static_cast<std::int32_t>(s.size());
        if (cell.pool == 0 || static_cast<std::int32_t>(cell.text.size()) < len) {
            std::size_t p = 0;
            while (p < firstFree.size() && !(kPool - firstFree[p] > len))
                ++p;
            if (p == firstFree.size()) firstFree.push_back(1);
            cell.pool = static_cast<std::int32_t>(p + 1);
            firstFree[p] += len + 1;
        }
        cell.text.assign(s);
    }
    void SetString(std::int64_t c, std::int64_t r, std::string_view s) {
        if (!ColOk(c) || !RowOk(r)) return;
        Store(At(static_cast<std::int32_t>(c), static_cast<std::int32_t>(r)), s);
        ++changes;
    }
    void SetRowAttrib(std::int64_t r, std::uint8_t b) {
        if (!RowOk(r)) return;
        rowAttr[static_cast<std::size_t>(Phys(static_cast<std::int32_t>(r)) - 1)] = b;
        ++changes;
    }
    void SetColAttrib(std::int64_t c, std::uint8_t b) {
        if (c < 1 || c > ncol) return;
        colAttr[static_cast<std::size_t>(c - 1)] = b;
        ++changes;
    }
    void SetAllocRowsBy(std::int32_t v) {
        if (v >= 1) allocBy = v;
    }

    // ---- shape ----------------------------------------------------------------------------

    void ResetPerm() {
        perm.resize(static_cast<std::size_t>(nrow));
        for (std::int32_t i = 0; i < nrow; ++i)
            perm[static_cast<std::size_t>(i)] = i + 1;
    }
    bool Resize(std::int64_t nc, std::int64_t nr) {
        if (nc == ncol && nr == nrow) return true;
        if (nc <= 0 || nr <= 0) return false;
        if (nc != ncol || nr > rowsAllocated)
            rowsAllocated = static_cast<std::int32_t>(allocBy * ((nr - 1) / allocBy + 1));
        cells.resize(static_cast<std::size_t>(nc + 1));
        for (auto& col : cells)
            col.resize(static_cast<std::size_t>(nr));  // rows leaving are dropped, new ones empty
        // Rows that leave and later come back must read empty: resize drops and re-creates them.
        rowAttr.resize(static_cast<std::size_t>(nr), 0);
        colAttr.resize(static_cast<std::size_t>(nc), 0);
        ncol = static_cast<std::int32_t>(nc);
        nrow = static_cast<std::int32_t>(nr);
        ResetPerm();
        ++changes;
        return true;
    }
    std::int32_t AddRow() {
        Resize(ncol, static_cast<std::int64_t>(nrow) + 1);
        return nrow;
    }
    void InsertRow(std::int64_t r) {
        if (!RowOk(r)) return;
        const std::int32_t p = Phys(static_cast<std::int32_t>(r));
        Resize(ncol, nrow + 1);
        for (auto& col : cells) {
            col.pop_back();
            col.insert(col.begin() + (p - 1), Cell{});
        }
        rowAttr.pop_back();
        rowAttr.insert(rowAttr.begin() + (p - 1), 0);
        std::vector<std::int32_t> others;
        for (std::int32_t i = 1; i <= nrow; ++i)
            if (i != p) others.push_back(i);
        others.insert(others.begin() + (r - 1), p);
        perm = others;
        ++changes;  // the new view is announced after the resize
    }
    void RemoveRow(std::int64_t r) {
        if (!RowOk(r)) return;
        if (nrow == 1) {
            for (std::int32_t c = 0; c <= ncol; ++c)
                SetString(c, 1, "");
            SetRowAttrib(1, 0);
            return;
        }
        const std::int32_t p = Phys(static_cast<std::int32_t>(r));
        for (auto& col : cells) {
            col.erase(col.begin() + (p - 1));
            col.push_back(Cell{});
        }
        rowAttr.erase(rowAttr.begin() + (p - 1));
        rowAttr.push_back(0);
        Resize(ncol, nrow - 1);
    }
    void CopyRow(std::int64_t s, std::int64_t t) {
        if (!RowOk(s) || !RowOk(t)) return;
        for (std::int32_t c = 0; c <= ncol; ++c)
            SetString(c, t, Get(c, s));
        SetRowAttrib(t, GetRowAttrib(s));
    }
    void CopyColumn(std::int32_t from, std::int32_t to) {
        for (std::int32_t r = 1; r <= nrow; ++r)
            SetString(to, r, Get(from, r));
        SetColAttrib(to, GetColAttrib(from));
    }
    void InsertColumn(std::int64_t c) {
        if (c < 1 || c > ncol) return;
        Resize(static_cast<std::int64_t>(ncol) + 1, nrow);
        for (std::int32_t j = ncol; j > c; --j)
            CopyColumn(j - 1, j);
        for (std::int32_t r = 1; r <= nrow; ++r)
            SetString(c, r, "");
        SetColAttrib(c, 0);
    }
    void RemoveColumn(std::int64_t c) {
        if (c < 1 || c > ncol) return;
        if (ncol == 1) {
            for (std::int32_t r = 1; r <= nrow; ++r)
                SetString(1, r, "");
            SetColAttrib(1, 0);
            return;
        }
        for (auto j = static_cast<std::int32_t>(c); j < ncol; ++j)
            CopyColumn(j + 1, j);
        Resize(ncol - 1, nrow);
    }

    // ---- whole table ----------------------------------------------------------------------

    void Clear() {
        for (auto& col : cells)
            for (auto& cell : col)
                cell = Cell{};
        std::fill(rowAttr.begin(), rowAttr.end(), 0);
        std::fill(colAttr.begin(), colAttr.end(), 0);
        ResetPerm();
        firstFree.assign(1, 1);
        exactPools = true;
    }
    void Fill(std::string_view s) {
        if (s.empty()) {
            Clear();
            return;
        }
        for (std::int32_t c = 0; c <= ncol; ++c)
            for (std::int32_t r = 1; r <= nrow; ++r)
                SetString(c, r, s);
    }
    static bool Blank(std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char ch) { return ch == ' '; });
    }
    bool ColumnEmpty(std::int64_t c) const {
        if (!ColOk(c)) return true;
        for (std::int32_t r = 1; r <= nrow; ++r)
            if (!Blank(Get(c, r))) return false;
        return true;
    }
    bool RowEmpty(std::int64_t r) const {
        if (!RowOk(r)) return true;
        for (std::int32_t c = 1; c <= ncol; ++c)
            if (!Blank(Get(c, r))) return false;
        return true;
    }
    /// Sum over live slots of (length + 1): what the pools hold after compaction.
    std::int64_t LiveBytes() const {
        std::int64_t sum = 0;
        for (const auto& col : cells)
            for (const auto& cell : col)
                if (cell.pool != 0) sum += static_cast<std::int64_t>(cell.text.size()) + 1;
        return sum;
    }
    void GarbageCollection() {
        for (auto& f : firstFree)
            f = 1;
        for (const auto& col : cells)
            for (const auto& cell : col)
                if (cell.pool != 0)
                    firstFree[static_cast<std::size_t>(cell.pool - 1)] +=
                        static_cast<std::int32_t>(cell.text.size()) + 1;
    }

    // ---- permutation ----------------------------------------------------------------------

    void UnSort() {
        ResetPerm();
        ++changes;
    }
    void CommitSorting() {
        std::vector<bool> seen(static_cast<std::size_t>(nrow), false);
        bool broken = false;
        for (auto p : perm) {
            if (seen[static_cast<std::size_t>(p - 1)]) broken = true;
            seen[static_cast<std::size_t>(p - 1)] = true;
        }
        for (auto& col : cells) {
            std::vector<Cell> old = col;
            for (std::int32_t i = 0; i < nrow; ++i)
                col[static_cast<std::size_t>(i)] = old[static_cast<std::size_t>(perm[i] - 1)];
        }
        std::vector<std::uint8_t> oldAttr = rowAttr;
        for (std::int32_t i = 0; i < nrow; ++i)
            rowAttr[static_cast<std::size_t>(i)] = oldAttr[static_cast<std::size_t>(perm[i] - 1)];
        // The copies given to a repeated row go wherever the table appends them.
        if (broken) exactPools = false;
        ResetPerm();
    }
    void SetSortOrder(std::int64_t ix, std::int64_t pos) {
        if (RowOk(ix) && RowOk(pos))
            perm[static_cast<std::size_t>(ix - 1)] = static_cast<std::int32_t>(pos);
    }

    struct SortRun {
        std::vector<std::int32_t> percent;
        std::int64_t handlerCalls = 0;
        bool stopped = false;  // the handler "threw" at call number `stopAfter`
    };

    /// The comb sort exactly as the pass rules describe it. With `stopAfter` > 0 the key
    /// handler stops the sort at that call, as a throwing handler would.
    SortRun Sort(std::int64_t col, std::int64_t colSec, bool ascending, KeyHandler h,
                 std::int64_t stopAfter = 0) {
        SortRun run;
        auto key = [&](std::int64_t c, std::int32_t r) {
            std::u16string in = Win1252ToString(Get(c, r));
            std::u16string out = in;
            if (h != KeyHandler::None) {
                ++run.handlerCalls;
                if (stopAfter > 0 && run.handlerCalls == stopAfter) throw HandlerStop{};
                out = ApplyHandler(h, in);
            }
            return LowerAZ(out);
        };
        const std::int32_t n = nrow;
        run.percent.push_back(0);
        std::int64_t T = 0;
        for (std::int32_t g = n;;) {
            g = static_cast<std::int32_t>(g / 1.3);
            if (g == 0) g = 1;
            T += n - g;
            if (g == 1) break;
        }
        T += n;
        try {
            if (n > 1) {
                std::int64_t K = 0;
                std::int32_t g = n;
                bool swapped = false;
                do {
                    g = static_cast<std::int32_t>(g / 1.3);
                    if (g == 0) g = 1;
                    swapped = false;
                    for (std::int32_t i = 1; i + g <= n; ++i) {
                        const std::u16string a = key(col, i), b = key(col, i + g);
                        int cmp;
                        if (a != b || colSec < 1) {
                            cmp = a.compare(b);
                        } else {
                            const std::u16string c = key(colSec, i), d = key(colSec, i + g);
                            cmp = c.compare(d);
                        }
                        if (ascending ? cmp > 0 : cmp < 0) {
                            std::swap(perm[static_cast<std::size_t>(i - 1)],
                                      perm[static_cast<std::size_t>(i + g - 1)]);
                            swapped = true;
                        }
                        ++K;
                    }
                    run.percent.push_back(static_cast<std::int32_t>(
                        std::nearbyint(static_cast<double>(K) / static_cast<double>(T) * 100.0)));
                } while (g > 1 || swapped);
                ++changes;
            }
        } catch (const HandlerStop&) {
            run.stopped = true;
            return run;
        }
        run.percent.push_back(100);
        return run;
    }

    // ---- searching ------------------------------------------------------------------------

    std::u16string CellText16(std::int32_t c, std::int32_t r, bool matchCase) const {
        std::u16string s = Win1252ToString(Get(c, r));
        return matchCase ? s : LowerAZ(s);
    }
    bool FindCellIntern(const std::u16string& findStr, bool matchCase, std::int64_t colLow,
                        std::int64_t colHigh, std::int64_t rowLow, std::int64_t rowHigh,
                        std::int32_t& col, std::int32_t& row, bool exact) const {
        const std::u16string f = matchCase ? findStr : LowerAZ(findStr);
        if (colLow == -1 || colHigh == -1) {
            colLow = 0;
            colHigh = ncol;
        } else {
            colLow = std::clamp<std::int64_t>(colLow, 0, ncol);
            colHigh = std::clamp<std::int64_t>(colHigh, 0, ncol);
            if (colLow > colHigh) std::swap(colLow, colHigh);
        }
        if (rowLow == -1 && rowHigh == -1) {
            rowLow = 1;
            rowHigh = nrow;
        } else {
            rowLow = std::clamp<std::int64_t>(rowLow, 1, nrow);
            rowHigh = std::clamp<std::int64_t>(rowHigh, 1, nrow);
            if (rowLow > rowHigh) std::swap(rowLow, rowHigh);
        }
        for (auto r = static_cast<std::int32_t>(rowLow); r <= rowHigh; ++r)
            for (auto c = static_cast<std::int32_t>(colLow); c <= colHigh; ++c) {
                const std::u16string s = CellText16(c, r, matchCase);
                const bool hit = exact ? s == f : (!f.empty() && s.find(f) != std::u16string::npos);
                if (hit) {
                    col = c;
                    row = r;
                    return true;
                }
            }
        return false;
    }
    bool FindCellInSortedColumn(const std::u16string& findStr, bool matchCase, std::int64_t colIx,
                                std::int64_t rowLow, std::int64_t rowHigh, bool ascending,
                                std::int32_t& row) const {
        const std::u16string f = matchCase ? findStr : LowerAZ(findStr);
        if (rowLow == -1 && rowHigh == -1) {
            rowLow = 1;
            rowHigh = nrow;
        } else {
            rowLow = std::clamp<std::int64_t>(rowLow, 1, nrow);
            rowHigh = std::clamp<std::int64_t>(rowHigh, 1, nrow);
            if (rowLow > rowHigh) std::swap(rowLow, rowHigh);
        }
        const auto c = static_cast<std::int32_t>(std::clamp<std::int64_t>(colIx, 0, ncol));
        std::int64_t lo = rowLow, hi = rowHigh + 1;
        bool found = false;
        while (!found && lo < hi) {
            row = static_cast<std::int32_t>((lo + hi) / 2);
            const std::u16string s = CellText16(c, row, matchCase);
            if (s == f) {
                found = true;
            } else if ((f < s && ascending) || (!(f < s) && !ascending)) {
                hi = row;
            } else {
                lo = row + 1;
            }
        }
        if (found)
            while (row > 1 && CellText16(c, row - 1, matchCase) == f)
                --row;
        return found;
    }
};

/// Everything observable about a table as one text: shape, allocation, pools, permutation,
/// attributes and cells. Equal snapshots mean that nothing visible changed.
inline std::string Snapshot(const TStringArray& t) {
    std::ostringstream os;
    os << t.NrOfColumns() << "x" << t.NrOfRows() << " alloc " << t.RowsAllocated() << "/"
       << t.AllocRowsBy() << " pools";
    for (std::int32_t p = 1; p <= t.NumBuffers(); ++p)
        os << " " << t.PoolFirstFree(p);
    os << "\ncols";
    for (std::int32_t c = 0; c <= t.NrOfColumns(); ++c)
        os << " " << int{t.GetColAttrib(c)};
    for (std::int32_t r = 1; r <= t.NrOfRows(); ++r) {
        os << "\n" << t.GetSortOrder(r) << " " << int{t.GetRowAttrib(r)} << ":";
        for (std::int32_t c = 0; c <= t.NrOfColumns(); ++c)
            os << " [" << t.GetString(c, r) << "]";
    }
    return os.str();
}

// ---- running one operation stream against a table and the model -----------------------------

/// Hands out the bytes of an operation stream; past the end it gives zeros.
class OpReader {
  public:
    OpReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool Empty() const { return FPos >= FSize; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    /// An index for a range lo..hi: mostly inside, sometimes just outside, sometimes extreme.
    std::int32_t Index(std::int32_t lo, std::int32_t hi) {
        const std::uint8_t sel = Byte();
        const std::uint8_t v = Byte();
        switch (sel % 16) {
            case 12:
                return v % 2 ? lo - 1 : hi + 1;
            case 13:
                return v % 2 ? lo - 2 : hi + 2;
            case 14:
                return v % 2 ? -1 : 0;
            case 15: {
                static constexpr std::int32_t kFar[] = {INT_MIN,     INT_MAX,     -1000000, 1 << 20,
                                                        INT_MIN + 1, INT_MAX - 1, 65536,    -65536};
                return kFar[v % 8];
            }
            default:
                return lo + v % (hi - lo + 1);
        }
    }
    /// A cell text: usually short and drawn from a few letters (so that sorting meets ties and
    /// searching meets hits), sometimes up to 300 arbitrary bytes.
    std::string Text() {
        static constexpr char kAlpha[] = {'a', 'A', 'b', 'B', ' ', 'c', ',', '1'};
        const std::uint8_t sel = Byte();
        std::size_t len;
        bool raw = false;
        if (sel < 160) {
            len = sel % 4;
        } else if (sel < 224) {
            len = Byte();
        } else {
            len = static_cast<std::size_t>(Byte()) + (sel % 2 ? 45 : 0);
            raw = true;
        }
        std::string s(len, ' ');
        for (auto& ch : s) {
            const std::uint8_t b = Byte();
            ch = raw ? static_cast<char>(b) : kAlpha[b % 8];
        }
        return s;
    }

  private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

/// Runs one operation stream; returns an empty string when the table and the model agreed
/// after every step, else a description of the first difference.
class OpRunner {
  public:
    static constexpr std::int32_t kMaxCols = 8;
    static constexpr std::int32_t kMaxRows = 64;

    OpRunner() : FTable(std::make_unique<TStringArray>()) { Attach(*FTable); }

    std::string Run(const std::uint8_t* data, std::size_t size, std::size_t maxOps = 100000) {
        OpReader in(data, size);
        for (std::size_t step = 0; !in.Empty() && step < maxOps; ++step) {
            std::string what = Step(in);
            std::string diff = Compare(*FTable, FModel);
            if (diff.empty() && FChanges != FModel.changes) {
                diff = "OnChange count " + std::to_string(FChanges) + ", expected " +
                       std::to_string(FModel.changes);
            }
            if (!FExtra.empty()) diff = FExtra + (diff.empty() ? "" : "; " + diff);
            if (!diff.empty()) return "step " + std::to_string(step) + " (" + what + "): " + diff;
        }
        return {};
    }

    /// Everything observable: shape, cells, attributes, permutation, allocation and, where
    /// the model can predict it, the pools.
    static std::string Compare(const TStringArray& t, const StringTableModel& m) {
        std::ostringstream os;
        if (t.NrOfColumns() != m.ncol || t.NrOfRows() != m.nrow) {
            os << "shape " << t.NrOfColumns() << "x" << t.NrOfRows() << ", expected " << m.ncol
               << "x" << m.nrow;
            return os.str();
        }
        if (t.RowsAllocated() != m.rowsAllocated)
            os << "RowsAllocated " << t.RowsAllocated() << ", expected " << m.rowsAllocated;
        else if (t.AllocRowsBy() != m.allocBy)
            os << "AllocRowsBy " << t.AllocRowsBy() << ", expected " << m.allocBy;
        if (!os.str().empty()) return os.str();
        for (std::int32_t r = 1; r <= m.nrow; ++r) {
            if (t.GetSortOrder(r) != m.GetSortOrder(r)) {
                os << "SortOrder(" << r << ") " << t.GetSortOrder(r) << ", expected "
                   << m.GetSortOrder(r);
                return os.str();
            }
            if (t.GetRowAttrib(r) != m.GetRowAttrib(r)) {
                os << "RowAttrib(" << r << ") " << int{t.GetRowAttrib(r)} << ", expected "
                   << int{m.GetRowAttrib(r)};
                return os.str();
            }
            for (std::int32_t c = 0; c <= m.ncol; ++c)
                if (t.GetString(c, r) != m.Get(c, r)) {
                    os << "cell [" << c << "," << r << "] \"" << t.GetString(c, r)
                       << "\", expected \"" << m.Get(c, r) << "\"";
                    return os.str();
                }
        }
        for (std::int32_t c = 0; c <= m.ncol + 1; ++c)
            if (t.GetColAttrib(c) != m.GetColAttrib(c)) {
                os << "ColAttrib(" << c << ") " << int{t.GetColAttrib(c)} << ", expected "
                   << int{m.GetColAttrib(c)};
                return os.str();
            }
        if (t.GetSortOrder(0) != -1 || t.GetSortOrder(m.nrow + 1) != -1) return "SortOrder range";
        if (!t.GetString(m.ncol + 1, 1).empty() || !t.GetString(0, m.nrow + 1).empty())
            return "read outside the table is not empty";
        if (t.GetRowAttrib(m.nrow + 1) != 0 || t.GetRowAttrib(0) != 0) return "RowAttrib range";
        if (m.exactPools) {
            if (t.NumBuffers() != static_cast<std::int32_t>(m.firstFree.size())) {
                os << "NumBuffers " << t.NumBuffers() << ", expected " << m.firstFree.size();
                return os.str();
            }
            for (std::int32_t p = 1; p <= t.NumBuffers(); ++p)
                if (t.PoolFirstFree(p) != m.firstFree[static_cast<std::size_t>(p - 1)]) {
                    os << "PoolFirstFree(" << p << ") " << t.PoolFirstFree(p) << ", expected "
                       << m.firstFree[static_cast<std::size_t>(p - 1)];
                    return os.str();
                }
        }
        return {};
    }

    /// Sum over the table's pools of the bytes in use.
    static std::int64_t PoolBytes(const TStringArray& t) {
        std::int64_t sum = 0;
        for (std::int32_t p = 1; p <= t.NumBuffers(); ++p)
            sum += t.PoolFirstFree(p) - 1;
        return sum;
    }

    const TStringArray& Table() const { return *FTable; }
    const StringTableModel& Model() const { return FModel; }

  private:
    void Attach(TStringArray& t) {
        t.SetOnChange([this](TObject*) { ++FChanges; });
        t.SetOnPercentDone([this](TObject*, std::int32_t p) { FPercent.push_back(p); });
    }

    static std::u16string Find16(OpReader& in) {
        std::string s = in.Text();
        if (s.size() > 3) s.resize(in.Byte() % 4);
        return Win1252ToString(s);
    }

    std::string Step(OpReader& in) {
        TStringArray& t = *FTable;
        StringTableModel& m = FModel;
        FExtra.clear();
        const std::int32_t nc = m.ncol, nr = m.nrow;
        const std::uint8_t op = in.Byte() % 24;
        switch (op) {
            case 0:
            case 1:
            case 2: {
                const std::int32_t c = in.Index(0, nc), r = in.Index(1, nr);
                const std::string s = in.Text();
                t.SetString(c, r, s);
                m.SetString(c, r, s);
                return "SetString(" + std::to_string(c) + "," + std::to_string(r) + ",len " +
                       std::to_string(s.size()) + ")";
            }
            case 3: {
                const std::int32_t r = in.Index(1, nr);
                const std::uint8_t b = in.Byte();
                t.SetRowAttrib(r, b);
                m.SetRowAttrib(r, b);
                return "SetRowAttrib(" + std::to_string(r) + ")";
            }
            case 4: {
                const std::int32_t c = in.Index(0, nc);
                const std::uint8_t b = in.Byte();
                t.SetColAttrib(c, b);
                m.SetColAttrib(c, b);
                return "SetColAttrib(" + std::to_string(c) + ")";
            }
            case 5: {
                // Shapes stay small; non-positive sizes are tried as well.
                const std::int32_t c = static_cast<std::int32_t>(in.Byte() % (kMaxCols + 3)) - 2;
                const std::int32_t r = static_cast<std::int32_t>(in.Byte() % (kMaxRows + 3)) - 2;
                const bool a = t.Resize(c, r), b = m.Resize(c, r);
                if (a != b) FExtra = "Resize result differs";
                return "Resize(" + std::to_string(c) + "," + std::to_string(r) + ")";
            }
            case 6: {
                if (nr >= kMaxRows) return "AddRow skipped";
                if (t.AddRow() != m.AddRow()) FExtra = "AddRow result differs";
                return "AddRow";
            }
            case 7: {
                const std::int32_t r = in.Index(1, nr);
                if (nr >= kMaxRows) return "InsertRow skipped";
                t.InsertRow(r);
                m.InsertRow(r);
                return "InsertRow(" + std::to_string(r) + ")";
            }
            case 8: {
                const std::int32_t r = in.Index(1, nr);
                t.RemoveRow(r);
                m.RemoveRow(r);
                return "RemoveRow(" + std::to_string(r) + ")";
            }
            case 9: {
                const std::int32_t s = in.Index(1, nr), d = in.Index(1, nr);
                t.CopyRow(s, d);
                m.CopyRow(s, d);
                return "CopyRow(" + std::to_string(s) + "," + std::to_string(d) + ")";
            }
            case 10: {
                const std::int32_t c = in.Index(1, nc);
                if (nc >= kMaxCols) return "InsertColumn skipped";
                t.InsertColumn(c);
                m.InsertColumn(c);
                return "InsertColumn(" + std::to_string(c) + ")";
            }
            case 11: {
                const std::int32_t c = in.Index(1, nc);
                t.RemoveColumn(c);
                m.RemoveColumn(c);
                return "RemoveColumn(" + std::to_string(c) + ")";
            }
            case 12:
                if (in.Byte() % 4 != 0) return "Clear skipped";
                t.Clear();
                m.Clear();
                return "Clear";
            case 13: {
                const std::string s = in.Text();
                t.Fill(s);
                m.Fill(s);
                return "Fill(len " + std::to_string(s.size()) + ")";
            }
            case 14: {
                t.GarbageCollection();
                m.GarbageCollection();
                const std::int64_t got = PoolBytes(t), want = m.LiveBytes();
                if (got != want)
                    FExtra = "pool bytes after compaction " + std::to_string(got) + ", expected " +
                             std::to_string(want);
                return "GarbageCollection";
            }
            case 15:
            case 16:
                return DoSort(in);
            case 17:
                t.UnSort();
                m.UnSort();
                return "UnSort";
            case 18:
                t.CommitSorting();
                m.CommitSorting();
                return "CommitSorting";
            case 19: {
                const std::int32_t ix = in.Index(1, nr), p = in.Index(1, nr);
                t.SetSortOrder(ix, p);
                m.SetSortOrder(ix, p);
                return "SetSortOrder(" + std::to_string(ix) + "," + std::to_string(p) + ")";
            }
            case 20: {
                const std::int32_t v = static_cast<std::int32_t>(in.Byte() % 24) - 3;
                t.SetAllocRowsBy(v);
                m.SetAllocRowsBy(v);
                return "SetAllocRowsBy(" + std::to_string(v) + ")";
            }
            case 21:
                return DoAssign();
            case 22:
                return DoFind(in);
            default:
                return DoProbe(in);
        }
    }

    std::string DoSort(OpReader& in) {
        TStringArray& t = *FTable;
        const std::int32_t col = in.Index(0, FModel.ncol);
        const std::int32_t sec = in.Byte() % 3 == 0 ? 0 : in.Index(0, FModel.ncol);
        const std::uint8_t flags = in.Byte();
        const bool asc = flags & 1;
        const auto h = static_cast<KeyHandler>((flags >> 1) % 3);
        // Now and then the handler throws before the sort is done.
        const std::int64_t stopAfter = (flags >> 3) % 4 == 0 ? 1 + in.Byte() % 64 : 0;
        std::int64_t calls = 0;
        if (h == KeyHandler::None) {
            t.SetOnBeforeSortExchange(nullptr);
        } else {
            t.SetOnBeforeSortExchange(
                [&calls, h, stopAfter](TObject*, const String& In, String& Out) {
                    ++calls;
                    if (stopAfter > 0 && calls == stopAfter) throw std::runtime_error("stop");
                    Out = ApplyHandler(h, In);
                });
        }
        FPercent.clear();
        bool threw = false;
        try {
            t.Sort(col, sec, asc);
        } catch (const std::runtime_error&) {
            threw = true;
        }
        t.SetOnBeforeSortExchange(nullptr);
        const StringTableModel::SortRun run =
            FModel.Sort(col, sec, asc, h, h == KeyHandler::None ? 0 : stopAfter);
        std::string what = "Sort(" + std::to_string(col) + "," + std::to_string(sec) + "," +
                           (asc ? "asc" : "desc") + ",handler " +
                           std::to_string(static_cast<int>(h)) + ",stop " +
                           std::to_string(stopAfter) + ")";
        if (threw != run.stopped)
            FExtra = "handler exception passed through: " + std::to_string(threw);
        else if (h != KeyHandler::None && calls != run.handlerCalls)
            FExtra = "handler calls " + std::to_string(calls) + ", expected " +
                     std::to_string(run.handlerCalls);
        else if (FPercent != run.percent) {
            FExtra = "OnPercentDone sequence";
            for (auto p : FPercent)
                FExtra += " " + std::to_string(p);
            FExtra += ", expected";
            for (auto p : run.percent)
                FExtra += " " + std::to_string(p);
        }
        return what;
    }

    std::string DoAssign() {
        auto copy = std::make_unique<TStringArray>();
        copy->Assign(FTable.get());
        // The copy carries the same handlers, so it keeps feeding the same counters.
        std::string diff = Compare(*copy, FModel);
        if (diff.empty()) {
            for (std::int32_t p = 1; p <= FTable->NumBuffers(); ++p)
                if (copy->PoolFirstFree(p) != FTable->PoolFirstFree(p) ||
                    copy->NumBuffers() != FTable->NumBuffers())
                    diff = "copy has other pools";
        }
        // Independence: writing the old table must not show in the copy. The copy's own
        // OnChange handler is checked by the counts of the steps that follow.
        const std::int64_t before = FChanges;
        FTable->Fill("independent");
        FChanges = before;
        if (diff.empty()) diff = Compare(*copy, FModel);
        FTable = std::move(copy);
        if (!diff.empty()) FExtra = "Assign: " + diff;
        return "Assign";
    }

    std::string DoFind(OpReader& in) {
        const std::uint8_t kind = in.Byte();
        const std::u16string f = Find16(in);
        const bool matchCase = kind & 1;
        std::int32_t tc = -7, tr = -7, mc = -7, mr = -7;
        if (kind & 2) {
            const std::int32_t col = in.Index(0, FModel.ncol);
            const std::int32_t lo = in.Index(1, FModel.nrow), hi = in.Index(1, FModel.nrow);
            const bool asc = kind & 4;
            const bool a = FTable->FindCellInSortedColumn(f, matchCase, col, lo, hi, asc, tr);
            const bool b = FModel.FindCellInSortedColumn(f, matchCase, col, lo, hi, asc, mr);
            if (a != b || tr != mr)
                FExtra = "FindCellInSortedColumn gave " + std::to_string(a) + " row " +
                         std::to_string(tr) + ", expected " + std::to_string(b) + " row " +
                         std::to_string(mr);
            return "FindCellInSortedColumn(col " + std::to_string(col) + ", rows " +
                   std::to_string(lo) + ".." + std::to_string(hi) + ")";
        }
        const std::int32_t cl = in.Index(0, FModel.ncol), ch = in.Index(0, FModel.ncol);
        const std::int32_t rl = in.Index(1, FModel.nrow), rh = in.Index(1, FModel.nrow);
        const bool exact = kind & 4;
        const bool a = exact ? FTable->FindCellExact(f, matchCase, cl, ch, rl, rh, tc, tr)
                             : FTable->FindCell(f, matchCase, cl, ch, rl, rh, tc, tr);
        const bool b = FModel.FindCellIntern(f, matchCase, cl, ch, rl, rh, mc, mr, exact);
        if (a != b || tc != mc || tr != mr)
            FExtra = "FindCell gave " + std::to_string(a) + " [" + std::to_string(tc) + "," +
                     std::to_string(tr) + "], expected " + std::to_string(b) + " [" +
                     std::to_string(mc) + "," + std::to_string(mr) + "]";
        return "FindCell(exact " + std::to_string(exact) + ", cols " + std::to_string(cl) + ".." +
               std::to_string(ch) + ", rows " + std::to_string(rl) + ".." + std::to_string(rh) +
               ")";
    }

    std::string DoProbe(OpReader& in) {
        const std::int32_t c = in.Index(0, FModel.ncol), r = in.Index(1, FModel.nrow);
        if (FTable->GetString(c, r) != FModel.Get(c, r) ||
            FTable->GetRowAttrib(r) != FModel.GetRowAttrib(r) ||
            FTable->GetColAttrib(c) != FModel.GetColAttrib(c) ||
            FTable->GetSortOrder(r) != FModel.GetSortOrder(r))
            FExtra = "read differs";
        else if (FTable->ColumnEmpty(c) != FModel.ColumnEmpty(c))
            FExtra = "ColumnEmpty differs";
        else if (FTable->RowEmpty(r) != FModel.RowEmpty(r))
            FExtra = "RowEmpty differs";
        return "probe(" + std::to_string(c) + "," + std::to_string(r) + ")";
    }

    std::unique_ptr<TStringArray> FTable;
    StringTableModel FModel;
    std::int64_t FChanges = 0;
    std::vector<std::int32_t> FPercent;
    std::string FExtra;
};

}  // namespace qorkit::model
