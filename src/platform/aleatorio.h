#pragma once
// The game's one source of chance: a uniform draw in [0, 1), seeded once.
// The old program reseeded from the clock at the start of every drawing
// procedure; inside a tight loop that repeats the same draw, so Randomize()
// is kept as a marker and does nothing.

#include <cstdint>

namespace gv {

double Rnd();                       // uniform in [0, 1), 24-bit resolution
void Randomize();                   // reseed point of the old program: no-op
void semear_aleatorio(std::uint32_t semente);  // tests fix the seed here
void semear_aleatorio_relogio();    // start-up: seed once from the clock
int Int(double x);                  // largest whole number not above x
// Draws made since the source was last seeded, and a jump over n draws: a
// test that copies a prepared game brings the source to where the game's
// making left it.
std::uint64_t sorteios_feitos();
void saltar_sorteios(std::uint64_t n);

} // namespace gv
