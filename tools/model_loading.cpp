#include "model_loading.h"

#include <cinttypes>
#include <cstdio>

#include "models/model_file.h"

namespace zoint_cli {

namespace {

void Report(const char* path, const zoint::ModelError& error) {
  if (error.line > 0) {
    std::fprintf(stderr, "%s:%" PRId64 ": %s\n", path, error.line, error.reason.c_str());
  } else {
    std::fprintf(stderr, "%s: %s\n", path, error.reason.c_str());
  }
}

}  // namespace

Loading LoadModel(const char* path, zoint::MappedModel& mapped, const volatile int32_t* cancel) {
  zoint::RawModel model;
  zoint::ModelError error{0, ""};
  switch (zoint::ReadModelFile(path, model, error, cancel)) {
    case zoint::ReadOutcome::Read:
      break;
    case zoint::ReadOutcome::Rejected:
      Report(path, error);
      return Loading::Rejected;
    case zoint::ReadOutcome::Stopped:
      return Loading::Stopped;
  }
  if (!zoint::MapModel(model, mapped, error)) {
    Report(path, error);
    return Loading::Rejected;
  }
  return Loading::Loaded;
}

}  // namespace zoint_cli
