// stubtool: the packaging team's tool for built stubs. Each verb is one entry of kVerbs.
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stubtool/console.h"
#include "stubtool/verb_support.h"
#include "stubtool/verbs.h"

namespace stubtool {
namespace {

struct Verb {
  std::string_view name;
  std::string_view synopsis;
  std::string_view description;
  int (*run)(std::span<const Argument> arguments);
};

constexpr Verb kVerbs[] = {
    {"stamp", "[--cp936] <in-stub> <identifier> <out-stub>",
     "Writes out-stub: in-stub with its package identifier field rewritten to carry identifier.\n"
     "Every byte outside the field is copied unchanged. out-stub (which may be in-stub) is\n"
     "replaced only once the whole new file is written; when stamping is refused, nothing is\n"
     "written. Warns when in-stub was signed, since the signature no longer holds.",
     RunStamp},
    {"id", "[--cp936] <stub>",
     "Prints the package identifier that stub carries, as the stub reads it.", RunId},
};

constexpr std::string_view kNotes =
    "The identifier:\n"
    "  The stub keeps its identifier in code page 936. On Linux an identifier argument in\n"
    "  UTF-8 (plain ASCII included) is converted to code page 936; an argument that is not\n"
    "  valid UTF-8 is taken as code page 936 bytes as it stands. --cp936 takes the argument as\n"
    "  code page 936 bytes even when it is also valid UTF-8, and makes id print the bytes\n"
    "  themselves. On Windows the Unicode command line is converted (there is no --cp936).\n"
    "  The stub puts the identifier in its download URL and its default install folder\n"
    "  c:\\<identifier>\\, so it must be 1 to 198 bytes and one plain folder name: no \\ / : < >\n"
    "  \" | ? * or #, no control characters, no \"..\", no dot or space at the end, and not a\n"
    "  device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-COM9, LPT0-LPT9).\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed (nothing written), 2 wrong command line.\n";

void PrintUsage(std::FILE* stream) {
  std::string usage = "usage: stubtool <verb> ...\n\nVerbs:\n";
  for (const Verb& verb : kVerbs) {
    usage += "  stubtool " + std::string(verb.name) + " " + std::string(verb.synopsis) + "\n";
    std::string_view description = verb.description;
    while (!description.empty()) {
      const size_t end = description.find('\n');
      usage += "      " + std::string(description.substr(0, end)) + "\n";
      description =
          end == std::string_view::npos ? std::string_view() : description.substr(end + 1);
    }
  }
  usage += "\n" + std::string(kNotes);
  PrintText(stream, usage);
}

int Run(const std::vector<Argument>& arguments) {
  if (arguments.empty()) {
    PrintUsage(stderr);
    return kMisused;
  }
  const std::string& name = arguments[0].text;
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return kDone;
  }
  for (const Verb& verb : kVerbs) {
    if (verb.name == name) {
      return verb.run(std::span(arguments).subspan(1));
    }
  }
  return Misuse("unknown verb " + name);
}

}  // namespace
}  // namespace stubtool

int main(int argc, char** argv) {
  try {
    return stubtool::Run(stubtool::ProgramArguments(argc, argv));
  } catch (const std::exception& error) {
    return stubtool::Refuse(error.what());
  }
}
