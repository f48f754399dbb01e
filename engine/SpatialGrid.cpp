#include "SpatialGrid.h"

#include "Object.h"
#include "utility.h"

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

constexpr int BUCKET_COUNT = SpatialGrid::GRID_COLUMNS * SpatialGrid::GRID_ROWS;
constexpr int BIG_BUCKET = BUCKET_COUNT;
// Far beyond any float that fits a grid, and well inside int64_t.
constexpr double CELL_LIMIT = 1e15;

static_assert((SpatialGrid::GRID_COLUMNS & (SpatialGrid::GRID_COLUMNS - 1)) == 0 &&
                  (SpatialGrid::GRID_ROWS & (SpatialGrid::GRID_ROWS - 1)) == 0,
              "wrapping takes the low bits of a cell number");

// The cell of coordinate x along an axis. It never decreases as x grows, so
// two closed ranges that share a point share that point's cell: that is what
// makes the search miss nothing.
int64_t cellOf(float x) {
  const double cell =
      std::floor(static_cast<double>(x) / static_cast<double>(SpatialGrid::CELL_SIZE));
  return static_cast<int64_t>(std::min(std::max(cell, -CELL_LIMIT), CELL_LIMIT));
}

int bucketOf(int64_t column, int64_t row) {
  return static_cast<int>((row & (SpatialGrid::GRID_ROWS - 1)) * SpatialGrid::GRID_COLUMNS +
                          (column & (SpatialGrid::GRID_COLUMNS - 1)));
}

} // namespace

SpatialGrid::SpatialGrid()
    : m_entries(MAX_OBJECTS), m_links(MAX_OBJECTS * MAX_ENTRY_BUCKETS),
      m_bucket_heads(BUCKET_COUNT + 1), m_next_order(0), m_found(MAX_OBJECTS), m_search_mark(0) {
  m_free_entries.reserve(MAX_OBJECTS);
  m_first_entry.reserve(MAX_OBJECTS);
  clear();
}

void SpatialGrid::clear() {
  m_free_entries.clear();
  for (int i = MAX_OBJECTS - 1; i >= 0; i--) {
    m_entries[static_cast<std::size_t>(i)] = Entry{nullptr, 0, -1, {0, 0}, {0, 0}, 0, 0};
    m_free_entries.push_back(i);
  }
  m_first_entry.clear();
  std::fill(m_bucket_heads.begin(), m_bucket_heads.end(), -1);
  m_search_mark = 0;
}

int SpatialGrid::insert(Object *p_o) {
  if (m_free_entries.empty()) {
    return -1;
  }
  const int entry_index = m_free_entries.back();
  m_free_entries.pop_back();
  m_entries[static_cast<std::size_t>(entry_index)] =
      Entry{p_o, m_next_order++, -1, {0, 0}, {0, 0}, 0, 0};
  const auto [first, inserted] = m_first_entry.try_emplace(p_o, entry_index);
  if (!inserted) {
    int last = first->second;
    while (m_entries[static_cast<std::size_t>(last)].next_same >= 0) {
      last = m_entries[static_cast<std::size_t>(last)].next_same;
    }
    m_entries[static_cast<std::size_t>(last)].next_same = entry_index;
  }
  file(entry_index);
  return 0;
}

int SpatialGrid::remove(const Object *p_o) {
  const auto first = m_first_entry.find(p_o);
  if (first == m_first_entry.end()) {
    return -1;
  }
  const int entry_index = first->second;
  unfile(entry_index);
  Entry &entry = m_entries[static_cast<std::size_t>(entry_index)];
  if (entry.next_same >= 0) {
    first->second = entry.next_same;
  } else {
    m_first_entry.erase(first);
  }
  entry.p_o = nullptr;
  m_free_entries.push_back(entry_index);
  return 0;
}

void SpatialGrid::refile(const Object *p_o) {
  const auto first = m_first_entry.find(p_o);
  if (first == m_first_entry.end()) {
    return;
  }
  for (int entry_index = first->second; entry_index >= 0;
       entry_index = m_entries[static_cast<std::size_t>(entry_index)].next_same) {
    file(entry_index);
  }
}

// The range is computed exactly as boxIntersectsBox computes it, start plus
// extent in float, so that the grid and the exact test agree on every edge. A
// negative extent still meets what holds its start, so the ends may come in
// either order.
bool SpatialGrid::spanOf(float start, float extent, int bucket_count, Span *p_span) {
  const float end = start + extent;
  if (std::isnan(start) || std::isnan(end)) {
    return false;
  }
  const int64_t first = cellOf(std::min(start, end));
  const int64_t last = cellOf(std::max(start, end));
  if (last - first + 1 >= bucket_count) {
    *p_span = Span{0, bucket_count};
  } else {
    *p_span = Span{first, static_cast<int>(last - first + 1)};
  }
  return true;
}

