#pragma once
// What the market's screens and deals share: the spending floor, reading
// the leading number of a typed text, and running a deal in one
// transaction.

#include <string>

#include "desk/negocios.h"

namespace gv {

// A purchase, loan fee, stadium purchase or camp may leave the cash balance
// this low and no lower.
inline constexpr long Limite_Saldo = -1000000;

// The leading number of a text, as typed in a box ("12abc" gives 12,
// "" and "abc" give 0). Blanks before the number are passed over.
double Val(const std::string& texto);

// Runs `f` in one transaction: a database error undoes all of it, is
// reported with a clear message and gives Falhou.
template <class F>
Resultado_Negocio Numa_Transaccao(F f);

// Reports a deal that could not be written, with its cause.
void Negocio_Falhou(const std::exception& e);
void Negocio_Falhou(const std::string& causa);

} // namespace gv

#include "data/estado.h"

namespace gv {

template <class F>
Resultado_Negocio Numa_Transaccao(F f) {
    try {
        db::Transaccao t(base_aberta());
        f();
        t.commit();
        return Resultado_Negocio::Feito;
    } catch (const db::Falha_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
}

} // namespace gv
