#pragma once
// The match engine. A match is a fixed run of attack ticks alternating
// between the two sides, home first; each successful tick is one goal
// point and six points make a goal. The manager's own match stops once at
// half time for his substitutions. The league match ends by booking the
// table, the cup match by qualifying its winner.

#include <array>
#include <stdexcept>
#include <string>

namespace gv {

// ---------------------------------------------------------------- match state
// Overwritten by every match; the round reads it right after each call.

extern int Pontos_Golo_Casa;
extern int Pontos_Golo_Fora;
// Average strength and number of players of each line, home side first.
extern double Media_GK_Casa, N_GK_Casa, Media_DF_Casa, N_DF_Casa;
extern double Media_MD_Casa, N_MD_Casa, Media_AV_Casa, N_AV_Casa;
extern double Media_GK_Fora, N_GK_Fora, Media_DF_Fora, N_DF_Fora;
extern double Media_MD_Fora, N_MD_Fora, Media_AV_Fora, N_AV_Fora;
// Attack ticks each side played in the last match.
extern int Ataques_Casa;
extern int Ataques_Fora;

// Goals shown for a number of goal points: 5 points are 0 goals, 6 are 1.
constexpr int Golos_De_Pontos(int pontos) { return pontos / 6; }
inline int Golos_Casa() { return Golos_De_Pontos(Pontos_Golo_Casa); }
inline int Golos_Fora() { return Golos_De_Pontos(Pontos_Golo_Fora); }

// A round that cannot go on (a cup tie that will not be decided).
struct Erro_Ronda : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A computer club's formation: defenders, midfielders, forwards (plus the
// goalkeeper). Tried in order until eleven are picked; the last stays.
struct Formacao_Computador {
    int defesas, medios, avancados;
};
inline constexpr std::array<Formacao_Computador, 5> Formacoes_Computador_Casa{
    {{4, 3, 3}, {5, 3, 2}, {5, 2, 3}, {4, 4, 2}, {3, 4, 3}}};
inline constexpr std::array<Formacao_Computador, 5> Formacoes_Computador_Fora{
    {{5, 3, 2}, {4, 3, 3}, {5, 2, 3}, {4, 4, 2}, {3, 4, 3}}};

// A level cup tie is played on in blocks of ten ticks; past this many
// blocks the round gives up with Erro_Ronda instead of running for ever.
constexpr int MAX_BLOCOS_PROLONGAMENTO = 1000;

// ---------------------------------------------------------------- line-ups

// Picks a club's starters (joga 1), strongest first in each line: one
// goalkeeper and the given numbers of the other lines; everyone else not
// injured goes to 0. A short line gives what it has. Errors are skipped.
void Escolher_Equipa(const std::string& clube, int defesas, int medios, int avancados);
// The same, for a club of the league only (a cup entrant from outside has no players).
void Escolher_Equipa_Taca(const std::string& clube, int defesas, int medios, int avancados);
// Tries the formations in order until the club has eleven starters.
void Escolher_Equipa_Computador(const std::string& clube, const std::array<Formacao_Computador, 5>& formacoes,
                                bool taca);

// ---------------------------------------------------------------- strengths

// Average forca of a club's line ("gk", "df", "md", "av"): the manager's
// starters, every player of a computer club; 0 for an empty line.
double Media_Forca(const std::string& clube, const std::string& pos);
double Media_Forca_Taca(const std::string& clube, const std::string& pos);   // 10 outside the league
// Starters of a club in a line.
double Numero_Jogadores_Posicao(const std::string& clube, const std::string& pos);
double Numero_Jogadores_Posicao_Taca(const std::string& clube, const std::string& pos);  // 1-4-4-2 outside

// Fill the sixteen line values for a match.
void Calcular_Forcas_Equipas(const std::string& casa, const std::string& fora);
void Calcular_Forcas_Equipas_Taca(const std::string& casa, const std::string& fora);

// ---------------------------------------------------------------- the match

// One attack tick of each side.
void Ataque_Casa();
void Ataque_Fora();

// A league match: 93 ticks (92 in the manager's match, which stops at half
// time), then the table is booked.
void Simular_Jogo(const std::string& casa, const std::string& fora);
// A cup match: as the league one, played on while level, then the winner
// is qualified for the next draw.
void Simular_Jogo_Taca(const std::string& casa, const std::string& fora);

} // namespace gv
