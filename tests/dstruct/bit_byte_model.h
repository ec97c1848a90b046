// Plain reference models of TBitFld, TByteMatrix and TFifo and a driver that runs one
// operation stream against the containers and the models, shared by the randomised container
// test and the container fuzz target.
//
// The models are written for obviousness: one bool per bit, one vector per column, a deque for
// the queue, and the random filling spelled out with its own copy of the generator's recurrence.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "qorkit/dstruct/bit_field.h"
#include "qorkit/dstruct/byte_matrix.h"
#include "qorkit/dstruct/fifo.h"
#include "qorkit/rtl/random.h"

namespace qorkit::model {

/// The process-wide generator's recurrence, written out independently.
struct RefRandom {
    std::uint32_t seed;
    double Next() {
        seed = seed * 134775813u + 1u;
        return seed / 4294967296.0;
    }
};

struct BitFieldModel {
    std::int32_t size = 1000;
    std::vector<bool> bits = std::vector<bool>(1001, false);

    static std::uint8_t Apply(std::uint8_t op, bool a, bool b) {
        switch (op) {
            case loAND:
                return a && b;
            case loOR:
                return a || b;
            case loXOR:
                return a != b;
            case loANDNot:
                return a && !b;
            case loORNot:
                return a || !b;
            case loXORNot:
                return a == b;
        }
        return a;
    }
    void Resize(std::int32_t s) {
        if (s > 0) bits.resize(static_cast<std::size_t>(s) + 1, false), size = s;
    }
    /// The documented draw-and-repeat procedure; `seed` is the generator's state.
    void RandomBits(std::int64_t n, std::uint32_t& seed) {
        if (n < 0) n = 0;
        if (n > size + 1) n = size + 1;
        RefRandom r{seed};
        const bool fillTrue = n > size / 2;
        bits.assign(bits.size(), fillTrue);
        std::int64_t count = fillTrue ? size + 1 : 0;
        while (count != n) {
            const auto ix = static_cast<std::size_t>(std::nearbyint(r.Next() * size));
            if (bits[ix] == fillTrue) {
                bits[ix] = !fillTrue;
                count += fillTrue ? -1 : 1;
            }
        }
        seed = r.seed;
    }
};

struct ByteMatrixModel {
    std::int32_t cols = 1, rows = 1;
    std::uint8_t def = 0;
    std::vector<std::vector<std::uint8_t>> cells{{0}};  // [column - 1][row - 1]
    std::int64_t changes = 0;

    bool In(std::int32_t c, std::int32_t r) const {
        return c >= 1 && c <= cols && r >= 1 && r <= rows;
    }
    std::uint8_t Get(std::int32_t c, std::int32_t r) const {
        return In(c, r) ? cells[static_cast<std::size_t>(c - 1)][static_cast<std::size_t>(r - 1)]
                        : def;
    }
    bool Resize(std::int32_t c, std::int32_t r) {
        if (c <= 0 || r <= 0 || (c == cols && r == rows)) return false;
        std::vector<std::vector<std::uint8_t>> n(
            static_cast<std::size_t>(c), std::vector<std::uint8_t>(static_cast<std::size_t>(r), 0));
        for (std::int32_t i = 1; i <= c && i <= cols; ++i)
            for (std::int32_t j = 1; j <= r && j <= rows; ++j)
                n[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)] = Get(i, j);
        cells = n;
        cols = c;
        rows = r;
        ++changes;
        return true;
    }
};

struct FifoModel {
    std::int32_t length = 256;
    std::deque<std::uint8_t> q;

    bool Full() const { return static_cast<std::int32_t>(q.size()) == length - 1; }
    void Resize(std::int32_t l) {
        if (l <= 0 || l == length) return;
        while (static_cast<std::int32_t>(q.size()) > l - 1)
            q.pop_back();  // the newest go
        length = l;
    }
};

