#include "stubtool/stamp.h"

#include <algorithm>

#include "download/package_id_layout.h"
#include "stubtool/identifier_rules.h"
#include "toolkit/text.h"

namespace stubtool {

std::vector<IdField> FindIdFields(std::span<const unsigned char> image) {
  const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
  std::vector<IdField> fields;
  for (size_t at = bytes.find(IdStartMarker); at != std::string_view::npos;
       at = bytes.find(IdStartMarker, at + 1)) {
    if (bytes.size() - at <= IdFieldSize || bytes[at + IdFieldSize] != '\0') {
      continue;
    }
    const std::string_view field = bytes.substr(at, IdFieldSize);
    std::string id = IdInField(field);
    if (field == IdFieldFor(id)) {
      fields.push_back({at, std::move(id)});
    }
  }
  return fields;
}

std::optional<IdField> FindTheIdField(std::span<const unsigned char> image, std::string& problem) {
  std::vector<IdField> fields = FindIdFields(image);
  if (fields.empty()) {
    problem = "the file holds no package identifier field";
    return std::nullopt;
  }
  if (fields.size() > 1) {
    problem = text::Format(
        "the file holds the package identifier field %zu times (at offsets %zu and %zu%s), so "
        "which one the stub reads is not certain",
        fields.size(), fields[0].offset, fields[1].offset, fields.size() > 2 ? " and more" : "");
    return std::nullopt;
  }
  return std::move(fields[0]);
}

Stamped StampIdentifier(std::span<const unsigned char> image, std::string_view id) {
  Stamped stamped;
  stamped.problem = IdentifierProblem(id);
  if (!stamped.problem.empty()) {
    return stamped;
  }
  const std::optional<IdField> field = FindTheIdField(image, stamped.problem);
  if (!field) {
    return stamped;
  }
  stamped.image.assign(image.begin(), image.end());
  const std::string bytes = IdFieldFor(id);
  std::copy(bytes.begin(), bytes.end(), stamped.image.begin() + field->offset);
  return stamped;
}

}  // namespace stubtool
