#pragma once
// What the manager's desk shows, worked out from the game database: the
// next-match panel, the cup tie, the league trend, the run captions, the
// coach-performance gauge and the contract warning. The desk screen only
// displays these.

#include <string>

namespace gv {

// The manager's cup opponent in the round to be played ("0": no tie), and
// where ("CASA" home, "FORA" away, "0" no tie).
std::string Equipa_Taca();
std::string Local_Taca();

// True when the cup round due on this matchday is the one to be played.
bool Dia_De_Taca();

struct Proximo_Jogo {
    std::string clube;          // Label3: the club in capitals and its place
    std::string jogo;           // Label2: the next-match line
    bool mostra_preco = false;  // Label18/Label19 shown
    int preco_milesimas = 0;    // the price as shown, in thousandths (4.5 -> 4500)
    int preco_bilhete = 0;      // the whole-number price the match takes
    std::string titulo_taca;    // window caption on a cup day, else empty
};
// Fills the panel and sets Adversario and Jogo_Em_Casa.
Proximo_Jogo Actualizar_Equipas_Jogo();
// "4.500": the price with three decimals, '.' as the decimal symbol.
std::string formatar_preco_bilhete(int milesimas);

// -1 the club fell in the table over the last round, +1 it climbed, 0 neither.
int Evolucao_Jor();

// Run captions: empty texts leave the labels as they are.
struct Sequencias {
    std::string vitorias_empates_derrotas;   // Label32
    std::string sem_perder_ganhar;           // Label42
};
Sequencias Act_V_E_D_GC_PC();

// Coach performance clamped to 0..40, its gauge fraction and caption.
struct Desempenho {
    int valor = 0;
    float fraccao = 0;
    std::string texto;          // "Desempenho Treinador: 52.5%"
};
Desempenho Desempenho_Treinador();

// "ATENÇÃO. Existem 3 jogador(es) em fim de contrato." from matchday 32 on,
// when players are in their last contract season; empty otherwise.
std::string Aviso_Contratos();

// The desk's window caption and status labels.
std::string Titulo_Secretaria();
std::string Texto_Modo_Jogo();       // Label34
std::string Texto_Divisao();         // Label35
std::string Texto_Contrato();        // Label41

} // namespace gv