void SpatialGrid::file(int entry_index) {
  Entry &entry = m_entries[static_cast<std::size_t>(entry_index)];
  const Box box = getWorldBox(entry.p_o);
  Span columns{0, 0};
  Span rows{0, 0};
  const bool columns_known =
      spanOf(box.getCorner().getX(), box.getHorizontal(), GRID_COLUMNS, &columns);
  const bool rows_known = spanOf(box.getCorner().getY(), box.getVertical(), GRID_ROWS, &rows);
  const bool placed =
      columns_known && rows_known && columns.count * rows.count <= MAX_ENTRY_BUCKETS;
  if (!placed) {
    columns = rows = Span{0, 0};
  }
  // Most moves stay within the same cells.
  if (entry.link_count > 0 && columns == entry.columns && rows == entry.rows) {
    return;
  }
  unfile(entry_index);
  entry.columns = columns;
  entry.rows = rows;
  const int first_link = entry_index * MAX_ENTRY_BUCKETS;
  if (!placed) {
    link(first_link, BIG_BUCKET);
    entry.link_count = 1;
    return;
  }
  for (int i = 0; i < columns.count; i++) {
    for (int j = 0; j < rows.count; j++) {
      link(first_link + entry.link_count++, bucketOf(columns.first + i, rows.first + j));
    }
  }
}

void SpatialGrid::unfile(int entry_index) {
  Entry &entry = m_entries[static_cast<std::size_t>(entry_index)];
  const int first_link = entry_index * MAX_ENTRY_BUCKETS;
  for (int i = first_link; i < first_link + entry.link_count; i++) {
    const Link &gone = m_links[static_cast<std::size_t>(i)];
    if (gone.prev >= 0) {
      m_links[static_cast<std::size_t>(gone.prev)].next = gone.next;
    } else {
      m_bucket_heads[static_cast<std::size_t>(gone.bucket)] = gone.next;
    }
    if (gone.next >= 0) {
      m_links[static_cast<std::size_t>(gone.next)].prev = gone.prev;
    }
  }
  entry.link_count = 0;
}

void SpatialGrid::link(int link_index, int bucket) {
  const int old_head = m_bucket_heads[static_cast<std::size_t>(bucket)];
  m_links[static_cast<std::size_t>(link_index)] = Link{-1, old_head, bucket};
  if (old_head >= 0) {
    m_links[static_cast<std::size_t>(old_head)].prev = link_index;
  }
  m_bucket_heads[static_cast<std::size_t>(bucket)] = link_index;
}

std::size_t SpatialGrid::gather(Box box) const {
  // A wrapped mark would make entries from an old search look taken.
  if (++m_search_mark == 0) {
    for (const Entry &entry : m_entries) {
      entry.mark = 0;
    }
    m_search_mark = 1;
  }
  std::size_t found_count = 0;
  const auto take_bucket = [&](int bucket) {
    for (int i = m_bucket_heads[static_cast<std::size_t>(bucket)]; i >= 0;
         i = m_links[static_cast<std::size_t>(i)].next) {
      const auto entry_index = static_cast<std::size_t>(i / MAX_ENTRY_BUCKETS);
      if (m_entries[entry_index].mark != m_search_mark) {
        m_entries[entry_index].mark = m_search_mark;
        m_found[found_count++] = entry_index;
      }
    }
  };
  // A box with a NaN end may still meet something at its start: spanOf then
  // leaves the whole of that axis to look along.
  Span columns{0, GRID_COLUMNS};
  Span rows{0, GRID_ROWS};
  spanOf(box.getCorner().getX(), box.getHorizontal(), GRID_COLUMNS, &columns);
  spanOf(box.getCorner().getY(), box.getVertical(), GRID_ROWS, &rows);
  for (int i = 0; i < columns.count; i++) {
    for (int j = 0; j < rows.count; j++) {
      take_bucket(bucketOf(columns.first + i, rows.first + j));
    }
  }
  take_bucket(BIG_BUCKET);
  std::sort(
      m_found.begin(), m_found.begin() + static_cast<std::ptrdiff_t>(found_count),
      [this](std::size_t a, std::size_t b) { return m_entries[a].order < m_entries[b].order; });
  return found_count;
}

} // namespace qm