/// Reads operations from bytes and applies each to the containers and their models.
class ContainerOpRunner {
  public:
    /// Runs at most `MaxOps` operations; returns "" or the first difference found.
    std::string Run(const std::uint8_t* Data, std::size_t Size, std::size_t MaxOps) {
        FData = Data;
        FSize = Size;
        FPos = 0;
        for (std::size_t op = 0; op < MaxOps && FPos < FSize; ++op) {
            const std::uint8_t which = Byte();
            std::string diff;
            switch (which % 3) {
                case 0:
                    diff = BitStep(which / 3);
                    break;
                case 1:
                    diff = MatrixStep(which / 3);
                    break;
                default:
                    diff = FifoStep(which / 3);
                    break;
            }
            if (diff.empty()) diff = Compare();
            if (!diff.empty()) {
                std::ostringstream s;
                s << "operation " << op << " (code " << int{which} << "): " << diff;
                return s.str();
            }
        }
        return "";
    }

    /// "" when every container equals its model, else the first difference.
    std::string Compare() const {
        std::ostringstream s;
        if (FBits.Size() != FBitModel.size) return "bit field size";
        const auto& bytes = FBits.BitArray();
        if (bytes.size() != static_cast<std::size_t>(FBitModel.size) / 8 + 2)
            return "bit bytes length";
        for (std::size_t ix = 0; ix < bytes.size() * 8; ++ix) {
            const bool want = ix < FBitModel.bits.size() && FBitModel.bits[ix];
            if (((bytes[ix / 8] >> (ix % 8)) & 1) != want) {
                s << "bit " << ix
                  << (ix > static_cast<std::size_t>(FBitModel.size) ? " (padding)" : "");
                return s.str();
            }
        }
        if (FMatrix.NrOfColumns() != FMatModel.cols || FMatrix.NrOfRows() != FMatModel.rows)
            return "matrix shape";
        if (FChanges != FMatModel.changes) return "matrix notifications";
        for (std::int32_t c = 0; c <= FMatModel.cols + 1; ++c)
            for (std::int32_t r = 0; r <= FMatModel.rows + 1; ++r)
                if (FMatrix.GetByte(c, r) != FMatModel.Get(c, r)) {
                    s << "matrix cell " << c << "," << r;
                    return s.str();
                }
        if (FFifo.Size() != FFifoModel.length) return "fifo size";
        if (FFifo.CountBytes() != static_cast<std::int32_t>(FFifoModel.q.size()))
            return "fifo count";
        for (std::int32_t i = -1; i <= FFifo.CountBytes(); ++i) {
            std::uint8_t b = 0xEE;
            const bool ok = FFifo.SenseByte(i, b);
            const bool want = i >= 0 && i < static_cast<std::int32_t>(FFifoModel.q.size());
            if (ok != want || (ok && b != FFifoModel.q[static_cast<std::size_t>(i)]) ||
                (!ok && b != 0xEE)) {
                s << "fifo position " << i;
                return s.str();
            }
        }
        return "";
    }

  private:
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    // A small signed index that reaches just past both ends of a range of `n`.
    std::int32_t Index(std::int32_t n) { return static_cast<std::int32_t>(Byte() % (n + 4)) - 2; }

