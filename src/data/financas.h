#pragma once
// The manager's money: ledger postings, balances, wages, the bank
// instalment, and the figures of the desk's finance panel.

#include <functional>
#include <string>

namespace gv {

// Posts `valor` under a ledger code (Tipos_Movimento: "-", "+", "E-", "E+",
// "V-", "V+", "O-", "S+"); any other code posts nothing. Returns the balance.
long Movimento_Financeiro(const std::string& tipo, long valor);
long Ler_Saldo();
long Ler_Divida();
// Wages of every player now at the manager's club (0 for a club without players).
long Total_Ordenados();
// After every league round: pays the wages on every fourth one.
void Pagar_Ordenados();
// Before every matchday, once per desk visit: the bank instalment, and a
// forced sale of stadium seats when the club is deep in debt. All or
// nothing: an error rolls it back and is reported.
void Pagar_Prestacao_Emprestimo();

// The finance panel as the desk shows it.
struct Painel_Financas {
    bool tem_principal = false;   // the money figures below were read
    long d_out = 0, d_in = 0, liquido = 0, ordenados = 0, divida = 0, mensal = 0, saldo = 0;
    long emp_out = 0, emp_in = 0, venda_out = 0, venda_in = 0, d_ord = 0, estadio = 0;
    std::string jogadores;   // "Nº Jogadores: 22 + 3 = 25"
    std::string valores;     // "Valor Jogadores: 1,000 + 0 = 1,000"
};
Painel_Financas Calcular_Painel_Financas();
// Refreshes the desk's finance panel when the desk has registered one.
void Actualizar_Financas();
void registar_painel_financas(std::function<void()> actualizar);   // empty: none

} // namespace gv
