#include "models/coin_data.h"

#include <cstring>
#include <type_traits>

namespace zoint {

namespace {

// Both ends are the same program on the same machine, so numbers travel as
// their bytes.
template <typename T>
void Put(std::string& out, const T& value) {
  static_assert(std::is_trivially_copyable<T>::value, "plain values only");
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void Put(std::string& out, const std::string& text) {
  Put(out, static_cast<uint64_t>(text.size()));
  out += text;
}

template <typename T>
void Put(std::string& out, const std::vector<T>& values) {
  Put(out, static_cast<uint64_t>(values.size()));
  for (const T& value : values) Put(out, value);
}

class Input {
 public:
  explicit Input(const std::string& bytes) : bytes_(bytes) {}

  bool Finished() const { return ok_ && at_ == bytes_.size(); }

  template <typename T>
  void Get(T& value) {
    if (!Take(sizeof value)) return;
    std::memcpy(&value, bytes_.data() + at_ - sizeof value, sizeof value);
  }

  void Get(std::string& text) {
    uint64_t size = 0;
    Get(size);
    if (!Take(size)) return;
    text.assign(bytes_, at_ - size, size);
  }

  template <typename T>
  void Get(std::vector<T>& values) {
    uint64_t size = 0;
    Get(size);
    // Each element takes at least one byte: a corrupt size fails here
    // instead of allocating.
    if (!ok_ || size > bytes_.size() - at_) {
      ok_ = false;
      return;
    }
    values.resize(size);
    for (T& value : values) Get(value);
  }

 private:
  const std::string& bytes_;
  size_t at_ = 0;
  bool ok_ = true;

  bool Take(uint64_t size) {
    if (!ok_ || size > bytes_.size() - at_) {
      ok_ = false;
      return false;
    }
    at_ += size;
    return true;
  }
};

}  // namespace

std::string Serialized(const CoinData& data) {
  std::string out;
  Put(out, data.failure);
  Put(out, data.failureName);
  Put(out, data.failureIsColumn);
  Put(out, data.columnNames);
  Put(out, data.costs);
  Put(out, data.columnLower);
  Put(out, data.columnUpper);
  Put(out, data.integer);
  Put(out, data.rowNames);
  Put(out, data.rowLower);
  Put(out, data.rowUpper);
  Put(out, data.rowStart);
  Put(out, data.entryColumn);
  Put(out, data.entryValue);
  Put(out, data.objectiveOffset);
  Put(out, data.wasMaximization);
  Put(out, data.setCount);
  Put(out, data.warnings);
  return out;
}

bool Deserialize(const std::string& bytes, CoinData& data) {
  Input in(bytes);
  in.Get(data.failure);
  in.Get(data.failureName);
  in.Get(data.failureIsColumn);
  in.Get(data.columnNames);
  in.Get(data.costs);
  in.Get(data.columnLower);
  in.Get(data.columnUpper);
  in.Get(data.integer);
  in.Get(data.rowNames);
  in.Get(data.rowLower);
  in.Get(data.rowUpper);
  in.Get(data.rowStart);
  in.Get(data.entryColumn);
  in.Get(data.entryValue);
  in.Get(data.objectiveOffset);
  in.Get(data.wasMaximization);
  in.Get(data.setCount);
  in.Get(data.warnings);
  return in.Finished();
}

bool SameModel(const CoinData& a, const CoinData& b) {
  CoinData first = a;
  CoinData second = b;
  first.warnings.clear();
  second.warnings.clear();
  return Serialized(first) == Serialized(second);
}

}  // namespace zoint
