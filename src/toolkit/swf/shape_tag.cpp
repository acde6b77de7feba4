// DefineShape, DefineShape2 and DefineShape3.
#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/records.h"
#include "toolkit/swf/shape_records.h"
#include "toolkit/swf/tag_readers.h"

namespace swf {

bool ReadDefineShape(TagBody tag, int shape_version, DecodeBudget& budget, Movie& movie) {
  BitReader r(tag);
  const uint16_t id = r.U16();
  Shape shape;
  shape.bounds = ReadRect(r);
  if (!r.ok() || !ReadShapeWithStyle(r, shape_version, budget.edges, shape)) return false;
  budget.edges -= shape.edges.size();
  movie.characters.try_emplace(id, std::move(shape));
  return true;
}

}  // namespace swf
