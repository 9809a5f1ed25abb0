// Cell values, and their binding to statements and reading from rows.

#include "platform/db/database.h"
#include "platform/db/interno.h"

#include <sqlite3.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace gv::db {

// ---------------------------------------------------------------- Valor

long long Valor::inteiro() const {
    switch (tipo_) {
    case Tipo::Nulo: return 0;
    case Tipo::Inteiro: return i_;
    case Tipo::Real: return static_cast<long long>(std::nearbyint(r_));  // halves to even
    case Tipo::Texto: return static_cast<long long>(std::nearbyint(std::strtod(s_.c_str(), nullptr)));
    }
    return 0;
}

int Valor::int32() const {
    long long v = inteiro();
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

double Valor::real() const {
    switch (tipo_) {
    case Tipo::Nulo: return 0;
    case Tipo::Inteiro: return static_cast<double>(i_);
    case Tipo::Real: return r_;
    case Tipo::Texto: return std::strtod(s_.c_str(), nullptr);
    }
    return 0;
}

std::string Valor::texto() const {
    switch (tipo_) {
    case Tipo::Nulo: return {};
    case Tipo::Inteiro: return std::to_string(i_);
    case Tipo::Real: {
        if (r_ == std::floor(r_) && std::fabs(r_) < 1e15) return std::to_string(static_cast<long long>(r_));
        char b[64];
        std::snprintf(b, sizeof b, "%.15g", r_);
        return b;
    }
    case Tipo::Texto: return s_;
    }
    return {};
}

bool Valor::operator==(const Valor& o) const {
    if (tipo_ != o.tipo_) {
        if ((tipo_ == Tipo::Inteiro || tipo_ == Tipo::Real) && (o.tipo_ == Tipo::Inteiro || o.tipo_ == Tipo::Real))
            return real() == o.real();
        return false;
    }
    switch (tipo_) {
    case Tipo::Nulo: return true;
    case Tipo::Inteiro: return i_ == o.i_;
    case Tipo::Real: return r_ == o.r_;
    case Tipo::Texto: return s_ == o.s_;
    }
    return false;
}

std::string senha_da_ligacao(const std::string& ligacao) {
    std::string baixa;
    for (char c : ligacao) baixa += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto p = baixa.find("pwd=");
    if (p == std::string::npos) return {};
    auto fim = ligacao.find(';', p + 4);
    return ligacao.substr(p + 4, fim == std::string::npos ? std::string::npos : fim - (p + 4));
}

void ligar_valores(sqlite3_stmt* st, const Parametros& p, Database& d) {
    int n = sqlite3_bind_parameter_count(st);
    if (n != static_cast<int>(p.size()))
        throw Erro_BD(SQLITE_RANGE, "A instrução pede " + std::to_string(n) + " valores e recebeu " +
                                        std::to_string(p.size()) + ": " + sqlite3_sql(st));
    for (int i = 0; i < n; ++i) {
        const Valor& v = p[i];
        int rc = SQLITE_OK;
        switch (v.tipo()) {
        case Valor::Tipo::Nulo: rc = sqlite3_bind_null(st, i + 1); break;
        case Valor::Tipo::Inteiro: rc = sqlite3_bind_int64(st, i + 1, v.inteiro()); break;
        case Valor::Tipo::Real: rc = sqlite3_bind_double(st, i + 1, v.real()); break;
        case Valor::Tipo::Texto: {
            const std::string s = v.texto();
            rc = sqlite3_bind_text(st, i + 1, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK) d.falhar(rc);
    }
}

Valor ler_coluna(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return Valor(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Valor(sqlite3_column_double(st, i));
    case SQLITE_NULL: return Valor();
    default: {
        auto t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return Valor(std::string(t ? t : "", sqlite3_column_bytes(st, i)));
    }
    }
}

} // namespace gv::db
