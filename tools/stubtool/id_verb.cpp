#include "stubtool/file_io.h"
#include "stubtool/stamp.h"
#include "stubtool/verb_support.h"
#include "stubtool/verbs.h"

namespace stubtool {

int RunId(std::span<const Argument> arguments) {
  std::string problem;
  const std::optional<VerbArguments> parsed = ParseVerbArguments(arguments, problem);
  if (!parsed) {
    return Misuse("id: " + problem);
  }
  if (parsed->operands.size() != 1) {
    return Misuse("id takes <stub>");
  }
  const Argument& stub = parsed->operands[0];
  const std::optional<std::vector<unsigned char>> image = ReadWholeFile(stub.Path(), problem);
  if (!image) {
    return Refuse(problem);
  }
  const std::optional<IdField> field = FindTheIdField(*image, problem);
  if (!field) {
    return Refuse(stub.text + ": " + problem);
  }
  PrintIdentifier(field->id, parsed->cp936);
  return kDone;
}

}  // namespace stubtool