    std::string BitStep(std::uint8_t code) {
        BitFieldModel& m = FBitModel;
        switch (code % 10) {
            case 0: {
                const std::int32_t s = static_cast<std::int32_t>(Byte()) - 8;  // includes <= 0
                FBits.SetSize(s);
                m.Resize(s);
                return "";
            }
            case 1: {
                const std::int32_t ix = Index(m.size + 1);
                const bool v = Byte() & 1;
                FBits.SetBit(ix, v);
                if (ix >= 0 && ix <= m.size) m.bits[static_cast<std::size_t>(ix)] = v;
                return "";
            }
            case 2: {
                const std::int32_t ix = Index(m.size + 1);
                FBits.ToggleBit(ix);
                if (ix >= 0 && ix <= m.size) m.bits[static_cast<std::size_t>(ix)].flip();
                const bool want = ix >= 0 && ix <= m.size && m.bits[static_cast<std::size_t>(ix)];
                return FBits.GetBit(ix) == want ? "" : "GetBit after toggle";
            }
            case 3:
                FBits.Invert();
                m.bits.flip();
                return "";
            case 4: {
                std::int64_t n = 0;
                for (bool b : m.bits)
                    n += b;
                std::int64_t first = -1;
                for (std::size_t i = 0; i < m.bits.size() && first < 0; ++i)
                    if (m.bits[i]) first = static_cast<std::int64_t>(i);
                if (FBits.CountTrueBits() != n) return "CountTrueBits";
                if (FBits.FirstTrueBit() != first) return "FirstTrueBit";
                const bool state = Byte() & 1;
                TIntArray list{-7};
                FBits.MakeListOfBits(list, state);
                TIntArray want;
                for (std::size_t i = 0; i < m.bits.size(); ++i)
                    if (m.bits[i] == state) want.push_back(static_cast<std::int32_t>(i));
                return list == want ? "" : "MakeListOfBits";
            }
            case 5: {
                // Combine with a second field of the same or another size.
                TBitFld other;
                BitFieldModel om;
                const std::int32_t s = (Byte() & 1) ? m.size : m.size + 1;
                other.SetSize(s);
                om.Resize(s);
                for (std::int32_t i = 0; i <= s; i += 1 + Byte() % 5)
                    other.SetBit(i, true), om.bits[static_cast<std::size_t>(i)] = true;
                const auto op = static_cast<TLogicOp>(Byte() % 7);  // 6 is no operation
                FBits.CombineWith(&other, op);
                if (s == m.size)
                    for (std::size_t i = 0; i < m.bits.size(); ++i)
                        m.bits[i] = BitFieldModel::Apply(op, m.bits[i], om.bits[i]);
                return "";
            }
            case 6: {
                // Counts past both ends: the field clamps them to 0..Size + 1.
                const std::int32_t n = Index(m.size + 2);
                std::uint32_t seed = RandSeed = 0x9E3779B9u * Byte();
                FBits.SetRandBitsIntern(n);
                m.RandomBits(n, seed);
                return RandSeed == seed ? "" : "generator draws";
            }
            case 7: {
                const double percent = static_cast<double>(Byte()) - 20.0;
                std::uint32_t seed = RandSeed = 12345u + Byte();
                FBits.RandomFill(percent);
                const double p = percent < 0 ? 0 : percent > 100 ? 100 : percent;
                m.RandomBits(static_cast<std::int64_t>(std::nearbyint(0.01 * p * m.size)), seed);
                return RandSeed == seed ? "" : "generator draws";
            }
            case 8: {
                TBitFld copy;
                copy.Assign(&FBits);
                FBits.Clear();
                FBits.Clone(&copy);
                return copy.BitArray() == FBits.BitArray() ? "" : "Assign/Clone";
            }
            default:
                FBits.Clear();
                m.bits.assign(m.bits.size(), false);
                return "";
        }
    }

