#pragma once
// A whole league matchday or cup round: every match, its result, injuries,
// attendance, scorers and gate money, then the players' week and the step
// to the next round; and the runner that plays it all inside one
// transaction, as the round screens do.

#include <optional>
#include <string>
#include <utility>

namespace gv {

// ---------------------------------------------------------------- scores

// "h - a" as stored in jogos.result and jogos_taca.resul.
std::string Texto_Resultado(int casa, int fora);
// Reads a stored score back by its " - " (a cup score can reach 10 goals).
std::optional<std::pair<int, int>> Ler_Resultado(const std::string& texto);

// ---------------------------------------------------------------- what the screen shows

// One row of a round screen's grid, filled as its match is played.
struct Linha_Jogo {
    int linha = 0;                  // 1-based grid row
    bool taca = false;
    int divisao = 0;                // league: the fixture's division (row colour)
    std::string casa, fora;         // the clubs
    int divisao_casa = 0, divisao_fora = 0;   // cup: each club's division, 0 outside
    std::string texto_casa, texto_fora;       // columns 4 and 5 as shown
    int golos_casa = 0, golos_fora = 0;       // columns 3 and 6
    int assistencia = 0;
    std::string texto_assistencia;            // column 1, "#,##0"
    std::string marcadores_casa, marcadores_fora;   // every entry, tab-separated (item lists)
    std::string ultimo_casa, ultimo_fora;           // the latest entry (shown text of 2 and 7)
    // 1 home win, 2 away win, 0 draw.
    int vencedor() const { return golos_casa > golos_fora ? 1 : golos_casa < golos_fora ? 2 : 0; }
};

class Observador_Ronda {
public:
    virtual ~Observador_Ronda() = default;
    // The round's number of matches, before the first is played.
    virtual void inicio(int /*n_jogos*/) {}
    // A match has been played; its row is complete.
    virtual void resultado(const Linha_Jogo& /*linha*/) {}
    // The round failed and was undone: whatever was shown is void.
    virtual void anulada() {}
};

// ---------------------------------------------------------------- the round's procedures

// Every fixture of the matchday in principal, division by division.
void Jogar_Jornada(Observador_Ronda* observador = nullptr);
// Every club's points and place after the matchday just played.
void Registar_Historico_Jornada();
// Next matchday; wages on every fourth.
void Avancar_Jornada();
// Every tie of the current cup draw.
void Jogar_Eliminatoria_Taca(Observador_Ronda* observador = nullptr);
// Next cup round.
void Avancar_Eliminatoria_Taca();

// ---------------------------------------------------------------- the runner

enum class Resultado_Ronda {
    Jogada,     // committed; Ronda_Jogada is 1
    Falhada,    // rolled back and reported; the same round can be played again
    Ignorada,   // a round was already being played (a re-entered timer)
};

// League: Jogar_Jornada, Actualizar_Jogadores_Jornada,
// Registar_Historico_Jornada, Avancar_Jornada, in one transaction.
Resultado_Ronda Jogar_Ronda_Campeonato(Observador_Ronda* observador = nullptr);
// Cup: Jogar_Eliminatoria_Taca, Actualizar_Jogadores_Taca,
// Avancar_Eliminatoria_Taca and the next round's draw, in one transaction;
// the cup winner is announced after the final once it is saved.
// When the next-match button left them (Ronda_Com_Preparacao), either
// round first takes the bank instalment and the scorers' tidy-up.
Resultado_Ronda Jogar_Ronda_Taca(Observador_Ronda* observador = nullptr);

} // namespace gv
