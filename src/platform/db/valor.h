#pragma once
// A cell value of the game database, and the values bound to a statement.

#include <cstddef>
#include <string>
#include <vector>

namespace gv::db {

// A cell value: Null, whole number, real number or text.
class Valor {
public:
    enum class Tipo { Nulo, Inteiro, Real, Texto };
    Valor() = default;
    Valor(std::nullptr_t) {}
    Valor(int v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(long v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(long long v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(unsigned v) : tipo_(Tipo::Inteiro), i_(v) {}
    Valor(double v) : tipo_(Tipo::Real), r_(v) {}
    Valor(const char* s) : tipo_(Tipo::Texto), s_(s ? s : "") {}
    Valor(std::string s) : tipo_(Tipo::Texto), s_(std::move(s)) {}

    Tipo tipo() const { return tipo_; }
    bool nulo() const { return tipo_ == Tipo::Nulo; }
    long long inteiro() const;   // Null -> 0; real rounds half to even; text parses leading number
    int int32() const;           // as inteiro(), saturated to 32 bits
    double real() const;         // Null -> 0
    std::string texto() const;   // Null -> ""
    bool operator==(const Valor& o) const;

private:
    Tipo tipo_ = Tipo::Nulo;
    long long i_ = 0;
    double r_ = 0;
    std::string s_;
};

using Parametros = std::vector<Valor>;

} // namespace gv::db
