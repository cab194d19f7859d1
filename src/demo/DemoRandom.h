#pragma once
// The demo store's random numbers. std::mt19937 itself is fully specified by
// the standard, but the std distributions are not, so every distribution the
// demo needs is built here from the raw 32-bit outputs: the same seed then
// gives the same store with any standard library.
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace furlong::demo {

class Rng {
 public:
  explicit Rng(std::uint32_t seed) : gen_(seed) {}

  std::uint32_t Next() { return static_cast<std::uint32_t>(gen_()); }

  // Uniform in [0, 1).
  double Uniform() { return Next() / 4294967296.0; }

  // Uniform integer in [lo, hi] (lo <= hi).
  int Int(int lo, int hi) {
    std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
    return lo + static_cast<int>((static_cast<std::uint64_t>(Next()) * span) >> 32);
  }

  bool Chance(double p) { return Uniform() < p; }

  // Approximately standard normal: the Irwin-Hall sum of twelve uniforms.
  // Needs no transcendental functions, so it is exact across platforms.
  double Normal() {
    double s = 0;
    for (int i = 0; i < 12; ++i) s += Uniform();
    return s - 6.0;
  }
  double Normal(double mean, double sd) { return mean + sd * Normal(); }

  // Index drawn with the given non-negative weights (not all zero).
  std::size_t Weighted(const std::vector<double>& weights) {
    double total = 0;
    for (double w : weights) total += w;
    double x = Uniform() * total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (x < weights[i]) return i;
      x -= weights[i];
    }
    return weights.size() - 1;
  }

  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Int(0, static_cast<int>(items.size()) - 1))];
  }

  // Fisher-Yates with this generator.
  template <class T>
  void Shuffle(std::vector<T>& items) {
    for (std::size_t i = items.size(); i > 1; --i) {
      std::size_t j = static_cast<std::size_t>(Int(0, static_cast<int>(i) - 1));
      std::swap(items[i - 1], items[j]);
    }
  }

 private:
  std::mt19937 gen_;
};

}  // namespace furlong::demo
