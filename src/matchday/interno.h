#pragma once
// Shared by the matchday sources only.

#include <string>

#include "data/estado.h"

namespace gv::jornada_interno {

inline db::Database& base() { return base_aberta(); }

// A club of the three divisions (a cup entrant from outside has no row).
inline bool clube_da_liga(const std::string& clube) {
    return !base().valor("SELECT 1 FROM clubes WHERE clube = ? LIMIT 1", {clube}).nulo();
}

inline bool e_do_treinador(const std::string& clube) { return clube == Clube_Treinador; }

} // namespace gv::jornada_interno
