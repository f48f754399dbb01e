// The world's index of objects by place: a collision search looks only at the
// objects filed near the box it asks about instead of at the whole world.
// Owned by the world manager, which files each object it holds and refiles it
// whenever its position or box changes.
#pragma once

#include "Box.h"
#include "ObjectList.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qm {

class Object;

class SpatialGrid {
public:
  SpatialGrid();

  // Forgets every object.
  void clear();
  // Files p_o under its current world box as the newest entry, after every
  // other in world order; -1 when MAX_OBJECTS entries are filed.
  int insert(Object *p_o);
  // Drops the oldest entry of p_o (an object put in the world twice has two);
  // -1 when it has none.
  int remove(const Object *p_o);
  // Files every entry of p_o again under its current world box; does nothing
  // for an object that is not filed.
  void refile(const Object *p_o);

  // Calls visit(Object *) for every entry whose world box may meet box, in the
  // order of filing: a superset of the entries that do meet it. visit must not
  // change the grid.
  template <class Visit> void forEachCandidate(Box box, Visit visit) const {
    const std::size_t found_count = gather(box);
    for (std::size_t i = 0; i < found_count; i++) {
      visit(m_entries[m_found[i]].p_o);
    }
  }

  // Cells of CELL_SIZE by CELL_SIZE world cells share GRID_COLUMNS by
  // GRID_ROWS buckets, wrapping around: cell (column, row) goes in bucket
  // (column mod GRID_COLUMNS, row mod GRID_ROWS). So every place, inside the
  // boundary or far outside it, has a bucket, and the grid does not depend
  // on the boundary.
  static constexpr float CELL_SIZE = 2.0f;
  static constexpr int GRID_COLUMNS = 64;
  static constexpr int GRID_ROWS = 32;
  // An entry that would need more buckets than this, or whose box has a NaN,
  // goes in one bucket of its own that every search looks through.
  static constexpr int MAX_ENTRY_BUCKETS = 16;

private:
  // Cells first to first + count - 1 along one axis; count is the axis's
  // bucket count when the range wraps all the way round.
  struct Span {
    int64_t first;
    int count;
    bool operator==(const Span &other) const {
      return first == other.first && count == other.count;
    }
  };
  struct Entry {
    Object *p_o;
    uint64_t order; // filing order, which is the world list's order
    int next_same;  // the next newer entry of the same object, or -1
    Span columns;   // where it is filed; both counts 0 in the big bucket
    Span rows;
    int link_count;        // buckets it is linked into; 0 before filing
    mutable uint32_t mark; // the last search that took it
  };
  // A place of an entry in one bucket's doubly linked list. Entry e owns
  // links e * MAX_ENTRY_BUCKETS onwards.
  struct Link {
    int prev;
    int next;
    int bucket;
  };

  // false when either end is NaN.
  static bool spanOf(float start, float extent, int bucket_count, Span *p_span);
  void file(int entry_index);
  void unfile(int entry_index);
  void link(int link_index, int bucket);
  // Leaves the candidates' entry numbers, in filing order, in m_found.
  std::size_t gather(Box box) const;

  std::vector<Entry> m_entries;
  std::vector<int> m_free_entries;
  // The oldest entry of each filed object.
  std::unordered_map<const Object *, int> m_first_entry;
  std::vector<Link> m_links;
  std::vector<int> m_bucket_heads; // buckets, then the big bucket last
  uint64_t m_next_order;
  // Scratch of the search, which calls out to nobody and so cannot re-enter.
  mutable std::vector<std::size_t> m_found;
  mutable uint32_t m_search_mark;
};

} // namespace qm
