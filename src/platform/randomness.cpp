// Uniform random numbers from one fixed-seed Mersenne Twister.
#include "platform/randomness.hpp"

#include <algorithm>
#include <random>

namespace {

std::mt19937& Generator() {
    static std::mt19937 generator;  // default seed: the same sequence every run
    return generator;
}

}  // namespace

double RandomFloat(double a, double b) {
    double lo = std::min(a, b), hi = std::max(a, b);
    // 53 random bits give a value in [0, 1) independent of the library's
    // distribution code.
    auto& g = Generator();
    unsigned long long high = g() >> 5, low = g() >> 6;
    double unit = static_cast<double>((high << 26) | low) / 9007199254740992.0;
    double value = lo + (hi - lo) * unit;
    return value < hi ? value : lo;  // rounding must not reach hi
}

int RandomInt(int lo, int hi) {
    if (lo > hi) std::swap(lo, hi);
    return std::uniform_int_distribution<int>(lo, hi)(Generator());
}
