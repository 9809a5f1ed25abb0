#pragma once
// The manager's run counters and contract, kept in the one row of principal.

#include <string>

namespace gv {

int Ler_V_E_D(const std::string& campo);     // "v", "e" or "d"; 0 for anything else
int Ler_GC_PC(const std::string& campo);     // "gc" or "pc"; 0 for anything else
void Zerar_V_E_D_GC_PC();
// After a league match of the manager's club: goals scored and conceded.
void Registar_Resultado_V_E_D_GC_PC(int golos_marcados, int golos_sofridos);
int Ler_T_Contrato();

} // namespace gv
