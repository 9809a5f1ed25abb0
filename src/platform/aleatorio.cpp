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
std::uint64_t feitos = 0;
} // namespace

double Rnd() {
    ++feitos;
    // 24 bits, like the single-precision draws of the old runtime; never 1.
    return static_cast<double>(gerador()() >> 8) / 16777216.0;
}

void Randomize() {}

void semear_aleatorio(std::uint32_t semente) {
    gerador().seed(semente);
    feitos = 0;
}

std::uint64_t sorteios_feitos() { return feitos; }

void saltar_sorteios(std::uint64_t n) {
    gerador().discard(n);
    feitos += n;
}

void semear_aleatorio_relogio() {
    auto agora = std::chrono::steady_clock::now().time_since_epoch().count();
    std::random_device rd;
    std::seed_seq seq{static_cast<std::uint32_t>(agora), static_cast<std::uint32_t>(agora >> 32), rd()};
    gerador().seed(seq);
    feitos = 0;
}

int Int(double x) { return static_cast<int>(std::floor(x)); }

} // namespace gv
