#pragma once
// Shared by the matchday sources only.

#include <string>

#include "data/clubes.h"
#include "data/estado.h"
#include "matchday/memoria_ronda.h"

namespace gv::jornada_interno {

inline db::Database& base() { return base_aberta(); }

// A club of the three divisions (a cup entrant from outside has no row),
// its division and its stadium: from the round's memory while a round plays.
inline bool clube_da_liga(const std::string& clube) {
    if (auto* m = memoria_ronda()) return m->clube(clube).has_value();
    return !base().valor("SELECT 1 FROM clubes WHERE clube = ? LIMIT 1", {clube}).nulo();
}
inline int divisao(const std::string& clube) {
    if (auto* m = memoria_ronda()) return m->clube(clube).value_or(Memoria_Ronda::Dados_Clube{}).div;
    return Divisao_Clube(clube);
}
inline int capacidade(const std::string& clube) {
    if (auto* m = memoria_ronda()) return m->clube(clube).value_or(Memoria_Ronda::Dados_Clube{}).capacidade;
    return Capacidade_Estadio(clube);
}

inline bool e_do_treinador(const std::string& clube) { return clube == Clube_Treinador; }

} // namespace gv::jornada_interno
