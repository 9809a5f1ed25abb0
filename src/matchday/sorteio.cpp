#include "matchday/sorteio.h"

#include <memory>
#include <utility>

#include "platform/aleatorio.h"

namespace gv {

namespace {
std::function<double()>& fonte() {
    static std::function<double()> f;
    return f;
}
} // namespace

double Sorteio() {
    auto& f = fonte();
    return f ? f() : Rnd();
}

Sorteios_Fixados::Sorteios_Fixados(std::function<double()> f) : anterior_(std::move(fonte())) {
    fonte() = std::move(f);
}

Sorteios_Fixados::Sorteios_Fixados(std::vector<double> valores) : anterior_(std::move(fonte())) {
    auto fila = std::make_shared<std::vector<double>>(std::move(valores));
    auto i = std::make_shared<std::size_t>(0);
    fonte() = [fila, i]() { return *i < fila->size() ? (*fila)[(*i)++] : Rnd(); };
}

Sorteios_Fixados::~Sorteios_Fixados() { fonte() = std::move(anterior_); }

} // namespace gv
