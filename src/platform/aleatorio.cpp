#include "platform/aleatorio.h"

#include <chrono>
#include <cmath>
#include <random>

namespace gv {

namespace {
std::mt19937& gerador() {
    static std::mt19937 g(5489u);
    return g;
}
} // namespace

double Rnd() {
    // 24 bits, like the single-precision draws of the old runtime; never 1.
    return static_cast<double>(gerador()() >> 8) / 16777216.0;
}

void Randomize() {}

void semear_aleatorio(std::uint32_t semente) { gerador().seed(semente); }

void semear_aleatorio_relogio() {
    auto agora = std::chrono::steady_clock::now().time_since_epoch().count();
    std::random_device rd;
    std::seed_seq seq{static_cast<std::uint32_t>(agora), static_cast<std::uint32_t>(agora >> 32), rd()};
    gerador().seed(seq);
}

int Int(double x) { return static_cast<int>(std::floor(x)); }

} // namespace gv
