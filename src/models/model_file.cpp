#include "models/model_file.h"

#include "models/coin_reader.h"
#include "models/model_text.h"
#include "models/opb_reader.h"
#include "models/text_scan.h"

namespace zoint {

namespace {

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

bool FormatOfPath(const std::string& path, ModelFormat& format, bool& compressed) {
  std::string name = Lowercase(path);
  compressed = EndsWith(name, ".gz");
  if (compressed) name.resize(name.size() - 3);
  if (EndsWith(name, ".lp")) {
    format = ModelFormat::Lp;
  } else if (EndsWith(name, ".mps")) {
    format = ModelFormat::Mps;
  } else if (EndsWith(name, ".opb")) {
    format = ModelFormat::Opb;
  } else {
    return false;
  }
  return true;
}

namespace {

ReadOutcome Read(const std::string& path, RawModel& model, ModelError& error,
                 const volatile int32_t* cancel) {
  ModelFormat format = ModelFormat::Opb;
  bool compressed = false;
  if (!FormatOfPath(path, format, compressed)) {
    error = {0, "not a model file name: it must end in .lp, .mps or .opb, or those with .gz"};
    return ReadOutcome::Rejected;
  }
  std::string text;
  std::string reason;
  if (!LoadModelText(path, compressed, text, reason)) {
    error = {0, reason};
    return ReadOutcome::Rejected;
  }
  if (format == ModelFormat::Opb) {
    return ReadOpb(text, model, error) ? ReadOutcome::Read : ReadOutcome::Rejected;
  }
  return ReadCoinModel(format == ModelFormat::Lp, text, model, error, cancel);
}

}  // namespace

ReadOutcome ReadModelFile(const std::string& path, RawModel& model, ModelError& error,
                          const volatile int32_t* cancel) {
  const ReadOutcome outcome = Read(path, model, error, cancel);
  // Names in a reason are the file's bytes, which need not be UTF-8.
  if (outcome == ReadOutcome::Rejected) error.reason = Printable(error.reason, error.reason.size());
  return outcome;
}

}  // namespace zoint
