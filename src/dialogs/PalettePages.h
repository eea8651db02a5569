#pragma once

// Pages of thumbnail cells over a list, shared by the fittings and the parts palettes: page p shows
// the entries p × cells up to the next page's first.

#include <cstddef>

namespace kov::dialogs {

// The list index a cell of the page shows, -1 beyond the list or with no page shown.
inline int PageCellIndex(int page, int cells, int cell, std::size_t listSize)
{
    if (page < 0 || cell < 0 || cell >= cells) return -1;
    const int index = page * cells + cell;
    return index < static_cast<int>(listSize) ? index : -1;
}

// Whether entries follow the page.
inline bool PageHasNext(int page, int cells, std::size_t listSize)
{
    return page >= 0 && static_cast<int>(listSize) > (page + 1) * cells;
}

// A remembered page, the first when it lies before the list or beyond its last page.
inline int RestoredPage(int page, int cells, std::size_t listSize)
{
    return page < 0 || page > static_cast<int>(listSize) / cells ? 0 : page;
}

} // namespace kov::dialogs
