#pragma once
// What a start asks for, read from argv before anything else runs: print a text and end
// (`--help`, `--version`, each only as the sole argument), open a project handed over as a
// path (how the desktop entry starts the program for a double click), or start with the
// command line as calling programs give it (a language, a link preset).
#include <string>
#include <vector>

namespace corvane {

struct StartRequest {
  enum class Kind { Start, Print, OpenProject };
  Kind kind = Kind::Start;
  std::string text;  // Print: what to print on standard output
  std::string path;  // OpenProject: the project as given
};

class CStartRequest {
public:
  // argv with the program first.
  static StartRequest Classify(const std::vector<std::string>& argv);
  // A sole argument that holds a '/' or ends in ".cvn" (any letter case) is a project path;
  // a language or a link preset never does.
  static bool IsProjectPath(const std::string& argument);
  static std::string VersionText();
  static std::string HelpText();
};

}  // namespace corvane
