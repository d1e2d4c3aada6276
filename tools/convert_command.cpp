// zoint convert MODEL DIR: writes DIR/ZOIntIn.dat from the model's mapping,
// and DIR/names.txt, so that a host can solve the model through the DLL.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#ifdef _WIN32
#include <direct.h>
#endif

#include "cli.h"
#include "model_loading.h"
#include "models/model_file.h"
#include "same_file.h"

namespace zoint_cli {

namespace {

bool MakeDirectory(const std::string& path) {
#ifdef _WIN32
  const int made = _mkdir(path.c_str());
#else
  const int made = mkdir(path.c_str(), 0777);
#endif
  return made == 0 || errno == EEXIST;
}

// The problem in the exchange file's own layout: "n,m", the costs each
// followed by a comma, then each row's coefficients and its right-hand side.
std::string ProblemText(const zoint::Problem& problem) {
  std::string text = std::to_string(problem.n) + "," + std::to_string(problem.m) + "\n";
  for (int32_t i = 0; i < problem.n; ++i) text += std::to_string(problem.coefficients[i]) + ",";
  text += "\n";
  for (int32_t j = 0; j < problem.m; ++j) {
    for (int32_t i = 0; i < problem.n; ++i) text += std::to_string(problem.rows[j].entries[i]) + ",";
    text += std::to_string(problem.rows[j].entries[zoint::RhsColumn]) + "\n";
  }
  return text;
}

bool WriteWhole(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0) written = false;
  return written;
}

// How a value of ZOIntOut.dat maps back to the model's objective.
std::string MappingText(const zoint::MappedModel& mapped) {
  const std::string constant = zoint::DecimalText(zoint::DecimalOf(mapped.constant));
  std::string formula = "model objective = ";
  if (constant != "0")
    formula += constant + (mapped.maximise ? " - " : " + ");
  else if (mapped.maximise)
    formula += "-";
  formula += "(value on line 1 of ZOIntOut.dat)";
  if (mapped.scale != 1) formula += " / " + std::to_string(mapped.scale);
  return std::string("sense: ") +
         (mapped.maximise ? "maximise (ZOIntIn.dat minimises its negation)" : "minimise") +
         "\nscale: " + std::to_string(mapped.scale) + "\nconstant: " + constant + "\n" + formula +
         "\n(9223372036854775807 on line 1: no assignment meets every row)\n" +
         (zoint::ValueCanBeNoSolutionValue(mapped.problem)
              ? "note: the costs sum to exactly 9223372036854775807, so an assignment taking every positive "
                "cost reads as none too\n"
              : "");
}

}  // namespace

int RunConvertCommand(int argc, char** argv) {
  const char* modelPath = nullptr;
  const char* dir = nullptr;
  for (int k = 1; k < argc; ++k) {
    const char* arg = argv[k];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelpText, stdout);
      return kExitSolved;
    }
    if (arg[0] == '-' && arg[1] != '\0') return UsageError("unknown option", arg);
    if (modelPath == nullptr) {
      modelPath = arg;
    } else if (dir == nullptr) {
      dir = arg;
    } else {
      return UsageError("too many arguments", arg);
    }
  }
  if (modelPath == nullptr || dir == nullptr)
    return UsageError("missing", dir == nullptr && modelPath != nullptr ? "DIR" : "MODEL DIR");
  zoint::ModelFormat format;
  bool compressed = false;
  if (!zoint::FormatOfPath(modelPath, format, compressed)) {
    return UsageError("not a model file name (.lp, .mps, .opb, or those with .gz)", modelPath);
  }

  const std::string folder = dir;
  for (const char* written : {"/ZOIntIn.dat", "/names.txt"}) {
    if (SameFile((folder + written).c_str(), modelPath)) {
      return UsageError("writing this would overwrite the model file", (folder + written).c_str());
    }
  }

  const std::unique_ptr<zoint::MappedModel> mapped(new zoint::MappedModel());
  if (LoadModel(modelPath, *mapped, nullptr) != Loading::Loaded) return kExitBadInput;

  if (!MakeDirectory(folder)) {
    std::fprintf(stderr, "zoint: %s: cannot make the directory: %s\n", dir, std::strerror(errno));
    return kExitBadInput;
  }
  std::string names;
  for (const std::string& name : mapped->names) names += name + "\n";
  for (const auto& file : {std::make_pair(folder + "/ZOIntIn.dat", ProblemText(mapped->problem)),
                           std::make_pair(folder + "/names.txt", names)}) {
    if (!WriteWhole(file.first, file.second)) {
      std::fprintf(stderr, "zoint: %s: cannot write: %s\n", file.first.c_str(), std::strerror(errno));
      return kExitBadInput;
    }
  }
  std::printf("wrote %s/ZOIntIn.dat (n = %d, m = %d) and %s/names.txt\n%s", dir, mapped->problem.n,
              mapped->problem.m, dir, MappingText(*mapped).c_str());
  return kExitSolved;
}

}  // namespace zoint_cli
