// Everything a caller can observe of a string table's content, for comparing two tables or
// one table before and after an operation. Shared by the tests and the fuzz targets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qorkit/dstruct/string_table.h"

namespace qorkit::test {

struct TableSnapshot {
    std::int32_t Cols = 0;
    std::int32_t Rows = 0;
    std::vector<std::string> Cells;  ///< shown rows, columns 0..Cols
    std::vector<int> RowAttribs;
    std::vector<int> ColAttribs;  ///< columns 0..Cols+1, so the neutral ends are seen too
    std::vector<std::int32_t> Order;

    bool operator==(const TableSnapshot&) const = default;
};

inline TableSnapshot Take(const TStringArray& t) {
    TableSnapshot s;
    s.Cols = t.NrOfColumns();
    s.Rows = t.NrOfRows();
    for (std::int32_t r = 1; r <= s.Rows; ++r) {
        for (std::int32_t c = 0; c <= s.Cols; ++c)
            s.Cells.push_back(t.GetString(c, r));
        s.RowAttribs.push_back(t.GetRowAttrib(r));
        s.Order.push_back(t.GetSortOrder(r));
    }
    for (std::int32_t c = 0; c <= s.Cols + 1; ++c)
        s.ColAttribs.push_back(t.GetColAttrib(c));
    return s;
}

}  // namespace qorkit::test
