// A separate check of equation systems for the benchmark's generated
// instances, sharing no code with the library: every assignment of the
// first half of the variables is listed with its row sums, one residue
// class of the first row's sum at a time (to bound memory), sorted, and
// every assignment of the second half looks up the sums it needs. Every row
// of ZOIntIn.dat is then checked on each match.
//
// usage: zoint_market_split_check ZOIntIn.dat
// prints: the least objective (9223372036854775807: none), the number of
// assignments meeting every row, and the lexicographically smallest
// optimal assignment (x_0 first).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int64_t kNoSolution = INT64_MAX;
constexpr int64_t kClasses = 16;

struct Data {
  int n = 0;
  int m = 0;
  std::vector<int64_t> c;
  std::vector<std::vector<int64_t>> rows;  // n coefficients, then b
};

std::vector<int64_t> Numbers(const std::string& line) {
  std::vector<int64_t> values;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) {
    if (!field.empty() && field != "\r") values.push_back(std::stoll(field));
  }
  return values;
}

bool Read(const char* path, Data& data) {
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line)) return false;
  const std::vector<int64_t> head = Numbers(line);
  data.n = static_cast<int>(head[0]);
  data.m = static_cast<int>(head[1]);
  std::getline(in, line);
  data.c = Numbers(line);
  for (int j = 0; j < data.m; ++j) {
    std::getline(in, line);
    data.rows.push_back(Numbers(line));
  }
  return static_cast<int>(data.c.size()) == data.n;
}

// Rows in opposite pairs give an equation: the first row of each pair.
std::vector<int> Equations(const Data& data) {
  std::vector<int> equations;
  std::vector<bool> used(data.m, false);
  for (int j = 0; j < data.m; ++j) {
    for (int l = j + 1; l < data.m && !used[j]; ++l) {
      bool opposite = !used[l];
      for (int i = 0; i <= data.n && opposite; ++i) opposite = data.rows[j][i] == -data.rows[l][i];
      if (opposite) {
        used[j] = used[l] = true;
        equations.push_back(j);
      }
    }
  }
  return equations;
}

int64_t Mod(int64_t v) { return ((v % kClasses) + kClasses) % kClasses; }

// Calls visit(mask, sums) for every assignment of variables first … first +
// count − 1 in Gray code order, the row sums of the equations kept up to
// date by one column a step.
template <typename Visit>
void EachAssignment(const Data& data, const std::vector<int>& eq, int first, int count, Visit visit) {
  std::vector<int64_t> sums(eq.size(), 0);
  uint64_t mask = 0;
  visit(mask, sums.data());
  for (uint64_t step = 1; step < (uint64_t{1} << count); ++step) {
    int flip = 0;
    while (((step >> flip) & 1) == 0) ++flip;
    mask ^= uint64_t{1} << flip;
    const int64_t sign = (mask >> flip) & 1 ? 1 : -1;
    for (size_t e = 0; e < eq.size(); ++e) sums[e] += sign * data.rows[eq[e]][first + flip];
    visit(mask, sums.data());
  }
}

}  // namespace

int main(int argc, char** argv) {
  Data data;
  if (argc != 2 || !Read(argv[1], data)) {
    std::fprintf(stderr, "usage: zoint_market_split_check ZOIntIn.dat\n");
    return 2;
  }
  const std::vector<int> eq = Equations(data);
  if (eq.empty() || data.n > 60) {
    std::fprintf(stderr, "no equation, or more than 60 variables\n");
    return 2;
  }
  const int n = data.n;
  const int h = n / 2;
  const size_t k = eq.size();
  int64_t bestValue = kNoSolution;
  std::vector<int> bestX;
  uint64_t meeting = 0;
  for (int64_t cls = 0; cls < kClasses; ++cls) {
    std::vector<int64_t> leftSums;
    std::vector<uint64_t> leftMasks;
    EachAssignment(data, eq, 0, h, [&](uint64_t mask, const int64_t* sums) {
      if (Mod(sums[0]) != cls) return;
      leftSums.insert(leftSums.end(), sums, sums + k);
      leftMasks.push_back(mask);
    });
    std::vector<uint32_t> order(leftMasks.size());
    for (uint32_t t = 0; t < order.size(); ++t) order[t] = t;
    auto less = [&](const int64_t* a, const int64_t* b) {
      return std::lexicographical_compare(a, a + k, b, b + k);
    };
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return less(&leftSums[a * k], &leftSums[b * k]); });
    std::vector<int64_t> need(k);
    EachAssignment(data, eq, h, n - h, [&](uint64_t mask, const int64_t* sums) {
      for (size_t e = 0; e < k; ++e) need[e] = data.rows[eq[e]][n] - sums[e];
      if (Mod(need[0]) != cls) return;
      auto at = std::lower_bound(order.begin(), order.end(), 0u,
                                 [&](uint32_t a, uint32_t) { return less(&leftSums[a * k], need.data()); });
      for (; at != order.end() && std::equal(need.begin(), need.end(), &leftSums[*at * k]); ++at) {
        std::vector<int> x(n);
        for (int i = 0; i < h; ++i) x[i] = (leftMasks[*at] >> i) & 1;
        for (int i = h; i < n; ++i) x[i] = (mask >> (i - h)) & 1;
        bool meets = true;
        for (int j = 0; j < data.m && meets; ++j) {
          int64_t lhs = 0;
          for (int i = 0; i < n; ++i) lhs += data.rows[j][i] * x[i];
          meets = lhs <= data.rows[j][n];
        }
        if (!meets) continue;
        ++meeting;
        int64_t value = 0;
        for (int i = 0; i < n; ++i) value += data.c[i] * x[i];
        if (value < bestValue || (value == bestValue && x < bestX)) {
          bestValue = value;
          bestX = x;
        }
      }
    });
  }
  std::string x;
  for (int i = 0; i < n; ++i) x += (bestX.empty() ? '0' : static_cast<char>('0' + bestX[i]));
  std::printf("%lld %llu %s\n", static_cast<long long>(bestValue), static_cast<unsigned long long>(meeting),
              x.c_str());
  return 0;
}