    std::string MatrixStep(std::uint8_t code) {
        ByteMatrixModel& m = FMatModel;
        switch (code % 9) {
            case 0: {
                const std::int32_t c = static_cast<std::int32_t>(Byte() % 10) - 1;
                const std::int32_t r = static_cast<std::int32_t>(Byte() % 10) - 1;
                const bool got = FMatrix.Resize(c, r);
                return got == m.Resize(c, r) ? "" : "Resize result";
            }
            case 1: {
                const std::int32_t c = static_cast<std::int32_t>(Byte() % 10) - 1;
                FMatrix.SetNrCols(c);
                m.Resize(c < 1 ? 1 : c, m.rows);
                return "";
            }
            case 2: {
                const std::int32_t c = Index(m.cols), r = Index(m.rows);
                const std::uint8_t v = Byte();
                FMatrix.SetByte(c, r, v);
                if (m.In(c, r))
                    m.cells[static_cast<std::size_t>(c - 1)]
                           [static_cast<std::size_t>(r - 1)] = v,
                                                         ++m.changes;
                return "";
            }
            case 3: {
                const std::int32_t c = Index(m.cols), r = Index(m.rows);
                const std::int32_t bit = static_cast<std::int32_t>(Byte() % 10) - 1;
                const bool toggle = Byte() & 1, v = Byte() & 1;
                if (FMatrix.GetBit(c, r, bit) != (bit >= 0 && bit <= 7 && (m.Get(c, r) >> bit & 1)))
                    return "GetBit";
                toggle ? FMatrix.ToggleBit(c, r, bit) : FMatrix.SetBit(c, r, bit, v);
                if (m.In(c, r) && bit >= 0 && bit <= 7) {
                    auto& cell =
                        m.cells[static_cast<std::size_t>(c - 1)][static_cast<std::size_t>(r - 1)];
                    const auto mask = static_cast<std::uint8_t>(1u << bit);
                    cell = static_cast<std::uint8_t>(toggle ? cell ^ mask
                                                     : v    ? cell | mask
                                                            : cell & ~mask);
                    ++m.changes;
                }
                return "";
            }
            case 4: {
                const std::uint8_t v = Byte();
                FMatrix.Fill(v);
                for (auto& col : m.cells)
                    col.assign(col.size(), v);
                ++m.changes;
                return "";
            }
            case 5:
                FMatrix.MirrorColumns();
                std::reverse(m.cells.begin(), m.cells.end());
                ++m.changes;
                return "";
            case 6:
                FMatrix.MirrorRows();
                for (auto& col : m.cells)
                    std::reverse(col.begin(), col.end());
                ++m.changes;
                return "";
            case 7: {
                TByteMatrix other;
                const bool same = Byte() & 1;
                other.Resize(m.cols, same ? m.rows : m.rows + 1);
                for (std::int32_t c = 1; c <= other.NrOfColumns(); ++c)
                    for (std::int32_t r = 1; r <= other.NrOfRows(); ++r)
                        other.SetByte(c, r, Byte());
                const auto op = static_cast<TLogicOp>(Byte() % 7);
                FMatrix.CombineWith(&other, op);
                if (same)
                    for (std::int32_t c = 1; c <= m.cols; ++c)
                        for (std::int32_t r = 1; r <= m.rows; ++r) {
                            auto& cell = m.cells[static_cast<std::size_t>(c - 1)]
                                                [static_cast<std::size_t>(r - 1)];
                            cell = ApplyLogicOp(cell, other.GetByte(c, r), op);
                        }
                return "";
            }
            default: {
                m.def = Byte();
                FMatrix.SetDefaultValue(m.def);
                TByteMatrix copy;
                copy.Assign(&FMatrix);  // takes the handler: a change of the copy counts too
                copy.SetByte(1, 1, copy.GetByte(1, 1));
                ++m.changes;
                return copy.GetByte(0, 0) == m.def ? "" : "Assign default";
            }
        }
    }

    std::string FifoStep(std::uint8_t code) {
        FifoModel& m = FFifoModel;
        const std::uint8_t b = Byte();
        switch (code % 6) {
            case 0: {
                const bool ok = FFifo.PutByte(b);
                if (ok != !m.Full()) return "PutByte result";
                if (ok) m.q.push_back(b);
                return "";
            }
            case 1: {
                const bool dropped = FFifo.ForceByte(b);
                const bool want = m.Full();
                if (want && !m.q.empty()) m.q.pop_front();
                if (m.length > 1) m.q.push_back(b);
                return dropped == want ? "" : "ForceByte result";
            }
            case 2: {
                const bool ok = FFifo.LoadBack(b);
                if (ok != !m.Full()) return "LoadBack result";
                if (ok) m.q.push_front(b);
                return "";
            }
            case 3: {
                std::uint8_t out = 0xEE;
                const bool ok = FFifo.GetByte(out);
                if (ok != !m.q.empty()) return "GetByte result";
                if (!ok) return out == 0xEE ? "" : "GetByte changed its output";
                const std::uint8_t want = m.q.front();
                m.q.pop_front();
                return out == want ? "" : "GetByte value";
            }
            case 4: {
                const std::int32_t l = static_cast<std::int32_t>(b % 40) - 2;
                FFifo.SetSize(l);
                m.Resize(l);
                return "";
            }
            default:
                FFifo.Clear();
                m.q.clear();
                return "";
        }
    }

    const std::uint8_t* FData = nullptr;
    std::size_t FSize = 0, FPos = 0;
    TBitFld FBits;
    BitFieldModel FBitModel;
    TByteMatrix FMatrix;
    ByteMatrixModel FMatModel;
    std::int64_t FChanges = 0;
    TFifo FFifo;
    FifoModel FFifoModel;

  public:
    ContainerOpRunner() {
        FMatrix.SetOnChange([this](TObject*) { ++FChanges; });
    }
};

}  // namespace qorkit::model
