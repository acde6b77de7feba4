#include "stubtool/file_io.h"
#include "stubtool/pe_signature.h"
#include "stubtool/stamp.h"
#include "stubtool/verb_support.h"
#include "stubtool/verbs.h"

namespace stubtool {

int RunStamp(std::span<const Argument> arguments) {
  std::string problem;
  const std::optional<VerbArguments> parsed = ParseVerbArguments(arguments, problem);
  if (!parsed) {
    return Misuse("stamp: " + problem);
  }
  if (parsed->operands.size() != 3) {
    return Misuse("stamp takes <in-stub> <identifier> <out-stub>");
  }
  const Argument& input = parsed->operands[0];
  const Argument& output = parsed->operands[2];
  const std::optional<std::string> id =
      IdentifierFromArgument(parsed->operands[1], parsed->cp936, problem);
  if (!id) {
    return Refuse(problem);
  }
  const std::optional<std::vector<unsigned char>> image = ReadWholeFile(input.Path(), problem);
  if (!image) {
    return Refuse(problem);
  }
  const Stamped stamped = StampIdentifier(*image, *id);
  if (!stamped.problem.empty()) {
    return Refuse("cannot stamp " + input.text + ": " + stamped.problem);
  }
  if (!ReplaceFile(output.Path(), stamped.image, input.Path(), problem)) {
    return Refuse(problem);
  }
  if (HasAuthenticodeSignature(*image)) {
    Warn(input.text + " was signed; the signature does not cover the new identifier, so " +
         output.text + " must be signed again");
  }
  return kDone;
}

}  // namespace stubtool
