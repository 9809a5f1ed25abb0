#pragma once
// What the half-time substitution screens and the opponent's screen show
// and write, worked out without a window: the referee trio, the manager's
// starters and bench, the swap rules, writing the new line-up back by row
// identity, and the opponent's eleven as the engine picks it.

#include <string>
#include <vector>

namespace gv {

// ---------------------------------------------------------------- half time

// At most this many swaps on one half-time screen.
constexpr int MAX_SUBSTITUICOES = 3;

struct Trio_Arbitros {
    std::string ap, aux1, aux2;   // referee and his two assistants
};
// One row of arbitros, each row equally likely (one draw). Empty names
// when the table has no row.
Trio_Arbitros Sortear_Arbitros();

// One of the manager's players as the substitution lists hold him.
struct Jogador_Intervalo {
    long long rowid = 0;   // the player's identity
    std::string pos, nome;
    int forca = 0;
};

// The club's players with this joga (1 starters, 2 bench): goalkeepers,
// defenders, midfielders, forwards, strongest first within a line.
std::vector<Jogador_Intervalo> Jogadores_Intervalo(const std::string& clube, int joga);

// The list entry: the position padded to 3 characters, the name padded to
// 22, then the strength ("df Rui Sousa             71"). A longer name
// is cut to 22 characters; the entry is only shown, never read back.
std::string Texto_Entrada_Intervalo(const Jogador_Intervalo& j);

enum class Troca {
    Permitida,
    Limite,         // MAX_SUBSTITUICOES swaps made already
    Guarda_Redes,   // a goalkeeper only changes places with a goalkeeper
};
// Whether the starter in pos_titular may swap with the bench player in
// pos_suplente after n_substituicoes swaps. The limit is checked first.
Troca Verificar_Troca(int n_substituicoes, const std::string& pos_titular, const std::string& pos_suplente);

// Writes joga 1 to every starter and joga 2 to every bench player, found
// by identity among the players of clube only (anyone else is left alone).
// A row that cannot be written is passed over. Returns the rows written.
int Gravar_Substituicoes(const std::string& clube, const std::vector<long long>& titulares,
                         const std::vector<long long>& suplentes);

// The half-time score line: "(1) CASA - FORA (0)", club names in capitals.
std::string Linha_Intervalo(const std::string& casa, const std::string& fora, int golos_casa, int golos_fora);

// What the match appends to the half-time screen's caption.
constexpr const char* SUFIXO_CAMPEONATO = " - Campeonato";
constexpr const char* SUFIXO_TACA = " - Taça";

// ---------------------------------------------------------------- the opponent

enum class Consulta_Adversario {
    Permitida,
    Fora_Da_Taca,   // no cup opponent (Adversario is "0")
    Fora_Da_Liga,   // a cup entrant from outside the three divisions: no players
};
Consulta_Adversario Verificar_Adversario(const std::string& adversario);

// Picks the opponent's starters with the engine's computer rule and
// formation order: the opponent at home (jogo_em_casa 0) tries 4-3-3
// first, away 5-3-2 first, until eleven are picked. Rewrites its joga.
void Escolher_Equipa_Adversario(const std::string& adversario, int jogo_em_casa);

struct Jogador_Adversario {
    std::string pos, nome;
    int forca = 0;
    int golos = 0;
};
// The opponent's starters: goalkeepers, defenders, midfielders, forwards,
// strongest first within a line.
std::vector<Jogador_Adversario> Titulares_Adversario(const std::string& adversario);

// One line of the opponent's list: the running number padded to 3, the
// position padded to 3, the name padded to 23 (a longer name is cut to
// 23), the strength right-aligned in 3 and the goals as " (NN)" with at
// least two digits: "2  df Rui Sousa               75 (03)".
std::string Texto_Linha_Adversario(int numero, const Jogador_Adversario& j);

// ---------------------------------------------------------------- text widths

// The text padded with blanks, or cut, to exactly n characters (UTF-8
// code points, not bytes).
std::string Ajustar_Largura(const std::string& s, int n);

} // namespace gv
