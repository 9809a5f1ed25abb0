#pragma once
// The manager's deals for one player of the squad grid: selling, lending,
// renewing a contract and buying the player his club has on loan. Each
// deal is all or nothing.

namespace gv {

enum class Resultado_Negocio {
    Feito,       // the deal went through
    Recusado,    // the rules refuse it (message shown)
    Desistiu,    // the manager said No
    Falhou,      // a database error: nothing changed (message shown)
};

Resultado_Negocio Vender_Jogador(long long rowid);
Resultado_Negocio Emprestar_Jogador(long long rowid);
// The new wage as asked (before it is stored rounded) goes to ordenado_novo.
Resultado_Negocio Renovar_Contrato(long long rowid, double* ordenado_novo = nullptr);
Resultado_Negocio Comprar_Jogador_Emprestado(long long rowid);

// The renewal terms the player asks for: the new wage (a floor of 1.5 % of
// his value) and the seasons, and the cost of renewing.
struct Termos_Renovacao {
    double ordenado = 0;
    int epocas = 0;
    long custo = 0;
};
Termos_Renovacao Termos_De_Renovacao(int idade, double ordenado, double preco);

} // namespace gv
