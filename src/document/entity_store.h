#pragma once
// The entities of a drawing: the object order that remembers the file order,
// one array per kind, and the block definitions with member lists of their own.
// JWW drawings and JWS figures hold the same store.
#include <cstdint>
#include <string>
#include <vector>

#include "document/entities.h"

namespace varnelko {

// An ordered list of entities. Invariant: every entry of `order` refers to an
// existing element of its kind's array, and each element is referred to once.
struct EntityList {
  std::vector<TEntRef> order;
  std::vector<TEntSen> lines;
  std::vector<TEntEnko> arcs;
  std::vector<TEntTen> points;
  std::vector<TEntMoji> texts;
  std::vector<TEntSunpo> dimensions;
  std::vector<TEntSolid> solids;
  std::vector<TEntBlock> blocks;
  bool operator==(const EntityList&) const = default;

  // Appending keeps the invariant: the record goes to its array and a
  // reference to it to the end of the order.
  void Add(TEntSen e) { Push(kKindLine, lines, std::move(e)); }
  void Add(TEntEnko e) { Push(kKindArc, arcs, std::move(e)); }
  void Add(TEntTen e) { Push(kKindPoint, points, std::move(e)); }
  void Add(TEntMoji e) { Push(kKindText, texts, std::move(e)); }
  void Add(TEntSunpo e) { Push(kKindDimension, dimensions, std::move(e)); }
  void Add(TEntSolid e) { Push(kKindSolid, solids, std::move(e)); }
  void Add(TEntBlock e) { Push(kKindBlock, blocks, std::move(e)); }

  void Clear();

 private:
  template <typename T>
  void Push(int32_t kind, std::vector<T>& array, T e) {
    order.push_back({kind, static_cast<int32_t>(array.size())});
    array.push_back(std::move(e));
  }
};

struct TEntBlockDef {
  TEntHeader header;
  int32_t number = 0;
  int32_t referenced = 0;
  int32_t timestamp = 0;
  std::string name;  // raw code page 932 bytes
  EntityList members;
  bool operator==(const TEntBlockDef&) const = default;
};

// The top-level entity list and the block definitions.
struct EntityStore : EntityList {
  std::vector<TEntBlockDef> block_defs;
  bool operator==(const EntityStore&) const = default;

  void Clear();
};

}  // namespace varnelko
