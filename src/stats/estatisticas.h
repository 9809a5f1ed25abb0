#pragma once
// What the statistics, calendar and history screens show, read from the
// open game database without a window: the rows of every grid and the
// lines of every fixed-pitch list. Everything here only reads.

#include <optional>
#include <string>
#include <vector>

namespace gv {

// ---------------------------------------------------------------- shared

// A league club as the club boxes list it: "(" div ") " clube.
struct Clube_Da_Liga {
    std::string clube;
    int div = 0;
    std::string texto() const { return "(" + std::to_string(div) + ") " + clube; }
};
// Every league club, by name.
std::vector<Clube_Da_Liga> Clubes_Da_Liga();

// `texto` followed by blanks up to `largura` characters; a longer text is
// cut to the width, so the fields after it keep their columns.
std::string campo_fixo(const std::string& texto, int largura);

// ---------------------------------------------------------------- league calendar

enum class Desfecho { Por_Jogar, Vitoria_Casa, Vitoria_Fora, Empate };

struct Jogo_Calendario {
    int jor = 0;
    std::string casa, fora;
    bool em_casa = false;            // the club shown plays at home
    int lugar_adversario = 0;        // the opponent's current place in its division
    std::optional<int> golos_casa, golos_fora;   // played matches only
    Desfecho desfecho = Desfecho::Por_Jogar;
    std::optional<int> lugar, pontos;            // the club's after this matchday

    // Column 4: "C"/"F" ("H"/"A").
    std::string letra_local() const;
    // Column 5: the result letter of the club shown; empty until played.
    std::string letra_resultado() const;
    // Columns 7 and 8: the opponent carries its place, the club shown none.
    std::string texto_casa() const;
    std::string texto_fora() const;
};

// The club's league matches in matchday order. The opponents' places are
// taken once, so one opponent shows the same place in every row.
std::vector<Jogo_Calendario> Calendario_Clube(const std::string& clube);

// ---------------------------------------------------------------- cup calendar

struct Eliminatoria {
    std::string casa, fora;
    int div_casa = 0, div_fora = 0;   // 0 outside the three divisions
    std::string texto_casa() const { return "(" + std::to_string(div_casa) + ") " + casa; }
    std::string texto_fora() const { return fora + " (" + std::to_string(div_fora) + ")"; }
};
// The ties still to be played, by home club then away club.
std::vector<Eliminatoria> Jogos_Taca();
// The cup screen's caption for n ties of round `ronda` of season `epoca`;
// empty when n is not a round's size (the screen keeps its own caption).
std::string Titulo_Calendario_Taca(int n, int ronda, int epoca);

// ---------------------------------------------------------------- gates

struct Assistencia_Jogo {
    int jornada = 0;
    std::string jogo, tipo;
    long long assistencia = 0, receita = 0;
};
// The manager's gates of the season, newest first.
std::vector<Assistencia_Jogo> Assistencias();
// The season's receipts of one competition ("Campeonato" or "Taça").
long long Receitas_Competicao(const std::string& tipo);

// ---------------------------------------------------------------- average strength

struct Media_Clube {
    std::string clube;
    double media = 0;
};
// Clubs by the average strength of their players in one position.
std::vector<Media_Clube> Medias_Posicao(const std::string& pos);
// Rank in 3 characters, club in 30, average with two decimals.
std::string Linha_Media(int k, const Media_Clube& m);

// ---------------------------------------------------------------- season scorers

struct Marcador_Da_Epoca {
    std::string nome, equipa;
    int golos = 0;
};
// The division's top 20 scorers (goals, then name), and any further scorer
// tied with the twentieth on both.
std::vector<Marcador_Da_Epoca> Melhores_Marcadores_Divisao(int div);
// Rank in 3 characters, name in 24, club in 20, goals.
std::string Linha_Marcador_Epoca(int n, const Marcador_Da_Epoca& m);
// Whether anyone has scored in the league this season.
bool Ha_Golos_Epoca();

// ---------------------------------------------------------------- all-time scorers

enum class Lista_Sempre { A_Jogar = 0, Retirados = 1, Global = 2 };
struct Marcador_Sempre {
    int rank = 0;
    std::string nome, equipa;
    int idade = 0, golos = 0;
    int ano = 0;   // season he stopped; 0 while he plays
};
// The list's top 100; with a club, only that club's scorers among them,
// each keeping his rank in the whole list.
std::vector<Marcador_Sempre> Marcadores_Sempre(Lista_Sempre lista, const std::string& clube = {});
// Rank in 4 characters, name (with season and age once stopped) in 30,
// club in 25, goals.
std::string Linha_Marcador_Sempre(const Marcador_Sempre& m);

// ---------------------------------------------------------------- transfers

struct Transferencia {
    int epoca = 0, jornada = 0;
    std::string pos, nome;
    int forca = 0;
    std::string tipo;
    long long valor = 0;
};
// The manager's club's players in ("C", "E+") or out ("V", "E-"), newest first.
std::vector<Transferencia> Transferencias_Clube(bool entradas);
struct Totais_Transferencias {
    long long gastos_epoca = 0, receitas_epoca = 0, gastos_total = 0, receitas_total = 0;
};
Totais_Transferencias Totais_Transferencias_Clube(int epoca);
// "Compra", "Empréstimo", "Venda"; empty for another code.
std::string Texto_Tipo_Transferencia(const std::string& tipo);

struct Transferencia_Clubes {
    int jornada = 0;
    std::string pos, nome;
    int forca = 0;
    std::string tipo;
    long long valor = 0;
    int idade = 0;
    // Column 2: "GK - Name (24)".
    std::string texto_nome() const;
};
enum class Ordem_Transferencias { Jornada, Preco };
// The season's transfers between clubs; with a club, those it sold or
// bought (that club exactly, not another whose name contains it).
std::vector<Transferencia_Clubes> Transferencias_Todas(const std::string& clube, Ordem_Transferencias ordem);

// ---------------------------------------------------------------- histories

// One grid line: the cells of columns 1.. and the club it belongs to.
struct Linha_Historico {
    std::string clube;
    std::vector<std::string> celulas;
};

// The manager's seasons, newest first (the longer stint of a season
// first), and the "TOTAL" line; no total line without seasons.
struct Historico_Treinador {
    std::vector<Linha_Historico> linhas;   // 15 cells
    std::optional<Linha_Historico> total;
};
Historico_Treinador Ler_Historico_Treinador();
// Every club's all-time line, best first, the rank in cell 1 (12 cells).
std::vector<Linha_Historico> Historico_Clubes();
// One club's seasons, newest first (13 cells).
std::vector<Linha_Historico> Historico_Clube_Epocas(const std::string& clube);

// The lines of the past winners screen, by list: champions of divisions
// 1-3, cup winners, top scorers of divisions 1-3, first-division titles,
// cups. All empty until a season has ended.
struct Vencedores {
    std::vector<std::string> campeoes[3];
    std::vector<std::string> taca;
    std::vector<std::string> marcadores[3];
    std::vector<std::string> titulos_div1;
    std::vector<std::string> titulos_taca;
};
Vencedores Ler_Vencedores();

} // namespace gv
