#pragma once
// Every draw of the matchday engine, of the computer clubs' offers and of
// their purchases goes through Sorteio(): in play it is the game's one
// random source, gv::Rnd(). A test may put a fixed source in its place for
// one scope, to land a draw exactly on a threshold.

#include <functional>
#include <vector>

namespace gv {

double Sorteio();

class Sorteios_Fixados {
public:
    // Every draw comes from fonte.
    explicit Sorteios_Fixados(std::function<double()> fonte);
    // The given values first, in order, then gv::Rnd() again.
    explicit Sorteios_Fixados(std::vector<double> valores);
    ~Sorteios_Fixados();
    Sorteios_Fixados(const Sorteios_Fixados&) = delete;
    Sorteios_Fixados& operator=(const Sorteios_Fixados&) = delete;

private:
    std::function<double()> anterior_;
};

} // namespace gv
